#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

#include "platform/core/errors.h"
#include "projection/engine/input_message.h"
#include "projection/year_grid_fill.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

struct Cells {
    std::map<std::pair<int, int>, std::string> m;
    GridCells grid()
    {
        return {[this](int c, int r) {
                    auto it = m.find({c, r});
                    return it == m.end() ? std::string() : it->second;
                },
                [this](int c, int r, const std::string& t) { m[{c, r}] = t; }};
    }
    std::string& operator()(int c, int r) { return m[{c, r}]; }
};

std::string temp_file(const std::string& name, const std::string& contents)
{
    auto p = std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()));
    std::ofstream(p, std::ios::binary) << contents;
    return p.string();
}

}  // namespace

TEST(InterpolateRow, ModesBetweenTwoYearColumns)
{
    struct Case {
        const char* name;
        InterpolationMode mode;
        int start, end;
        std::vector<std::string> expected;  // columns 1..4 afterwards
    } cases[] = {
        // 1.8 + 0.3 t over columns 1..4 in the general format: "2" has no decimals
        {"linear", InterpolationMode::linear, 2001, 2004, {"1.8", "1.9", "2", "2.1"}},
        {"copy overwrites the end column", InterpolationMode::copy, 2001, 2004, {"1.8", "1.8", "1.8", "1.8"}},
        {"two adjacent columns", InterpolationMode::linear, 2003, 2004, {"1.8", "x", "3", "2.1"}},
        {"no mode chosen writes nothing", InterpolationMode::none, 2001, 2004, {"1.8", "x", "3", "2.1"}},
    };
    for (const auto& c : cases) {
        Cells g;
        g(1, 2) = "1.8";
        g(2, 2) = "x";
        g(3, 2) = "3";
        g(4, 2) = "2.1";
        interpolate_grid_row(g.grid(), 2, 2000, 4, c.start, c.end, c.mode);
        for (int col = 1; col <= 4; ++col) EXPECT_EQ(g(col, 2), c.expected[static_cast<size_t>(col - 1)]) << c.name << " " << col;
    }
}

TEST(InterpolateRow, ExponentialFollowsTheGeometricPath)
{
    Cells g;
    g(1, 1) = "1";
    g(3, 1) = "4";
    interpolate_grid_row(g.grid(), 1, 2000, 3, 2001, 2003, InterpolationMode::exponential);
    EXPECT_EQ(g(1, 1), "1");
    EXPECT_EQ(g(2, 1), "2");  // 1 * (4/1)^(1/2)
    EXPECT_EQ(g(3, 1), "4");
}

TEST(InterpolateRow, BadYearsAreRefusedBeforeAnythingIsWritten)
{
    struct Case {
        int start, end;
    } cases[] = {{2000, 2004}, {2003, 2003}, {2004, 2002}, {2001, 2005}};
    for (const auto& c : cases) {
        Cells g;
        g(1, 1) = "1";
        g(4, 1) = "2";
        try {
            interpolate_grid_row(g.grid(), 1, 2000, 4, c.start, c.end, InterpolationMode::linear);
            ADD_FAILURE() << c.start << " " << c.end;
        } catch (const InputMessage& m) {
            EXPECT_STREQ(m.what(), "插值设定错误！请重新设定。");
        }
        EXPECT_EQ(g.m.size(), 2u);
    }
}

TEST(InterpolateRow, CellsThatAreNotNumbers)
{
    Cells g;
    g(1, 1) = "1";
    try {
        interpolate_grid_row(g.grid(), 1, 2000, 2, 2001, 2002, InterpolationMode::linear);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid floating point value");
    }
    Cells z;
    z(1, 1) = "0.0";
    z(2, 1) = "1";
    EXPECT_THROW(interpolate_grid_row(z.grid(), 1, 2000, 2, 2001, 2002, InterpolationMode::exponential), Error);
}

TEST(InterpolatePattern, FillsTheAgesAndSumsEveryColumn)
{
    Cells g;
    for (int r = 1; r <= 35; ++r) {
        g(1, r) = r == 1 ? "0.5" : r == 2 ? "0.5" : "0.0";
        g(3, r) = r == 1 ? "0.25" : r == 2 ? "0.75" : "0.0";
        g(2, r) = "0";
    }
    interpolate_pattern_rows(g.grid(), 2000, 3, 2001, 2003, InterpolationMode::linear);
    EXPECT_EQ(g(2, 1), "0.375");
    EXPECT_EQ(g(2, 2), "0.625");
    EXPECT_EQ(g(2, 3), "0");
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(g(c, 36), "1") << c;
}

TEST(PatternFile, ReadsANumberPerLineAndSkipsTheRest)
{
    std::string contents = "  .05 first age\r\n\r\n0.1\t comment\n1E-2\n";
    auto path = temp_file("pattern", contents);
    auto v = read_pattern_file(path);
    ASSERT_EQ(v.size(), 35u);
    EXPECT_EQ(v[0], 0.05L);
    EXPECT_EQ(v[1], 0.1L);
    EXPECT_EQ(v[2], 0.01L);
    for (size_t i = 3; i < 35; ++i) EXPECT_EQ(v[i], 0) << i;  // fewer than 35 numbers: 0
    std::filesystem::remove(path);
}

TEST(PatternFile, Failures)
{
    auto path = temp_file("badpattern", "0.1\nabc\n");
    try {
        read_pattern_file(path);
        FAIL();
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "Invalid numeric input");
    }
    std::filesystem::remove(path);
    try {
        read_pattern_file("/no/such/pattern.txt");
        FAIL();
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
}

TEST(PatternFile, WritesTheTextsWithCrLf)
{
    auto path = temp_file("outpattern", "");
    write_pattern_file(path, {".05", "0.0", ""});
    std::ifstream in(path, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(all, ".05\r\n0.0\r\n\r\n");
    std::filesystem::remove(path);
}
