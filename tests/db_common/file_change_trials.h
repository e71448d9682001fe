#pragma once
// Kill and write-error trials of a command that writes files, through the engine's fault seam
// (set_write_fault_hook): for every writing system call the command makes, a child process
// running the command is killed at that call, and the command is run with EIO and then ENOSPC
// injected at it. Each trial starts from the same folder and is judged by the caller; then a
// further write in the folder (the caller's next_write, best the same command again) must leave
// no temporary file behind. The runs themselves are those of fault_trials.h.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/db/atomic_file.h"
#include "tests/db_common/fault_trials.h"
#include "tests/db_common/temp_table_dir.h"

namespace vantelo::db::test_common {

using FolderFiles = std::map<std::string, std::string>;

// The files of a folder by name with their bytes, the writer's temporaries left out.
inline FolderFiles folder_files(const std::string& dir)
{
    FolderFiles out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (is_temporary(name)) continue;
        out[name] = e.is_regular_file() ? file_text(e.path().string()) : std::string("<not a file>");
    }
    return out;
}

// Puts a folder back to files: everything in it removed, then each of files written.
inline void restore_folder(const std::string& dir, const FolderFiles& files)
{
    for (const auto& e : std::filesystem::directory_iterator(dir)) std::filesystem::remove_all(e.path());
    for (const auto& [name, bytes] : files) std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
}

struct Trial {
    enum class End { Killed, Failed, Done };
    End end = End::Done;
    int call = 0;           // the call killed or made to fail (1-based), 0 for a run without either
    int error = 0;          // the errno injected, 0 for a kill
    std::string message;    // the error the command reported, "" when none
};

namespace file_change_detail {

// A trial that was not killed, from what its run reported (see run_here).
inline Trial reported_trial(const FaultRun& run, int call, int error)
{
    Trial t{Trial::End::Done, call, error, ""};
    if (run.reported.empty()) return t;
    t.end = Trial::End::Failed;
    t.message = run.reported.rfind(kRaised, 0) == 0 ? run.reported.substr(std::strlen(kRaised)) : run.reported;
    return t;
}

}  // namespace file_change_detail

// reset() puts the folder in its state before the command; run() is the command, raising on a
// failure. calls receives the names of the command's writing calls (counted on a first run).
// Returns the counts of the trials made.
inline TrialCounts run_write_trials(const std::string& dir, const std::function<void()>& reset,
                                    const std::function<void()>& run, const std::function<void(const Trial&)>& judge,
                                    const std::function<void()>& next_write, std::vector<std::string>* calls = nullptr)
{
    using file_change_detail::reported_trial;
    HookReset reset_hook;
    reset();
    const std::vector<std::string> names = writing_calls(run);
    if (calls) *calls = names;
    const int total = static_cast<int>(names.size());
    const ReportingCommand command = raising_command(run);
    TrialCounts counts;
    counts.calls = total;
    auto after_trial = [&](const Trial& t) {
        judge(t);
        next_write();
        EXPECT_EQ(temporaries_in(dir), std::vector<std::string>{})
            << "call " << t.call << " (" << (t.error ? "error" : "kill") << ")";
    };
    for (int n = 1; n <= total; ++n) {
        const std::string where = "call " + std::to_string(n) + " of " + std::to_string(total) + ": " + names[n - 1];
        SCOPED_TRACE(where);
        // A kill.
        reset();
        EXPECT_TRUE(run_in_child(command, n, 0, true, where).killed) << "not killed at call " << n;
        ++counts.kill_trials;
        after_trial(Trial{Trial::End::Killed, n, 0, ""});
        // An error at the call.
        for (int err : {EIO, ENOSPC}) {
            reset();
            const Trial t = reported_trial(run_here(command, n, err), n, err);
            ++counts.error_trials;
            ++(t.end == Trial::End::Failed ? counts.reported_failed : counts.reported_done);
            after_trial(t);
        }
    }
    // Without a fault.
    reset();
    const Trial t = reported_trial(run_here(command, 0, 0), 0, 0);
    EXPECT_EQ(t.message, "") << "the command fails without a fault";
    after_trial(t);
    return counts;
}

// Which state a file of the folder is in after a trial.
enum class Side { Before, After, Both };

// The side of every file of before and after in now (a file absent from a state is as that
// state when it is absent from now), each checked to be whole as before or as after, and no
// file of now of neither state.
inline std::map<std::string, Side> file_sides(const FolderFiles& before, const FolderFiles& after, const FolderFiles& now)
{
    auto state = [](const FolderFiles& f, const std::string& n) {
        auto it = f.find(n);
        return it == f.end() ? std::string("<none>") : it->second;
    };
    std::map<std::string, Side> out;
    for (const auto& [n, bytes] : now) EXPECT_TRUE(before.count(n) || after.count(n)) << "a file of neither state: " << n;
    for (const auto* side : {&before, &after})
        for (const auto& [n, bytes] : *side) {
            const std::string is = state(now, n), was = state(before, n), will = state(after, n);
            EXPECT_TRUE(is == was || is == will) << n << " is neither as before nor as after";
            out[n] = was == will ? Side::Both : is == was ? Side::Before : Side::After;
        }
    return out;
}

// The judgement of a failed or completed trial: a command that failed has changed nothing, one
// that completed has left every file as after. False for a killed one, left to the caller.
inline bool judge_reported(const Trial& t, const FolderFiles& before, const FolderFiles& after, const FolderFiles& now)
{
    if (t.end == Trial::End::Failed) {
        EXPECT_EQ(now, before) << "reported failed (" << t.message << "), yet changed";
        return true;
    }
    if (t.end == Trial::End::Done) {
        EXPECT_EQ(now, after) << "reported done, yet not complete";
        return true;
    }
    return false;
}

// The 1-based indexes in calls of the renames numbered first and last (1-based, counted among
// the renames); 0 where there is none.
inline std::pair<int, int> rename_calls(const std::vector<std::string>& calls, int first, int last)
{
    std::pair<int, int> out{0, 0};
    int renames = 0;
    for (int i = 0; i < static_cast<int>(calls.size()); ++i)
        if (calls[i] == "rename") {
            ++renames;
            if (renames == first) out.first = i + 1;
            if (renames == last) out.second = i + 1;
        }
    return out;
}

// The judgement of a trial of a command that writes its files as one change: see judge_reported;
// a killed one has left each file whole, as before or as after, and all of them on one side
// unless it was killed between the first and the last of the renames that put them in place
// (calls: the command's writing calls, filled in before the first trial).
inline std::function<void(const Trial&)> before_or_after(const std::string& dir, const FolderFiles& before,
                                                         const FolderFiles& after, const std::vector<std::string>& calls)
{
    return [&dir, &before, &after, &calls](const Trial& t) {
        const FolderFiles now = folder_files(dir);
        if (judge_reported(t, before, after, now)) return;
        const int renames = static_cast<int>(std::count(calls.begin(), calls.end(), "rename"));
        const auto [first, last] = rename_calls(calls, 1, renames);
        const bool between = first > 0 && t.call > first && t.call <= last;
        bool some_before = false, some_after = false;
        for (const auto& [n, side] : file_sides(before, after, now)) {
            some_before |= side == Side::Before;
            some_after |= side == Side::After;
        }
        EXPECT_TRUE(!(some_before && some_after) || between) << "files of both states after a kill at call " << t.call;
    };
}

// The trials of a save of one file (save(path) writes it), onto an existing file and onto a new
// name; returns the kills and errors tried.
inline TrialCounts single_file_save_trials(const std::string& file, const std::function<void(const std::string& path)>& save)
{
    TrialCounts total;
    for (const bool existing : {true, false}) {
        SCOPED_TRACE(existing ? "onto an existing file" : "a new name");
        TempTableDir dir;
        const std::string folder = dir.dir();
        FolderFiles before;
        if (existing) before = {{file, "an older and longer content of the file, to be replaced whole"}};
        auto reset = [&] { restore_folder(folder, before); };
        auto run = [&] { save(dir.path(file)); };
        reset();
        run();
        const FolderFiles after = folder_files(folder);
        std::vector<std::string> calls;
        const auto judge = before_or_after(folder, before, after, calls);
        // The next write is the same save again, as a user would retry it.
        auto next_write = [&] { EXPECT_NO_THROW(run()); };
        const TrialCounts counts = run_write_trials(folder, reset, run, judge, next_write, &calls);
        EXPECT_GT(counts.kill_trials, 0);
        total.calls += counts.calls;
        total.kill_trials += counts.kill_trials;
        total.error_trials += counts.error_trials;
        total.reported_failed += counts.reported_failed;
        total.reported_done += counts.reported_done;
    }
    return total;
}

}  // namespace vantelo::db::test_common
