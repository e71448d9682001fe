// 计算 (a field recomputed over every record) under a write error and a kill at each of its
// writing calls: the table holds every new value or none.
#include <gtest/gtest.h>

#include "platform/db/dataset.h"
#include "shell/engine/field_compute.h"
#include "tests/write_trials/trial_tables.h"

namespace vantelo::db::test_common {
namespace {

class ComputeTrials : public ::testing::TestWithParam<TableFormat> {};

TEST_P(ComputeTrials, TheTableHoldsEveryNewValueOrNone)
{
    const struct {
        const char* name;
        shell::FieldComputation c;
    } cases[] = {
        {"a+b into a third field", {shell::ComputeMode::Arithmetic, "男性死亡率", "男性人口", "女性人口", 0}},
        {"a transformation in place", {shell::ComputeMode::Transform, "女性人口", "女性人口", "", 5}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        TempTableDir dir;
        const std::string path = table_path(dir, GetParam());
        const FaultTrials t = input_table_trials(dir, path, GetParam(), [&](Dataset& table) -> std::string {
            return shell::compute_field(table, k.c).data_error ? "Data Error!" : "";
        });
        const TrialCounts n = run_fault_trials(t);
        EXPECT_GT(n.reported_failed, 0);
        print_trial_counts(std::string("计算, ") + k.name + ", " + format_name(GetParam()), n);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ComputeTrials, ::testing::Values(TableFormat::Paradox, TableFormat::DBase),
                         [](const auto& info) { return format_name(info.param); });

}  // namespace
}  // namespace vantelo::db::test_common
