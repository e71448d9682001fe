// Year-parameter grids: cells, interpolation rules and their refusals, the total-TFR relay.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "projection/engine/input_message.h"
#include "projection/engine/workspace.h"
#include "projection/engine/year_grid.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

constexpr int base = 2000;

// A one-row grid of Y = cells.size() years with those texts in row 1.
GridModel row_grid(const std::vector<std::string>& cells)
{
    GridModel g(static_cast<int>(cells.size()) + 1, 2);
    g.set_year_headers(base);
    for (std::size_t i = 0; i < cells.size(); ++i) g.set_cell(static_cast<int>(i) + 1, 1, cells[i]);
    return g;
}

std::vector<std::string> row_of(const GridModel& g, int r)
{
    std::vector<std::string> out;
    for (int c = 1; c < g.col_count(); ++c) out.push_back(g.cell(c, r));
    return out;
}

}  // namespace

TEST(GridModel, CellsOutsideTheGridReadEmptyAndKeepWrites)
{
    GridModel g(3, 2);
    EXPECT_EQ(g.cell(5, 7), "");
    g.set_cell(1, 40, "0.5");
    EXPECT_EQ(g.cell(1, 40), "0.5");
    g.set_row_count(41);
    EXPECT_EQ(g.cell(1, 40), "0.5");
    g.set_year_headers(2000);
    EXPECT_EQ(g.cell(1, 0), "2001");
    EXPECT_EQ(g.cell(2, 0), "2002");
    EXPECT_THROW(g.number(2, 1), ConvertError);
}

TEST(Interpolation, RulesByCase)
{
    struct Case {
        const char* name;
        std::vector<std::string> before;
        int start_year, end_year;
        InterpolationMode mode;
        std::vector<std::string> after;
    } cases[] = {
        {"linear 1.8 to 2.1 over four years", {"1.8", "0", "0", "2.1"}, 2001, 2004, InterpolationMode::linear,
         {"1.8", "1.9", "2", "2.1"}},
        {"copy fills the end column too", {"1.8", "0", "0", "2.1"}, 2001, 2004, InterpolationMode::copy,
         {"1.8", "1.8", "1.8", "1.8"}},
        {"exponential doubling", {"1", "x", "x", "8"}, 2001, 2004, InterpolationMode::exponential,
         {"1", "2", "4", "8"}},
        {"exponential halving", {"70", "", "", "", "4.375"}, 2001, 2005, InterpolationMode::exponential,
         {"70", "35", "17.5", "8.75", "4.375"}},
        {"two adjacent columns, linear", {"5", "7", "9"}, 2001, 2002, InterpolationMode::linear, {"5", "7", "9"}},
        {"two adjacent columns, exponential", {"5", "7", "9"}, 2002, 2003, InterpolationMode::exponential,
         {"5", "7", "9"}},
        {"two adjacent columns, copy", {"5", "7", "9"}, 2002, 2003, InterpolationMode::copy, {"5", "7", "7"}},
        {"middle span leaves the rest", {"9", "1", "0", "3", "9"}, 2002, 2004, InterpolationMode::linear,
         {"9", "1", "2", "3", "9"}},
        {"no mode writes nothing", {"1", "x", "3"}, 2001, 2003, InterpolationMode::none, {"1", "x", "3"}},
        {"a third in general format", {"0", "", "", "1"}, 2001, 2004, InterpolationMode::linear,
         {"0", "0.333333333333333", "0.666666666666667", "1"}},
        // 0.043 x 2/9 = 0.0095555... with fives for ever: fifteen digits round the sixteenth up.
        // The same value stored as a double lies just below the half and would end in 5.
        {"fifteen digits of the extended value", {"0", "", "", "", "", "", "", "", "", "0.043"}, 2001, 2010,
         InterpolationMode::linear,
         {"0", "0.00477777777777778", "0.00955555555555556", "0.0143333333333333", "0.0191111111111111",
          "0.0238888888888889", "0.0286666666666667", "0.0334444444444444", "0.0382222222222222", "0.043"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GridModel g = row_grid(c.before);
        interpolate_grid_row(g, 1, c.start_year, c.end_year, base, static_cast<int>(c.before.size()), c.mode);
        EXPECT_EQ(row_of(g, 1), c.after);
    }
}

TEST(Interpolation, RefusedSpansLeaveTheGrid)
{
    struct Case {
        const char* name;
        int start_year, end_year;
    } cases[] = {{"start at the base year", 2000, 2003},
                 {"start equal to the end", 2002, 2002},
                 {"start after the end", 2003, 2002},
                 {"end after the last year", 2001, 2005}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The cells are not numbers: the span is refused before any is read.
        GridModel g = row_grid({"a", "b", "c", "d"});
        try {
            interpolate_grid_row(g, 1, c.start_year, c.end_year, base, 4, InterpolationMode::linear);
            ADD_FAILURE() << "no message";
        } catch (const InputMessage& e) {
            EXPECT_STREQ(e.what(), "插值设定错误！请重新设定。");
        }
        EXPECT_EQ(row_of(g, 1), (std::vector<std::string>{"a", "b", "c", "d"}));
    }
}

TEST(Interpolation, CellErrors)
{
    {
        GridModel g = row_grid({"", "1", "2"});
        try {
            interpolate_grid_row(g, 1, 2001, 2003, base, 3, InterpolationMode::linear);
            ADD_FAILURE();
        } catch (const ConvertError& e) {
            EXPECT_STREQ(e.what(), "'' is not a valid floating point value");
        }
    }
    {
        GridModel g = row_grid({"0", "1", "2"});
        EXPECT_THROW(interpolate_grid_row(g, 1, 2001, 2003, base, 3, InterpolationMode::exponential),
                     ZeroDivideError);
        EXPECT_EQ(row_of(g, 1), (std::vector<std::string>{"0", "1", "2"}));
    }
    {
        GridModel g = row_grid({"2", "1", "-2"});
        EXPECT_THROW(interpolate_grid_row(g, 1, 2001, 2003, base, 3, InterpolationMode::exponential),
                     InvalidOpError);
    }
    {
        // A row beyond the grid holds no number.
        GridModel g = row_grid({"2", "1", "3"});
        EXPECT_THROW(interpolate_grid_row(g, 20, 2001, 2003, base, 3, InterpolationMode::linear), ConvertError);
    }
}

TEST(Interpolation, PatternRowsAndTheirTotals)
{
    // Two years; rows 1..35; interpolate linearly from column 1 to column 3.
    GridModel g(4, 37);
    for (int c = 1; c <= 3; ++c)
        for (int i = 1; i <= 35; ++i) g.set_cell(c, i, "0.0");
    g.set_cell(1, 11, "0.4");
    g.set_cell(1, 12, "0.6");
    g.set_cell(3, 11, "0.6");
    g.set_cell(3, 12, "0.2");
    g.set_cell(3, 13, "0.2");
    interpolate_pattern_rows(g, 2001, 2003, base, 3, InterpolationMode::linear);
    EXPECT_EQ(g.cell(2, 11), "0.5");
    EXPECT_EQ(g.cell(2, 12), "0.4");
    EXPECT_EQ(g.cell(2, 13), "0.1");
    EXPECT_EQ(g.cell(2, 1), "0");
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(g.cell(c, 36), "1") << c;

    // Exponential stops at the first row with a 0 at one end: row 1 here, nothing written.
    GridModel e = g;
    e.set_cell(1, 36, "stale");
    EXPECT_THROW(interpolate_pattern_rows(e, 2001, 2003, base, 3, InterpolationMode::exponential), Error);
    EXPECT_EQ(e.cell(1, 36), "stale");
    EXPECT_EQ(e.cell(2, 11), "0.5");
}

TEST(Interpolation, PatternRowsStopAtTheFailingRowKeepingEarlierRows)
{
    GridModel g(3, 37);
    for (int i = 1; i <= 35; ++i) {
        g.set_cell(1, i, "0.1");
        g.set_cell(2, i, "0.4");
    }
    g.set_cell(2, 5, "0.0");
    EXPECT_THROW(interpolate_pattern_rows(g, 2001, 2002, base, 2, InterpolationMode::exponential), InvalidOpError);
    EXPECT_EQ(g.cell(2, 4), "0.4");
    EXPECT_EQ(g.cell(2, 5), "0.0");
}

TEST(Interpolation, PatternGridOfItsOwnShape)
{
    // 101 rows, five years; interpolate 2002..2004 with "####.####" totals in those columns only.
    GridModel g(6, 103);
    for (int c = 1; c <= 5; ++c) {
        for (int i = 1; i <= 101; ++i) g.set_cell(c, i, "0");
        g.set_cell(c, 102, "stale");
    }
    g.set_cell(2, 1, "0.1");
    g.set_cell(2, 2, "0.2");
    g.set_cell(4, 1, "0.3");
    g.set_cell(4, 2, "0.4");
    g.set_cell(2, 101, "0.000012345");
    g.set_cell(4, 101, "0.000012345");
    const PatternGridShape migration{101, "####.####", TotalColumns::interpolated};
    interpolate_pattern_rows(g, 2002, 2004, base, 5, InterpolationMode::linear, migration);
    EXPECT_EQ(g.cell(3, 1), "0.2");
    EXPECT_EQ(g.cell(3, 2), "0.3");
    EXPECT_EQ(g.cell(2, 102), ".3");  // .300012345 to four places
    EXPECT_EQ(g.cell(3, 102), ".5");
    EXPECT_EQ(g.cell(4, 102), ".7");
    EXPECT_EQ(g.cell(1, 102), "stale");
    EXPECT_EQ(g.cell(5, 102), "stale");
    EXPECT_EQ(g.cell(3, 103), "");

    // The default shape would have summed rows 1..35 into row 36 of every column.
    GridModel d = g;
    interpolate_pattern_rows(d, 2002, 2004, base, 5, InterpolationMode::linear);
    EXPECT_EQ(d.cell(1, 36), "");  // a total of 0 has no digits in the pattern
    EXPECT_EQ(d.cell(3, 36), ".5");

    EXPECT_THROW(interpolate_pattern_rows(g, 2002, 2004, base, 5, InterpolationMode::linear,
                                          PatternGridShape{0, "####.####", TotalColumns::every_year}),
                 RangeError);
}

TEST(TotalTfr, RelaysTheLoadedParitiesOnly)
{
    ProjectionWorkspace ws;
    ws.proj_year_count = 2;
    ws.tfr_value = 1.756;
    ws.parity_count = 1;
    GridModel tfr(3, 4), total;
    tfr.set_cell(1, 1, "1.2");
    tfr.set_cell(2, 1, "1.3");
    tfr.set_cell(1, 2, "0.5");
    tfr.set_cell(2, 2, "0.25");
    relay_total_tfr(ws, tfr, total, base);
    EXPECT_EQ(ws.base_tfr_text, "1.76");
    EXPECT_EQ(total.cell(0, 1), "总和生育率");
    EXPECT_EQ(total.col_count(), 3);
    EXPECT_EQ(total.cell(2, 0), "2002");
    EXPECT_EQ(total.cell(1, 1), "1.2");
    EXPECT_EQ(total.cell(2, 1), "1.3");
    EXPECT_DOUBLE_EQ(ws.tfr_value, 1.3);

    ws.parity_count = 2;
    relay_total_tfr(ws, tfr, total, base);
    EXPECT_EQ(ws.base_tfr_text, "1.3");
    EXPECT_EQ(total.cell(1, 1), "1.7");
    EXPECT_EQ(total.cell(2, 1), "1.55");
    EXPECT_DOUBLE_EQ(ws.tfr_value, 1.55);
}

TEST(Interpolation, NoModeStillReadsTheEndCells)
{
    // The end values are read before the mode is looked at: a bad end cell stops the command
    // even when nothing would be written.
    GridModel g = row_grid({"1", "2", "x"});
    EXPECT_THROW(interpolate_grid_row(g, 1, 2001, 2003, base, 3, InterpolationMode::none), ConvertError);
    EXPECT_EQ(row_of(g, 1), (std::vector<std::string>{"1", "2", "x"}));
}
