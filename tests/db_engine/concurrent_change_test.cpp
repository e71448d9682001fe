// Another program changing a table while we have it open: a post, a deletion or a statement made
// from what we read never undoes its change, never lands on a record that moved into our place,
// and two copies of the program never interleave their writes.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "platform/db/dataset.h"
#include "platform/db/table_files.h"
#include "tests/db_engine/engine_test_util.h"

namespace vantelo::db {
namespace {

using testing_util::error_of;
using testing_util::q;
using testing_util::ScratchDir;

struct FormatCase {
    const char* name;
    const char* file;
};

class ConcurrentChange : public ::testing::TestWithParam<FormatCase> {
protected:
    void SetUp() override
    {
        path = dir.path(GetParam().file);
        testing_util::create_age_table(path, 5);
    }
    void open(Dataset& ds)
    {
        ds.set_table_name(path);
        ds.open();
    }
    // What the refusal says: the file's name, then the one message.
    std::string refusal() const
    {
        return std::string(GetParam().file) + ": " + changed_file_message;
    }
    ScratchDir dir;
    std::string path;
};

// Another program changes record 2 after we read it: our post of record 2 would undo that.
TEST_P(ConcurrentChange, APostDoesNotUndoAnotherProgramsChange)
{
    Dataset ours, theirs;
    open(ours);
    open(theirs);
    theirs.move_to(2);
    theirs.edit();
    theirs.field(1).set_as_float(999);
    theirs.post();
    const std::string changed = testing_util::file_bytes(path);

    ours.move_to(2);
    ours.edit();
    ours.field(1).set_as_float(1);
    EXPECT_EQ(error_of([&] { ours.post(); }), refusal());
    EXPECT_EQ(testing_util::file_bytes(path), changed);
    EXPECT_EQ(ours.state(), Dataset::State::Edit);   // the edit stays pending
    ours.cancel();
    EXPECT_EQ(ours.field(1).as_float(), 102);       // and the image as read
    // Reopened, the table can be changed again.
    ours.close();
    open(ours);
    ours.move_to(2);
    EXPECT_EQ(ours.field(1).as_float(), 999);
    ours.edit();
    ours.field(1).set_as_float(1);
    ours.post();
}

// Another program deletes record 1 and appends one, so the count is as before: record 3 is now
// what was record 4, and a post of record 3 must not land on it. An append, a deletion and the
// statements made from the old image are refused the same way.
TEST_P(ConcurrentChange, ARecordThatMovedIntoOurPlaceIsNotOverwritten)
{
    Dataset ours, theirs;
    open(ours);
    open(theirs);
    theirs.move_to(1);
    theirs.delete_record();
    theirs.append();
    theirs.field(0).set_as_integer(50);
    theirs.post();
    ASSERT_EQ(theirs.record_count(), 5);
    const std::string changed = testing_util::file_bytes(path);

    ours.move_to(3);
    ours.edit();
    ours.field(1).set_as_float(1);
    EXPECT_EQ(error_of([&] { ours.post(); }), refusal());
    ours.cancel();
    ours.append();
    ours.field(0).set_as_integer(60);
    EXPECT_EQ(error_of([&] { ours.post(); }), refusal());
    ours.cancel();
    EXPECT_EQ(error_of([&] { ours.delete_record(); }), refusal());
    EXPECT_EQ(testing_util::file_bytes(path), changed);
}

// A whole other table of the same fields and record count copied over ours.
TEST_P(ConcurrentChange, ATableCopiedOverOursIsNotWrittenThrough)
{
    Dataset ours;
    open(ours);
    ResolvedTable r = resolve_table(path, TableType::Default);
    TableData other = ours.data();
    for (auto& rec : other.records) rec[1] = 7.0;
    write_table(r, other);
    const std::string changed = testing_util::file_bytes(path);
    ours.edit();
    ours.field(0).set_as_integer(9);
    EXPECT_EQ(error_of([&] { ours.post(); }), refusal());
    EXPECT_EQ(testing_util::file_bytes(path), changed);
}

// dBASE: another program flags record 1 deleted without changing the record count; the
// record in our third place is now another.
TEST(ConcurrentChangeDbase, ARecordFlaggedDeletedMovesTheOthers)
{
    ScratchDir dir;
    const std::string path = dir.path("t.dbf");
    testing_util::create_age_table(path, 4);
    Dataset ours;
    ours.set_table_name(path);
    ours.open();
    std::string bytes = testing_util::file_bytes(path);
    // Header: 32 bytes, two descriptors, the end mark; records: the flag, N(11,0), N(20,10).
    const std::size_t header = 32 + 2 * 32 + 1, record = 1 + 11 + 20;
    bytes[header + record] = '*';
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    ours.move_to(2);
    ours.edit();
    ours.field(0).set_as_integer(20);
    EXPECT_EQ(error_of([&] { ours.post(); }), std::string("t.dbf: ") + changed_file_message);
    EXPECT_EQ(testing_util::file_bytes(path), bytes);
}

// A writer waits for the lock another copy of the program holds, then writes.
TEST_P(ConcurrentChange, AWriterWaitsForTheLockOfAnother)
{
    Dataset ours;
    open(ours);
    int fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    std::thread holder([fd] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::close(fd);
    });
    const auto start = std::chrono::steady_clock::now();
    ours.edit();
    ours.field(1).set_as_float(5);
    ours.post();
    const auto waited = std::chrono::steady_clock::now() - start;
    holder.join();
    EXPECT_GE(waited, std::chrono::milliseconds(250));
}

// Two processes each append 25 records, each time opening the table afresh: every append is
// either in the file or was refused, never lost or interleaved, and the table opens.
TEST_P(ConcurrentChange, TwoProcessesAppendingLoseNothing)
{
    const std::string counts = dir.path("counts");
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            int done = 0;
            for (int i = 0; i < 25; ++i) {
                try {
                    Dataset ds;
                    ds.set_table_name(path);
                    ds.open();
                    ds.append();
                    ds.field(0).set_as_integer(1000 * (c + 1) + i);
                    ds.post();
                    ++done;
                } catch (const Error&) {
                }
            }
            ::_exit(done);
        }
    }
    int total = 0;
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        total += WEXITSTATUS(status);
    }
    Dataset ds;
    open(ds);
    EXPECT_EQ(ds.record_count(), 5 + total);
    EXPECT_GT(total, 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, ConcurrentChange,
                         ::testing::Values(FormatCase{"Paradox", "t.db"}, FormatCase{"DBase", "t.dbf"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantelo::db
