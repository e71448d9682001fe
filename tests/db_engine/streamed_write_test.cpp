// Writing a whole table a buffer at a time: the new file is written while its records are
// encoded, from a compact image as from a plain one, and a record that cannot be written after
// the first buffers have gone out still leaves the old file whole and no temporary behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/db/atomic_file.h"
#include "platform/db/table_files.h"
#include "tests/db_engine/engine_test_util.h"

using namespace vantelo;
using namespace vantelo::db;
using namespace vantelo::db::testing_util;

namespace {

// More records than one buffer of either writer holds (a megabyte): 2.4 MB in a .dbf, 339
// blocks of 4 KB in a .db.
constexpr int kRecords = 60000;

// Every kind the program writes, with empty cells in each column.
TableData mixed_table(const ResolvedTable& r, int n)
{
    TableData t;
    t.fields = fields_for_format({FieldDef{"AGE", FieldType::Integer}, FieldDef{"POP", FieldType::Float},
                                  FieldDef{"NOTE", FieldType::String, 6}, FieldDef{"DAY", FieldType::Date},
                                  FieldDef{"FLAG", FieldType::Boolean}},
                                 r.format);
    t.code_page = 936;
    for (int i = 0; i < n; ++i) {
        Record rec(5);
        if (i % 11 != 3) rec[0] = std::int64_t(i % 120);
        if (i % 7 != 2) rec[1] = i * 0.125 - 300;
        if (i % 5 != 1) rec[2] = std::string(i % 2 ? "甲" : "ab") + std::to_string(i % 10);
        if (i % 3 != 0) rec[3] = Date{1950 + i % 70, 1 + i % 12, 1 + i % 28};
        if (i % 4 != 0) rec[4] = i % 8 < 4;
        t.records.push_back(std::move(rec));
    }
    return t;
}

struct WriteCounter {
    int writes = 0;
    WriteCounter()
    {
        set_write_fault_hook([this](const char* call) {
            if (std::string(call) == "write") ++writes;
            return 0;
        });
    }
    ~WriteCounter() { set_write_fault_hook({}); }
};

class StreamedWrite : public ::testing::TestWithParam<const char*> {};

}  // namespace

// A compact image writes the same bytes as the plain image of the same records, in several
// writes rather than one of the whole file, and reads back as written.
TEST_P(StreamedWrite, CompactAndPlainImagesWriteTheSameFile)
{
    // The same file name (a .db header records it) in two folders.
    ScratchDir dir, other;
    const std::string name = std::string("t.") + GetParam();
    const ResolvedTable plain_file = resolve_table(dir.path(name), TableType::Default);
    const ResolvedTable compact_file = resolve_table(other.path(name), TableType::Default);
    const TableData t = mixed_table(plain_file, kRecords);
    write_table(plain_file, t);
    const TableData c = compact_image(t);
    int writes = 0;
    {
        WriteCounter counter;
        write_table(compact_file, c);
        writes = counter.writes;
    }
    EXPECT_GT(writes, 2);
    const std::string bytes = file_bytes(plain_file.path);
    ASSERT_EQ(bytes.size(), file_bytes(compact_file.path).size());
    // The dBASE header carries the day of the write.
    const std::size_t from = std::string(GetParam()) == "dbf" ? 4 : 0;
    EXPECT_TRUE(bytes.compare(from, std::string::npos, file_bytes(compact_file.path), from, std::string::npos) == 0);
    EXPECT_TRUE(c.compact);
    const TableData back = read_table(compact_file, true);
    ASSERT_EQ(back.record_count(), static_cast<std::size_t>(kRecords));
    for (std::size_t r : {std::size_t{0}, std::size_t{12345}, std::size_t{kRecords - 1}})
        EXPECT_EQ(back.record(r), read_table(plain_file).records[r]) << r;
}

// A record that cannot be written, met after the first buffers are in the temporary file: the
// error names it, the file being replaced keeps its bytes, a new file is not made, and no
// temporary file stays.
TEST_P(StreamedWrite, ARecordThatCannotBeWrittenLateLeavesTheOldFileWhole)
{
    ScratchDir dir;
    const std::string name = std::string("t.") + GetParam();
    const ResolvedTable r = resolve_table(dir.path(name), TableType::Default);
    write_table(r, mixed_table(r, 3));
    const std::string before = file_bytes(r.path);

    TableData bad = compact_image(mixed_table(r, kRecords));
    Record rec = bad.record(kRecords - 10);
    rec[2] = std::string("甲乙丙丁");   // 8 bytes in a 6-byte field
    bad.set_record(kRecords - 10, rec);
    for (const std::string target_name : {name, std::string("new.") + GetParam()}) {
        SCOPED_TRACE(target_name);
        const ResolvedTable target = resolve_table(dir.path(target_name), TableType::Default);
        const std::string expected = GetParam() == std::string("db")
                                         ? target_name + ": record " + std::to_string(kRecords - 9) +
                                               ", field 'NOTE': the text '甲乙丙丁' is longer than 6 bytes"
                                         : "Value too long for field 'NOTE'";
        int writes = 0;
        std::string error;
        {
            WriteCounter counter;
            error = error_of([&] { write_table(target, bad); });
            writes = counter.writes;
        }
        EXPECT_EQ(error, expected);
        EXPECT_GT(writes, 1);   // the header and at least one buffer went out before the failure
        EXPECT_EQ(file_bytes(r.path), before);
        EXPECT_EQ(dir.files(), std::vector<std::string>{name});
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, StreamedWrite, ::testing::Values("db", "dbf"));
