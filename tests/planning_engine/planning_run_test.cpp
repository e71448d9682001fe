#include <gtest/gtest.h>

#include <fstream>

#include "planning/engine/planning_run.h"
#include "planning_fixture.h"
#include "platform/db/atomic_file.h"
#include "tests/db_common/file_change_trials.h"

namespace vantelo::planning {
namespace {

using testing_support::SeededRandom;
using testing_support::SyntheticTable;
using test_support::TempDir;

struct PlanningRun : testing::Test {
    SyntheticTable table;
    TempDir dir;
    PlanningData data;
    PlanningInputs in;
    SeededRandom random;
    SearchRandom source = random.source();

    void SetUp() override
    {
        data.asfr = table.column("ASFR");
        in.field_texts = {"PM", "PF", "MM", "MF"};
        in.from_year = 1990;
        in.to_year = 1992;
        in.read_column = [this](const std::string& f) { return table.column(f); };
        in.population_target_text = "165000";
        in.params.edit1 = "30";
        in.params.edit10 = "6";
        in.report_dir = dir.path().string();
    }

    std::string refusal()
    {
        try {
            run_target_planning(data, in, source, PlanningProgress{});
        } catch (const InputMessage& m) {
            return m.what();
        }
        return "(no refusal)";
    }
};

TEST_F(PlanningRun, RefusalsComeBeforeAnythingIsComputed)
{
    in.field_texts[3] = "";
    EXPECT_EQ(refusal(), "Not enough variable selected!");
    in.field_texts[3] = "MF";
    in.to_year = 1990;
    EXPECT_EQ(refusal(), "Please Redefine the Restrospect Years Aagain!");
    EXPECT_TRUE(data.male.pop.empty());
    in.to_year = 1992;
    in.params.edit12 = "1.0";
    EXPECT_EQ(refusal(), "Fertility rates of ages 15-49 cannot be searched!");
    in.params.edit12 = "2.0";
    data.asfr[49] = 0;
    EXPECT_EQ(refusal(), "Fertility rates of ages 15-49 cannot be searched!");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "TFR0.txt"));
}

TEST_F(PlanningRun, ErrorsOfTheInputsEndTheRun)
{
    PlanningData empty_asfr;
    EXPECT_THROW(run_target_planning(empty_asfr, in, source, PlanningProgress{}), RangeError);
    in.population_target_text = "1,3e9";
    EXPECT_THROW(run_target_planning(data, in, source, PlanningProgress{}), ConvertError);
    in.population_target_text = "165000";
    in.to_year = 1990 + 60;  // without births no woman is left in ages 15..49 after 50 years
    EXPECT_THROW(run_target_planning(data, in, source, PlanningProgress{}), InvalidOpError);
    in.to_year = 1992;
    table.fields["PM"].resize(70);
    table.fields["PF"].resize(70);
    table.fields["MM"].resize(70);
    table.fields["MF"].resize(70);
    EXPECT_THROW(run_target_planning(data, in, source, PlanningProgress{}), RangeError);
}

TEST_F(PlanningRun, EachYearIsSearchedAndWrittenInItsOrder)
{
    std::vector<std::string> events;
    PlanningProgress progress;
    progress.search.run_started = [&](int r) { if (r == 0) events.push_back("run0"); };
    progress.year_counts = [&](int kept) {
        events.push_back("counts");
        EXPECT_GE(kept, 1);
    };
    progress.year_summary = [&](const YearResult&) {
        // The year files are written together after the last year.
        events.push_back(std::filesystem::exists(dir.path() / ("TFR" + std::to_string(events.size() / 4) + ".txt"))
                             ? "summary after file"
                             : "summary before file");
    };
    progress.year_chart = [&](const YearResult& y, const std::array<double, gene_count>& reference) {
        events.push_back("chart");
        EXPECT_EQ(reference[0], data.asfr[15]);
        EXPECT_GT(y.mean_tfr, 0);
    };
    run_target_planning(data, in, source, progress);
    EXPECT_EQ(events, (std::vector<std::string>{"run0", "counts", "summary before file", "chart", "run0", "counts",
                                                "summary before file", "chart"}));
    EXPECT_EQ(data.plan_year_count, 2);
    // Two years on without births: ages 0 and 1 are empty.
    EXPECT_EQ(data.male.pop[0], 0);
    EXPECT_EQ(data.female.pop[1], 0);
    EXPECT_GT(data.female.pop[2], 0);
    for (int j = 0; j < 2; ++j) {
        std::ifstream f(dir.path() / ("TFR" + std::to_string(j) + ".txt"), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(f)), {});
        std::size_t lines = 0;
        for (std::size_t p = 0; (p = text.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
        EXPECT_EQ(lines, 47u + 2 * 2);
        EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
        EXPECT_NE(text.find("\r\n male survive\r\n"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "TFR2.txt"));
}

// The year files are one change: when the file of one year cannot be written (a read-only
// TFR1.txt, a folder named TFR1.txt), the run fails with an input/output error and the files of
// the other years are left as they were, not replaced beside an old file of another run.
TEST_F(PlanningRun, WhenOneYearFileCannotBeWrittenNoneIsChanged)
{
    for (const bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "a folder" : "read-only");
        TempDir d;
        in.report_dir = d.path().string();
        std::ofstream(d.path() / "TFR0.txt") << "old 0";
        if (folder) {
            std::filesystem::create_directory(d.path() / "TFR1.txt");
        } else {
            std::ofstream(d.path() / "TFR1.txt") << "old 1";
            std::filesystem::permissions(d.path() / "TFR1.txt", std::filesystem::perms::owner_read);
        }
        EXPECT_THROW(run_target_planning(data, in, source, PlanningProgress{}), InOutError);
        std::ifstream f(d.path() / "TFR0.txt", std::ios::binary);
        EXPECT_EQ(std::string((std::istreambuf_iterator<char>(f)), {}), "old 0");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(d.path()), {}), 2);
    }
}

// A run killed or failing (EIO, ENOSPC) at each writing call of its year files, onto the files
// of an earlier run and into an empty folder: a failed run has changed no file, a completed one
// has written every year, a killed one has left the files all as before or all as after (only
// a kill between two renames leaves some of each), and the same run made again completes and
// leaves no temporary file.
TEST_F(PlanningRun, KilledOrFailingWhileWritingTheYearFilesTheyAreBeforeOrAfter)
{
    const db::test_common::HookReset reset_hook;
    for (const bool earlier : {true, false}) {
        SCOPED_TRACE(earlier ? "onto an earlier run's files" : "into an empty folder");
        TempDir d;
        const std::string folder = d.path().string();
        in.report_dir = folder;
        in.to_year = 1993;
        db::test_common::FolderFiles before;
        if (earlier) before = {{"TFR0.txt", "old 0"}, {"TFR1.txt", "old 1"}, {"TFR2.txt", "old 2"}};
        auto reset = [&] { db::test_common::restore_folder(folder, before); };
        auto run = [&] {
            SeededRandom r;
            const SearchRandom src = r.source();
            PlanningData fresh;
            fresh.asfr = table.column("ASFR");
            run_target_planning(fresh, in, src, PlanningProgress{});
        };
        reset();
        run();
        const db::test_common::FolderFiles after = db::test_common::folder_files(folder);
        ASSERT_EQ(after.size(), 3u);
        std::vector<std::string> calls;
        const auto judge = db::test_common::before_or_after(folder, before, after, calls);
        auto next_write = [&] { EXPECT_NO_THROW(run()); };
        const auto counts = db::test_common::run_write_trials(folder, reset, run, judge, next_write, &calls);
        EXPECT_GT(counts.kill_trials, 0);
        std::printf("  TFR files, %s: %d kills, %d errors\n", earlier ? "replacing" : "new", counts.kill_trials, counts.error_trials);
    }
}

}  // namespace
}  // namespace vantelo::planning
