// Dataset behaviour on real table files of both formats.
#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "platform/db/dataset.h"
#include "platform/db/table_files.h"

using namespace vantelo::db;
using vantelo::db::testing_util::error_of;
using vantelo::db::testing_util::file_bytes;
using vantelo::db::testing_util::ScratchDir;
using vantelo::db::testing_util::q;

namespace {

class Datasets : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        path = dir.path(std::string("a") + GetParam());
        execute_statement("Create table " + q(path) + " (x integer,y float,s Char(12))");
        ds.set_table_name(path);
        ds.open();
        add(1, 0.5, "甲");
        add(2, 1e-7, "");
        add(3, -2.25, "乙丙");
    }
    void add(double x, double y, const std::string& s)
    {
        ds.append();
        ds.field_by_name("x").set_as_float(x);
        ds.field_by_name("y").set_as_float(y);
        ds.field_by_name("s").set_as_string(s);
        ds.post();
    }
    void reopen()
    {
        ds.close();
        ds.open();
    }
    std::vector<std::int64_t> xs()
    {
        std::vector<std::int64_t> out;
        for (ds.first(); !ds.eof(); ds.next()) out.push_back(ds.field(0).as_integer());
        return out;
    }
    ScratchDir dir;
    std::string path;
    Dataset ds;
};

TEST_P(Datasets, RecordsComeBackInOrderWithExactValues)
{
    reopen();
    ASSERT_EQ(ds.record_count(), 3);
    const double ys[] = {0.5, 1e-7, -2.25};
    const char* ss[] = {"甲", "", "乙丙"};
    ds.first();
    for (int i = 0; i < 3; ++i, ds.next()) {
        EXPECT_EQ(ds.rec_no(), i);
        EXPECT_EQ(ds.field(0).as_integer(), i + 1);
        EXPECT_EQ(ds.field(1).as_float(), ys[i]);
        EXPECT_EQ(ds.field(2).as_string(), ss[i]);
    }
    ds.move_to(1);
    EXPECT_TRUE(ds.field(2).is_null());
    EXPECT_EQ(ds.field(2).as_float(), 0.0);   // an empty field reads 0
}

TEST_P(Datasets, StrictRealReadingRefusesEmptyAndTextFields)
{
    reopen();
    ds.first();
    EXPECT_EQ(ds.field(0).as_real_strict(), 1.0);
    EXPECT_EQ(ds.field(1).as_real_strict(), 0.5);
    EXPECT_EQ(error_of([&] { ds.field(2).as_real_strict(); }), "Invalid variant type conversion");  // "甲"
    ds.move_to(1);
    EXPECT_EQ(error_of([&] { ds.field(2).as_real_strict(); }), "Invalid variant type conversion");  // empty
    ds.edit();
    ds.field_by_name("s").set_as_string(" -2.5 ");
    EXPECT_EQ(ds.field(2).as_real_strict(), -2.5);
    ds.field(1).clear();
    EXPECT_EQ(error_of([&] { ds.field(1).as_real_strict(); }), "Invalid variant type conversion");
    EXPECT_EQ(ds.field(1).as_float(), 0.0);  // the lenient reading stays
    ds.cancel();
}

TEST_P(Datasets, FieldLookupAndOpenDatasetRules)
{
    EXPECT_EQ(ds.field_by_name("Y").index(), 1);
    EXPECT_EQ(ds.find_field("S"), 2);
    EXPECT_EQ(ds.find_field("zz"), -1);
    EXPECT_EQ(error_of([&] { ds.field_by_name("zz"); }), "Field 'zz' not found");
    // A name in the table's code page (GBK bytes of 人口) is shown as the table reads it, a
    // control character as hex.
    EXPECT_EQ(error_of([&] { ds.field_by_name("\xC8\xCB\xBF\xDA"); }), "Field '人口' not found");
    EXPECT_EQ(error_of([&] { ds.field_by_name("a\x1B[2J"); }), "Field 'a\\x1B[2J' not found");
    EXPECT_EQ(error_of([&] { ds.set_table_name(dir.path("other.db")); }), "Cannot perform this operation on an open dataset");
    EXPECT_EQ(error_of([&] { ds.set_table_type(TableType::DBase); }), "Cannot perform this operation on an open dataset");
    EXPECT_EQ(error_of([&] { ds.create_table(); }), "Cannot perform this operation on an open dataset");
    EXPECT_EQ(ds.table_name(), path);
    ds.close();
    ds.close();   // a no-op when closed
    EXPECT_EQ(error_of([&] { ds.field_by_name("x"); }), "Dataset is not open");
    EXPECT_EQ(ds.field_count(), 0);
    EXPECT_EQ(ds.record_count(), 0);
}

TEST_P(Datasets, AlterThroughQueryWithTheTableClosed)
{
    ds.close();
    Query query;
    std::vector<std::string> ran;
    query.on_execute = [&](const std::string& s) { ran.push_back(s); };
    for (const std::string& stmt : {"alter table " + q(path) + " Add z Float", "alter table " + q(path) + " drop y"}) {
        query.clear();
        query.add(stmt);
        query.exec_sql();
    }
    EXPECT_EQ(ran, (std::vector<std::string>{"alter table " + q(path) + " Add z Float", "alter table " + q(path) + " drop y"}));
    ds.open();
    EXPECT_EQ(ds.field_names(), (std::vector<std::string>{"x", "s", "z"}));
    EXPECT_EQ(xs(), (std::vector<std::int64_t>{1, 2, 3}));
    ds.move_to(0);
    EXPECT_EQ(ds.field(1).as_string(), "甲");
    EXPECT_EQ(ds.field_by_name("z").as_float(), 0.0);
}

TEST_P(Datasets, MovesPostAndCloseDiscards)
{
    ds.move_to(1);
    ds.edit();
    EXPECT_FALSE(ds.modified());
    ds.field(0).set_as_float(9);
    EXPECT_TRUE(ds.modified());
    ds.next();   // posts
    EXPECT_EQ(ds.state(), Dataset::State::Browse);
    ds.move_to(2);
    ds.edit();
    ds.field(0).set_as_float(7);
    ds.close();  // discards
    ds.open();
    EXPECT_EQ(xs(), (std::vector<std::int64_t>{1, 9, 3}));
    // First posts too.
    ds.move_to(2);
    ds.edit();
    ds.field(0).set_as_integer(8);
    ds.first();
    reopen();
    EXPECT_EQ(xs(), (std::vector<std::int64_t>{1, 9, 8}));
}

TEST_P(Datasets, NextOnTheLastRecordSetsEofAndStays)
{
    ds.last();
    ds.first();
    EXPECT_TRUE(ds.bof());
    ds.next();
    ds.next();
    EXPECT_EQ(ds.rec_no(), 2);
    EXPECT_FALSE(ds.eof());
    ds.edit();
    ds.field(0).set_as_integer(30);
    ds.next();   // posts the edit, then stays
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(ds.rec_no(), 2);
    EXPECT_EQ(ds.field(0).as_integer(), 30);
    ds.next();
    EXPECT_EQ(ds.rec_no(), 2);
    reopen();
    EXPECT_EQ(xs(), (std::vector<std::int64_t>{1, 2, 30}));
}

TEST_P(Datasets, PostWritesThroughAtOnce)
{
    ds.move_to(0);
    ds.edit();
    ds.field(1).set_as_float(0.000123);
    ds.post();
    Dataset other;
    other.set_table_name(path);
    other.open();   // sees the posted value while the first dataset is still open
    EXPECT_EQ(other.field(1).as_float(), 0.000123);
    EXPECT_EQ(other.record_count(), 3);
}

TEST_P(Datasets, BatchWritesOnceAtItsEnd)
{
    const std::string before = file_bytes(path);
    ds.begin_batch();
    for (ds.first(); !ds.eof(); ds.next()) {
        ds.edit();
        ds.field(0).set_as_integer(ds.field(0).as_integer() * 10);
    }
    // Posted into the image only: the file and a second reader still hold the old values.
    EXPECT_EQ(xs(), (std::vector<std::int64_t>{10, 20, 30}));
    EXPECT_EQ(file_bytes(path), before);
    Dataset other;
    other.set_table_name(path);
    other.open();
    EXPECT_EQ(other.field(0).as_integer(), 1);
    EXPECT_EQ(error_of([&] { ds.append(); }), "Cannot append or delete records during a batch update");
    EXPECT_EQ(error_of([&] { ds.delete_record(); }), "Cannot append or delete records during a batch update");
    // A pending edit is posted by the end of the batch.
    ds.move_to(0);
    ds.edit();
    ds.field(1).set_as_float(4.5);
    ds.end_batch();
    EXPECT_FALSE(ds.in_batch());
    reopen();
    EXPECT_EQ(xs(), (std::vector<std::int64_t>{10, 20, 30}));
    ds.move_to(0);
    EXPECT_EQ(ds.field(1).as_float(), 4.5);
    ds.move_to(1);
    EXPECT_EQ(ds.field(2).as_string(), "");
    ds.move_to(2);
    EXPECT_EQ(ds.field(2).as_string(), "乙丙");
    // Outside a batch posts write through again.
    ds.append();
    ds.field(0).set_as_integer(4);
    ds.post();
    reopen();
    EXPECT_EQ(xs(), (std::vector<std::int64_t>{10, 20, 30, 4}));
}

// A batch begun again before its end is refused and changes nothing: the records changed so far,
// a pending edit and the image of the table as read all stay, so the end writes the whole batch.
TEST_P(Datasets, BatchBegunAgainIsRefusedAndKeepsWhatItHolds)
{
    const std::string before = file_bytes(path);
    ds.begin_batch();
    ds.first();
    ds.edit();
    ds.field(0).set_as_integer(10);
    ds.next();    // posted into the image
    ds.edit();
    ds.field(0).set_as_integer(20);   // still pending
    EXPECT_EQ(error_of([&] { ds.begin_batch(); }), "A batch update is already in progress");
    EXPECT_TRUE(ds.in_batch());
    EXPECT_EQ(ds.state(), Dataset::State::Edit);
    EXPECT_EQ(ds.rec_no(), 1);
    EXPECT_EQ(ds.field(0).as_integer(), 20);
    EXPECT_EQ(file_bytes(path), before);
    ds.end_batch();
    reopen();
    EXPECT_EQ(xs(), (std::vector<std::int64_t>{10, 20, 3}));
    // The same with nothing pending, and a batch whose only change came before the refusal.
    ds.begin_batch();
    ds.move_to(2);
    ds.edit();
    ds.field(0).set_as_integer(30);
    ds.post();
    EXPECT_EQ(error_of([&] { ds.begin_batch(); }), "A batch update is already in progress");
    ds.end_batch();
    reopen();
    EXPECT_EQ(xs(), (std::vector<std::int64_t>{10, 20, 30}));
}

TEST_P(Datasets, ObserversHearABatchOnceAtItsEnd)
{
    struct Counter : DatasetObserver {
        int changed = 0, records = 0, moves = 0;
        void dataset_changed(Dataset&) override { ++changed; }
        void record_changed(Dataset&, int) override { ++records; }
        void position_changed(Dataset&) override { ++moves; }
    } seen;
    ds.add_observer(&seen);
    ds.begin_batch();
    for (ds.first(); !ds.eof(); ds.next()) {
        ds.edit();
        ds.field(1).set_as_float(2.5);
    }
    EXPECT_EQ(seen.changed + seen.records + seen.moves, 0);
    ds.end_batch();
    EXPECT_EQ(seen.changed, 1);
    EXPECT_EQ(seen.records, 0);
    // A batch that changed nothing tells of the cursor's move only.
    seen = Counter{};
    ds.begin_batch();
    ds.first();
    ds.end_batch();
    EXPECT_EQ(seen.changed, 0);
    EXPECT_EQ(seen.moves, 1);
    ds.remove_observer(&seen);
}

TEST_P(Datasets, BatchWithoutChangesOrClosedEarlyWritesNothing)
{
    const std::string before = file_bytes(path);
    ds.begin_batch();
    ds.first();
    ds.edit();
    ds.next();   // nothing assigned: the edit is dropped
    ds.end_batch();
    EXPECT_EQ(file_bytes(path), before);
    ds.begin_batch();
    ds.first();
    ds.edit();
    ds.field(0).set_as_integer(99);
    ds.next();
    ds.close();  // ends the batch, discarding what it did not write
    EXPECT_FALSE(ds.in_batch());
    EXPECT_EQ(file_bytes(path), before);
    ds.open();
    EXPECT_EQ(xs(), (std::vector<std::int64_t>{1, 2, 3}));
}

TEST_P(Datasets, AppendAlwaysGoesToThePhysicalEnd)
{
    ds.move_to(0);
    ds.delete_record();
    ds.move_to(0);
    ds.edit();
    ds.field(0).set_as_integer(20);
    ds.post();
    add(4, 0, "");
    add(5, 0, "");
    reopen();
    EXPECT_EQ(xs(), (std::vector<std::int64_t>{20, 3, 4, 5}));
}

TEST_P(Datasets, IntegerFieldStoresTheWholeNumberHalfToEven)
{
    struct Case {
        double in;
        std::int64_t out;
    };
    const Case cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.4999, 1}, {80.0, 80}, {-0.4, 0}};
    ds.move_to(0);
    for (const auto& c : cases) {
        ds.edit();
        ds.field(0).set_as_float(c.in);
        ds.post();
        EXPECT_EQ(ds.field(0).as_integer(), c.out) << c.in;
    }
    reopen();
    EXPECT_EQ(ds.field(0).as_integer(), 0);   // the last case, written to the file
    ds.edit();
    EXPECT_FALSE(error_of([&] { ds.field(0).set_as_float(3e9); }).empty());
    EXPECT_EQ(error_of([&] { ds.field(0).set_as_string("1.5"); }), "'1.5' is not a valid integer value");
    EXPECT_EQ(error_of([&] { ds.field(1).set_as_string("1,5"); }), "'1,5' is not a valid floating point value");
    ds.cancel();
}

TEST_P(Datasets, OverlongTextIsRefusedAndNothingChanges)
{
    ds.close();
    std::string before = file_bytes(path);
    ds.open();
    ds.move_to(0);
    ds.edit();
    ds.field(2).set_as_string("一二三四五六");   // 12 bytes in GBK: fits
    EXPECT_FALSE(error_of([&] { ds.field(2).set_as_string("一二三四五六七"); }).empty());
    ds.cancel();
    ds.close();
    EXPECT_EQ(file_bytes(path), before);
}

TEST_P(Datasets, UnmodifiedAppendIsDroppedByAMove)
{
    ds.append();
    EXPECT_EQ(ds.state(), Dataset::State::Insert);
    ds.first();
    EXPECT_EQ(ds.record_count(), 3);
    reopen();
    EXPECT_EQ(ds.record_count(), 3);
}

TEST_P(Datasets, ReadOnlyRefusesWrites)
{
    ds.close();
    ds.set_read_only(true);
    ds.open();
    EXPECT_EQ(error_of([&] { ds.edit(); }), "Cannot modify a read-only dataset");
    EXPECT_EQ(error_of([&] { ds.append(); }), "Cannot modify a read-only dataset");
    EXPECT_EQ(error_of([&] { ds.set_read_only(false); }), "Cannot perform this operation on an open dataset");
    ds.close();
    ds.set_read_only(false);
    ds.open();
    ds.edit();
    ds.cancel();
}

struct Counter : DatasetObserver {
    int changed = 0, records = 0, moves = 0;
    void dataset_changed(Dataset&) override { ++changed; }
    void record_changed(Dataset&, int) override { ++records; }
    void position_changed(Dataset&) override { ++moves; }
};

TEST_P(Datasets, ObserversFollowEveryChange)
{
    Counter c;
    ds.add_observer(&c);
    ds.first();
    ds.next();
    EXPECT_EQ(c.moves, 2);
    ds.edit();
    ds.field(0).set_as_integer(5);
    EXPECT_GE(c.records, 1);
    int records = c.records;
    ds.post();
    EXPECT_GT(c.records, records);
    add(9, 9, "");
    EXPECT_GE(c.changed, 1);
    int changed = c.changed;
    ds.close();
    EXPECT_EQ(c.changed, changed + 1);
    ds.close();
    EXPECT_EQ(c.changed, changed + 1);
    ds.remove_observer(&c);
    ds.open();
    EXPECT_EQ(c.changed, changed + 1);
}

INSTANTIATE_TEST_SUITE_P(Formats, Datasets, testing::Values(".db", ".dbf"),
                         [](const auto& info) { return std::string(info.param) == ".db" ? "Paradox" : "dBASE"; });

TEST(DatasetNames, ResolutionOfTableNames)
{
    ScratchDir dir;
    Dataset ds;
    ds.set_table_name(dir.path("t"));
    EXPECT_EQ(ds.resolved_path(), dir.path("t.db"));
    EXPECT_EQ(ds.resolved_format(), TableFormat::Paradox);
    ds.set_table_name(dir.path("t.DBF"));
    EXPECT_EQ(ds.resolved_format(), TableFormat::DBase);
    ds.set_table_name(dir.path("t.txt"));
    EXPECT_EQ(error_of([&] { ds.open(); }), "Unknown table type: .txt");
    ds.set_table_name(dir.path("v1.2/t"));
    EXPECT_EQ(ds.resolved_path(), dir.path("v1.2/t.db"));
    // An explicit type adds its extension only where the name has none.
    ds.set_table_type(TableType::Paradox);
    ds.set_table_name(dir.path("t.db"));
    EXPECT_EQ(ds.resolved_path(), dir.path("t.db"));
    ds.set_table_type(TableType::FoxPro);
    ds.set_table_name(dir.path("t"));
    EXPECT_EQ(ds.resolved_path(), dir.path("t.dbf"));
    ds.set_table_type(TableType::Ascii);
    EXPECT_EQ(ds.resolved_path(), dir.path("t.txt"));
    ds.set_table_type(TableType::Default);
    ds.set_table_name(dir.path("missing.db"));
    EXPECT_EQ(error_of([&] { ds.open(); }), "Table does not exist: " + dir.path("missing.db"));
    EXPECT_FALSE(ds.active());
}

// The life-table save: Table2 creates a Paradox table of eight text fields and fills it by
// appending records whose fields are set as text; appending the next record posts the one before.
TEST(DatasetCreate, CreateTableAndFillAsText)
{
    ScratchDir dir;
    Dataset t2;
    t2.set_database_name("db");
    t2.set_table_name(dir.path("life"));
    t2.set_table_type(TableType::Paradox);
    t2.field_defs().clear();
    for (int i = 0; i < 8; ++i) t2.field_defs().push_back({"field0" + std::to_string(i), FieldType::String, 20, false});
    t2.create_table();
    EXPECT_TRUE(std::filesystem::exists(dir.path("life.db")));
    t2.open();
    for (int row = 0; row < 3; ++row) {
        t2.append();
        for (int i = 0; i < 8; ++i) t2.field(i).set_as_string(std::to_string(row * 10 + i));
    }
    t2.post();
    t2.close();
    t2.open();
    ASSERT_EQ(t2.record_count(), 3);
    t2.last();
    EXPECT_EQ(t2.field_by_name("FIELD07").as_string(), "27");
    // Two names that differ only in letter case are one name.
    t2.close();
    t2.set_table_name(dir.path("dup"));
    t2.field_defs() = {{"lx", FieldType::String, 20, false}, {"Lx", FieldType::String, 20, false}};
    EXPECT_EQ(error_of([&] { t2.create_table(); }), "Duplicate field name 'Lx'");
    EXPECT_FALSE(std::filesystem::exists(dir.path("dup.db")));
    t2.set_table_name(dir.path("life"));
    std::string before = file_bytes(dir.path("life.db"));
    EXPECT_EQ(error_of([&] { t2.create_table(); }), "Table already exists: " + dir.path("life.db"));
    EXPECT_EQ(file_bytes(dir.path("life.db")), before);
}

// Keyed Paradox tables and tables with memo fields open, but refuse every write.
TEST(DatasetFixtures, ReadOnlyTablesRefuseWrites)
{
    for (const char* name : {"paradox/CUSTOMER.DB", "paradox/memo.db"}) {
        ScratchDir dir;
        std::string src = std::string(VANTELO_FIXTURES_DIR) + "/" + name;
        std::string copy = dir.path(std::filesystem::path(name).filename().string());
        std::filesystem::copy_file(src, copy);
        auto stem = std::filesystem::path(src).replace_extension("");
        for (const char* ext : {".PX", ".px", ".mb", ".MB"})
            if (std::filesystem::exists(stem.string() + ext))
                std::filesystem::copy_file(stem.string() + ext, dir.path(std::filesystem::path(stem).filename().string() + ext));
        std::string before = file_bytes(copy);
        Dataset ds;
        ds.set_table_name(copy);
        ds.open();
        EXPECT_TRUE(ds.read_only()) << name;
        EXPECT_EQ(error_of([&] { ds.edit(); }).rfind("Table is read-only: " + copy, 0), 0u) << name;
        EXPECT_EQ(error_of([&] { ds.append(); }).rfind("Table is read-only: " + copy, 0), 0u) << name;
        EXPECT_EQ(error_of([&] { ds.delete_record(); }).rfind("Table is read-only: " + copy, 0), 0u) << name;
        ds.close();
        EXPECT_FALSE(error_of([&] { execute_statement("alter table " + q(copy) + " add zz integer"); }).empty()) << name;
        EXPECT_EQ(file_bytes(copy), before) << name;
    }
}

}  // namespace

namespace {

// A number too wide for a dBASE N(20,10) column is refused when posted; the file and the
// image keep the old value and the edit stays pending.
TEST(DatasetDbase, NumericOverflowIsRefused)
{
    ScratchDir dir;
    std::string path = dir.path("n.dbf");
    execute_statement("Create table " + q(path) + " (y float)");
    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    ds.append();
    ds.field(0).set_as_float(123456789.5);
    ds.post();
    std::string before = file_bytes(path);
    ds.edit();
    ds.field(0).set_as_float(1e12);
    EXPECT_FALSE(error_of([&] { ds.post(); }).empty());
    EXPECT_EQ(ds.state(), Dataset::State::Edit);
    ds.cancel();
    EXPECT_EQ(ds.field(0).as_float(), 123456789.5);
    EXPECT_EQ(file_bytes(path), before);
}

// Text set on a 64-bit integer field is read over the whole 64-bit range, as strictly as
// 32-bit text: one sign, digits (or "$" and hex digits), blanks only around.
TEST(DatasetText, WholeNumbersOfTheSixtyFourBitRange)
{
    const std::pair<const char*, std::int64_t> good[] = {
        {"0", 0},
        {" +42\t", 42},
        {"4294967296", 4294967296LL},                                  // 2^32
        {"-2147483649", -2147483649LL},
        {"9223372036854775807", INT64_MAX},                            // 2^63 - 1
        {"-9223372036854775808", INT64_MIN},
        {"$7FFFFFFFFFFFFFFF", INT64_MAX},
        {"-$8000000000000000", INT64_MIN},
        {"$ff", 255},
        {"000000000000000000000000012", 12},
    };
    for (auto [text, value] : good) EXPECT_EQ(parse_int64(text), value) << text;
    for (const char* text : {"9223372036854775808", "-9223372036854775809", "18446744073709551616",
                             "$8000000000000000", "-$8000000000000001", "1.5", "", "  ", "-", "+", "$", "12a",
                             "1 2", "0x10", "--1", "+-1", "1e3", "$-1", "１２"})
        EXPECT_EQ(error_of([&] { parse_int64(text); }), "'" + std::string(text) + "' is not a valid integer value") << text;
}

}  // namespace

// A record whose text holds bytes that are not valid text does not come back byte for byte from
// a rewrite; after a delete the table shows what the file now holds.
TEST(DatasetDbase, AfterADeleteTheTableShowsWhatTheFileHolds)
{
    ScratchDir dir;
    const std::string path = dir.path("t.dbf");
    std::filesystem::copy_file(std::string(VANTELO_TEST_DATA_DIR) + "/dbase/undecodable_text.dbf", path);
    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    ASSERT_EQ(ds.record_count(), 3);
    ds.delete_record();
    Dataset back;
    back.set_table_name(path);
    back.open();
    EXPECT_EQ(back.record_count(), 2);
    EXPECT_TRUE(same_table(back.data(), ds.data()));
}
