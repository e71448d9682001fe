// New result columns (the standardisation's two or four, the year-end estimate's two) under a
// write error and a kill at each writing call: the table holds every new column with all its
// values, or is as it was; a failure says that no column was added.
#include <gtest/gtest.h>

#include "platform/db/dataset.h"
#include "shell/result_columns.h"
#include "tests/write_trials/trial_tables.h"

namespace vantelo::db::test_common {
namespace {

class ResultColumnTrials : public ::testing::TestWithParam<TableFormat> {};

TEST_P(ResultColumnTrials, EveryColumnCompleteOrNoneAdded)
{
    std::vector<double> a(81), b(81), c(81), d(81);
    for (int x = 0; x < 81; ++x) {
        a[x] = 1000.0 * x + 0.5;  // halves go to the even neighbour
        b[x] = -2.5 * x;
        c[x] = x * x;
        d[x] = 12345.678;
    }
    const struct {
        const char* name;
        std::vector<shell::ResultColumn> columns;
    } cases[] = {
        {"two columns (year-end estimate)", {{"Tcm01", a}, {"Tcf01", b}}},
        {"four columns (rural and urban)", {{"Rmale01", a}, {"Rfemale01", b}, {"Umale01", c}, {"Ufemale01", d}}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        TempTableDir dir;
        const std::string path = table_path(dir, GetParam());
        FaultTrials t = input_table_trials(dir, path, GetParam(), [&](Dataset& table) -> std::string {
            Query query;
            shell::add_result_columns(table, query, k.columns);
            return "";
        });
        t.on_failure = [](const std::string& reported) {
            EXPECT_NE(reported.find(shell::no_column_added_text), std::string::npos) << reported;
        };
        const TrialCounts n = run_fault_trials(t);
        EXPECT_GT(n.reported_failed, 0);
        print_trial_counts(std::string("result columns, ") + k.name + ", " + format_name(GetParam()), n);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ResultColumnTrials, ::testing::Values(TableFormat::Paradox, TableFormat::DBase),
                         [](const auto& info) { return format_name(info.param); });

}  // namespace
}  // namespace vantelo::db::test_common
