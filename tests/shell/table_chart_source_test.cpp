// A series bound to fields of a real table: a Paradox file written by Paradox itself, read by
// pxlib as the independent reader of the expected values.
#include <gtest/gtest.h>

#include "tests/common/error_text.h"
#include "tests/common/temp_dir.h"
#include "platform/chart/chart.h"
#include "platform/chart/series.h"
#include "platform/db/dataset.h"
#include "tests/db_paradox/pxlib_reader.h"
#include "shell/table_chart_source.h"

namespace vantelo::shell {
namespace {

const std::string decimal_db = std::string(VANTELO_FIXTURES_DIR) + "/paradox/DECIMAL.DB";

// pxlib's field codes of the numeric kinds: short, long, money, number.
bool numeric(int px_type) { return px_type == 3 || px_type == 4 || px_type == 5 || px_type == 6; }

TEST(TableChartSource, SeriesBoundToFieldsOfARealTable)
{
    const pxtest::PxTable px = pxtest::px_read(decimal_db);
    db::Dataset table;
    table.set_table_name(decimal_db);
    table.open();
    TableChartSource source(table);
    ASSERT_EQ(source.record_count(), px.num_records);
    ASSERT_GT(px.num_records, 0);

    chart::Chart chart;
    chart::Series& s = chart.add_series(chart::SeriesKind::Bar);
    s.set_data_source(&source);
    int checked = 0;
    for (size_t f = 0; f < px.fields.size(); ++f) {
        if (!numeric(px.fields[f].type)) continue;
        // Fields by name, letter case ignored.
        s.set_value_field(QString::fromStdString(px.fields[f].name).toLower());
        s.refresh();
        ASSERT_EQ(s.count(), px.num_records) << px.fields[f].name;
        for (int r = 0; r < px.num_records; ++r) {
            const pxtest::PxCell& c = px.records[static_cast<size_t>(r)][f];
            const double expected = c.null ? 0 : (px.fields[f].type <= 4 ? static_cast<double>(c.l) : c.d);
            EXPECT_EQ(s.point(r).value, expected) << px.fields[f].name << " record " << r;
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
    EXPECT_EQ(table.rec_no(), 0);  // filling never moves the cursor

    // A label field shows the grid's text of the value.
    s.set_label_field(QString::fromStdString(px.fields[0].name));
    s.refresh();
    EXPECT_EQ(s.point(0).label, source.text(0, 0));
    s.set_value_field("no such field");
    EXPECT_EQ(test_errors::error_text([&] { s.refresh(); }), "Field 'no such field' not found");
}

TEST(TableChartSource, StrictReadingRefusesEmptyAndNonNumericFields)
{
    test_support::TempDir dir("chart-source");
    db::Dataset table;
    table.set_table_name(dir.file("strict.db"));
    table.field_defs() = {{"数值", db::FieldType::Float, 0, false}, {"文字", db::FieldType::String, 8, false}};
    table.create_table();
    table.open();
    const char* texts[] = {"1.5", "", "abc"};
    for (int r = 0; r < 3; ++r) {
        table.append();
        if (r != 1) table.field(0).set_as_float(r + 0.5);
        table.field(1).set_as_string(texts[r]);
        table.post();
    }
    TableChartSource lenient(table), strict(table, TableChartSource::strict);
    EXPECT_EQ(lenient.value(1, 0), 0);  // an empty field reads 0
    EXPECT_EQ(strict.value(0, 0), 0.5L);
    EXPECT_EQ(strict.value(0, 1), 1.5L);
    EXPECT_EQ(lenient.value(1, 1), 0);
    for (int field : {0, 1})
        EXPECT_EQ(test_errors::error_text([&] { strict.value(1, field); }), "Invalid variant type conversion") << field;
    EXPECT_EQ(test_errors::error_text([&] { strict.value(2, 1); }), "Invalid variant type conversion");
    EXPECT_EQ(test_errors::error_text([&] { lenient.value(2, 1); }), "'abc' is not a valid floating point value");
}

TEST(TableChartSource, ClosedTableHasNothing)
{
    db::Dataset table;
    TableChartSource source(table);
    EXPECT_EQ(source.record_count(), 0);
    EXPECT_EQ(source.field_count(), 0);
}

}  // namespace
}  // namespace vantelo::shell
