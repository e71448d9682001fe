// Hostile tables and memo files, made at run time (large ones sparse, never written out): each
// read runs in a child process limited to 512 MB of address space and a few seconds, and ends
// with the table as its header declares it or with a clear message, within those limits.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "independent.h"
#include "platform/core/errors.h"
#include "platform/db/byte_reader.h"
#include "platform/db/dbase.h"
#include "tests/db_common/limited_child.h"

using namespace vantelo;
using namespace vantelo::db;
using namespace dbase_test;

namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// Runs body in a child process under 512 MB of address space and 20 seconds; returns what the
// body returned, "error: " and the message of what it raised, or how the child ended.
std::string in_limited_child(const std::function<std::string()>& body)
{
    const test_common::ChildResult r = test_common::run_limited(body, {.seconds = 20});
    if (!r.answered) return r.ending;
    return r.raised ? "error: " + r.text : r.text;
}

bool sanitized()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

void put_file(const std::string& path, const std::vector<unsigned char>& bytes, std::uint64_t size = 0)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (size > bytes.size()) {
        ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0);
    }
}

// A table of `records` records: NAME C(8) "r<i>", NOTE M(10) pointing at block[i % size].
std::vector<unsigned char> memo_table(unsigned char version, std::size_t records, const std::vector<unsigned>& blocks)
{
    std::vector<unsigned char> b(97, 0);
    b[0] = version;
    put_u32le(b.data() + 4, static_cast<std::uint32_t>(records));
    put_u16le(b.data() + 8, 97);
    put_u16le(b.data() + 10, 19);
    std::memcpy(b.data() + 32, "NAME", 4);
    b[32 + 11] = 'C';
    b[32 + 16] = 8;
    std::memcpy(b.data() + 64, "NOTE", 4);
    b[64 + 11] = 'M';
    b[64 + 16] = 10;
    b[96] = 0x0D;
    for (std::size_t i = 0; i < records; ++i) {
        std::string name = "r" + std::to_string(i + 1);
        name.resize(8, ' ');
        std::string block = blocks.empty() ? "" : std::to_string(blocks[i % blocks.size()]);
        block.insert(0, 10 - block.size(), ' ');
        std::string rec = " " + name + block;
        b.insert(b.end(), rec.begin(), rec.end());
    }
    b.push_back(0x1A);
    return b;
}

// A FoxPro memo file header (block size 64) and one memo in block 1: type, stored length, text.
std::vector<unsigned char> fpt(std::uint32_t type, std::uint32_t length, const std::string& text)
{
    std::vector<unsigned char> m(64, 0);
    m[3] = 2;   // the next free block
    m[7] = 64;  // block size, big-endian
    for (std::uint32_t v : {type, length})
        for (int shift = 24; shift >= 0; shift -= 8) m.push_back(static_cast<unsigned char>(v >> shift));
    m.insert(m.end(), text.begin(), text.end());
    return m;
}

// A dBASE memo file: a 512-byte header block, then `text` in block 1.
std::vector<unsigned char> dbt(const std::string& text)
{
    std::vector<unsigned char> m(512, 0);
    m[0] = 2;
    m.insert(m.end(), text.begin(), text.end());
    return m;
}

// What a read gives, in a line: the record count, the memo of the first and the last record,
// the reason the table is read-only.
std::string summary(const std::string& path)
{
    TableData t = read_dbase(path, true);
    std::string first = t.record_count() ? std::get<std::string>(t.value(0, 1)) : "";
    std::string last = t.record_count() ? std::get<std::string>(t.value(t.record_count() - 1, 1)) : "";
    if (first.size() > 40) first = "long text of " + std::to_string(first.size()) + " bytes";
    if (last.size() > 40) last = "long text of " + std::to_string(last.size()) + " bytes";
    return std::to_string(t.record_count()) + " | " + first + " | " + last + " | " + t.read_only_reason;
}

}  // namespace

// Memo files that give no end to a memo, or an end far away: every memo is read only as far as
// its format allows (the stored length of a dBASE IV or FoxPro block, the end mark of a dBASE
// III memo within 1 MiB), once for all the records that share its block, and the text the
// table holds stays within 64 MiB. A memo past those bounds reads as a placeholder, and the
// reason names the record and the field.
TEST(DbaseHostile, MemoFilesAreReadWithinBounds)
{
    if (sanitized()) GTEST_SKIP() << "address limits do not apply under the address sanitizer";
    const std::string big(900 * 1024, 'x');
    struct Case {
        const char* name;
        unsigned char version;
        const char* memo_name;
        std::vector<unsigned char> memo;
        std::uint64_t memo_size;   // made sparse up to this size
        std::size_t records;
        std::string want;
    };
    const Case cases[] = {
        {"dBASE III memo with no end mark in a 64 MB file", 0x83, "t.dbt", dbt("hello"), 64ull << 20, 2000,
         "2000 | (memo block 1 unreadable) | (memo block 1 unreadable) | t.dbt: the memo of record 1, field 'NOTE', "
         "has no end mark within 1048576 bytes; it is not read"},
        {"dBASE III memo with its end mark in a 2 GB file", 0x83, "t.dbt", dbt("hello\x1A\x1A"), 2 * kGiB, 2000,
         "2000 | hello | hello | t.dbf: memo fields cannot be written"},
        {"dBASE IV block claiming 2 GB", 0x8B, "t.dbt",
         [] {
             std::vector<unsigned char> m = dbt(std::string("\xFF\xFF\x08\x00\x00\x00\x00\x7F", 8) + "text");
             m[20] = 0;
             m[21] = 2;  // blocks of 512
             return m;
         }(),
         2 * kGiB, 2000,
         "2000 | (memo block 1 unreadable) | (memo block 1 unreadable) | t.dbt: the memo of record 1, field 'NOTE', "
         "is longer than 1048576 bytes; it is not read"},
        {"FoxPro block claiming 2 GB", 0xF5, "t.fpt", fpt(1, 0x7FFFFF00u, "text"), 2 * kGiB, 2000,
         "2000 | (memo block 1 unreadable) | (memo block 1 unreadable) | t.fpt: the memo of record 1, field 'NOTE', "
         "is longer than 1048576 bytes; it is not read"},
        {"FoxPro memo of 900 KB in every record", 0xF5, "t.fpt", fpt(1, static_cast<std::uint32_t>(big.size()), big), 0,
         2000,
         "2000 | long text of 921600 bytes | (memo block 1 not read) | t.fpt: the memo text of this table passes "
         "67108864 bytes at record 73, field 'NOTE'; the memos from there on are not read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempTableDir dir;
        put_file(dir.path("t.dbf"), memo_table(c.version, c.records, {1}));
        put_file(dir.path(c.memo_name), c.memo, c.memo_size);
        EXPECT_EQ(in_limited_child([&] { return summary(dir.path("t.dbf")); }), c.want);
    }
}

// A table padded after its declared records (here sparse, to 2 GB) reads just those records,
// in a bounded buffer, and stays writable: the padding holds no record.
TEST(DbaseHostile, PaddingAfterTheRecordsIsNotRead)
{
    if (sanitized()) GTEST_SKIP() << "address limits do not apply under the address sanitizer";
    TempTableDir dir;
    const std::string path = dir.path("people.dbf");
    put_file(path, file_bytes(std::string(VANTELO_FIXTURES_DIR) + "/dbase/people.dbf"), 2 * kGiB);
    for (bool compact : {false, true}) {
        EXPECT_EQ(in_limited_child([&] {
                      TableData t = read_dbase(path, compact);
                      return std::to_string(t.record_count()) + " " + std::get<std::string>(t.value(1, 0)) + " " +
                             (t.read_only ? t.read_only_reason : "writable");
                  }),
                  "2 Bob writable");
    }
}

// The memo file is asked for only when a record points into it: a table whose memos are all
// blank opens without it (read-only, as every table with memo fields).
TEST(DbaseMemo, MemoFileOpenedOnlyWhenARecordNeedsIt)
{
    for (bool blank : {true, false}) {
        SCOPED_TRACE(blank ? "blank memos" : "memo in block 1");
        std::vector<unsigned char> table = memo_table(0x83, 3, blank ? std::vector<unsigned>{} : std::vector<unsigned>{1});
        int asked = 0;
        MemoLoader loader = [&](bool) -> std::optional<MemoFile> {
            ++asked;
            return memo_in_memory("t.dbt", dbt("note\x1A\x1A"), false);
        };
        TableData t = read_dbase_bytes("t.dbf", table.data(), table.size(), loader);
        EXPECT_EQ(asked, blank ? 0 : 1);
        ASSERT_EQ(t.records.size(), 3u);
        EXPECT_EQ(t.records[2][1], blank ? Value{} : Value{std::string("note")});
        EXPECT_EQ(t.read_only_reason, "t.dbf: memo fields cannot be written");
    }
}

// Posting into a table padded after its records (sparse, to 2 GB) reads no more than the
// header and the declared records: the record is written in place, an appended one after the
// last, and the padding stays as it was.
TEST(DbaseHostile, PostingIntoAPaddedTableReadsOnlyItsRecords)
{
    if (sanitized()) GTEST_SKIP() << "address limits do not apply under the address sanitizer";
    TempTableDir dir;
    const std::string path = dir.path("people.dbf");
    const std::vector<unsigned char> people = file_bytes(std::string(VANTELO_FIXTURES_DIR) + "/dbase/people.dbf");
    put_file(path, people, 2 * kGiB);
    EXPECT_EQ(in_limited_child([&] {
                  TableData t = read_dbase(path, true);
                  dbase_update_record(path, t, 1, {std::string("Robert"), Date{1980, 11, 12}});
                  t = read_dbase(path, true);
                  dbase_append_record(path, t, {std::string("Carol"), Date{2001, 5, 6}});
                  t = read_dbase(path, true);
                  std::string out = std::to_string(t.record_count());
                  for (std::size_t r = 0; r < t.record_count(); ++r)
                      out += " " + std::get<std::string>(t.value(r, 0));
                  return out + (t.read_only ? " " + t.read_only_reason : "");
              }),
          "3 Alice Robert Carol");
    // Record 2 (Bob's) in place, the deleted record kept, Carol after it, then the end mark and
    // the padding.
    std::ifstream in(path, std::ios::binary);
    std::vector<char> head(97 + 4 * 25 + 1);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    EXPECT_EQ(std::string(head.data() + 97 + 25, 25), " Robert          19801112");
    EXPECT_EQ(std::string(head.data() + 97 + 50, 25), "*Deleted Guy     19791222");
    EXPECT_EQ(std::string(head.data() + 97 + 75, 25), " Carol           20010506");
    EXPECT_EQ(head.back(), '\x1A');
    EXPECT_EQ(std::filesystem::file_size(path), 2 * kGiB);
}
