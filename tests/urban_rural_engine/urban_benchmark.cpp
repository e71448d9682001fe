// Time of a 100-year urban/rural run on 101 ages with migrants, beside the single-region one.
#include <benchmark/benchmark.h>

#include "urban_fixture.h"

using namespace vantelo::projection;
using namespace vantelo::urban_rural;
using namespace vantelo::urban_rural::testing;

namespace {

void run(benchmark::State& state, bool fit)
{
    constexpr int n = 101, y = 100;
    ProjectionWorkspace rural;
    UrbanWorkspace uw;
    loaded_part(rural, n, y, 2.0, "2");
    loaded_part(uw.urban, n, y, 1.6, "1.6");
    UrbanRunInputs in = flat_urban_inputs(rural, uw.urban, n, y, "100");
    if (fit)
        for (int c = 1; c <= y; ++c) {
            in.e0_grid.set_cell(c, 1, std::to_string(66 + c * 0.05));
            in.e0_grid.set_cell(c, 4, std::to_string(70 + c * 0.05));
        }
    for (auto _ : state) {
        state.PauseTiming();
        ProjectionWorkspace r = rural;
        UrbanWorkspace u = uw;
        state.ResumeTiming();
        run_urban_rural(r, u, in);
        benchmark::DoNotOptimize(u.urban.res_total_pop.data());
    }
}

void BM_UrbanRural100Years(benchmark::State& state) { run(state, false); }
void BM_UrbanRural100YearsWithE0Targets(benchmark::State& state) { run(state, true); }

}  // namespace

BENCHMARK(BM_UrbanRural100Years)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UrbanRural100YearsWithE0Targets)->Unit(benchmark::kMicrosecond);
