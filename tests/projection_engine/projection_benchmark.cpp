// Time of a 100-year run on 101 ages with three parities and a floating population.
#include <benchmark/benchmark.h>

#include "run_fixture.h"

using namespace vantelo::projection;
using namespace vantelo::projection::testing;

namespace {

void setup(ProjectionWorkspace& ws, RunInputs& in, bool fit)
{
    realistic_workspace(ws, 101, 100);
    in = flat_inputs(ws, 100);
    three_parities(ws, in, 100);
    ws.with_floating_pop = 1;
    if (fit)
        for (int c = 1; c <= 100; ++c) in.e0_grid.set_cell(c, 1, std::to_string(66 + c * 0.05));
}

void run(benchmark::State& state, bool fit)
{
    ProjectionWorkspace base;
    RunInputs in;
    setup(base, in, fit);
    for (auto _ : state) {
        state.PauseTiming();
        ProjectionWorkspace ws = base;
        state.ResumeTiming();
        run_projection(ws, in);
        benchmark::DoNotOptimize(ws.res_total_pop.data());
    }
}

void BM_Run100Years(benchmark::State& state) { run(state, false); }
void BM_Run100YearsWithE0Targets(benchmark::State& state) { run(state, true); }

}  // namespace

BENCHMARK(BM_Run100Years)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Run100YearsWithE0Targets)->Unit(benchmark::kMicrosecond);
