// A new table made with its records (the life-table save: eight text fields, one record per
// grid row) under a write error and a kill at each writing call: afterwards there is no file,
// or the whole table.
#include <gtest/gtest.h>

#include "platform/db/dataset.h"
#include "tests/write_trials/trial_tables.h"

namespace vantelo::db::test_common {
namespace {

class NewTableTrials : public ::testing::TestWithParam<TableFormat> {};

TEST_P(NewTableTrials, NoFileOrTheWholeTable)
{
    std::vector<FieldDefinition> defs;
    for (int i = 0; i < 8; ++i) defs.push_back({"field0" + std::to_string(i), FieldType::String, 20, false});
    std::vector<Record> rows = {{std::string("年龄组"), std::string("Mx"), std::string("qx"), std::string("lx"),
                                 std::string("Dx"), std::string("Lx"), std::string("Tx"), std::string("ex")}};
    for (int x = 0; x < 19; ++x) {
        Record r{std::to_string(x)};
        for (int c = 1; c < 8; ++c) r.emplace_back(std::to_string(c) + "." + std::to_string(100000 + 37 * x));
        rows.push_back(r);
    }
    TempTableDir dir;
    const std::string path = table_path(dir, GetParam(), "生命表");
    FaultTrials t;
    t.folder = dir.dir();
    t.setup = [&] { std::filesystem::remove(path); };
    t.command = [&]() -> std::string {
        create_table_with_records(ResolvedTable{path, GetParam()}, defs, rows);
        Dataset saved;  // the window opens the new table
        saved.set_table_name(path);
        saved.open();
        return saved.record_count() == 20 ? "" : "short table";
    };
    t.snapshot = [&] { return describe_table_file(path); };
    const TrialCounts n = run_fault_trials(t);
    EXPECT_GT(n.reported_failed, 0);
    print_trial_counts(std::string("new table with its records, ") + format_name(GetParam()), n);
}

INSTANTIATE_TEST_SUITE_P(Formats, NewTableTrials, ::testing::Values(TableFormat::Paradox, TableFormat::DBase),
                         [](const auto& info) { return format_name(info.param); });

}  // namespace
}  // namespace vantelo::db::test_common
