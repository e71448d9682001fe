// Every change to a table either happens whole or not at all: a write error at any writing
// system call leaves the file as it was (and reports it), a kill at any of them leaves a table
// that opens as it was before or after, and the temporary files of a killed writer go with the
// next write in their folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/db/atomic_file.h"
#include "platform/db/dataset.h"
#include "platform/db/dbase.h"
#include "platform/db/paradox.h"
#include "platform/db/table_files.h"
#include "tests/db_common/fault_trials.h"
#include "tests/db_engine/engine_test_util.h"

namespace vantelo::db {
namespace {

using testing_util::error_of;
using testing_util::q;
using testing_util::ScratchDir;
using HookGuard = test_common::HookReset;

void put_file(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A table of n records: an age and a population.
TableData age_table(std::size_t n)
{
    TableData t;
    t.fields = {test_common::field("AGE", FieldType::Integer), test_common::field("POP", FieldType::Float)};
    for (std::size_t i = 0; i < n; ++i)
        t.records.push_back(Record{static_cast<std::int64_t>(i % 100), static_cast<double>(i) * 0.5});
    return t;
}

std::string make_table(const ScratchDir& dir, TableFormat format, std::size_t n)
{
    ResolvedTable r{dir.path(format == TableFormat::Paradox ? "t.db" : "t.dbf"), format};
    TableData t = age_table(n);
    t.fields = fields_for_format(t.fields, format);
    write_table(r, t);
    return r.path;
}

bool temporaries_left(const ScratchDir& dir) { return !test_common::temporaries_in(dir.dir()).empty(); }

// The changes tried: each a whole action as the program runs it on the table at path.
struct Change {
    const char* name;
    std::function<void(const std::string& path)> run;
};

void post_first(const std::string& path)
{
    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    ds.edit();
    ds.field(1).set_as_float(-7.25);
    ds.post();
}

void append_one(const std::string& path)
{
    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    ds.append();
    ds.field(0).set_as_integer(42);
    ds.field(1).set_as_float(3.5);
    ds.post();
}

void delete_first(const std::string& path)
{
    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    ds.delete_record();
}

const std::vector<Change>& changes()
{
    static const std::vector<Change> list = {
        {"post", post_first},
        {"append", append_one},
        {"add field", [](const std::string& p) { execute_statement("alter table " + q(p) + " add EXTRA integer"); }},
        {"drop field", [](const std::string& p) { execute_statement("alter table " + q(p) + " drop POP"); }},
        {"delete", delete_first},
    };
    return list;
}

TableData read_at(const std::string& path, TableFormat format) { return read_table(ResolvedTable{path, format}); }

// Where the state after a change is kept: t.db -> t_after.db.
std::string after_copy(const std::string& path)
{
    const std::string ext = file_extension(path);
    return path.substr(0, path.size() - ext.size()) + "_after" + ext;
}

// The state a change leads to, from a copy of the table; calls receives the names of its
// writing system calls.
TableData state_after(const Change& c, const std::string& path, TableFormat format,
                      std::vector<std::string>* calls = nullptr)
{
    const std::string copy = after_copy(path);
    std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
    std::vector<std::string> names = test_common::writing_calls([&] { c.run(copy); });
    if (calls) *calls = names;
    return read_at(copy, format);
}

class WriteSafety : public ::testing::TestWithParam<TableFormat> {};

// Write error injected at each writing system call in turn: a change that reports failure has
// left the file byte for byte as it was; one that reports success reads as after; no temporary
// file stays behind either way.
TEST_P(WriteSafety, AFailedWriteChangesNothing)
{
    HookGuard guard;
    for (const Change& c : changes()) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string path = make_table(dir, GetParam(), 300);
        const std::string before = testing_util::file_bytes(path);
        const TableData after = state_after(c, path, GetParam());
        int failed = 0;
        for (int n = 1;; ++n) {
            put_file(path, before);
            int calls = 0;
            set_write_fault_hook([&](const char*) { return ++calls == n ? EIO : 0; });
            std::string error = error_of([&] { c.run(path); });
            set_write_fault_hook({});
            EXPECT_FALSE(temporaries_left(dir)) << "fault at call " << n;
            if (calls < n) {
                EXPECT_EQ(error, "") << "no fault injected, yet an error";
                EXPECT_TRUE(same_table(read_at(path, GetParam()), after));
                break;
            }
            if (error.empty()) {
                // Only a failed flush of the folder after the rename is not an error: the file
                // has changed by then.
                EXPECT_TRUE(same_table(read_at(path, GetParam()), after)) << "fault at call " << n;
            } else {
                ++failed;
                EXPECT_EQ(testing_util::file_bytes(path), before) << "fault at call " << n << ": " << error;
            }
            ASSERT_LT(n, 40);
        }
        EXPECT_GT(failed, 0);
    }
}

// Every change flushes what it wrote before it reports success: an in-place change flushes the
// file, a rewrite the new file before its rename and the folder after it.
TEST_P(WriteSafety, EveryChangeIsFlushedBeforeItIsReported)
{
    HookGuard guard;
    for (const Change& c : changes()) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string path = make_table(dir, GetParam(), 30);
        const std::vector<std::string> calls = test_common::writing_calls([&] { c.run(path); });
        ASSERT_FALSE(calls.empty());
        auto rename = std::find(calls.begin(), calls.end(), "rename");
        if (rename == calls.end()) {
            EXPECT_EQ(calls.back(), "fdatasync");
        } else {
            EXPECT_NE(std::find(calls.begin(), rename, "fsync"), rename) << "new file not flushed before the rename";
            ASSERT_NE(rename + 1, calls.end());
            EXPECT_EQ(rename[1], "fsync") << "folder not flushed after the rename";
        }
    }
}

// What the next write removes from its folder: only our temporaries that no live writer holds
// (a writer locks its temporary file for as long as it writes), and only of our exact pattern.
TEST(TemporaryFiles, OnlyDeadWritersTemporariesAreRemoved)
{
    ScratchDir dir;
    const std::string path = make_table(dir, TableFormat::Paradox, 3);
    for (const char* name : {".vantelo-dead01", ".vantelo-live01", ".vantelo-long012", ".vantelo-ab.cde", "vantelo-dead02",
                             ".Vantelo-dead03"})
        put_file(dir.path(name), "x");
    int live = ::open(dir.path(".vantelo-live01").c_str(), O_RDWR);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    post_first(path);
    ::close(live);
    EXPECT_EQ(dir.files(), (std::vector<std::string>{".Vantelo-dead03", ".vantelo-ab.cde", ".vantelo-live01",
                                                     ".vantelo-long012", "t.db", "vantelo-dead02"}));
}

// The calls a kill is tried at, from the names of a change's writing calls in order: every
// call that begins or ends a run of like calls, and the middle one of a longer run (a rewrite of
// a large dBASE table writes it in some hundred pieces, all alike).
std::vector<int> kill_points(const std::vector<std::string>& calls)
{
    std::vector<int> out;
    const int total = static_cast<int>(calls.size());
    int run_start = 0;
    for (int i = 0; i < total; ++i) {
        if (i > 0 && calls[i] != calls[i - 1]) run_start = i;
        int run_end = i;
        while (run_end + 1 < total && calls[run_end + 1] == calls[i]) ++run_end;
        if (i == run_start || i == run_end || i == (run_start + run_end) / 2) out.push_back(i + 1);
    }
    return out;
}

// The sanitizer build, many times slower, runs the kill test on a tenth of the table.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kKillTestRecords = 20000;
#else
constexpr std::size_t kKillTestRecords = 200000;
#endif

// kill -9 at the writing system calls of each change, in a child process working on a table of
// 200,000 records: after every kill the table opens and holds the state before or after the
// change, and the killed writer's temporary file is gone after the next write. A child run
// past its last call shows the change itself completes.
TEST_P(WriteSafety, KilledAtAnyWriteTheTableIsBeforeOrAfter)
{
    const bool shm = std::filesystem::is_directory("/dev/shm") && ::access("/dev/shm", W_OK) == 0;
    ScratchDir dir(shm ? std::string("/dev/shm") : std::filesystem::temp_directory_path().string());
    const std::string path = make_table(dir, GetParam(), kKillTestRecords);
    const std::string original = testing_util::file_bytes(path);
    const TableData before = read_at(path, GetParam());
    const std::string before_bytes = original;
    int kills = 0;
    for (const Change& c : changes()) {
        if (std::string(c.name) == "delete") continue;   // the same rewrite as adding a field
        SCOPED_TRACE(c.name);
        std::vector<std::string> calls;
        put_file(path, original);
        const TableData after = state_after(c, path, GetParam(), &calls);
        const int total = static_cast<int>(calls.size());
        const std::string after_bytes = testing_util::file_bytes(after_copy(path));
        std::vector<int> points = kill_points(calls);
        points.push_back(total + 1);   // not killed
        for (int n : points) {
            put_file(path, original);
            const std::string where = "call " + std::to_string(n) + " of " + std::to_string(total);
            const test_common::FaultRun run =
                test_common::run_in_child(test_common::raising_command([&] { c.run(path); }), n, 0, true, where);
            const bool killed = run.killed;
            ASSERT_EQ(killed, n <= total) << where;
            if (!killed) {
                ASSERT_EQ(run.reported, "");
            }
            // A file byte for byte as before or after opens as that; any other must open as one.
            const std::string bytes = testing_util::file_bytes(path);
            if (bytes != before_bytes && bytes != after_bytes) {
                TableData now;
                ASSERT_NO_THROW(now = read_at(path, GetParam())) << "killed at call " << n;
                EXPECT_TRUE(same_table(now, before) || same_table(now, after)) << "killed at call " << n;
                if (!killed) {
                    EXPECT_TRUE(same_table(now, after));
                }
            } else if (!killed) {
                EXPECT_EQ(bytes, after_bytes);
            }
            // The next write in the folder removes what the killed writer left.
            write_table(ResolvedTable{dir.path("next.dbf"), TableFormat::DBase}, age_table(1));
            EXPECT_FALSE(temporaries_left(dir)) << "killed at call " << n;
            kills += killed ? 1 : 0;
        }
    }
    EXPECT_GE(kills, 15);
}

// A change of several files that fails at its last step puts back every step before it: a
// file replaced (its old bytes and permissions, kept by a second hard link or, where the folder
// takes none, by a copy), a file removed, a file that was new; and leaves no temporary file.
TEST(SeveralFiles, AFailureAtTheLastStepPutsBackEveryStepBeforeIt)
{
    HookGuard guard;
    for (const bool links : {true, false}) {
        SCOPED_TRACE(links ? "hard links" : "no hard links");
        ScratchDir dir;
        put_file(dir.path("a.txt"), "old a");
        ::chmod(dir.path("a.txt").c_str(), 0640);
        put_file(dir.path("gone.txt"), "old gone");
        put_file(dir.path("z.txt"), "old z");
        int renames = 0;
        set_write_fault_hook([&](const char* call) {
            if (!links && std::string(call) == "link") return EPERM;
            return std::string(call) == "rename" && ++renames == 4 ? EIO : 0;
        });
        FileSetChange change;
        change.write(dir.path("a.txt"), {'n', 'e', 'w'});
        change.remove(dir.path("gone.txt"));
        change.write(dir.path("b.txt"), {'n', 'e', 'w'});
        change.write(dir.path("z.txt"), {'n', 'e', 'w'});
        const std::string error = error_of([&] { change.commit(); });
        set_write_fault_hook({});
        EXPECT_EQ(error, "Cannot write file " + dir.path("z.txt") + ": " + std::strerror(EIO));
        EXPECT_EQ(dir.files(), (std::vector<std::string>{"a.txt", "gone.txt", "z.txt"}));
        EXPECT_EQ(testing_util::file_bytes(dir.path("a.txt")), "old a");
        EXPECT_EQ(testing_util::file_bytes(dir.path("gone.txt")), "old gone");
        EXPECT_EQ(testing_util::file_bytes(dir.path("z.txt")), "old z");
        EXPECT_EQ(std::filesystem::status(dir.path("a.txt")).permissions(),
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read);
        // Without the fault the same change completes, and keeps the permissions.
        FileSetChange again;
        again.write(dir.path("a.txt"), {'n', 'e', 'w'});
        again.remove(dir.path("gone.txt"));
        again.commit();
        EXPECT_EQ(dir.files(), (std::vector<std::string>{"a.txt", "z.txt"}));
        EXPECT_EQ(testing_util::file_bytes(dir.path("a.txt")), "new");
        EXPECT_EQ(std::filesystem::status(dir.path("a.txt")).permissions(),
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read);
    }
    // A change that is never committed changes nothing and leaves nothing behind.
    ScratchDir dir;
    put_file(dir.path("a.txt"), "old a");
    {
        FileSetChange change;
        change.write(dir.path("a.txt"), {'n'});
        change.write(dir.path("b.txt"), {'n'});
        change.remove(dir.path("a.txt.none"));
    }
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(testing_util::file_bytes(dir.path("a.txt")), "old a");
}

// A file made new is never put over one that another program made at that name while the
// change was being written: the change fails, the other program's file stays, nothing is left.
TEST(SeveralFiles, ANewFileNeverReplacesOneMadeMeanwhile)
{
    ScratchDir dir;
    put_file(dir.path("a.txt"), "old a");
    FileSetChange change;
    change.write(dir.path("a.txt"), {'n', 'e', 'w'});
    change.write(dir.path("new.db"), {'o', 'u', 'r', 's'});
    put_file(dir.path("new.db"), "theirs");
    const std::string error = error_of([&] { change.commit(); });
    EXPECT_EQ(error, "Cannot write file " + dir.path("new.db") + ": " + std::strerror(EEXIST));
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"a.txt", "new.db"}));
    EXPECT_EQ(testing_util::file_bytes(dir.path("a.txt")), "old a");
    EXPECT_EQ(testing_util::file_bytes(dir.path("new.db")), "theirs");
}

// A writer killed while it kept an old file under a second name (a hard link, so that it could
// put it back) leaves that name behind: the next write of that very file removes it and
// replaces the file, rather than refusing it for its two links.
TEST(SeveralFiles, AKilledWritersSecondLinkDoesNotBlockTheNextWrite)
{
    ScratchDir dir;
    put_file(dir.path("a.txt"), "old a");
    put_file(dir.path("b.txt"), "old b");
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        bool linked = false;
        set_write_fault_hook([&](const char* call) {
            if (linked && std::string(call) == "rename") ::raise(SIGKILL);
            linked |= std::string(call) == "link";
            return 0;
        });
        FileSetChange change;
        change.write(dir.path("a.txt"), {'n', 'e', 'w'});
        change.write(dir.path("b.txt"), {'n', 'e', 'w'});
        change.commit();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(temporaries_left(dir));
    EXPECT_EQ(testing_util::file_bytes(dir.path("a.txt")), "old a");
    write_file_atomically(dir.path("a.txt"), {'n', 'e', 'w'});
    EXPECT_EQ(testing_util::file_bytes(dir.path("a.txt")), "new");
    EXPECT_FALSE(temporaries_left(dir));
}

INSTANTIATE_TEST_SUITE_P(Formats, WriteSafety, ::testing::Values(TableFormat::Paradox, TableFormat::DBase),
                         [](const auto& info) { return info.param == TableFormat::Paradox ? "Paradox" : "DBase"; });

}  // namespace
}  // namespace vantelo::db
