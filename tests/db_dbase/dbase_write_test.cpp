// Writing .dbf files: what we write is read back identically by shapelib, dbf_dump and GDAL
// as well as by our own reader; numbers never lose digits silently; posted records are
// written through in place or at the end.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "independent.h"
#include "platform/core/errors.h"
#include "platform/db/atomic_file.h"
#include "platform/db/byte_reader.h"
#include "platform/db/dataset.h"
#include "platform/db/dbase.h"

using namespace vantelo;
using namespace vantelo::db;
using namespace dbase_test;
namespace fs = std::filesystem;

namespace {

using vantelo::db::test_common::field;

// The population-table layout with every kind the engine creates and names of the length
// data preparation uses (年龄别生育率 is 12 bytes in GBK).
TableData sample_table(int records)
{
    TableData t;
    t.fields = dbase_fields_from({field("年龄", FieldType::Integer), field("男性人口", FieldType::Float),
                                  field("年龄别生育率", FieldType::Float), field("地区", FieldType::String, 12),
                                  field("日期", FieldType::Date), field("标志", FieldType::Boolean)});
    for (int i = 0; i < records; ++i) {
        Record r(6);
        r[0] = std::int64_t{i};
        r[1] = 1000.5 + i;
        switch (i % 4) {
        case 0: r[2] = 0.000123; break;
        case 1: r[2] = 1e-7; break;
        case 2: r[2] = -2.25; break;
        default: break;  // null
        }
        static const char* texts[] = {"甲", "乙丙", "", "say \"hi\""};
        if (i % 4 != 2) r[3] = std::string(texts[i % 4]);
        if (i % 3 != 0) r[4] = Date{1990 + i, 1 + i % 12, 1 + i % 28};
        if (i % 5 != 0) r[5] = (i % 2 == 0);
        t.records.push_back(r);
    }
    return t;
}

std::string dbf_number(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10f", v);  // the decimals of the field, by hand
    return buf;
}

// Compares a table we wrote with what an independent reader gives, field by field.
void expect_reader_agrees(const TableData& t, const IndepTable& other, const char* who, bool date_slashes)
{
    ASSERT_EQ(other.rows.size(), t.records.size()) << who;
    for (size_t r = 0; r < t.records.size(); ++r) {
        for (size_t c = 0; c < t.fields.size(); ++c) {
            const Value& v = t.records[r][c];
            const auto& o = other.rows[r].at(c);
            std::string where = std::string(who) + " record " + std::to_string(r) + " field " + t.fields[c].name;
            bool empty_text = std::holds_alternative<std::string>(v) && std::get<std::string>(v).empty();
            if (is_null(v) || empty_text) {
                // An empty text and a null are the same blanks in a .dbf; GDAL shows them as "".
                EXPECT_TRUE(!o || o->empty()) << where << " '" << *o << "'";
                continue;
            }
            ASSERT_TRUE(o.has_value()) << where;
            if (auto i = std::get_if<std::int64_t>(&v)) EXPECT_EQ(std::stoll(*o), *i) << where;
            else if (auto d = std::get_if<double>(&v)) EXPECT_EQ(std::stod(*o), std::stod(dbf_number(*d))) << where;
            else if (auto s = std::get_if<std::string>(&v)) EXPECT_EQ(*o, *s) << where;
            else if (auto b = std::get_if<bool>(&v)) {
                bool theirs = *o == "T" || *o == "1" || *o == "true";
                EXPECT_EQ(theirs, *b) << where << " '" << *o << "'";
            } else if (auto dt = std::get_if<Date>(&v)) {
                char buf[16];
                std::snprintf(buf, sizeof buf, date_slashes ? "%04d/%02d/%02d" : "%04d%02d%02d", dt->year, dt->month,
                              dt->day);
                EXPECT_EQ(*o, buf) << where;
            }
        }
    }
}

// What our reader must give back: texts that were empty read as null.
void expect_same_table(const TableData& a, const TableData& b)
{
    ASSERT_EQ(a.fields.size(), b.fields.size());
    for (size_t c = 0; c < a.fields.size(); ++c) {
        EXPECT_EQ(a.fields[c].name, b.fields[c].name);
        EXPECT_EQ(a.fields[c].type, b.fields[c].type);
    }
    ASSERT_EQ(a.records.size(), b.records.size());
    for (size_t r = 0; r < a.records.size(); ++r)
        for (size_t c = 0; c < a.fields.size(); ++c) {
            Value want = a.records[r][c];
            if (auto s = std::get_if<std::string>(&want); s && s->empty()) want = std::monostate{};
            EXPECT_EQ(b.records[r][c], want) << "record " << r << " field " << a.fields[c].name;
        }
}

class TempDir : public testing::Test {
protected:
    TempTableDir tmp;
    const std::string dir = tmp.dir();
};

using DbaseWrite = TempDir;

}  // namespace

TEST(DbaseNames, CutTo10BytesAtCharacterBoundary)
{
    EXPECT_EQ(dbase_stored_name("年龄别生育率"), "年龄别生育");      // 12 bytes -> 10
    EXPECT_EQ(dbase_stored_name("a年龄别生育率"), "a年龄别生");       // never half a character
    EXPECT_EQ(dbase_stored_name("农村男性人口数"), "农村男性人");
    EXPECT_EQ(dbase_stored_name("population"), "population");
    EXPECT_EQ(dbase_stored_name("populations"), "population");
    EXPECT_EQ(dbase_stored_name("年龄"), "年龄");
}

TEST(DbaseNames, ClashAfterCuttingIsDuplicate)
{
    struct Case {
        std::vector<std::string> names;
        const char* message;
    } cases[] = {
        {{"农村男性人口数", "农村男性人口比"}, "Duplicate field name '农村男性人'"},
        {{"age", "AGE"}, "Duplicate field name 'AGE'"},
        {{"populations", "population"}, "Duplicate field name 'population'"},
    };
    for (const auto& c : cases) {
        std::vector<FieldDef> f;
        for (const auto& n : c.names) f.push_back(field(n, FieldType::Integer));
        try {
            dbase_fields_from(f);
            ADD_FAILURE() << c.message;
        } catch (const EngineError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(DbaseFields, MappingOfEveryKind)
{
    auto f = dbase_fields_from({field("i", FieldType::Integer), field("s", FieldType::SmallInt),
                                field("l", FieldType::LargeInt), field("f", FieldType::Float),
                                field("y", FieldType::Currency), field("c", FieldType::String, 254),
                                field("d", FieldType::Date), field("b", FieldType::Boolean)});
    struct Want {
        char native;
        int width, decimals;
    } want[] = {{'N', 11, 0}, {'N', 11, 0}, {'N', 20, 0}, {'N', 0, 0} /* laid out from the values */, {'N', 20, 4},
                {'C', 254, 0}, {'D', 8, 0}, {'L', 1, 0}};
    ASSERT_EQ(f.size(), 8u);
    for (size_t i = 0; i < f.size(); ++i) {
        EXPECT_EQ(f[i].native, want[i].native) << i;
        EXPECT_EQ(f[i].native_size, want[i].width) << i;
        EXPECT_EQ(f[i].decimals, want[i].decimals) << i;
    }
    struct Bad {
        FieldDef f;
        const char* message;
    } bad[] = {
        {field("s", FieldType::String, 255), "Invalid field size 255 for field 's'"},
        {field("s", FieldType::String, 0), "Invalid field size 0 for field 's'"},
        {field("m", FieldType::Other), "Field 'm': field type not supported by the target format"},
        {field("", FieldType::Integer), "Invalid field name ''"},
    };
    for (const auto& b : bad) {
        try {
            dbase_fields_from({b.f});
            ADD_FAILURE() << b.message;
        } catch (const EngineError& e) {
            EXPECT_STREQ(e.what(), b.message);
        }
    }
}

// 81 records of every created kind, Chinese names and values, 0.000123, 1e-7 and -2.25:
// our reader, shapelib, dbf_dump and GDAL all read them back, in order.
TEST_F(DbaseWrite, RoundTripThroughEveryReader)
{
    TableData t = sample_table(81);
    for (bool foxpro : {false, true}) {
        SCOPED_TRACE(foxpro ? "FoxPro" : "dBASE");
        std::string path = dir + (foxpro ? "/fox.dbf" : "/base.dbf");
        write_dbase(path, t, foxpro);

        TableData back = read_dbase(path);
        expect_same_table(t, back);
        EXPECT_FALSE(back.read_only);
        EXPECT_EQ(back.code_page, 936);
        EXPECT_EQ(std::get<double>(back.records[1][2]), 1e-7);
        EXPECT_EQ(std::get<double>(back.records[0][2]), 0.000123);
        EXPECT_EQ(std::get<double>(back.records[2][2]), -2.25);

        IndepTable shp = shapelib_read(path);
        ASSERT_EQ(shp.fields.size(), 6u);
        const char* names[] = {"年龄", "男性人口", "年龄别生育", "地区", "日期", "标志"};
        char types[] = {'N', foxpro ? 'F' : 'N', foxpro ? 'F' : 'N', 'C', 'D', 'L'};
        int widths[] = {11, 20, 20, 12, 8, 1}, decimals[] = {0, 10, 10, 0, 0, 0};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(shp.fields[i].name, names[i]);
            EXPECT_EQ(shp.fields[i].type, types[i]);
            EXPECT_EQ(shp.fields[i].width, widths[i]);
            EXPECT_EQ(shp.fields[i].decimals, decimals[i]);
        }
        EXPECT_EQ(shp.ldid, 0x7A);
        std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        EXPECT_EQ(shp.update_year, tm.tm_year + 1900);
        EXPECT_EQ(shp.update_month, tm.tm_mon + 1);
        EXPECT_EQ(shp.update_day, tm.tm_mday);
        expect_reader_agrees(t, shp, "shapelib", false);

        IndepTable dump = dbf_dump_read(path);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(dump.fields.at(i).name, names[i]);
        expect_reader_agrees(t, dump, "dbf_dump", false);

        IndepTable ogr = ogr_read(path);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(ogr.fields.at(i).name, names[i]);
        expect_reader_agrees(t, ogr, "ogr", true);

        // The layout itself: version 0x03, lengths, terminator and end mark.
        auto bytes = file_bytes(path);
        std::size_t header = 32 + 32 * 6 + 1, record = 1 + 11 + 20 + 20 + 12 + 8 + 1;
        ASSERT_EQ(bytes.size(), header + 81 * record + 1);
        EXPECT_EQ(bytes[0], 0x03);
        EXPECT_EQ(get_u32le(&bytes[4]), 81u);
        EXPECT_EQ(get_u16le(&bytes[8]), header);
        EXPECT_EQ(get_u16le(&bytes[10]), record);
        EXPECT_EQ(bytes[29], 0x7A);
        EXPECT_EQ(bytes[header - 1], 0x0D);
        EXPECT_EQ(bytes.back(), 0x1A);
    }
}

// The stored texts of numbers and dates, derived by hand from the N(20,10), N(11,0) and D
// layouts.
TEST_F(DbaseWrite, StoredTexts)
{
    TableData t;
    FieldDef real = field("f", FieldType::Float);   // N(20,10), as read from a file
    real.native = 'N';
    real.size = real.native_size = 20;
    real.decimals = 10;
    t.fields = dbase_fields_from({real, field("i", FieldType::Integer), field("d", FieldType::Date)});
    struct Case {
        Value f, i, d;
        const char* text;  // the record after its deletion flag
    } cases[] = {
        {0.000123, std::int64_t{0}, Date{1990, 1, 1}, "        0.0001230000          019900101"},
        {1e-7, std::int64_t{-42}, Date{2000, 2, 29}, "        0.0000001000        -4220000229"},
        {-2.25, 2.5, Date{1, 12, 31}, "       -2.2500000000          200011231"},        // 2.5 -> 2, ties to even
        {-1e-12, 3.5, std::monostate{}, "        0.0000000000          4        "},    // no "-0"
        {999999999.5, -0.5, std::monostate{}, "999999999.5000000000          0        "},  // -0.5 -> 0
        {std::monostate{}, std::monostate{}, std::monostate{}, "                                       "},
        {std::int64_t{81}, std::int64_t{99999999999}, Date{9999, 12, 31}, "       81.00000000009999999999999991231"},
    };
    for (const auto& c : cases) t.records.push_back({c.f, c.i, c.d});
    auto bytes = build_dbase(t, false);
    std::size_t header = 32 + 32 * 3 + 1, record = 1 + 20 + 11 + 8;
    for (size_t r = 0; r < std::size(cases); ++r) {
        std::string rec(reinterpret_cast<const char*>(&bytes[header + r * record]), record);
        EXPECT_EQ(rec, std::string(" ") + cases[r].text) << r;
    }
}

// A real in a field of any number of decimals is the text C's printf gives it, right-aligned:
// the exact binary value rounded to the nearest, exact ties to even; values near the rounding
// step, tiny and subnormal ones, whole numbers above 2^53 and numbers of 20 digits among them.
TEST_F(DbaseWrite, RealsAreWrittenAsPrintfRoundsThem)
{
    std::vector<double> values = {0.5, 1.5, 2.5, -0.5, -2.5, 0.125, 0.375, -0.625, 1.0000000005, 0.00000000005,
                                  0.1, 0.2, 0.3, 2.675, 1.005, 1e-300, 4.9e-324, -2.2250738585072014e-308,
                                  9007199254740993.0, 1e17 + 8, 99999999999999999999.0, 123456789.123456789,
                                  5e9 + 0.123, 1844674407.3709551616, 18446744073709551616.0, 12345.001, -0.0};
    // Random bit patterns scaled into [1e-12, 1e12), both signs.
    std::uint64_t x = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 4000; ++i) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        const double m = static_cast<double>(x >> 11) / 9007199254740992.0;   // [0, 1)
        values.push_back((i % 2 ? -1 : 1) * m * std::pow(10.0, static_cast<int>(x % 25) - 12));
    }
    for (int decimals : {0, 1, 2, 4, 10, 15, 18}) {
        SCOPED_TRACE(decimals);
        TableData t;
        FieldDef f = field("n", FieldType::Float);
        f.native = 'N';
        f.size = f.native_size = 20;
        f.decimals = decimals;
        t.fields = {f};
        std::vector<std::string> want;
        for (double v : values) {
            char buf[400];
            std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
            std::string text = buf;
            if (text.size() > 20) continue;   // does not fit the field
            if (text[0] == '-' && text.find_first_of("123456789") == std::string::npos) text.erase(0, 1);   // no "-0"
            want.push_back(std::string(20 - text.size(), ' ') + text);
            t.records.push_back({v});
        }
        const auto bytes = build_dbase(t, false);
        const std::size_t header = 32 + 32 + 1;
        for (std::size_t r = 0; r < want.size(); ++r)
            ASSERT_EQ(std::string(reinterpret_cast<const char*>(&bytes[header + r * 21 + 1]), 20), want[r])
                << std::get<double>(t.records[r][0]);
    }
}

// A number that does not fit its field is an error naming the field, never a shorter number;
// a file being replaced stays as it was.
TEST_F(DbaseWrite, ValueThatDoesNotFitIsAnError)
{
    std::string path = dir + "/t.dbf";
    TableData t;
    // 人口 N(20,10), as a table read from a file has it.
    FieldDef people = field("人口", FieldType::Float);
    people.native = 'N';
    people.size = people.native_size = 20;
    people.decimals = 10;
    t.fields = dbase_fields_from({people, field("age", FieldType::Integer), field("name", FieldType::String, 4),
                                  field("day", FieldType::Date)});
    t.records.push_back({1.0, std::int64_t{1}, std::string("ab"), Date{2000, 1, 1}});
    write_dbase(path, t);
    auto before = file_bytes(path);
    struct Case {
        Record record;
        const char* message;
    } cases[] = {
        {{1e9, std::int64_t{1}, std::monostate{}, std::monostate{}}, "Value out of range for field '人口'"},
        {{-123456789.5, std::int64_t{1}, std::monostate{}, std::monostate{}}, "Value out of range for field '人口'"},
        {{1e30, std::int64_t{1}, std::monostate{}, std::monostate{}}, "Value out of range for field '人口'"},
        {{0.0, std::int64_t{123456789012}, std::monostate{}, std::monostate{}}, "Value out of range for field 'age'"},
        {{0.0, -1e11, std::monostate{}, std::monostate{}}, "Value out of range for field 'age'"},
        {{0.0, std::int64_t{1}, std::string("甲乙丙"), std::monostate{}}, "Value too long for field 'name'"},
        {{0.0, std::int64_t{1}, std::monostate{}, Date{2001, 2, 29}}, "Value out of range for field 'day'"},
        {{0.0, std::int64_t{1}, std::monostate{}, Date{10000, 1, 1}}, "Value out of range for field 'day'"},
        {{0.0, std::int64_t{1}, std::monostate{}, std::string("x")}, "Type mismatch for field 'day'"},
    };
    for (const auto& c : cases) {
        TableData bad = t;
        bad.records.push_back(c.record);
        try {
            write_dbase(path, bad);
            ADD_FAILURE() << c.message;
        } catch (const EngineError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(file_bytes(path), before) << c.message;
        // The same value posted into the existing record fails the same way, in place.
        EXPECT_THROW(dbase_update_record(path, t, 0, c.record), EngineError) << c.message;
        EXPECT_EQ(file_bytes(path), before) << c.message;
    }
    EXPECT_EQ(fs::directory_iterator(dir) == fs::directory_iterator(), false);
    int files = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 1);  // no temporary file left behind
}

// Posting writes through: record 40 in place, a new record at the physical end, the count and
// the end mark updated; shapelib sees 82 records in order.
TEST_F(DbaseWrite, UpdateRecord40ThenAppend)
{
    std::string path = dir + "/pop.dbf";
    TableData t = sample_table(81);
    write_dbase(path, t);
    auto before = file_bytes(path);

    Record changed = t.records[40];
    changed[1] = 12345.678;
    changed[3] = std::string("城镇");
    dbase_update_record(path, t, 40, changed);
    t.records[40] = changed;
    auto after = file_bytes(path);
    ASSERT_EQ(after.size(), before.size());
    std::size_t header = 32 + 32 * 6 + 1, record = 73;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (i < header + 40 * record || i >= header + 41 * record)
            if (i < 1 || i > 3) ASSERT_EQ(after[i], before[i]) << "byte " << i << " outside record 40 changed";

    Record extra(6);
    extra[0] = std::int64_t{81};
    extra[1] = 0.5;
    extra[3] = std::string("新");
    dbase_append_record(path, t, extra);
    t.records.push_back(extra);

    auto bytes = file_bytes(path);
    ASSERT_EQ(bytes.size(), header + 82 * record + 1);
    EXPECT_EQ(get_u32le(&bytes[4]), 82u);
    EXPECT_EQ(bytes.back(), 0x1A);

    IndepTable shp = shapelib_read(path);
    expect_reader_agrees(t, shp, "shapelib", false);
    expect_reader_agrees(t, dbf_dump_read(path), "dbf_dump", false);
    for (int i = 0; i < 82; ++i) EXPECT_EQ(shp.rows[i][0], std::to_string(i));
    expect_same_table(t, read_dbase(path));
}

// With a record flagged deleted in the middle, a posted record still lands on the record the
// table showed, and an append goes after every record, deleted ones included.
TEST_F(DbaseWrite, PostingSkipsDeletedRecords)
{
    std::string path = dir + "/del.dbf";
    TableData t = sample_table(5);
    write_dbase(path, t);
    auto bytes = file_bytes(path);
    std::size_t header = 32 + 32 * 6 + 1, record = 73;
    bytes[header + 1 * record] = '*';
    write_file_atomically(path, bytes);

    TableData shown = read_dbase(path);
    ASSERT_EQ(shown.records.size(), 4u);
    EXPECT_EQ(shown.records[1][0], Value(std::int64_t{2}));
    Record changed = shown.records[1];
    changed[0] = std::int64_t{200};
    dbase_update_record(path, shown, 1, changed);
    shown.records[1] = changed;
    Record extra = shown.records[0];
    extra[0] = std::int64_t{500};
    dbase_append_record(path, shown, extra);

    IndepTable shp = shapelib_read(path);
    EXPECT_EQ(shp.all_records, 6);
    ASSERT_EQ(shp.rows.size(), 5u);
    const char* ages[] = {"0", "200", "3", "4", "500"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(shp.rows[i][0], ages[i]);
}

// Write-through refuses a file that no longer matches the table as read, or a damaged one,
// and leaves it alone.
TEST_F(DbaseWrite, WriteThroughRefusesChangedOrDamagedFile)
{
    std::string path = dir + "/t.dbf";
    TableData t = sample_table(3);
    write_dbase(path, t);
    TableData other = t;
    other.fields = dbase_fields_from({field("x", FieldType::Integer)});
    for (auto& r : other.records) r = {std::int64_t{1}};
    auto before = file_bytes(path);
    try {
        dbase_update_record(path, other, 0, other.records[0]);
        ADD_FAILURE();
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "t.dbf: the table's fields have changed since it was opened");
    }
    EXPECT_THROW(dbase_append_record(path, other, other.records[0]), EngineError);
    EXPECT_EQ(file_bytes(path), before);

    auto cut = before;
    cut.resize(cut.size() - 40);
    write_file_atomically(path, cut);
    EXPECT_THROW(dbase_update_record(path, t, 0, t.records[0]), EngineError);
    EXPECT_THROW(dbase_append_record(path, t, t.records[0]), EngineError);
    EXPECT_EQ(file_bytes(path), cut);
}

// Fields read from a .dbf keep their own layout when the table is rewritten (as by alter).
TEST_F(DbaseWrite, RewriteKeepsFileLayout)
{
    std::string path = dir + "/t.dbf";
    TableData t;
    t.fields = dbase_fields_from({field("a", FieldType::Float)});
    t.fields[0].native_size = t.fields[0].size = 12;
    t.fields[0].decimals = 3;
    t.fields.push_back(dbase_fields_from({field("n", FieldType::Integer)})[0]);
    t.fields[1].native_size = t.fields[1].size = 5;
    t.records.push_back({12345678.125, std::int64_t{-9999}});
    write_dbase(path, t);
    TableData back = read_dbase(path);
    EXPECT_EQ(back.fields[0].native_size, 12);
    EXPECT_EQ(back.fields[0].decimals, 3);
    EXPECT_EQ(back.fields[1].native_size, 5);
    EXPECT_EQ(back.fields[1].type, FieldType::Integer);
    back.fields.push_back(dbase_fields_from({field("z", FieldType::Float)})[0]);
    for (auto& r : back.records) r.push_back(std::monostate{});
    write_dbase(path, back);
    IndepTable shp = shapelib_read(path);
    EXPECT_EQ(shp.fields[0].width, 12);
    EXPECT_EQ(shp.fields[0].decimals, 3);
    EXPECT_EQ(shp.fields[1].width, 5);
    EXPECT_EQ(shp.fields[2].width, 20);
    EXPECT_EQ(shp.fields[2].decimals, 10);
    EXPECT_EQ(shp.rows[0][0], "12345678.125");
    EXPECT_EQ(shp.rows[0][1], "-9999");
    EXPECT_FALSE(shp.rows[0][2].has_value());
}

// A text the table's code page cannot hold is refused with the field named, never written as '?'.
TEST_F(DbaseWrite, TextOutsideCodePageIsAnError)
{
    TableData t;
    t.fields = dbase_fields_from({field("名称", FieldType::String, 10)});
    t.records.push_back({std::string("\xF0\x9F\x98\x80")});  // an emoji: no GBK form
    try {
        write_dbase(dir + "/t.dbf", t);
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Field '名称': ", 0), 0u) << e.what();
    }
    EXPECT_FALSE(fs::exists(dir + "/t.dbf"));
}

// The reals of a one-field table as GDAL reads them, in its GeoJSON output (17 digits; its CSV
// and ogrinfo round to the field's decimals).
std::vector<double> gdal_reals(const std::string& path)
{
    const std::string json = run("ogr2ogr -f GeoJSON /vsistdout/ " + quote(path) + " 2>/dev/null");
    std::vector<double> out;
    const std::string key = "\"properties\": { \"";
    for (std::size_t at = json.find(key); at != std::string::npos; at = json.find(key, at + 1)) {
        const std::size_t colon = json.find("\": ", at + key.size());
        out.push_back(std::strtod(json.c_str() + colon + 3, nullptr));
    }
    return out;
}

// Reals copied into a new dBASE or FoxPro table (here from a Paradox table, as a conversion
// does) take their field's decimals from the values: ten, or as many as the values' own digits
// need, within what 20 characters leave beside the widest whole part and sign. A value whose digits
// the fixed layout would cut (a huge or a tiny one) is written with an exponent. shapelib gives
// the stored texts (derived here by hand), GDAL and our reader the values; a field added later
// keeps the layout chosen, and a new empty field takes N(20,10).
TEST_F(DbaseWrite, ConvertedRealsTakeTheirLayoutFromTheirValues)
{
    struct Case {
        const char* name;
        std::vector<double> values;
        int decimals;
        std::vector<const char*> texts;   // as stored, blanks trimmed
    };
    const Case cases[] = {
        {"national populations", {1411778724.0, 67000000.5, 8.25}, 9,
         {"1411778724.000000000", "67000000.500000000", "8.250000000"}},
        {"signed, ten decimals where there is room", {-98765.4321, 0.001}, 10, {"-98765.4321000000", "0.0010000000"}},
        {"rates of 15 digits", {0.000123456789012345, 0.5}, 18, {"0.000123456789012345", "0.500000000000000000"}},
        {"huge among small", {1.5e25, -2.5, 3.0}, 10, {"1.5E+25", "-2.5000000000", "3.0000000000"}},
        {"the largest and the smallest double", {1.7976931348623157e308, -4.9e-324}, 17,
         {"1.7976931348623E+308", "-5E-324"}},
        {"whole numbers past 2^53", {1e18, 123456789012345678.0}, 0, {"1000000000000000000", "123456789012345680"}},
        {"a 10-digit whole part beside 17 digits", {1411778724.5, 0.1234567890123456}, 9,
         {"1411778724.500000000", "1.23456789012346E-01"}},
        {"few decimals each, near a power of ten", {0.1, 0.3, 2.675, 0.0000012345, 999999.99999}, 10,
         {"0.1000000000", "0.3000000000", "2.6750000000", "0.0000012345", "999999.9999900000"}},
        {"twelve decimals", {0.123456789012, 5.5, -0.000000000001}, 12,
         {"0.123456789012", "5.500000000000", "-0.000000000001"}},
    };
    for (TableType type : {TableType::DBase, TableType::FoxPro}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (type == TableType::FoxPro ? " (FoxPro)" : " (dBASE)"));
            const std::string src_path = dir + "/src.db", out = dir + "/out.dbf";
            fs::remove(src_path);
            fs::remove(out);
            execute_statement("Create table \"" + src_path + "\" (v float)");
            Dataset src, dst;
            src.set_table_name(src_path);
            src.open();
            for (double v : c.values) {
                src.append();
                src.field(0).set_as_float(v);
                src.post();
            }
            dst.set_table_name(out);
            dst.set_table_type(type);
            BatchMove move;
            move.source = &src;
            move.destination = &dst;
            ASSERT_NO_THROW(move.execute());

            IndepTable shp = shapelib_read(out);
            ASSERT_EQ(shp.fields.size(), 1u);
            EXPECT_EQ(shp.fields[0].type, type == TableType::FoxPro ? 'F' : 'N');
            EXPECT_EQ(shp.fields[0].width, 20);
            EXPECT_EQ(shp.fields[0].decimals, c.decimals);
            ASSERT_EQ(shp.rows.size(), c.texts.size());
            const std::vector<double> gdal = gdal_reals(out);
            ASSERT_EQ(gdal.size(), c.values.size());
            TableData ours = read_dbase(out);
            ASSERT_EQ(ours.records.size(), c.values.size());
            EXPECT_FALSE(ours.read_only) << ours.read_only_reason;
            for (std::size_t r = 0; r < c.values.size(); ++r) {
                EXPECT_EQ(shp.rows[r].at(0).value_or("<null>"), c.texts[r]) << r;
                const double stored = std::strtod(c.texts[r], nullptr);   // (stod refuses subnormals)
                EXPECT_EQ(std::get<double>(ours.records[r][0]), stored) << r;
                EXPECT_EQ(gdal[r], stored) << r;
            }

            // A field added to the converted table: the chosen layout stays; the new field is
            // empty and takes N(20,10).
            execute_statement("alter table \"" + out + "\" add w float");
            IndepTable added = shapelib_read(out);
            ASSERT_EQ(added.fields.size(), 2u);
            EXPECT_EQ(added.fields[0].decimals, c.decimals);
            EXPECT_EQ(added.fields[1].width, 20);
            EXPECT_EQ(added.fields[1].decimals, 10);
            for (std::size_t r = 0; r < c.texts.size(); ++r) {
                EXPECT_EQ(added.rows[r].at(0).value_or("<null>"), c.texts[r]) << r;
                EXPECT_FALSE(added.rows[r].at(1).has_value());
            }
        }
    }
}
