// Malformed and truncated files: each gives a clear error naming the file, nothing crashes,
// and neither reading nor a write-through attempt changes the file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/core/errors.h"
#include "tests/db_common/cut_short.h"
#include "platform/db/paradox.h"
#include "test_util.h"

using namespace vantelo;
using namespace vantelo::db;
using pxtest::TempDir;

namespace {

struct BadFile {
    const char* file;
    const char* message;
};

const BadFile kCases[] = {
    {"empty.db", "header: unexpected end of file at byte 0"},
    {"truncated_header.db", "header: unexpected end of file at byte 40"},
    {"truncated_in_header.db", "the header gives a header size of 2048 bytes, but the file has only 1000"},
    {"bad_record_size.db", "record size 6 in the header does not match the fields (4 bytes)"},
    {"unknown_field_type.db", "field 1 has unknown type 0x33 at byte 120"},
    {"index_file.db", "is a Paradox index file, not a table"},
    {"bad_version.db", "unknown file version 32"},
    {"block_loop.db", "the data block chain returns to block 1"},
    {"bad_block_ref.db", "the data block chain refers to block 7 of 1"},
    {"count_mismatch.db", "the header counts 5 records but the data blocks hold 3"},
    {"huge_count.db", "more than its data blocks can hold"},
    {"bad_block_count.db", "data block 1 has an impossible record count at byte 2052"},
    {"names_unterminated.db", "field 1: name without an end"},
    {"zero_fields.db", "(0 fields)"},
    {"bad_block_size.db", "unknown block size code 0"},
    {"not_paradox.db", "is not a Paradox table"},
};

class Malformed : public ::testing::TestWithParam<BadFile> {};

TEST_P(Malformed, ClearErrorAndFileUnchanged)
{
    const BadFile& c = GetParam();
    TempDir dir;
    const std::string path = dir.path(c.file);
    std::filesystem::copy_file(std::string(VANTELO_TEST_DATA_DIR) + "/paradox/" + c.file, path);
    const auto before = pxtest::file_bytes(path);

    try {
        read_paradox(path);
        ADD_FAILURE() << "no error";
    } catch (const EngineError& e) {
        std::string m = e.what();
        EXPECT_EQ(m.rfind(std::string(c.file) + ": ", 0), 0u) << m;
        EXPECT_NE(m.find(c.message), std::string::npos) << m;
    }
    // The bytes entry point agrees.
    EXPECT_THROW(read_paradox_bytes(c.file, before), EngineError);

    // A write-through of a table as it might have been read never touches a corrupt file.
    TableData t;
    FieldDef f;
    f.name = "DATE";
    f.type = FieldType::Date;
    t.fields = {f};
    for (int i = 0; i < 3; ++i) t.records.push_back(Record{Date{2018, 1, 1 + i}});
    EXPECT_THROW(paradox_update_record(path, t, 1, t.records[0]), EngineError);
    EXPECT_THROW(paradox_append_record(path, t, Record{Date{2020, 1, 1}}), EngineError);
    EXPECT_EQ(pxtest::file_bytes(path), before);
    EXPECT_EQ(dir.entries(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Files, Malformed, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string n = info.param.file;
    for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return n;
});

TEST(ParadoxMalformed, MissingFileNamesIt)
{
    try {
        read_paradox("/nonexistent/nothing.db");
        FAIL() << "no error";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/nothing.db"), std::string::npos) << e.what();
    }
}

TEST(ParadoxMalformed, DamagedMemoFileLeavesTheTextEmptyAndSaysSo)
{
    TempDir dir;
    const std::string fixtures = std::string(VANTELO_FIXTURES_DIR) + "/paradox/";
    std::filesystem::copy_file(fixtures + "memo.db", dir.path("memo.db"));
    auto mb = pxtest::file_bytes(fixtures + "memo.mb");
    mb.resize(0x1200);   // the 555-byte text at 0x1150 is cut short
    std::ofstream(dir.path("memo.MB"), std::ios::binary)
        .write(reinterpret_cast<const char*>(mb.data()), static_cast<std::streamsize>(mb.size()));
    TableData t = read_paradox(dir.path("memo.db"));
    ASSERT_EQ(t.records.size(), 2u);
    EXPECT_TRUE(is_null(t.records[0][1]));
    EXPECT_EQ(std::get<std::string>(t.records[1][1]), "01234567890\n");
    EXPECT_NE(t.read_only_reason.find("memo.MB: memo text: unexpected end of file"), std::string::npos)
        << t.read_only_reason;
}

TEST(ParadoxMalformed, EveryCutOfARealFileFailsCleanly)
{
    // Every prefix of a real table either raises our error or, when it ends after the last
    // record of its last block, reads every record; none crashes.
    const auto data = pxtest::file_bytes(std::string(VANTELO_FIXTURES_DIR) + "/paradox/CUSTOMER.DB");
    const TableData whole = read_paradox_bytes("CUSTOMER.DB", data);
    int read = 0;
    for (std::size_t n = 0; n < data.size(); n += 97) {
        std::vector<unsigned char> cut(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
        try {
            EXPECT_EQ(read_paradox_bytes("CUSTOMER.DB", cut).records, whole.records) << n;
            ++read;
        } catch (const EngineError&) {
        }
    }
    EXPECT_LT(read, 30);
}

// A table whose last data block ends short of the block size, after its last record (some
// writers leave it so), opens with every record; one byte less and a record is missing, and
// the message says which block.
TEST(ParadoxMalformed, ShortLastBlockOpensWhenItsRecordsAreThere)
{
    const auto data = pxtest::file_bytes(std::string(VANTELO_TEST_DATA_DIR) + "/paradox/truncated_block.db");
    const auto whole = pxtest::file_bytes(std::string(VANTELO_FIXTURES_DIR) + "/paradox/date4.db");
    ASSERT_LT(data.size(), whole.size());
    TableData t = read_paradox_bytes("truncated_block.db", data);
    EXPECT_EQ(t.records, read_paradox_bytes("date4.db", whole).records);
    // date4.db: 2048-byte header, 4-byte records, 3 of them in block 1.
    std::vector<unsigned char> cut(data.begin(), data.begin() + 2048 + 6 + 3 * 4);
    EXPECT_EQ(read_paradox_bytes("cut.db", cut).records.size(), 3u);
    cut.pop_back();
    try {
        read_paradox_bytes("cut.db", cut);
        ADD_FAILURE() << "no error";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "cut.db: data block 1 holds 3 records, but the file ends at byte 2065 (truncated file)");
    }
    // Written through, the short block is filled out.
    TempDir dir;
    const std::string path = dir.path("short.db");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    paradox_append_record(path, t, Record{Date{2020, 5, 6}});
    TableData back = read_paradox(path);
    ASSERT_EQ(back.records.size(), 4u);
    EXPECT_EQ(back.records[3][0], Value(Date{2020, 5, 6}));
}

// Another program cutting a large table short and writing it again while we read it, over and
// over: each read gives the whole table or a clear message, never a crash.
TEST(Malformed, FileCutShortWhileReadNeverCrashes)
{
    TempDir dir;
    const std::string path = dir.path("cut.db");
    TableData t;
    t.fields = paradox_fields_from({FieldDef{"x", FieldType::Integer}, FieldDef{"y", FieldType::Float}});
    for (int i = 0; i < 200000; ++i) t.records.push_back({std::int64_t(i), i * 0.5});
    const std::vector<unsigned char> bytes = build_paradox(t, "cut.db");   // about 2.5 MB
    test_common::read_while_cut_short(path, bytes, t.records.size(), [](const std::string& p) { return read_paradox(p); });
}

}  // namespace

namespace {

// A table file of more than 16 MB, which is read by several threads side by side: every record
// comes back in order, in a plain and in a compact image, and a read while another program cuts
// the file short and writes it again gives the whole table or a clear message.
TEST(Malformed, LargeFileReadInStretchesKeepsEveryRecord)
{
    TempDir dir;
    const std::string path = dir.path("wide.db");
    TableData t;
    t.fields = paradox_fields_from({FieldDef{"x", FieldType::Integer}, FieldDef{"note", FieldType::String, 200}});
    const int n = 90000;   // 204 bytes a record: about 18 MB
    for (int i = 0; i < n; ++i) t.records.push_back({std::int64_t(i), std::string(1, static_cast<char>('a' + i % 26))});
    const std::vector<unsigned char> bytes = build_paradox(t, "wide.db");
    ASSERT_GT(bytes.size(), std::size_t{17} << 20);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    for (bool compact : {false, true}) {
        const TableData back = read_paradox(path, compact);
        ASSERT_EQ(back.record_count(), static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(back.value(static_cast<std::size_t>(i), 0), Value(std::int64_t(i))) << i;
            ASSERT_EQ(back.value(static_cast<std::size_t>(i), 1), t.records[static_cast<std::size_t>(i)][1]) << i;
        }
    }
    test_common::read_while_cut_short(path, bytes, t.records.size(), [](const std::string& p) { return read_paradox(p); });
}

}  // namespace

namespace {

// A header whose counts or block numbers disagree with its fields or its block chain, in
// either direction, made by patching a real table: a disagreement that could hide records is
// refused, or, where every record the chain holds reads as it should but the header names
// other blocks, the table opens read-only with the reason (a rewrite would drop those blocks)
// and a write-through is refused; a header that agrees opens as it is.
TEST(ParadoxMalformed, HeaderCountsMustAgreeWithTheFieldsAndTheChainEitherWay)
{
    struct Patch {
        std::size_t at;
        int bytes;          // 2 or 4, little-endian
        std::uint32_t value;
    };
    struct Case {
        const char* name;
        const char* source;   // date4.db: 2048-byte header, one 2048-byte block of three 4-byte
                              // records; urban_rural.DB: two 4096-byte blocks of 48 and 33 records
        std::vector<Patch> patches;
        const char* refused;  // the message, after the file's name; or nullptr
        const char* reason;   // the read-only reason it opens with; or nullptr (writable)
        std::size_t records;
    };
    const std::string date4 = std::string(VANTELO_FIXTURES_DIR) + "/paradox/date4.db";
    const std::string urban = std::string(VANTELO_TEST_DATA_DIR) + "/../../samples/urban_rural.DB";
    const Case cases[] = {
        {"record size below the fields' sizes", "date4", {{0x00, 2, 3}}, "record size 3 in the header does not match the fields (4 bytes)", nullptr, 0},
        {"record size above the fields' sizes", "date4", {{0x00, 2, 5}}, "record size 5 in the header does not match the fields (4 bytes)", nullptr, 0},
        {"fewer records counted than the blocks hold", "date4", {{0x06, 4, 2}}, "the header counts 2 records but the data blocks hold 3", nullptr, 0},
        {"more records counted than the blocks hold", "date4", {{0x06, 4, 4}}, "the header counts 4 records but the data blocks hold 3", nullptr, 0},
        {"an empty block whose count is not one record less than none", "date4", {{0x06, 4, 0}, {0x804, 2, 0xFFFD}},
         "data block 1 has an impossible record count at byte 2052", nullptr, 0},
        {"a first block when the header counts none", "date4", {{0x06, 4, 0}, {0x0C, 2, 0}},
         "the data block chain refers to block 1 of 0", nullptr, 0},
        {"a header too small for its field list", "date4", {{0x02, 2, 0x80}},
         "field name pointers: unexpected end of file at byte 128", nullptr, 0},
        {"blocks the chain does not reach", "urban", {{0x800, 2, 0}, {0x06, 4, 48}, {0x10, 2, 1}}, nullptr,
         "the header counts 2 data blocks, but the block chain holds 1", 48},
        {"a last block that is not the chain's last", "urban", {{0x10, 2, 1}}, nullptr,
         "the header names block 1 as the last data block, but the block chain ends at block 2", 81},
        {"no first block though the header counts blocks", "urban", {{0x0E, 2, 0}, {0x06, 4, 0}, {0x10, 2, 0}}, nullptr,
         "the header counts 2 data blocks, but the block chain holds 0", 0},
        {"an empty block counted as one record less than none", "date4", {{0x06, 4, 0}, {0x804, 2, 0xFFFC}}, nullptr, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.path("t.db");
        auto bytes = pxtest::file_bytes(std::string(c.source) == "date4" ? date4 : urban);
        for (const Patch& p : c.patches)
            for (int k = 0; k < p.bytes; ++k) bytes[p.at + static_cast<std::size_t>(k)] = static_cast<unsigned char>(p.value >> (8 * k));
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (c.refused) {
            try {
                read_paradox(path);
                ADD_FAILURE() << "no error";
            } catch (const EngineError& e) {
                EXPECT_EQ(std::string(e.what()), std::string("t.db: ") + c.refused);
            }
            continue;
        }
        TableData t = read_paradox(path);
        EXPECT_EQ(t.records.size(), c.records);
        if (!c.reason) {
            EXPECT_FALSE(t.read_only) << t.read_only_reason;
            continue;
        }
        EXPECT_TRUE(t.read_only);
        EXPECT_EQ(t.read_only_reason, c.reason);
        // A write-through of the table as read, even one told it may write, leaves the file as it is.
        t.read_only = false;
        t.read_only_reason.clear();
        if (!t.records.empty()) {
            try {
                paradox_update_record(path, t, 0, t.records[0]);
                ADD_FAILURE() << "no error";
            } catch (const EngineError& e) {
                EXPECT_EQ(std::string(e.what()), std::string("t.db: ") + c.reason + "; the table cannot be written");
            }
        }
        EXPECT_THROW(paradox_append_record(path, t, t.records.empty() ? Record(t.fields.size()) : t.records[0]), EngineError);
        EXPECT_EQ(pxtest::file_bytes(path), bytes);
    }
}

}  // namespace
