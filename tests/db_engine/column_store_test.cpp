// The compact record store a dataset keeps: every value comes back as it went in, whatever mix
// of kinds and empty cells a field holds, through changes and deletions.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

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
