#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "planning/engine/tfr_report.h"
#include "planning_fixture.h"

namespace vantelo::planning {
namespace {

using test_support::TempDir;

std::string read_bytes(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One planning year: 100 women at every age, every mean rate 0.25.
struct OneYear : testing::Test {
    PlanningData data;
    WomenByYear women;
    k_ar targets = {1000};
    YearResult year;
    void SetUp() override
    {
        data.plan_year_count = 1;
        data.male.years_lived = {{0.5}, {0.25}};
        data.female.years_lived = {{0.75}, {0.375}};
        women.women.assign(50, k_ar{100});
        women.mean_age = {32};
        women.birth_women = {3500};
        year.mean_curve.fill(0.25);
        year.mean_tfr = 8.75;
        year.tfr_up = 9;
        year.tfr_low = 8.5;
    }
};

TEST_F(OneYear, FortyNineLinesOfAOneYearPeriod)
{
    // (bound(g) - 0.25) x 100, by hand from the table of upper bounds.
    const char* room[gene_count] = {"-11", "0",   "7",   "13", "16",  "27",  "29",   "32",  "33",  "29",  "27",  "26",
                                    "25",  "24.5", "24", "23", "22",  "20",  "18",   "15.5", "15", "15",  "15",  "14",
                                    "12",  "9",   "5",   "-2.8", "-13", "-15", "-17", "-19", "-21", "-23.5", "-24"};
    std::vector<std::string> expected;
    for (const char* r : room) expected.push_back(std::string("0.25    ") + r + "  75");
    for (const char* l : {" ", "birth:1000", "women mean age:32", "pop Size of birth women:3500", " ", "mean_TFR:8.75",
                          "TFR_up:9", "TFR_low:8.5", " male survive", "0.5", "0.25", " female survive ", "0.75", "0.375"})
        expected.push_back(l);
    EXPECT_EQ(tfr_report_lines(data, women, targets, year, 0), expected);
}

TEST_F(OneYear, PeriodBeyondTheLifeTableIsARangeError)
{
    data.plan_year_count = 2;
    EXPECT_THROW(tfr_report_lines(data, women, targets, year, 0), RangeError);
}

TEST(TfrReportFile, CrLfLinesReplacingAnOldFile)
{
    TempDir dir;
    const std::string path = tfr_report_path(dir.path().string(), 3);
    EXPECT_EQ(path, (dir.path() / "TFR3.txt").string());
    std::ofstream(path) << "an older and much longer report that must disappear entirely\n";
    write_tfr_report(path, {"0.1    2  3", " ", "birth:5"});
    EXPECT_EQ(read_bytes(path), "0.1    2  3\r\n \r\nbirth:5\r\n");
    // Nothing else is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(TfrReportFile, FolderThatDoesNotExistIsAnInputOutputError)
{
    TempDir dir;
    const std::string path = tfr_report_path((dir.path() / "missing").string(), 0);
    try {
        write_tfr_report(path, {"x"});
        FAIL();
    } catch (const InOutError& e) {
        EXPECT_NE(std::string(e.what()).find("missing"), std::string::npos) << e.what();
    }
}

// The year files follow the rule for names of every file written: a folder name with a control
// character is refused before anything is written.
TEST(TfrReportFile, AFolderNameWithAControlCharacterIsRefused)
{
    TempDir dir;
    for (const std::string folder : {"a\x1B[31m", "two\nlines", "rtl\xE2\x80\xAE"}) {
        std::filesystem::create_directory(dir.path() / folder);
        const std::string path = tfr_report_path((dir.path() / folder).string(), 0);
        try {
            write_tfr_report(path, {"x"});
            ADD_FAILURE() << path;
        } catch (const InOutError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Invalid file name (control character): ", 0), 0u) << e.what();
            EXPECT_EQ(std::string(e.what()).find_first_of("\x1B\n"), std::string::npos) << e.what();
        }
        EXPECT_TRUE(std::filesystem::is_empty(dir.path() / folder));
    }
}

TEST(DialogTexts, CountsAndSummaryAreGluedWithoutBlanks)
{
    EXPECT_EQ(counts_text("478", 471), "478last_curve:471");
    YearResult y;
    y.last_births = 1234.5;
    y.last_generations = 7;
    y.tfr_up = 9;
    y.tfr_low = 8.5;
    y.mean_tfr = 8.75;
    EXPECT_EQ(summary_text(y), "Birth:1234.5finished   7TFR_up:9TFR_low:8.5mean_TFR:8.75");
}

}  // namespace
}  // namespace vantelo::planning
