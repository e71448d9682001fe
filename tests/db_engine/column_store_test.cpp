// The compact record store a dataset keeps: every value comes back as it went in, whatever mix
// of kinds and empty cells a field holds, through changes and deletions.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/core/errors.h"
#include "platform/db/column_store.h"
#include "platform/db/table_data.h"
#include "platform/db/table_files.h"
#include "tests/db_engine/engine_test_util.h"

using namespace vantelo;
using namespace vantelo::db;

namespace {

// Columns: whole numbers with gaps, reals, truth values, dates (a negative year and the widest
// month/day that pack, and one that does not), texts, a field that mixes kinds, a field empty
// until its third record.
std::vector<Record> sample()
{
    return {
        {std::int64_t(0), 1.5, true, Date{2000, 2, 29}, std::string("甲"), std::int64_t(1), Value{}},
        {Value{}, -0.0, false, Date{-44, 3, 15}, Value{}, std::string("x"), Value{}},
        {std::int64_t(-9223372036854775807LL - 1), Value{}, Value{}, Value{}, std::string(""), 2.5, std::int64_t(7)},
        {std::int64_t(9223372036854775807LL), 1e308, true, Date{9999, 12, 31}, std::string("long text, longer than small"),
         Date{1, 1, 1}, Value{}},
        {std::int64_t(5), 2.0, false, Date{2020, 300, 1}, std::string("乙"), Value{}, 3.0},
    };
}

void expect_rows(const ColumnStore& s, const std::vector<Record>& want)
{
    ASSERT_EQ(s.size(), want.size());
    for (std::size_t r = 0; r < want.size(); ++r) {
        EXPECT_EQ(s.record(r), want[r]) << "record " << r;
        for (std::size_t c = 0; c < want[r].size(); ++c) EXPECT_EQ(s.value(r, c), want[r][c]) << r << "," << c;
    }
}

}  // namespace

TEST(ColumnStore, EveryKindAndEmptyCellComesBackAsStored)
{
    ColumnStore s(7);
    s.reserve(2);  // fewer than will come
    for (const Record& r : sample()) s.push_back(r);
    expect_rows(s, sample());
    // -0.0 keeps its sign (a real column stores the number as it is).
    EXPECT_TRUE(std::signbit(std::get<double>(s.value(1, 1))));
}

TEST(ColumnStore, ChangesAndDeletionsKeepTheOtherRecords)
{
    ColumnStore s(7);
    std::vector<Record> want = sample();
    for (const Record& r : want) s.push_back(r);

    // A whole-number field takes a text (the field becomes mixed), a real field an empty cell,
    // a truth value field a whole number.
    want[1] = {std::string("now text"), Value{}, std::int64_t(1), Date{1999, 1, 1}, std::string("t"), Value{}, 1.0};
    s.set(1, want[1]);
    expect_rows(s, want);

    for (std::size_t at : {std::size_t(4), std::size_t(0), std::size_t(1)}) {
        s.erase(at);
        want.erase(want.begin() + static_cast<std::ptrdiff_t>(at));
        expect_rows(s, want);
    }
    s.push_back(Record{std::int64_t(3)});  // a short record: the rest empty
    want.push_back(Record{std::int64_t(3), Value{}, Value{}, Value{}, Value{}, Value{}, Value{}});
    expect_rows(s, want);
}

TEST(ColumnStore, RefusesWhatIsNotThere)
{
    ColumnStore s(2);
    s.push_back(Record{std::int64_t(1), 2.0});
    EXPECT_THROW(s.push_back(Record{Value{}, Value{}, Value{}}), EngineError);
    EXPECT_THROW(s.value(1, 0), EngineError);
    EXPECT_THROW(s.value(0, 2), EngineError);
    EXPECT_THROW(s.set(1, Record{}), EngineError);
    EXPECT_THROW(s.erase(1), EngineError);
    EXPECT_EQ(s.size(), 1u);
}

// A compact image and a plain one of the same records are the same table, both ways.
TEST(ColumnStore, CompactAndPlainImagesAgree)
{
    TableData t;
    for (int c = 0; c < 7; ++c) t.fields.push_back(FieldDef{"f" + std::to_string(c), FieldType::String});
    t.records = sample();
    t.code_page = 1252;
    t.read_only = true;
    const TableData c = compact_image(t);
    EXPECT_TRUE(c.compact);
    EXPECT_TRUE(c.records.empty());
    EXPECT_EQ(c.record_count(), t.records.size());
    EXPECT_TRUE(same_table(c, t));
    EXPECT_TRUE(same_table(t, c));
    const TableData back = plain_image(c);
    EXPECT_FALSE(back.compact);
    EXPECT_EQ(back.records, t.records);
    EXPECT_EQ(back.code_page, 1252);
    EXPECT_TRUE(back.read_only);
    TableData other = c;
    other.set_record(2, t.records[0]);
    EXPECT_FALSE(same_table(other, t));
}

// A table large enough to be read through the file's own mapping (more than a megabyte), opened
// by a dataset in each format: every value reads as written, the last records as the first,
// also after the file's bytes have been given back during the read; an edit and a deletion go
// through as with a small table.
class LargeTable : public ::testing::TestWithParam<const char*> {};

TEST_P(LargeTable, EveryValueReadsAsWrittenAndChangesGoThrough)
{
    testing_util::ScratchDir dir;
    const std::string path = dir.path(std::string("big.") + GetParam());
    constexpr int n = 60000;
    const auto pop = [](int i, int k) { return (i % 1000) * 0.25 + k; };
    TableData t;
    t.fields = {FieldDef{"AGE", FieldType::Integer}, FieldDef{"NOTE", FieldType::String, 6}};
    for (int k = 0; k < 4; ++k) t.fields.push_back(FieldDef{"P" + std::to_string(k), FieldType::Float});
    const ResolvedTable r = resolve_table(path, TableType::Default);
    t.fields = fields_for_format(t.fields, r.format);
    for (int i = 0; i < n; ++i) {
        Record rec{std::int64_t(i % 101), i % 7 == 0 ? Value{} : Value{std::string("r") + std::to_string(i % 10)}};
        for (int k = 0; k < 4; ++k) rec.push_back(i % 13 == 5 && k == 2 ? Value{} : Value{pop(i, k)});
        t.records.push_back(std::move(rec));
    }
    write_table(r, t);
    ASSERT_GT(std::filesystem::file_size(path), 1u << 20);

    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    ASSERT_EQ(ds.record_count(), n);
    int i = 0;
    for (ds.first(); !ds.eof(); ds.next(), ++i) {
        ASSERT_EQ(ds.field(0).as_integer(), i % 101) << i;
        ASSERT_EQ(ds.field(1).is_null(), i % 7 == 0) << i;
        if (i % 7 != 0) ASSERT_EQ(ds.field(1).as_string(), "r" + std::to_string(i % 10)) << i;
        for (int k = 0; k < 4; ++k) {
            if (i % 13 == 5 && k == 2) ASSERT_TRUE(ds.field(2 + k).is_null()) << i;
            else ASSERT_EQ(ds.field(2 + k).as_float(), pop(i, k)) << i << "," << k;
        }
    }
    EXPECT_EQ(i, n);

    ds.move_to(n - 1);
    ds.edit();
    ds.field(2).set_as_float(-1.5);
    ds.post();
    ds.move_to(0);
    ds.delete_record();
    ds.close();
    TableData back = read_table(r);
    ASSERT_EQ(back.records.size(), static_cast<std::size_t>(n - 1));
    EXPECT_EQ(back.records.back()[2], Value{-1.5});
    EXPECT_EQ(back.records.front()[0], Value{std::int64_t(1)});
    EXPECT_EQ(back.records[1000][5], Value{pop(1001, 3)});
}

INSTANTIATE_TEST_SUITE_P(Formats, LargeTable, ::testing::Values("db", "dbf"));

// A table whose records are read from the file's own bytes as they are asked for: a number reads
// the same through the quick path of a scan as through its value, for every kind that holds
// numbers and for empty cells; an image copied before a change keeps what it had, and the change
// leaves every other record as it was.
TEST(ColumnStore, RecordsReadFromTheFileBytesAgreeAndChangeLikeAnyOther)
{
    testing_util::ScratchDir dir;
    const std::string path = dir.path("kinds.db");
    TableData t;
    t.fields = {FieldDef{"S", FieldType::SmallInt}, FieldDef{"I", FieldType::Integer},
                FieldDef{"F", FieldType::Float},    FieldDef{"C", FieldType::Currency},
                FieldDef{"B", FieldType::Boolean},  FieldDef{"T", FieldType::String, 8}};
    const std::vector<Record> rows = {
        {std::int64_t(-32767), std::int64_t(-2147483647), -1e300, -0.5, false, std::string("12.5")},
        {std::int64_t(32767), std::int64_t(2147483647), 2.5, 1e-300, true, std::string("甲")},
        {Value{}, Value{}, Value{}, Value{}, Value{}, Value{}},
        {std::int64_t(0), std::int64_t(0), 0.0, -0.0, true, std::string(" ")},
    };
    t.records = rows;
    const ResolvedTable r = resolve_table(path, TableType::Default);
    t.fields = fields_for_format(t.fields, r.format);
    write_table(r, t);

    const TableData image = read_table(r, true);
    ASSERT_TRUE(image.compact);
    ASSERT_EQ(image.record_count(), rows.size());
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t col = 0; col < rows[row].size(); ++col) {
            const Value v = image.value(row, col);
            EXPECT_EQ(v, rows[row][col]) << row << "," << col;
            double quick = -7;
            if (image.columns.real_at(row, col, quick))
                EXPECT_EQ(quick, static_cast<double>(value_as_real(v, image.fields[col]))) << row << "," << col;
            else
                EXPECT_EQ(col, 5u) << "only the text column has no quick path";
        }
    // The same through a dataset's scan, which takes the quick path.
    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    std::size_t row = 0;
    for (ds.first(); !ds.eof(); ds.next(), ++row)
        for (int col = 0; col < 5; ++col)
            EXPECT_EQ(ds.field(col).as_float(), static_cast<double>(value_as_real(rows[row][col], image.fields[col])));
    ds.close();

    TableData copy = image;
    copy.set_record(1, rows[0]);
    copy.erase_record(2);
    EXPECT_EQ(image.record(1), rows[1]);
    EXPECT_EQ(image.record(2), rows[2]);
    ASSERT_EQ(copy.record_count(), 3u);
    EXPECT_EQ(copy.record(0), rows[0]);
    EXPECT_EQ(copy.record(1), rows[0]);
    EXPECT_EQ(copy.record(2), rows[3]);
    double quick = 0;
    ASSERT_TRUE(copy.columns.real_at(1, 2, quick));
    EXPECT_EQ(quick, -1e300);
}

// A stored number that is an infinity or not a number is refused when the table is opened, by
// record and field, however the image keeps its records; a blank number is no such thing.
TEST(ColumnStore, AStoredNumberThatIsNotFiniteIsRefusedAtTheOpen)
{
    testing_util::ScratchDir dir;
    const std::string path = dir.path("bad.db");
    TableData t;
    t.fields = {FieldDef{"AGE", FieldType::Integer}, FieldDef{"POP", FieldType::Float}};
    t.records = {{std::int64_t(0), Value{}}, {std::int64_t(1), 1.5}, {std::int64_t(2), 2.0}};
    const ResolvedTable r = resolve_table(path, TableType::Default);
    t.fields = fields_for_format(t.fields, r.format);
    write_table(r, t);
    ASSERT_EQ(read_table(r, true).value(0, 1), Value{});

    // 1.5 is stored as the bytes BF F8 00 .. 00; +infinity would be FF F0 00 .. 00 and a NaN
    // FF F8 00 .. 00; a negative NaN (bits inverted) 00 07 FF .. FF.
    const std::string one_and_half("\xBF\xF8\0\0\0\0\0\0", 8);
    for (const std::string& bad : {std::string("\xFF\xF0\0\0\0\0\0\0", 8), std::string("\xFF\xF8\0\0\0\0\0\0", 8),
                                   std::string("\x00\x07\xFF\xFF\xFF\xFF\xFF\xFF", 8)}) {
        std::string bytes = testing_util::file_bytes(path);
        const auto at = bytes.find(one_and_half);
        ASSERT_NE(at, std::string::npos);
        std::string changed = bytes;
        changed.replace(at, 8, bad);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << changed;
        for (bool compact : {true, false})
            EXPECT_EQ(testing_util::error_of([&] { read_table(r, compact); }),
                      "bad.db: record 2 field 'POP': the stored number is not finite");
        Dataset ds;
        ds.set_table_name(path);
        EXPECT_EQ(testing_util::error_of([&] { ds.open(); }), "bad.db: record 2 field 'POP': the stored number is not finite");
        EXPECT_FALSE(ds.active());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
}
