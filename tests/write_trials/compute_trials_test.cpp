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
        FaultTrials t;
        t.folder = dir.dir();
        t.setup = [&] { put_input_table(path, GetParam()); };
        t.command = [&]() -> std::string {
            Dataset table;
            table.set_table_name(path);
            table.open();
            const shell::ComputeOutcome out = shell::compute_field(table, k.c);
            return out.data_error ? "Data Error!" : "";
        };
        t.snapshot = [&] { return describe_table_file(path); };
        const TrialCounts n = run_fault_trials(t);
        EXPECT_GT(n.reported_failed, 0);
        std::printf("[trials] compute %s %s: %d calls, %d error trials (%d failed, %d done), %d kills\n", k.name,
                    format_name(GetParam()), n.calls, n.error_trials, n.reported_failed, n.reported_done,
                    n.kill_trials);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ComputeTrials, ::testing::Values(TableFormat::Paradox, TableFormat::DBase),
                         [](const auto& info) { return format_name(info.param); });

}  // namespace
}  // namespace vantelo::db::test_common
