// Another program changing a table while we have it open: a post, a deletion or a statement made
// from what we read never undoes its change, never lands on a record that moved into our place,
// and two copies of the program never interleave their writes.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
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

// Another program appends 3 records and changes record 10 of the table at path (of at least 11
// records), as a second copy of the program would.
void change_as_another_program(const std::string& path)
{
    Dataset theirs;
    theirs.set_table_name(path);
    theirs.open();
    for (int i = 0; i < 3; ++i) {
        theirs.append();
        theirs.field(0).set_as_integer(500 + i);
        theirs.field(1).set_as_float(5000 + i);
        theirs.post();
    }
    theirs.move_to(10);
    theirs.edit();
    theirs.field(1).set_as_float(-77);
    theirs.post();
}

// A batch (a computation over every record) writes the whole table at its end: another
// program's change to the file after we read it is never undone, whether it came before the
// batch began, during it, or while the batch's end waited for that program's lock. The end of
// the batch is refused, the file keeps the other program's records, and our dataset then holds
// the table as the file does, ready for the next change.
TEST_P(ConcurrentChange, ABatchDoesNotUndoAnotherProgramsChanges)
{
    enum class When { BeforeBatch, DuringBatch, WhileWaitingForTheLock };
    for (When when : {When::BeforeBatch, When::DuringBatch, When::WhileWaitingForTheLock}) {
        SCOPED_TRACE(static_cast<int>(when));
        const std::string table = dir.path(std::string("batch_") + GetParam().file);
        std::filesystem::remove(table);
        testing_util::create_age_table(table, 12);
        // The file as the other program leaves it, made on a copy first for the case where it
        // writes while holding its lock.
        const std::string copy = dir.path(std::string("copy_") + GetParam().file);
        std::filesystem::remove(copy);
        std::filesystem::copy_file(table, copy);
        change_as_another_program(copy);
        const std::string changed = testing_util::file_bytes(copy);

        Dataset ours;
        ours.set_table_name(table);
        ours.open();
        if (when == When::BeforeBatch) change_as_another_program(table);
        ours.begin_batch();
        for (ours.first(); !ours.eof(); ours.next()) {
            ours.edit();
            ours.field(1).set_as_float(ours.field(1).as_float() * 2);
        }
        if (when == When::DuringBatch) change_as_another_program(table);
        std::string refused;
        const std::string expected = when == When::WhileWaitingForTheLock ? changed : testing_util::file_bytes(table);
        if (when == When::WhileWaitingForTheLock) {
            int fd = ::open(table.c_str(), O_RDWR);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::flock(fd, LOCK_EX), 0);
            std::thread other([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                std::ofstream(table, std::ios::binary | std::ios::trunc) << changed;   // in place, under its lock
                ::close(fd);
            });
            refused = error_of([&] { ours.end_batch(); });
            other.join();
        } else {
            refused = error_of([&] { ours.end_batch(); });
        }
        EXPECT_EQ(refused, std::string("batch_") + refusal());
        EXPECT_EQ(testing_util::file_bytes(table), expected);

        // The dataset holds the table as the file does: 15 records, record 10 as changed, ours undone.
        EXPECT_FALSE(ours.in_batch());
        EXPECT_EQ(ours.state(), Dataset::State::Browse);
        ASSERT_EQ(ours.record_count(), 15);
        EXPECT_EQ(ours.value_at(10, 1), Value{-77.0});
        EXPECT_EQ(ours.value_at(3, 1), Value{103.0});
        EXPECT_EQ(ours.value_at(14, 0), Value{std::int64_t{502}});
        // And the next change is written.
        ours.move_to(3);
        ours.edit();
        ours.field(1).set_as_float(1);
        ours.post();
        Dataset check;
        check.set_table_name(table);
        check.open();
        EXPECT_EQ(check.record_count(), 15);
        EXPECT_EQ(check.value_at(3, 1), Value{1.0});
        EXPECT_EQ(check.value_at(10, 1), Value{-77.0});
    }
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
