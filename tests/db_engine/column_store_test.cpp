// The compact record store a dataset keeps: every value comes back as it went in, whatever mix
// of kinds and empty cells a field holds, through changes and deletions.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/core/errors.h"
#include "platform/db/column_store.h"
#include "platform/db/table_data.h"

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
