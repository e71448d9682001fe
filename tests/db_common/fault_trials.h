#pragma once
// Fault trials of one command that writes files: the writing system calls it makes are recorded
// through the engine's fault seam (set_write_fault_hook), then the command is run again from
// the same starting state once per call with that call failing (EIO, ENOSPC), and once per call
// in a forked child killed at that call. After every trial each file the command may touch
// must read as it was before the command or as it is after a clean run; a run that reported
// failure must have changed nothing, one that reported success must be complete, and the next
// write in the folder must leave no temporary file behind. Nothing here is timed and nothing
// depends on the scheduler: the faults fall at exact calls.
//
// The caller gives:
//   setup     puts the files back into the starting state (called before every trial);
//   command   runs the command; returns "" when it reported success, else the text of what it
//             reported (an exception it lets out counts as a reported failure, its what());
//   snapshot  the state of the files as a comparable text (raises when a file does not open),
//             for instance describe_table() of each table, or "absent" for a missing file.
// Example:
//   FaultTrials t;
//   t.folder = dir.dir();
//   t.setup = [&] { put_input_table(path, format); };
//   t.command = [&] { run_the_command(path); return std::string(); };
//   t.snapshot = [&] { return describe_table_file(path); };
//   TrialCounts n = run_fault_trials(t);
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/db/atomic_file.h"
#include "platform/db/table_data.h"
#include "platform/db/table_files.h"

namespace vantelo::db::test_common {

struct FaultTrials {
    std::string folder;                              // where the command's files (and temporaries) are
    std::function<void()> setup;
    std::function<std::string()> command;
    std::function<std::string()> snapshot;
    // Called with what a failed run reported (to check its message); may be empty.
    std::function<void(const std::string& reported)> on_failure;
    std::vector<int> errors{EIO, ENOSPC};
    bool kills = true;
    // Every run (not only the killed ones) in a forked child of its own: for a command that
    // needs state of its own, such as a QApplication made in the child (the parent must then
    // have none). setup and snapshot still run in the parent; on_failure sees only the text.
    bool in_child = false;
};

struct TrialCounts {
    int calls = 0;             // writing system calls of a clean run
    int error_trials = 0;      // runs with one call failing
    int kill_trials = 0;       // runs killed at one call
    int reported_failed = 0;   // error trials the command reported as failed
    int reported_done = 0;     // error trials it reported as done (a failure it could not see)
};

// Prints the counts of a command's trials (for the record of a test run).
inline void print_trial_counts(const std::string& what, const TrialCounts& n)
{
    std::printf("[trials] %s: %d writing calls, %d error trials (%d reported failed, %d done), %d kills\n", what.c_str(),
                n.calls, n.error_trials, n.reported_failed, n.reported_done, n.kill_trials);
}

// A table's fields and records as text, for comparing states (two images that are the same
// table give the same text).
inline std::string describe_table(const TableData& t)
{
    std::ostringstream out;
    for (const FieldDef& f : t.fields) out << f.name << ':' << static_cast<int>(f.type) << ':' << f.size << ';';
    out << '\n';
    for (std::size_t r = 0; r < t.record_count(); ++r) {
        for (std::size_t c = 0; c < t.fields.size(); ++c) {
            const Value v = t.value(r, c);
            if (is_null(v)) out << "<null>";
            else if (auto s = std::get_if<std::string>(&v)) out << 's' << *s;
            else if (auto d = std::get_if<double>(&v)) {
                char buf[40];
                std::snprintf(buf, sizeof buf, "d%.17g", *d);
                out << buf;
            } else if (auto n = std::get_if<std::int64_t>(&v)) out << 'i' << *n;
            else if (auto b = std::get_if<bool>(&v)) out << (*b ? "T" : "F");
            else out << "date";
            out << '|';
        }
        out << '\n';
    }
    return out.str();
}

// The table at path described as above, or "absent" when there is no such file; a file that
// does not open raises.
inline std::string describe_table_file(const std::string& path)
{
    if (!std::filesystem::exists(path)) return "absent";
    return describe_table(read_table(resolve_table(path, TableType::Default), true));
}

// The names of the writing system calls run makes, in order.
inline std::vector<std::string> writing_calls(const std::function<void()>& run)
{
    std::vector<std::string> names;
    set_write_fault_hook([&](const char* call) {
        names.emplace_back(call);
        return 0;
    });
    try {
        run();
    } catch (...) {
        set_write_fault_hook({});
        throw;
    }
    set_write_fault_hook({});
    return names;
}

// Whether a file name is one of the writer's temporaries.
inline bool is_temporary(const std::string& name) { return name.rfind(".vantelo-", 0) == 0; }

// The names of the writer's temporaries in folder.
inline std::vector<std::string> temporaries_in(const std::string& folder)
{
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (is_temporary(name)) out.push_back(name);
    }
    return out;
}

// What a command reports, as the runs below take it: "" when it succeeded, else the text of
// what it reported; what it raised is reported as kRaised and its what().
using ReportingCommand = std::function<std::string()>;
inline constexpr char kRaised[] = "exception: ";

// A command that reports by raising (std::exception) or returning, as a reporting command.
inline ReportingCommand raising_command(const std::function<void()>& run)
{
    return [run] {
        run();
        return std::string();
    };
}

// One run of a command: with no fault, with error err at writing call n (1-based), or killed
// at call n.
struct FaultRun {
    std::string reported;
    std::vector<std::string> calls;   // the writing calls it made, in order
    bool killed = false;
};

namespace fault_trials_detail {

inline std::string run_reported(const ReportingCommand& command)
{
    try {
        return command();
    } catch (const std::exception& e) {
        return kRaised + std::string(e.what());
    } catch (...) {
        return "exception";
    }
}

inline std::string snapshot_or_error(const FaultTrials& t, bool& opened)
{
    try {
        opened = true;
        return t.snapshot();
    } catch (const std::exception& e) {
        opened = false;
        return std::string("does not open: ") + e.what();
    }
}

// The next write in the folder (a small file written and removed) takes a killed writer's
// temporaries with it; afterwards none may be left.
inline void expect_no_temporaries_after_next_write(const std::string& folder, const std::string& where)
{
    const std::string probe = folder + "/next-write.probe";
    write_file_atomically(probe, std::vector<unsigned char>{'x'});
    std::filesystem::remove(probe);
    const std::vector<std::string> left = temporaries_in(folder);
    EXPECT_TRUE(left.empty()) << where << ": temporary file left: " << (left.empty() ? "" : left.front());
}

inline WriteFaultHook fault_at(std::vector<std::string>& calls, int n, int err, bool kill)
{
    return [&calls, n, err, kill](const char* call) {
        calls.emplace_back(call);
        if (static_cast<int>(calls.size()) != n) return 0;
        if (kill) ::raise(SIGKILL);
        return err;
    };
}

}  // namespace fault_trials_detail

// Resets the write fault hook when it goes, whatever happens.
struct HookReset {
    ~HookReset() { set_write_fault_hook({}); }
};

// The command run here, its writing call n failing with err (n = 0: no fault).
inline FaultRun run_here(const ReportingCommand& command, int n, int err)
{
    FaultRun r;
    set_write_fault_hook(fault_trials_detail::fault_at(r.calls, n, err, false));
    r.reported = fault_trials_detail::run_reported(command);
    set_write_fault_hook({});
    return r;
}

// The command run in a forked child, its writing call n failing with err or, with kill, the
// child killed (SIGKILL) at that call; the child sends back what it reported and its calls
// through a pipe. where names the run in the failures reported.
inline FaultRun run_in_child(const ReportingCommand& command, int n, int err, bool kill, const std::string& where)
{
    using namespace fault_trials_detail;
    FaultRun r;
    int fds[2];
    if (::pipe(fds) != 0) {
        ADD_FAILURE() << where << ": pipe failed";
        return r;
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        ADD_FAILURE() << where << ": fork failed";
        ::close(fds[0]);
        ::close(fds[1]);
        return r;
    }
    if (child == 0) {
        ::close(fds[0]);
        std::vector<std::string> calls;
        set_write_fault_hook(fault_at(calls, n, err, kill));
        std::string out = run_reported(command);
        set_write_fault_hook({});
        out.push_back('\0');
        for (const std::string& c : calls) out += c + '\n';
        for (std::size_t done = 0; done < out.size();) {
            const ssize_t w = ::write(fds[1], out.data() + done, out.size() - done);
            if (w <= 0) ::_exit(4);
            done += static_cast<std::size_t>(w);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string in;
    char buf[4096];
    for (ssize_t got; (got = ::read(fds[0], buf, sizeof buf)) != 0;) {
        if (got < 0) {
            if (errno == EINTR) continue;
            break;
        }
        in.append(buf, static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child) {
        ADD_FAILURE() << where << ": waitpid failed";
        return r;
    }
    r.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (!r.killed) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << where << ": the child ended with status " << status;
        const std::size_t end = in.find('\0');
        r.reported = in.substr(0, end);
        if (end != std::string::npos) {
            std::istringstream lines(in.substr(end + 1));
            for (std::string line; std::getline(lines, line);) r.calls.push_back(line);
        }
    }
    return r;
}

// Runs every trial; the failures are reported through GoogleTest with the call and the fault.
// Returns the counts. The clean run must succeed and must change the files.
inline TrialCounts run_fault_trials(const FaultTrials& t)
{
    using namespace fault_trials_detail;
    HookReset reset;
    TrialCounts counts;

    t.setup();
    const std::string before = t.snapshot();
    const FaultRun clean = t.in_child ? run_in_child(t.command, 0, 0, false, "the clean run") : run_here(t.command, 0, 0);
    EXPECT_EQ(clean.reported, "") << "the command fails without any fault";
    const std::string after = t.snapshot();
    EXPECT_NE(before, after) << "the command changes nothing";
    const std::vector<std::string>& calls = clean.calls;
    counts.calls = static_cast<int>(calls.size());
    EXPECT_GT(counts.calls, 0) << "the command makes no writing call";

    for (int n = 1; n <= counts.calls; ++n) {
        const std::string call = calls[static_cast<std::size_t>(n - 1)];
        for (int err : t.errors) {
            const std::string where = "error " + std::to_string(err) + " at call " + std::to_string(n) + " (" + call + ")";
            t.setup();
            const FaultRun run = t.in_child ? run_in_child(t.command, n, err, false, where) : run_here(t.command, n, err);
            ++counts.error_trials;
            bool opened = false;
            const std::string now = snapshot_or_error(t, opened);
            EXPECT_TRUE(opened) << where << ": " << now;
            if (run.reported.empty()) {
                ++counts.reported_done;
                EXPECT_EQ(now, after) << where << ": reported done, yet not complete";
            } else {
                ++counts.reported_failed;
                EXPECT_EQ(now, before) << where << ": reported failed (" << run.reported << "), yet changed";
                if (t.on_failure) {
                    SCOPED_TRACE(where);
                    t.on_failure(run.reported);
                }
            }
            expect_no_temporaries_after_next_write(t.folder, where);
        }
        if (!t.kills) continue;
        const std::string where = "kill at call " + std::to_string(n) + " (" + call + ")";
        t.setup();
        const FaultRun run = run_in_child(t.command, n, 0, true, where);
        ++counts.kill_trials;
        EXPECT_TRUE(run.killed) << where << ": the child was not killed";
        bool opened = false;
        const std::string now = snapshot_or_error(t, opened);
        EXPECT_TRUE(opened) << where << ": " << now;
        EXPECT_TRUE(now == before || now == after) << where << ": neither before nor after:\n" << now;
        expect_no_temporaries_after_next_write(t.folder, where);
    }
    return counts;
}

}  // namespace vantelo::db::test_common
