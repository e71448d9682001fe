// bench_compute: field computation (数据管理 > 计算) over a 1,000,000-record single-region input
// table, with the table open as the current table; each pass reads its operands, computes and
// writes the table.
//   BM_ComputeProduct/<format>   运算: 男性人口 := 年龄 * 女性人口
//   BM_ComputeTransform/<format> 变换: 女性死亡率 := Round(男性人口)
#include <benchmark/benchmark.h>

#include "big_table.h"
#include "platform/db/dataset.h"
#include "shell/engine/field_compute.h"

namespace {

void run(benchmark::State& state, vantelo::shell::FieldComputation c)
{
    vantelo::db::Dataset t;
    t.set_table_name(bench::big_table(state.range(0) != 0));
    t.open();
    for (auto _ : state) {
        auto out = vantelo::shell::compute_field(t, c);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * bench::record_count);
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
