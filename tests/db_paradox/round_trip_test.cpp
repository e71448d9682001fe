// Tables we write, read back by our reader and by pxlib; write-through of posted records.
#include <gtest/gtest.h>
extern "C" {
#include <paradox.h>
}

#include <climits>
#include <filesystem>
#include <cmath>
#include <limits>
#include <string>

#include "platform/core/errors.h"
#include "platform/db/encoding.h"
#include "platform/db/paradox.h"
#include "pxlib_reader.h"
#include "test_util.h"

using namespace vantelo;
using namespace vantelo::db;
using pxtest::TempDir;

namespace {

using vantelo::db::test_common::field;

// The population layout plus every other kind the writer takes, Chinese names included.
TableData sample_table(std::size_t n)
{
    TableData t;
    t.fields = {field("年龄", FieldType::Integer),     field("男性人口", FieldType::Float),
                field("名称", FieldType::String, 12),   field("日期", FieldType::Date),
                field("标志", FieldType::Boolean),      field("Small", FieldType::SmallInt),
                field("Money", FieldType::Currency)};
    const double specials[] = {0.000123, 1e-7, -2.25};
    for (std::size_t i = 0; i < n; ++i) {
        Record r;
        r.emplace_back(static_cast<std::int64_t>(i));
        if (i < 3) r.emplace_back(specials[i]);
        else r.emplace_back(1000.5 + static_cast<double>(i) / 7.0);
        if (i % 10 == 9) r.emplace_back();
        else r.emplace_back(std::string(i % 2 ? "乙丙" : "甲") + std::to_string(i));
        if (i % 5 == 4) r.emplace_back();
        else r.emplace_back(Date{1990 + static_cast<int>(i % 30), 1 + static_cast<int>(i % 12), 1 + static_cast<int>(i % 28)});
        if (i % 3 == 2) r.emplace_back();
        else r.emplace_back(i % 2 == 0);
        r.emplace_back(static_cast<std::int64_t>(i % 2 ? -static_cast<std::int64_t>(i) : static_cast<std::int64_t>(i) * 100));
        r.emplace_back(-12.5 * static_cast<double>(i));
        t.records.push_back(std::move(r));
    }
    return t;
}

std::string date_text(const Date& d)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

// pxlib's reading of one cell against the value that was written.
void expect_px_cell(const pxtest::PxField& f, const pxtest::PxCell& c, const Value& v, const std::string& where)
{
    SCOPED_TRACE(where);
    if (is_null(v)) {
        bool blank = c.null || ((f.type == pxfLong || f.type == pxfShort || f.type == pxfDate) && c.l == INT_MIN);
        EXPECT_TRUE(blank);
        return;
    }
    ASSERT_FALSE(c.null);
    switch (f.type) {
    case pxfAlpha: EXPECT_EQ(decode(c.s.c_str(), 936), std::get<std::string>(v)); break;
    case pxfLong: case pxfShort: EXPECT_EQ(c.l, std::get<std::int64_t>(v)); break;
    case pxfNumber: case pxfCurrency: EXPECT_EQ(c.d, std::get<double>(v)); break;
    case pxfDate: EXPECT_EQ(c.text, date_text(std::get<Date>(v))); break;
    case pxfLogical: EXPECT_EQ(c.l != 0, std::get<bool>(v)); break;
    default: ADD_FAILURE() << "unexpected pxlib type " << f.type;
    }
}

void expect_pxlib_reads(const std::string& path, const TableData& t)
{
    pxtest::PxTable px = pxtest::px_read(path);
    EXPECT_EQ(px.version, 50);
    EXPECT_EQ(px.file_type, pxfFileTypNonIndexDB);
    EXPECT_EQ(px.code_page, 936);
    ASSERT_EQ(px.fields.size(), t.fields.size());
    const int px_types[] = {pxfLong, pxfNumber, pxfAlpha, pxfDate, pxfLogical, pxfShort, pxfCurrency};
    for (std::size_t i = 0; i < t.fields.size(); ++i) {
        EXPECT_EQ(decode(px.fields[i].name, 936), t.fields[i].name);
        if (t.fields.size() == 7) {
            EXPECT_EQ(px.fields[i].type, px_types[i]) << i;
        }
    }
    ASSERT_EQ(static_cast<std::size_t>(px.num_records), t.records.size());
    for (std::size_t r = 0; r < t.records.size(); ++r)
        for (std::size_t i = 0; i < t.fields.size(); ++i)
            expect_px_cell(px.fields[i], px.records[r][i], t.records[r][i],
                           "record " + std::to_string(r) + " field " + t.fields[i].name);
}

void expect_we_read(const std::string& path, const TableData& t)
{
    TableData back = read_paradox(path);
    EXPECT_FALSE(back.read_only) << back.read_only_reason;
    EXPECT_EQ(back.code_page, 936);
    ASSERT_EQ(back.fields.size(), t.fields.size());
    for (std::size_t i = 0; i < t.fields.size(); ++i) {
        EXPECT_EQ(back.fields[i].name, t.fields[i].name);
        EXPECT_EQ(back.fields[i].type, t.fields[i].type);
        if (t.fields[i].type == FieldType::String) {
            EXPECT_EQ(back.fields[i].size, t.fields[i].size);
        }
    }
    ASSERT_EQ(back.records.size(), t.records.size());
    for (std::size_t r = 0; r < t.records.size(); ++r) EXPECT_EQ(back.records[r], t.records[r]) << "record " << r;
}

TEST(ParadoxRoundTrip, EveryKindReadsBackByUsAndByPxlib)
{
    TempDir dir;
    const std::string path = dir.path("人口.db");
    TableData t = sample_table(81);
    write_paradox(path, t);
    expect_we_read(path, t);
    expect_pxlib_reads(path, t);
    // The exact doubles survive.
    TableData back = read_paradox(path);
    EXPECT_EQ(std::get<double>(back.records[0][1]), 0.000123);
    EXPECT_EQ(std::get<double>(back.records[1][1]), 1e-7);
    EXPECT_EQ(std::get<double>(back.records[2][1]), -2.25);
    EXPECT_EQ(std::get<std::string>(back.records[1][2]), "乙丙1");
    // The header names the table.
    EXPECT_EQ(decode(pxtest::px_read(path).table_name, 936), "人口.db");
    EXPECT_EQ(dir.entries(), 1u);   // no temporary file left behind
}

TEST(ParadoxRoundTrip, HeaderAndBlocksAreLaidOutAsParadoxDoes)
{
    // 300 records of 39 bytes: blocks of 104, 104 and 92 records.
    TempDir dir;
    const std::string path = dir.path("h.db");
    write_paradox(path, sample_table(300));
    auto b = pxtest::file_bytes(path);
    ASSERT_EQ(b.size(), 2048u + 3 * 4096u);
    auto u16 = [&](std::size_t at) { return b[at] | (b[at + 1] << 8); };
    auto s16 = [&](std::size_t at) { return static_cast<int>(static_cast<std::int16_t>(u16(at))); };
    EXPECT_EQ(u16(0x00), 39);        // record size
    EXPECT_EQ(u16(0x02), 2048);      // header size
    EXPECT_EQ(b[0x04], 2);           // not keyed
    EXPECT_EQ(b[0x05], 4);           // 4096-byte blocks
    EXPECT_EQ(u16(0x06) | (u16(0x08) << 16), 300);
    EXPECT_EQ(u16(0x0A), 3);         // next block
    EXPECT_EQ(u16(0x0C), 3);         // file blocks
    EXPECT_EQ(u16(0x0E), 1);         // first block
    EXPECT_EQ(u16(0x10), 3);         // last block
    EXPECT_EQ(u16(0x21), 7);         // fields
    EXPECT_EQ(b[0x39], 0x0B);        // level 5
    EXPECT_EQ(u16(0x6A), 936);       // code page
    const int next[] = {2, 3, 0}, prev[] = {0, 1, 2}, add[] = {103 * 39, 103 * 39, 91 * 39};
    for (int k = 0; k < 3; ++k) {
        const std::size_t at = 2048 + static_cast<std::size_t>(k) * 4096;
        EXPECT_EQ(u16(at), next[k]) << k;
        EXPECT_EQ(u16(at + 2), prev[k]) << k;
        EXPECT_EQ(s16(at + 4), add[k]) << k;
    }
    // The first record: long 0 is 80 00 00 00, number 0.000123 has its top bit set.
    EXPECT_EQ(b[2048 + 6], 0x80);
    EXPECT_EQ(b[2048 + 9], 0x00);
    EXPECT_EQ(b[2048 + 10] & 0x80, 0x80);
}

TEST(ParadoxRoundTrip, EmptyTable)
{
    TempDir dir;
    const std::string path = dir.path("empty.db");
    TableData t = sample_table(0);
    write_paradox(path, t);
    EXPECT_EQ(pxtest::file_bytes(path).size(), 2048u);
    expect_we_read(path, t);
    expect_pxlib_reads(path, t);
}

TEST(ParadoxRoundTrip, UpdateOfRecord40ThenAppend)
{
    TempDir dir;
    const std::string path = dir.path("t.db");
    TableData t = sample_table(81);
    write_paradox(path, t);
    const auto size_before = pxtest::file_bytes(path).size();

    Record changed = t.records[39];
    changed[1] = 0.5;
    changed[2] = std::string("更新");
    changed[3] = Value();
    EXPECT_EQ(paradox_update_record(path, t, 39, changed), changed);
    t.records[39] = changed;
    Record extra = t.records[80];
    extra[0] = std::int64_t{81};
    extra[2] = std::string("新的");
    EXPECT_EQ(paradox_append_record(path, t, extra), extra);
    t.records.push_back(extra);

    EXPECT_EQ(pxtest::file_bytes(path).size(), size_before);   // room in the last block
    expect_we_read(path, t);
    expect_pxlib_reads(path, t);
}

TEST(ParadoxRoundTrip, AppendBeyondAFullBlockAddsABlock)
{
    // 39-byte records: 104 fit a 4096-byte block.
    TempDir dir;
    const std::string path = dir.path("full.db");
    TableData t = sample_table(104);
    write_paradox(path, t);
    EXPECT_EQ(pxtest::file_bytes(path).size(), 2048u + 4096u);
    for (int k = 0; k < 3; ++k) {
        Record r = t.records[static_cast<std::size_t>(k)];
        r[0] = std::int64_t{200 + k};
        paradox_append_record(path, t, r);
        t.records.push_back(r);
    }
    EXPECT_EQ(pxtest::file_bytes(path).size(), 2048u + 2 * 4096u);
    expect_we_read(path, t);
    expect_pxlib_reads(path, t);
    EXPECT_EQ(dir.entries(), 1u);
}

TEST(ParadoxRoundTrip, AppendToAnEmptyTable)
{
    TempDir dir;
    const std::string path = dir.path("e.db");
    TableData t = sample_table(0);
    write_paradox(path, t);
    paradox_append_record(path, t, sample_table(1).records[0]);
    t.records = sample_table(1).records;
    expect_we_read(path, t);
    expect_pxlib_reads(path, t);
}

TEST(ParadoxRoundTrip, WriteThroughOnAFileParadoxWrote)
{
    // date4.db (level 4, block size 2048) keeps its own header; only the record and the
    // counts change.
    TempDir dir;
    const std::string path = dir.path("date4.db");
    auto original = pxtest::file_bytes(std::string(VANTELO_FIXTURES_DIR) + "/paradox/date4.db");
    {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(original.data()),
                                                     static_cast<std::streamsize>(original.size()));
    }
    TableData t = read_paradox(path);
    ASSERT_FALSE(t.read_only);
    ASSERT_EQ(t.records.size(), 3u);
    paradox_update_record(path, t, 1, Record{Date{2000, 2, 29}});
    t.records[1][0] = Date{2000, 2, 29};
    paradox_append_record(path, t, Record{Date{1, 1, 1}});
    t.records.push_back(Record{Date{1, 1, 1}});

    pxtest::PxTable px = pxtest::px_read(path);
    ASSERT_EQ(px.num_records, 4);
    EXPECT_EQ(px.records[0][0].text, "2018-01-01");
    EXPECT_EQ(px.records[1][0].text, "2000-02-29");
    EXPECT_EQ(px.records[3][0].text, "1-01-01");
    EXPECT_EQ(read_paradox(path).records, t.records);
    auto now = pxtest::file_bytes(path);
    ASSERT_EQ(now.size(), original.size());
    for (std::size_t i = 0x10; i < 2048; ++i) EXPECT_EQ(now[i], original[i]) << "header byte " << i;
}

TEST(ParadoxRoundTrip, ChineseNamesAndTextsAreGbkInTheFile)
{
    TempDir dir;
    const std::string path = dir.path("g.db");
    TableData t;
    t.fields = {field("城镇年龄别生育率", FieldType::String, 4)};
    t.records = {Record{std::string("甲乙")}};
    write_paradox(path, t);
    auto bytes = pxtest::file_bytes(path);
    const std::string name = "\xB3\xC7\xD5\xF2\xC4\xEA\xC1\xE4\xB1\xF0\xC9\xFA\xD3\xFD\xC2\xCA";   // GBK
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find(name), std::string::npos);
    EXPECT_EQ(bytes[2048 + 6], 0xBC);   // 甲 = BC D7
    EXPECT_EQ(bytes[2048 + 7], 0xD7);
}

struct BadWrite {
    const char* name;
    TableData table;
    const char* message;
};

TableData one_value(FieldDef f, Value v)
{
    TableData t;
    t.fields = {f};
    t.records = {Record{v}};
    return t;
}

TEST(ParadoxRoundTrip, WhatCannotBeWrittenIsRefusedAndNothingIsLeft)
{
    TableData dup;
    dup.fields = {field("a", FieldType::Integer), field("A", FieldType::Float)};
    TableData other;
    other.fields = {field("m", FieldType::Other)};
    TableData wide;
    for (int i = 0; i < 17; ++i) wide.fields.push_back(field("f" + std::to_string(i), FieldType::String, 255));
    const BadWrite cases[] = {
        {"not finite", one_value(field("x", FieldType::Float), std::numeric_limits<double>::infinity()),
         "not a finite number"},
        {"nan", one_value(field("x", FieldType::Float), std::numeric_limits<double>::quiet_NaN()), "not a finite number"},
        {"text too long", one_value(field("s", FieldType::String, 2), std::string("甲乙")), "longer than 2 bytes"},
        {"lowest long", one_value(field("i", FieldType::Integer), std::int64_t{INT32_MIN}), "Value out of range"},
        {"long too big", one_value(field("i", FieldType::Integer), std::int64_t{1} << 31), "Value out of range"},
        {"short too big", one_value(field("s", FieldType::SmallInt), std::int64_t{40000}), "Value out of range"},
        {"bad date", one_value(field("d", FieldType::Date), Date{2001, 2, 29}), "invalid date"},
        {"type mismatch", one_value(field("d", FieldType::Date), std::string("2001-01-01")), "type mismatch"},
        {"alpha too wide", one_value(field("s", FieldType::String, 256), Value()), "Invalid field size 256"},
        {"name too long", one_value(field(std::string(26, 'n'), FieldType::Integer), Value()), "longer than 25"},
        {"empty name", one_value(field("", FieldType::Integer), Value()), "empty"},
        {"duplicate in case", dup, "Duplicate field name 'A'"},
        {"other kind", other, "cannot be written"},
        {"record too long", wide, "too long"},
        {"no fields", TableData{}, "at least one field"},
    };
    for (const BadWrite& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.path("bad.db");
        try {
            write_paradox(path, c.table);
            ADD_FAILURE() << "no error";
        } catch (const EngineError& e) {
            std::string m = e.what();
            EXPECT_EQ(m.rfind("bad.db: ", 0), 0u) << m;
            EXPECT_NE(m.find(c.message), std::string::npos) << m;
        }
        EXPECT_EQ(dir.entries(), 0u);
    }
    // 25 Chinese characters are a valid name.
    std::string name;
    for (int i = 0; i < 25; ++i) name += "人";
    EXPECT_NO_THROW(check_paradox_fields({field(name, FieldType::Integer)}));
}

TEST(ParadoxRoundTrip, ReadOnlyOrChangedFilesAreNotWrittenThrough)
{
    TempDir dir;
    // A keyed table is read-only.
    const std::string keyed = dir.path("long.db");
    auto original = pxtest::file_bytes(std::string(VANTELO_FIXTURES_DIR) + "/paradox/long.db");
    std::ofstream(keyed, std::ios::binary).write(reinterpret_cast<const char*>(original.data()),
                                                  static_cast<std::streamsize>(original.size()));
    TableData k = read_paradox(keyed);
    ASSERT_TRUE(k.read_only);
    EXPECT_THROW(paradox_update_record(keyed, k, 0, k.records[0]), EngineError);
    EXPECT_THROW(paradox_append_record(keyed, k, k.records[0]), EngineError);
    EXPECT_EQ(pxtest::file_bytes(keyed), original);

    // A primary index file beside a table whose header is not keyed is left over from a table
    // it replaced (a copy killed before it removed the old index): not taken for its index.
    const std::string indexed = dir.path("date4.db");
    std::filesystem::copy_file(std::string(VANTELO_FIXTURES_DIR) + "/paradox/date4.db", indexed);
    std::ofstream(dir.path("date4.PX")).put('\0');
    TableData d = read_paradox(indexed);
    EXPECT_FALSE(d.read_only) << d.read_only_reason;

    // A file that no longer holds what was read.
    const std::string path = dir.path("t.db");
    TableData t = sample_table(5);
    write_paradox(path, t);
    auto before = pxtest::file_bytes(path);
    TableData stale = t;
    stale.records.pop_back();
    try {
        paradox_update_record(path, stale, 0, stale.records[0]);
        ADD_FAILURE() << "no error";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("t.db: the file no longer matches"), std::string::npos) << e.what();
    }
    TableData other_fields = t;
    other_fields.fields[2].size = 13;
    EXPECT_THROW(paradox_update_record(path, other_fields, 0, t.records[0]), EngineError);
    EXPECT_THROW(paradox_update_record(path, t, 5, t.records[0]), EngineError);
    // A value that cannot be written leaves the file as it was.
    Record bad = t.records[0];
    bad[1] = std::numeric_limits<double>::infinity();
    EXPECT_THROW(paradox_update_record(path, t, 0, bad), EngineError);
    EXPECT_EQ(pxtest::file_bytes(path), before);
}

TEST(ParadoxRoundTrip, AutoincrementFieldKeepsItsKind)
{
    TempDir dir;
    const std::string path = dir.path("auto.db");
    TableData t;
    FieldDef id = field("Id", FieldType::Integer);
    id.native = '+';
    t.fields = {id, field("Text", FieldType::String, 10)};
    for (std::int64_t i = 1; i <= 3; ++i) t.records.push_back(Record{i, std::string("v") + std::to_string(i)});
    write_paradox(path, t);
    paradox_append_record(path, t, Record{std::int64_t{7}, std::string("v7")});
    t.records.push_back(Record{std::int64_t{7}, std::string("v7")});
    pxtest::PxTable px = pxtest::px_read(path);
    ASSERT_EQ(px.fields.size(), 2u);
    EXPECT_EQ(px.fields[0].type, pxfAutoInc);
    EXPECT_EQ(px.auto_inc, 7);   // the last value used
    ASSERT_EQ(px.num_records, 4);
    EXPECT_EQ(px.records[3][0].l, 7);
    TableData back = read_paradox(path);
    EXPECT_EQ(back.fields[0].native, '+');
    EXPECT_EQ(back.records, t.records);
}

TEST(ParadoxRoundTrip, FieldsFromOtherFormats)
{
    FieldDef n11 = field("N", FieldType::Integer);
    n11.native = 'N';   // a dBASE N(11,0)
    n11.native_size = 11;
    FieldDef big = field("B", FieldType::LargeInt);
    auto out = paradox_fields_from({field("s", FieldType::String, 20), n11, field("f", FieldType::Float), big,
                                    field("d", FieldType::Date), field("l", FieldType::Boolean)});
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[0].native, 'A');
    EXPECT_EQ(out[0].size, 20);
    EXPECT_EQ(out[1].native, 'I');
    EXPECT_EQ(out[2].native, 'N');
    EXPECT_EQ(out[3].type, FieldType::Float);
    EXPECT_EQ(out[4].native, 'D');
    EXPECT_EQ(out[5].native, 'L');
    EXPECT_NO_THROW(check_paradox_fields(out));
    EXPECT_THROW(check_paradox_fields(paradox_fields_from({field("m", FieldType::Other)})), EngineError);
}

}  // namespace
