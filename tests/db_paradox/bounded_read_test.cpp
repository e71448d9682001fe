// A table's files are read only as far as the table needs them: a huge memo file beside a table
// that has no memo field, or a data file padded far past the blocks its header declares, opens
// (and is written) within a small memory limit, with the same table as without the excess.
// The huge files are sparse, made with ftruncate; each read runs in a child process under
// limits on its memory and its time.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/errors.h"
#include "platform/db/dataset.h"
#include "platform/db/paradox.h"
#include "pxlib_reader.h"
#include "test_util.h"
#include "tests/db_common/limited_child.h"

using namespace vantelo;
using namespace vantelo::db;
using pxtest::TempDir;

namespace {

const std::string kSamples = std::string(VANTELO_TEST_DATA_DIR) + "/../../samples/";
const std::string kFixtures = std::string(VANTELO_FIXTURES_DIR) + "/paradox/";
constexpr off_t kHuge = off_t{2} << 30;   // 2 GB, never written: the files are sparse

void grow_sparse(const std::string& path, off_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::ftruncate(fd, size), 0) << path;
    ::close(fd);
}

// Every value of a table as text, record by record.
std::string summary(const TableData& t)
{
    std::ostringstream out;
    out << t.record_count() << " records";
    for (std::size_t r = 0; r < t.record_count(); ++r) {
        out << "\n";
        for (std::size_t c = 0; c < t.fields.size(); ++c) {
            const Value v = t.value(r, c);
            out << '|';
            if (const auto* s = std::get_if<std::string>(&v)) out << *s;
            else if (const auto* i = std::get_if<std::int64_t>(&v)) out << *i;
            else if (const auto* d = std::get_if<double>(&v)) out << *d;
            else if (const auto* b = std::get_if<bool>(&v)) out << *b;
            else if (const auto* dt = std::get_if<Date>(&v)) out << dt->year << '-' << dt->month << '-' << dt->day;
        }
    }
    return out.str();
}

struct HostileCase {
    const char* name;
    std::string source;       // the real table
    const char* table;        // its name in the scratch folder
    const char* memo_source;  // its memo file, or nullptr
    const char* grown;        // the file grown to 2 GB: the memo file or the table itself
    std::size_t records;      // as pxlib reads the real table
};

// Each hostile pair of files opens as the real table does, in a plain and a compact image.
TEST(BoundedRead, HugeCompanionOrPaddingIsNotRead)
{
    const HostileCase cases[] = {
        {"memo file beside a table without memo fields", kSamples + "single_region.DB", "t.DB", nullptr, "t.MB", 81},
        {"table padded after its blocks", kSamples + "single_region.DB", "t.DB", nullptr, "t.DB", 81},
        {"two-block table padded after its blocks", kSamples + "urban_rural.DB", "t.DB", nullptr, "t.DB", 81},
        {"memo file of a memo table", kFixtures + "memo.db", "memo.db", "memo.mb", "memo.mb", 2},
        {"memo table padded after its blocks", kFixtures + "memo.db", "memo.db", "memo.mb", "memo.db", 2},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(static_cast<std::size_t>(pxtest::px_read(c.source).num_records), c.records);
        TempDir plain, hostile;
        for (TempDir* d : {&plain, &hostile}) {
            std::filesystem::copy_file(c.source, d->path(c.table));
            if (c.memo_source) std::filesystem::copy_file(kFixtures + c.memo_source, d->path(c.memo_source));
        }
        grow_sparse(hostile.path(c.grown), kHuge);
        const std::string expected = summary(read_paradox(plain.path(c.table)));
        ASSERT_EQ(expected.rfind(std::to_string(c.records) + " records", 0), 0u);
        for (bool compact : {false, true}) {
            const std::string path = hostile.path(c.table);
            const test_common::ChildResult got =
                test_common::run_limited([&] { return summary(read_paradox(path, compact)); });
            ASSERT_TRUE(got.answered) << got.ending;
            EXPECT_FALSE(got.raised) << got.text;
            EXPECT_EQ(got.text, expected) << "compact " << compact;
        }
    }
}

// The bytes of v at p, little-endian.
void put_le(unsigned char* p, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Writes bytes at offset of the file at path, which is made when missing.
void put_at(const std::string& path, off_t offset, const std::vector<unsigned char>& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), offset), static_cast<ssize_t>(bytes.size())) << path;
    ::close(fd);
}

// memo.db (Id +, MEMO M250 with 240 bytes of text in the record: 2048-byte blocks of 8
// records of 254 bytes from byte 0x800) made into a table of `records` records whose memos
// point at memo.mb: record i (from 0) at pointers[i % size], each memo `length` bytes long.
std::vector<unsigned char> memo_table(std::size_t records, const std::vector<std::uint32_t>& pointers, std::uint32_t length)
{
    const std::vector<unsigned char> real = pxtest::file_bytes(kFixtures + "memo.db");
    constexpr std::size_t header = 0x800, block = 2048, record = 254, per_block = 8;
    const std::size_t blocks = (records + per_block - 1) / per_block;
    std::vector<unsigned char> b(real.begin(), real.begin() + header);
    b.resize(header + blocks * block, 0);
    put_le(&b[0x06], static_cast<std::uint32_t>(records), 4);
    put_le(&b[0x0A], static_cast<std::uint32_t>(blocks + 1), 2);   // the next free block
    put_le(&b[0x0C], static_cast<std::uint32_t>(blocks), 2);
    put_le(&b[0x0E], 1, 2);
    put_le(&b[0x10], static_cast<std::uint32_t>(blocks), 2);
    for (std::size_t n = 1; n <= blocks; ++n) {
        unsigned char* head = &b[header + (n - 1) * block];
        const std::size_t count = std::min(per_block, records - (n - 1) * per_block);
        put_le(head, n == blocks ? 0 : static_cast<std::uint32_t>(n + 1), 2);
        put_le(head + 2, static_cast<std::uint32_t>(n - 1), 2);
        put_le(head + 4, static_cast<std::uint32_t>((count - 1) * record), 2);
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t i = (n - 1) * per_block + k;
            unsigned char* rec = head + 6 + k * record;
            std::memcpy(rec, &real[header + 6], record);   // record 1 of memo.db
            put_le(rec, static_cast<std::uint32_t>(i + 1), 4);
            std::swap(rec[0], rec[3]);   // a long is big-endian with its sign bit set
            std::swap(rec[1], rec[2]);
            rec[0] |= 0x80;
            put_le(rec + 4 + 240, pointers[i % pointers.size()], 4);
            put_le(rec + 4 + 244, length, 4);
        }
    }
    return b;
}

// A single-blob memo block of memo.mb at offset: type 2, its 4 KiB blocks, the text's
// length, a modifier, then the text (its first bytes; the rest of it left for the file to hold).
std::vector<unsigned char> single_blob(std::uint32_t length, const std::string& start)
{
    std::vector<unsigned char> m(9, 0);
    m[0] = 2;
    put_le(&m[1], static_cast<std::uint32_t>((9 + std::uint64_t{length} + 4095) / 4096), 2);
    put_le(&m[3], length, 4);
    m.insert(m.end(), start.begin(), start.end());
    return m;
}

// The memo field of every record in a line: each run of records with the same text as
// "first-last: text" (a long text as its length and its start), then the read-only reason.
std::string memo_runs(const TableData& t)
{
    auto shown = [&](std::size_t r) {
        const Value v = t.value(r, 1);
        const auto* s = std::get_if<std::string>(&v);
        if (!s) return std::string("(null)");
        if (s->size() <= 40) return *s;
        return std::to_string(s->size()) + " bytes from '" + s->substr(0, 9) + "'";
    };
    std::string out;
    const std::size_t n = t.record_count();
    for (std::size_t first = 0, r = 1; r <= n; ++r)
        if (r == n || shown(r) != shown(first)) {
            out += std::to_string(first + 1) + "-" + std::to_string(r) + ": " + shown(first) + " | ";
            first = r;
        }
    return out + t.read_only_reason;
}

// Memo texts are read within the bounds of the table: one memo claiming more than the memo text
// a table may hold (64 MiB) is not read, a memo shared by many records is read once and each
// record's copy counts, and the memos past 64 MiB in all read as a placeholder, the reason
// naming the record and the field where the bound was reached. The memo files are sparse; each
// read runs in a child process limited to 512 MB.
TEST(BoundedRead, MemoTextStaysWithinItsBound)
{
    constexpr std::uint32_t kMiB = 1u << 20;
    // memo.db is keyed (file type 0): so is each table made from it.
    const std::string fields =
        "field 'MEMO' is of the memo type, which is shown but not written; the table is keyed (it has a primary key); ";
    struct Case {
        const char* name;
        std::size_t records;
        std::vector<std::uint32_t> pointers;    // 0x..FF: a single-blob block at that offset
        std::uint32_t length;                   // of each memo
        std::string want;
    };
    // 98 single-blob blocks of 1 MiB and 4 KiB from byte 0x2000: record k's in 4 KiB block 2 + 257 k.
    std::vector<std::uint32_t> distinct;
    std::string past;
    for (std::uint32_t k = 0; k < 98; ++k) {
        distinct.push_back((0x2000 + k * (kMiB + 0x1000)) | 0xFF);
        if (k >= 64)
            past += std::to_string(k + 1) + "-" + std::to_string(k + 1) + ": (memo block " + std::to_string(2 + 257 * k) +
                    " not read) | ";
    }
    const Case cases[] = {
        {"one memo claiming 1.5 GiB", 1, {0x20FF}, 0x60000000u,
         "1-1: (memo block 2 not read) | " + fields +
             "memo.mb: the memo of record 1, field 'MEMO', is longer than 67108864 bytes; it is not read"},
        {"a memo of 8 MiB shared by 98 records", 98, {0x20FF}, 8 * kMiB,
         "1-8: 8388608 bytes from 'memo text' | 9-98: (memo block 2 not read) | " + fields +
             "memo.mb: the memo text of this table passes 67108864 bytes at record 9, field 'MEMO'; the memos "
             "from there on are not read"},
        {"98 memos of 1 MiB", 98, distinct, kMiB,
         "1-64: 1048576 bytes from 'memo text' | " + past + fields +
             "memo.mb: the memo text of this table passes 67108864 bytes at record 65, field 'MEMO'; the memos "
             "from there on are not read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string table = dir.path("memo.db"), memo = dir.path("memo.mb");
        const std::vector<unsigned char> bytes = memo_table(c.records, c.pointers, c.length);
        put_at(table, 0, bytes);
        ASSERT_EQ(static_cast<std::size_t>(pxtest::px_read(table).num_records), c.records);
        std::filesystem::copy_file(kFixtures + "memo.mb", memo);
        off_t end = 0;
        for (std::uint32_t p : c.pointers) {
            put_at(memo, p & 0xFFFFFF00u, single_blob(c.length, "memo text"));
            end = std::max<off_t>(end, static_cast<off_t>(p & 0xFFFFFF00u) + 9 + c.length);
        }
        grow_sparse(memo, end);
        for (bool compact : {false, true}) {
            const test_common::ChildResult got =
                test_common::run_limited([&] { return memo_runs(read_paradox(table, compact)); });
            ASSERT_TRUE(got.answered) << got.ending;
            EXPECT_FALSE(got.raised) << got.text;
            EXPECT_EQ(got.text, c.want) << "compact " << compact;
        }
    }
}

// A post, an append and a batch over a table padded after its blocks are written within the
// limits and leave the table as they leave the real one (a whole rewrite keeps only the
// declared blocks).
TEST(BoundedRead, WritesToAPaddedTableStayWithinBounds)
{
    const std::function<void(Dataset&)> changes[] = {
        [](Dataset& ds) {
            ds.move_to(5);
            ds.edit();
            ds.field(1).set_as_float(12345);
            ds.post();
        },
        [](Dataset& ds) {
            ds.append();
            ds.field(0).set_as_integer(81);
            ds.post();
        },
        [](Dataset& ds) {
            ds.begin_batch();
            for (ds.first(); !ds.eof(); ds.next()) {
                ds.edit();
                ds.field(1).set_as_float(ds.field(1).as_float() + 1);
            }
            ds.end_batch();
        },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE(i);
        TempDir plain, hostile;
        for (TempDir* d : {&plain, &hostile}) std::filesystem::copy_file(kSamples + "single_region.DB", d->path("t.DB"));
        grow_sparse(hostile.path("t.DB"), kHuge);
        auto change_and_read = [&](const std::string& path) {
            Dataset ds;
            ds.set_table_name(path);
            ds.open();
            changes[i](ds);
            ds.close();
            return summary(read_paradox(path));
        };
        const std::string expected = change_and_read(plain.path("t.DB"));
        const test_common::ChildResult got = test_common::run_limited([&] { return change_and_read(hostile.path("t.DB")); });
        ASSERT_TRUE(got.answered) << got.ending;
        EXPECT_FALSE(got.raised) << got.text;
        EXPECT_EQ(got.text, expected);
    }
}

}  // namespace
