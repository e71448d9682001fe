// Reading real .dbf files and damaged ones: every fixture agrees with independent readers,
// every damaged file gives a clear message naming it and stays as it was.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#include "independent.h"
#include "platform/core/errors.h"
#include "tests/db_common/cut_short.h"
#include "platform/db/dataset.h"
#include "platform/db/dbase.h"

using namespace vantelo;
using namespace vantelo::db;
using namespace dbase_test;
namespace fs = std::filesystem;

namespace {

std::string fixture(const std::string& name) { return std::string(VANTELO_FIXTURES_DIR) + "/dbase/" + name; }
std::string test_data(const std::string& name) { return std::string(VANTELO_TEST_DATA_DIR) + "/dbase/" + name; }

std::string two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

// The text an independent reader gives for a value: dates as YYYYMMDD (date_sep between the
// parts for GDAL), numbers compared by value elsewhere.
std::string date_text(const Date& d, const char* sep = "")
{
    return std::to_string(d.year) + sep + two(d.month) + sep + two(d.day);
}

// Compares one of our values with an independent reader's text.
void expect_same(const FieldDef& f, const Value& ours, const std::optional<std::string>& theirs,
                 const std::string& where, const char* date_sep = "")
{
    if (!theirs) {
        EXPECT_TRUE(is_null(ours)) << where;
        return;
    }
    if (is_null(ours)) {
        ADD_FAILURE() << where << ": ours is null, theirs '" << *theirs << "'";
        return;
    }
    switch (f.type) {
    case FieldType::String:
    case FieldType::Other: EXPECT_EQ(std::get<std::string>(ours), *theirs) << where; break;
    case FieldType::Integer: EXPECT_EQ(std::get<std::int64_t>(ours), std::stoll(*theirs)) << where; break;
    case FieldType::Float:
    case FieldType::Currency: EXPECT_DOUBLE_EQ(std::get<double>(ours), std::stod(*theirs)) << where; break;
    case FieldType::Date: EXPECT_EQ(date_text(std::get<Date>(ours), date_sep), *theirs) << where; break;
    case FieldType::Boolean:
        EXPECT_EQ(std::get<bool>(ours), *theirs == "T" || *theirs == "1" || *theirs == "true") << where;
        break;
    default: ADD_FAILURE() << where << ": unexpected type";
    }
}

std::vector<std::string> fixture_tables()
{
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(std::string(VANTELO_FIXTURES_DIR) + "/dbase"))
        if (e.path().extension() == ".dbf") out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

// Every real table opens; names, types, widths, counts and values agree with shapelib and
// with dbf_dump (which also reads memo text) and GDAL.
TEST(DbaseFixtures, AgreeWithIndependentReaders)
{
    auto names = fixture_tables();
    ASSERT_EQ(names.size(), 4u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::string path = fixture(name);
        TableData t = read_dbase(path);
        IndepTable shp = shapelib_read(path);
        ASSERT_EQ(t.fields.size(), shp.fields.size());
        for (size_t i = 0; i < t.fields.size(); ++i) {
            EXPECT_EQ(t.fields[i].name, shp.fields[i].name);
            EXPECT_EQ(t.fields[i].native, shp.fields[i].type);
            EXPECT_EQ(t.fields[i].native_size, shp.fields[i].width);
            EXPECT_EQ(t.fields[i].decimals, shp.fields[i].decimals);
        }
        ASSERT_EQ(t.records.size(), shp.rows.size());
        EXPECT_EQ(t.records.size(), 2u);  // the third record of each is flagged deleted
        EXPECT_EQ(shp.all_records, 3);

        bool memo = name != "no_memofile.dbf";
        IndepTable dump = dbf_dump_read(path, memo);
        IndepTable ogr = ogr_read(path);
        ASSERT_EQ(dump.rows.size(), t.records.size());
        ASSERT_EQ(ogr.rows.size(), t.records.size());
        for (size_t i = 0; i < t.fields.size(); ++i) EXPECT_EQ(dump.fields.at(i).name, t.fields[i].name);
        for (size_t i = 0; i < t.fields.size(); ++i) EXPECT_EQ(ogr.fields.at(i).name, t.fields[i].name);
        for (size_t r = 0; r < t.records.size(); ++r) {
            for (size_t c = 0; c < t.fields.size(); ++c) {
                const FieldDef& f = t.fields[c];
                std::string where = "record " + std::to_string(r + 1) + " field " + f.name;
                const Value& v = t.records[r][c];
                if (f.type == FieldType::Other) {
                    // Memo text: only dbf_dump reads memo files.
                    if (memo) expect_same(f, v, dump.rows[r].at(c), where + " (dbf_dump)");
                    continue;
                }
                expect_same(f, v, dump.rows[r].at(c), where + " (dbf_dump)");
                // shapelib and GDAL read a malformed date as text or as 0000/00/00, not as null.
                if (!is_null(v) || !t.read_only) {
                    expect_same(f, v, shp.rows[r].at(c), where + " (shapelib)");
                    expect_same(f, v, ogr.rows[r].at(c), where + " (ogr)", "/");
                }
            }
        }
    }
}

TEST(DbaseFixtures, PeopleValues)
{
    TableData t = read_dbase(fixture("people.dbf"));
    ASSERT_EQ(t.fields.size(), 2u);
    EXPECT_EQ(t.fields[0].type, FieldType::String);
    EXPECT_EQ(t.fields[0].size, 16);
    EXPECT_EQ(t.fields[1].type, FieldType::Date);
    EXPECT_FALSE(t.read_only);
    EXPECT_EQ(t.code_page, 936);  // no language id: GBK
    EXPECT_EQ(std::get<std::string>(t.records[1][0]), "Bob");
    EXPECT_EQ(std::get<Date>(t.records[0][1]), (Date{1987, 3, 1}));
}

// The memo file is found whatever the case of its name; memo fields are shown, not written.
TEST(DbaseFixtures, MemoTextFromFoxProMemoFile)
{
    TableData t = read_dbase(fixture("memotest.dbf"));
    ASSERT_EQ(t.fields.size(), 3u);
    EXPECT_EQ(t.fields[2].type, FieldType::Other);
    EXPECT_TRUE(t.fields[2].read_only);
    EXPECT_EQ(std::get<std::string>(t.records[0][2]), "Alice memo");
    EXPECT_EQ(std::get<std::string>(t.records[1][2]), "Bob memo");
    EXPECT_TRUE(t.read_only);
    EXPECT_NE(t.read_only_reason.find("memo fields cannot be written"), std::string::npos);

    TempTableDir tmp;
    const std::string& dir = tmp.dir();
    for (const char* memo_name : {"memotest.fpt", "Memotest.Fpt"}) {
        fs::remove_all(dir);
        fs::create_directory(dir);
        fs::copy_file(fixture("memotest.dbf"), dir + "/memotest.dbf");
        fs::copy_file(fixture("memotest.FPT"), dir + "/" + memo_name);
        TableData c = read_dbase(dir + "/memotest.dbf");
        EXPECT_EQ(std::get<std::string>(c.records[1][2]), "Bob memo") << memo_name;
    }
}

TEST(DbaseFixtures, MissingMemoFileOpensReadOnly)
{
    TableData t;
    ASSERT_NO_THROW(t = read_dbase(fixture("no_memofile.dbf")));
    ASSERT_EQ(t.records.size(), 2u);
    EXPECT_EQ(std::get<std::string>(t.records[0][0]), "Alice");
    EXPECT_EQ(std::get<std::string>(t.records[0][2]), dbase_memo_missing_text);
    EXPECT_TRUE(t.read_only);
    EXPECT_EQ(t.read_only_reason,
              "no_memofile.dbf: the memo file of this table is missing; its memo fields cannot be read");
}

// "NotAYear" in a date field: dbf_dump reads it as undefined, so do we; the table opens
// read-only with the field and the record named, so that nothing rewrites what the file holds.
TEST(DbaseFixtures, InvalidValueReadsNullAndTableIsReadOnly)
{
    TableData t = read_dbase(fixture("invalid_value.dbf"));
    ASSERT_EQ(t.records.size(), 2u);
    EXPECT_TRUE(is_null(t.records[0][1]));
    EXPECT_EQ(std::get<Date>(t.records[1][1]), (Date{1980, 11, 12}));
    EXPECT_TRUE(t.read_only);
    EXPECT_EQ(t.read_only_reason, "invalid_value.dbf: field 'BIRTHDATE' of record 1 holds an invalid value "
                                  "'NotAYear'; the table can be read but not changed");
    EXPECT_THROW(dbase_update_record(fixture("invalid_value.dbf"), t, 1, t.records[1]), EngineError);
}

struct BadFile {
    const char* name;
    const char* message;
};

class DbaseBadFile : public testing::TestWithParam<BadFile> {};

TEST_P(DbaseBadFile, ClearErrorAndFileUnchanged)
{
    const BadFile& c = GetParam();
    std::string path = test_data(c.name);
    auto before = file_bytes(path);
    ASSERT_FALSE(before.empty());
    try {
        read_dbase(path);
        ADD_FAILURE() << "no error for " << c.name;
    } catch (const EngineError& e) {
        EXPECT_EQ(std::string(e.what()), c.message);
    }
    EXPECT_EQ(file_bytes(path), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, DbaseBadFile, testing::Values(
    BadFile{"truncated_header.dbf", "truncated_header.dbf: header: unexpected end of file at byte 20"},
    BadFile{"truncated_records.dbf",
            "truncated_records.dbf: truncated file: the header gives 3 records of 25 bytes, which need 172 bytes, "
            "but the file has 150"},
    BadFile{"huge_record_count.dbf",
            "huge_record_count.dbf: the header counts 4294967295 records, but the file holds 3 (wrong record count)"},
    BadFile{"bad_version.dbf", "bad_version.dbf: not a dBASE or FoxPro table (version byte 0x41)"},
    BadFile{"not_a_table.dbf", "not_a_table.dbf: not a dBASE or FoxPro table (version byte 0x68)"},
    BadFile{"header_too_long.dbf", "header_too_long.dbf: the header gives a header length of 65535 bytes, but the file has only 173"},
    BadFile{"record_length_short.dbf",
            "record_length_short.dbf: record length 10 is less than the fields' total width 25 at byte 10"},
    BadFile{"encrypted.dbf", "encrypted.dbf: the table is encrypted and cannot be opened"},
    BadFile{"zero_width_field.dbf", "zero_width_field.dbf: field 'NAME' has width 0 at byte 48"},
    BadFile{"descriptor_past_header.dbf",
            "descriptor_past_header.dbf: field descriptor beyond the header length at byte 64"},
    BadFile{"no_fields.dbf", "no_fields.dbf: the table has no fields at byte 32"}),
    [](const auto& info) {
        std::string n = info.param.name;
        return n.substr(0, n.find('.'));
    });

// Damage in a good header, each named for what it is: a type byte that is no letter, a record
// length beyond the fields' total, a name with a control character shown as hex.
TEST(DbaseBadFile, DamagedHeaderFieldsAreNamed)
{
    TableData t;
    t.fields = dbase_fields_from({FieldDef{"AGE", FieldType::Integer}, FieldDef{"NAME", FieldType::String, 10}});
    for (int i = 0; i < 3; ++i) t.records.push_back(Record{std::int64_t{i}, std::string("n")});
    const std::vector<unsigned char> good = build_dbase(t, false);
    // Header: 32 bytes, two 32-byte descriptors, the end mark: 97 bytes. Records: the deletion
    // flag, N(11,0), C(10): 22 bytes.
    ASSERT_EQ(good.size(), 97u + 3 * 22 + 1);
    auto read = [](std::vector<unsigned char> bytes) {
        try {
            read_dbase_bytes("t.dbf", bytes.data(), bytes.size());
        } catch (const EngineError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    struct Case {
        const char* name;
        std::size_t at;
        std::vector<unsigned char> bytes;
        const char* message;
    };
    const Case cases[] = {
        {"type byte 0x00", 64 + 11, {0x00}, "t.dbf: field 2 has the type byte 0x00, which is no field type (damaged header) at byte 75"},
        {"type byte '*'", 32 + 11, {'*'}, "t.dbf: field 1 has the type byte 0x2A, which is no field type (damaged header) at byte 43"},
        {"record length 65535", 10, {0xFF, 0xFF}, "t.dbf: the header gives records of 65535 bytes but its fields total 22"},
        {"record count 1000", 4, {0xE8, 0x03}, "t.dbf: the header counts 1000 records, but the file holds 3 (wrong record count)"},
        {"control byte in a name of width 0", 32 + 1, {0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'N', 0, 0, 0, 0, 0},
         "t.dbf: field 'A\\x01' has width 0 at byte 48"},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bad = good;
        std::copy(c.bytes.begin(), c.bytes.end(), bad.begin() + static_cast<std::ptrdiff_t>(c.at));
        EXPECT_EQ(read(bad), c.message) << c.name;
    }
    // An unknown letter stays readable, as "other" and read-only.
    std::vector<unsigned char> other = good;
    other[64 + 11] = 'Q';
    TableData q = read_dbase_bytes("t.dbf", other.data(), other.size());
    EXPECT_EQ(q.fields[1].type, FieldType::Other);
    EXPECT_TRUE(q.read_only);
    EXPECT_EQ(q.read_only_reason.find('\0'), std::string::npos);
}

// A real table whose header disagrees with itself in a way a reader cannot settle (which of
// the two figures is wrong?) opens read-only naming the disagreement, in either direction, and
// a rewrite (a field added) is refused with the file left byte for byte as it was. people.dbf:
// NAME C(16) at descriptor 32, BIRTHDATE D(8) at 64, the end mark at 96, 3 records of 25 bytes
// from 97 (the third deleted), no end mark after them.
TEST(DbaseBadFile, InconsistentHeaderOpensReadOnlyAndIsNeverRewritten)
{
    struct Case {
        const char* name;
        std::vector<std::pair<std::size_t, std::vector<unsigned char>>> patches;
        const char* reason;
    };
    const Case cases[] = {
        {"NAME width 7: records longer than the fields", {{48, {7}}},
         "the header gives records of 25 bytes but its fields total 16"},
        {"header length 96: no end mark in the header", {{8, {96}}},
         "the field descriptors have no end mark (0x0D) within the header length of 96 bytes"},
        {"header length 98: a record byte taken into the header", {{8, {98}}},
         "the header length of 98 bytes leaves data between the field descriptors (which end at byte 97) and the "
         "records"},
        {"record count 2 with a third record after them", {{4, {2}}},
         "the file holds more records than the 2 its header counts"},
        {"FoxPro offsets that disagree with the widths", {{0, {0xF5}}, {44, {1}}, {76, {18}}},
         "field 'BIRTHDATE' starts at byte 18 of the record by its descriptor, but at byte 17 by the widths of the "
         "fields before it"},
        {"a date field of width 9", {{48, {15}}, {80, {9}}}, "field 'BIRTHDATE' of type 'D' has width 9"},
        {"a number field of 7 decimals in 8 bytes", {{75, {'N'}}, {81, {7}}},
         "field 'BIRTHDATE' has 7 decimals in a width of 8"},
    };
    const std::vector<unsigned char> good = file_bytes(fixture("people.dbf"));
    ASSERT_EQ(good.size(), 173u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempTableDir dir;
        const std::string path = dir.path("people.dbf");
        std::vector<unsigned char> bytes = good;
        for (const auto& [at, patch] : c.patches) std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        TableData t = read_dbase(path);
        EXPECT_TRUE(t.read_only);
        EXPECT_EQ(t.read_only_reason, std::string("people.dbf: ") + c.reason + "; the table can be read but not changed");
        EXPECT_THROW(execute_statement("alter table \"" + path + "\" add EXTRA char(4)"), EngineError);
        EXPECT_THROW(dbase_update_record(path, t, 0, t.record(0)), EngineError);
        EXPECT_EQ(file_bytes(path), bytes);
        EXPECT_EQ(dir.files(), std::vector<std::string>{"people.dbf"});
    }
    // The same alter on the table as it is succeeds: the refusals above are the damage's.
    TempTableDir dir;
    const std::string path = dir.path("people.dbf");
    fs::copy_file(fixture("people.dbf"), path);
    ASSERT_FALSE(read_dbase(path).read_only);
    execute_statement("alter table \"" + path + "\" add EXTRA char(4)");
    TableData after = read_dbase(path);
    ASSERT_EQ(after.fields.size(), 3u);
    EXPECT_EQ(std::get<Date>(after.records[0][1]), (Date{1987, 3, 1}));
}

TEST(DbaseBadFile, MissingFileNamesIt)
{
    try {
        read_dbase("/nonexistent/folder/t.dbf");
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/folder/t.dbf"), std::string::npos);
    }
}

// Another program cutting the file short and writing it again while we read it, over and over:
// each read gives the whole table or a clear message, never a crash.
TEST(DbaseBadFile, FileCutShortWhileReadNeverCrashes)
{
    TempTableDir dir;
    const std::string path = dir.path("cut.dbf");
    TableData t;
    t.fields = {FieldDef{"x", FieldType::Integer}, FieldDef{"y", FieldType::Float}};
    for (int i = 0; i < 60000; ++i) t.records.push_back({std::int64_t(i), i * 0.5});
    const std::vector<unsigned char> bytes = build_dbase(t, false);   // about 2 MB
    test_common::read_while_cut_short(path, bytes, t.records.size(), [](const std::string& p) { return read_dbase(p); });
}

// A file larger than the piece the reader takes at a time (a megabyte), with deleted records on
// both sides of a piece's end: every live record, in order, in a plain and in a compact image.
TEST(DbaseRead, LargeFileReadInPiecesKeepsEveryRecord)
{
    TempTableDir dir;
    const std::string path = dir.path("big.dbf");
    TableData t;
    t.fields = dbase_fields_from({FieldDef{"x", FieldType::Integer}, FieldDef{"y", FieldType::Float}});
    const int n = 70000;
    for (int i = 0; i < n; ++i) t.records.push_back({std::int64_t(i), i * 0.25 - 100});
    std::vector<unsigned char> bytes = build_dbase(t, false);
    const std::size_t header = bytes[8] | (bytes[9] << 8), length = bytes[10] | (bytes[11] << 8);
    ASSERT_EQ(length, 1u + 11 + 20);   // 32768 records to a megabyte
    const std::set<int> deleted = {0, 32766, 32767, 32768, 65536, n - 1};
    for (int i : deleted) bytes[header + static_cast<std::size_t>(i) * length] = '*';
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    for (bool compact : {false, true}) {
        TableData back = read_dbase(path, compact);
        ASSERT_EQ(back.record_count(), static_cast<std::size_t>(n) - deleted.size());
        std::size_t row = 0;
        for (int i = 0; i < n; ++i) {
            if (deleted.count(i)) continue;
            ASSERT_EQ(back.value(row, 0), Value(std::int64_t(i))) << i;
            ASSERT_EQ(back.value(row, 1), Value(i * 0.25 - 100)) << i;
            ++row;
        }
        EXPECT_FALSE(back.read_only);
    }
}

// Our own small tables with memo files of both dBASE kinds (.dbt of dBASE III: text up to
// 0x1A; dBASE IV: blocks with a length): text and numbers agree with dbf_dump.
TEST(DbaseMemo, DbtMemoFilesAgreeWithDbfDump)
{
    for (const char* name : {"memo3.dbf", "memo4.dbf"}) {
        SCOPED_TRACE(name);
        std::string path = test_data(name);
        TableData t = read_dbase(path);
        IndepTable dump = dbf_dump_read(path);
        ASSERT_EQ(t.records.size(), dump.rows.size());
        for (size_t r = 0; r < t.records.size(); ++r)
            for (size_t c = 0; c < t.fields.size(); ++c)
                expect_same(t.fields[c], t.records[r][c], dump.rows[r].at(c),
                            "record " + std::to_string(r + 1) + " field " + t.fields[c].name);
        EXPECT_TRUE(t.read_only);
    }
    TableData t = read_dbase(test_data("memo3.dbf"));
    ASSERT_EQ(t.records.size(), 3u);
    EXPECT_EQ(std::get<std::string>(t.records[0][1]), "首都，人口众多");
    EXPECT_EQ(std::get<std::string>(t.records[2][1]), "line one\r\nline two");
    EXPECT_EQ(t.fields[2].type, FieldType::Float);  // N(10,2)
    EXPECT_TRUE(is_null(t.records[2][2]));          // '*' filled
}

// Visual FoxPro's binary kinds, written by hand: I -7 and 2147483647, B 0.000123 and -2.25,
// Y 12.3456 and -0.0005, T 1990-01-02 13:04:05 and empty. dbf_dump agrees on B, Y, D and on
// T as seconds since 1970 (it reads I without sign, so I is checked by hand only).
TEST(DbaseFoxPro, BinaryKinds)
{
    std::string path = test_data("vfp_types.dbf");
    TableData t = read_dbase(path);
    ASSERT_EQ(t.fields.size(), 6u);
    FieldType types[] = {FieldType::Integer, FieldType::Float, FieldType::Currency, FieldType::Other,
                         FieldType::Boolean, FieldType::Date};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(t.fields[i].type, types[i]) << i;
    EXPECT_EQ(t.code_page, 1252);
    ASSERT_EQ(t.records.size(), 2u);
    EXPECT_EQ(t.records[0][0], Value(std::int64_t{-7}));
    EXPECT_EQ(t.records[1][0], Value(std::int64_t{2147483647}));
    EXPECT_EQ(t.records[0][3], Value(std::string("1990-01-02 13:04:05")));
    EXPECT_TRUE(is_null(t.records[1][3]));
    EXPECT_TRUE(is_null(t.records[1][4]));
    EXPECT_TRUE(is_null(t.records[1][5]));
    EXPECT_TRUE(t.read_only);  // datetime fields are not written

    IndepTable dump = dbf_dump_read(path);
    ASSERT_EQ(dump.rows.size(), 2u);
    for (size_t r = 0; r < 2; ++r) {
        EXPECT_DOUBLE_EQ(std::get<double>(t.records[r][1]), std::stod(*dump.rows[r][1]));
        EXPECT_DOUBLE_EQ(std::get<double>(t.records[r][2]), std::stod(*dump.rows[r][2]));
    }
    EXPECT_EQ(*dump.rows[0][3], "631285445");  // 1990-01-02 13:04:05 UTC
    EXPECT_EQ(*dump.rows[0][5], "19900102");
    EXPECT_EQ(std::get<Date>(t.records[0][5]), (Date{1990, 1, 2}));
    EXPECT_EQ(t.records[0][4], Value(true));
}

namespace {

// A one-field table in memory: field code, width, decimals and each record's raw text.
std::vector<unsigned char> one_field_table(char code, int width, int decimals, const std::vector<std::string>& rows)
{
    std::vector<unsigned char> b(32 + 32 + 1, 0);
    b[0] = 0x03;
    b[4] = static_cast<unsigned char>(rows.size());
    b[8] = 65;
    b[10] = static_cast<unsigned char>(1 + width);
    b[32] = 'X';
    b[32 + 11] = static_cast<unsigned char>(code);
    b[32 + 16] = static_cast<unsigned char>(width);
    b[32 + 17] = static_cast<unsigned char>(decimals);
    b[64] = 0x0D;
    for (const std::string& r : rows) {
        b.push_back(' ');
        std::string cell = r;
        cell.resize(static_cast<size_t>(width), ' ');
        b.insert(b.end(), cell.begin(), cell.end());
    }
    b.push_back(0x1A);
    return b;
}

struct CellCase {
    char code;
    int width, decimals;
    const char* raw;
    Value want;        // null when the cell is empty or invalid
    bool invalid;      // the table opens read-only naming the value
};

}  // namespace

class DbaseCell : public testing::TestWithParam<CellCase> {};

TEST_P(DbaseCell, ReadsAsExpected)
{
    const CellCase& c = GetParam();
    auto bytes = one_field_table(c.code, c.width, c.decimals, {c.raw});
    TableData t = read_dbase_bytes("t.dbf", bytes.data(), bytes.size());
    ASSERT_EQ(t.records.size(), 1u);
    EXPECT_EQ(t.records[0][0], c.want) << c.raw;
    EXPECT_EQ(t.read_only, c.invalid) << c.raw;
    if (c.invalid) {
        EXPECT_NE(t.read_only_reason.find("field 'X' of record 1 holds an invalid value"), std::string::npos);
    }
    // A compact image (cells appended to typed columns) reads the same.
    TableData k = read_dbase_bytes("t.dbf", bytes.data(), bytes.size(), {}, true);
    ASSERT_EQ(k.record_count(), 1u);
    EXPECT_EQ(k.value(0, 0), c.want) << c.raw;
    EXPECT_EQ(k.read_only, c.invalid) << c.raw;
    EXPECT_EQ(k.read_only_reason, t.read_only_reason) << c.raw;
}

INSTANTIATE_TEST_SUITE_P(Cells, DbaseCell, testing::Values(
    CellCase{'N', 8, 0, "      12", std::int64_t{12}, false},
    CellCase{'N', 8, 0, "-7", std::int64_t{-7}, false},          // left-aligned
    CellCase{'N', 8, 0, "      +5", std::int64_t{5}, false},
    CellCase{'N', 8, 0, "     12.", std::int64_t{12}, false},
    CellCase{'N', 8, 0, "     1.5", std::monostate{}, true},      // not whole in a field of no decimals
    CellCase{'N', 8, 0, "        ", std::monostate{}, false},     // blank: null
    CellCase{'N', 8, 0, "********", std::monostate{}, false},     // overflow mark: null
    CellCase{'N', 8, 0, "     +-5", std::monostate{}, true},
    CellCase{'N', 11, 0, "99999999999", std::int64_t{99999999999}, false},
    CellCase{'N', 12, 0, "123456789012", 123456789012.0, false},  // wider than 11: Float
    CellCase{'N', 10, 3, "    -2.250", -2.25, false},
    CellCase{'F', 20, 10, "        0.0000001000", 1e-7, false},
    CellCase{'N', 10, 3, "   1.5E-03", 0.0015, false},
    CellCase{'N', 10, 3, "     -.500", -0.5, false},
    CellCase{'N', 10, 3, "     1,500", std::monostate{}, true},   // never the locale's comma
    CellCase{'N', 10, 3, "       inf", std::monostate{}, true},
    CellCase{'N', 10, 3, "       nan", std::monostate{}, true},
    CellCase{'N', 10, 3, "    1e9999", std::monostate{}, true},
    CellCase{'L', 1, 0, "y", true, false},
    CellCase{'L', 1, 0, "N", false, false},
    CellCase{'L', 1, 0, "?", std::monostate{}, false},
    CellCase{'L', 1, 0, "x", std::monostate{}, true},
    CellCase{'D', 8, 0, "20000229", Date{2000, 2, 29}, false},
    CellCase{'D', 8, 0, "19000229", std::monostate{}, true},      // 1900 was no leap year
    CellCase{'D', 8, 0, "00000000", std::monostate{}, false},
    CellCase{'D', 8, 0, "1990 1 1", std::monostate{}, true},
    CellCase{'C', 6, 0, "  ab  ", std::string("  ab"), false},    // leading blanks kept
    // Plain decimals are read eight digits at a time; each must be the double nearest to the
    // text, as the compiler rounds the same literal, on both sides of 2^53 and of eight digits.
    CellCase{'N', 20, 10, "        0.1000000000", 0.1, false},
    CellCase{'N', 20, 10, "   1234567.8901234000", 1234567.8901234, false},
    CellCase{'N', 20, 0, "            12345678", 12345678.0, false},
    CellCase{'N', 20, 1, "         87654321.10", 87654321.1, false},
    CellCase{'N', 20, 0, "    9007199254740992", 9007199254740992.0, false},   // 2^53
    CellCase{'N', 20, 0, "    9007199254740993", 9007199254740993.0, false},   // halfway: to even
    CellCase{'N', 20, 0, " 1234567890123456789", 1234567890123456789.0, false},
    CellCase{'N', 20, 8, "  123456789.12345678", 123456789.12345678, false},
    CellCase{'N', 20, 17, " 0.30000000000000004", 0.30000000000000004, false},
    CellCase{'N', 20, 8, "           .00000001", 1e-8, false},
    CellCase{'N', 24, 1, "00000000000000000000.5", 0.5, false},              // 21 digits
    CellCase{'N', 20, 3, "   -12345678.125", -12345678.125, false},
    CellCase{'N', 10, 1, "    +.5", 0.5, false},
    CellCase{'N', 12, 1, "12345:78.5", std::monostate{}, true},              // ':' follows '9'
    CellCase{'N', 12, 1, "12345/78.5", std::monostate{}, true},              // '/' precedes '0'
    CellCase{'N', 12, 1, "1234567\xB3.5", std::monostate{}, true},
    CellCase{'N', 12, 1, "1234 5678.5", std::monostate{}, true},
    CellCase{'N', 12, 1, "123456.78.5", std::monostate{}, true},
    CellCase{'N', 12, 1, "          -.", std::monostate{}, true},
    // Numbers right-aligned with the point in its place, as dBASE writes them (read a word at
    // a time), and near misses of that layout.
    CellCase{'N', 10, 1, "       -.5", -0.5, false},
    CellCase{'N', 10, 1, "        .5", 0.5, false},
    CellCase{'N', 12, 2, "    -1234.50", -1234.5, false},
    CellCase{'N', 30, 16, "           -1.2500000000000000", -1.25, false},
    CellCase{'N', 30, 12, "                3.000000000001", 3.000000000001, false},
    CellCase{'N', 20, 3, "       -12345678.125", -12345678.125, false},
    CellCase{'N', 12, 2, "    - 123.50", std::monostate{}, true},
    CellCase{'N', 12, 2, "    12 34.50", std::monostate{}, true},
    CellCase{'N', 12, 2, "     1234.5:", std::monostate{}, true},
    CellCase{'N', 12, 2, "   --1234.50", std::monostate{}, true},
    CellCase{'N', 11, 0, "   -1234567", std::int64_t{-1234567}, false},
    CellCase{'N', 11, 0, "  123456789", std::int64_t{123456789}, false},
    CellCase{'N', 11, 0, "-0000000001", std::int64_t{-1}, false},
    CellCase{'N', 11, 0, "     -   12", std::monostate{}, true},
    CellCase{'N', 11, 0, "   1234-567", std::monostate{}, true},
    CellCase{'N', 11, 0, "5       123", std::monostate{}, true},
    CellCase{'N', 20, 10, "x       1.2500000000", std::monostate{}, true},
    CellCase{'N', 30, 12, "x               3.000000000001", std::monostate{}, true}));
