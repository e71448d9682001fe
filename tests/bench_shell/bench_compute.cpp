// bench_compute: field computation (数据管理 > 计算) over a 1,000,000-record single-region input
// table, with the table open as the current table; each pass reads its operands, computes and
// writes the table.
//   BM_ComputeProduct/<format>   运算: 男性人口 := 年龄 * 女性人口
//   BM_ComputeTransform/<format> 变换: 女性死亡率 := Round(男性人口)
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "platform/db/dataset.h"
#include "platform/db/dbase.h"
#include "platform/db/paradox.h"
#include "shell/engine/field_compute.h"

namespace {

constexpr int record_count = 1000000;

// The table in Paradox (0) or dBASE (1), written once per run.
const std::string& big_table(int format)
{
    static QTemporaryDir dir;
    static std::string paths[2];
    std::string& path = paths[format];
    if (path.empty()) {
        path = QDir(dir.path()).filePath(format == 0 ? "big.db" : "big.dbf").toStdString();
        std::vector<vantelo::db::FieldDef> defs;
        for (const char* name : {"年龄", "男性人口", "女性人口", "男性死亡率", "女性死亡率", "年龄别生育率"}) {
            vantelo::db::FieldDef f;
            f.name = name;
            f.type = defs.empty() ? vantelo::db::FieldType::Integer : vantelo::db::FieldType::Float;
            defs.push_back(f);
        }
        vantelo::db::TableData t;
        t.fields = format == 0 ? vantelo::db::paradox_fields_from(defs) : vantelo::db::dbase_fields_from(defs);
        t.records.reserve(record_count);
        for (int i = 0; i < record_count; ++i)
            t.records.push_back({std::int64_t(i % 81), double(i % 1000), 0.5, 0.001, 0.002, 0.0});
        if (format == 0) vantelo::db::write_paradox(path, t);
        else vantelo::db::write_dbase(path, t);
    }
    return path;
}

void run(benchmark::State& state, vantelo::shell::FieldComputation c)
{
    vantelo::db::Dataset t;
    t.set_table_name(big_table(static_cast<int>(state.range(0))));
    t.open();
    for (auto _ : state) {
        auto out = vantelo::shell::compute_field(t, c);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * record_count);
}

void BM_ComputeProduct(benchmark::State& state)
{
    vantelo::shell::FieldComputation c;
    c.mode = vantelo::shell::ComputeMode::Arithmetic;
    c.target = "男性人口";
    c.a = "年龄";
    c.b = "女性人口";
    c.operation = 2;
    run(state, c);
}
BENCHMARK(BM_ComputeProduct)->ArgName("dbase")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ComputeTransform(benchmark::State& state)
{
    vantelo::shell::FieldComputation c;
    c.mode = vantelo::shell::ComputeMode::Transform;
    c.target = "女性死亡率";
    c.a = "男性人口";
    c.operation = 10;
    run(state, c);
}
BENCHMARK(BM_ComputeTransform)->ArgName("dbase")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
