// A whole planning run on 81 ages and 10 planning years with the dialog's default parameters
// (P = 100, crossover 0.2, mutation 0.5, q = 0.05, G = 300, R = 500, k = 2).
#include <benchmark/benchmark.h>

#include "planning/engine/planning_run.h"
#include "planning_fixture.h"

namespace {

using namespace vantelo::planning;

void BM_PlanningRun81Ages10Years(benchmark::State& state)
{
    testing_support::SyntheticTable table;
    vantelo::test_support::TempDir dir;
    testing_support::SeededRandom random;
    const SearchRandom source = random.source();
    PlanningInputs in;
    in.field_texts = {"PM", "PF", "MM", "MF"};
    in.from_year = 1990;
    in.to_year = 2000;
    in.read_column = [&](const std::string& f) { return table.column(f); };
    in.population_target_text = "165000";
    in.report_dir = dir.path().string();
    long long generations = 0;
    PlanningProgress progress;
    progress.search.generation = [&](int) { ++generations; };
    for (auto _ : state) {
        PlanningData data;
        data.asfr = table.column("ASFR");
        run_target_planning(data, in, source, progress);
    }
    state.counters["generations_per_run"] =
        benchmark::Counter(static_cast<double>(generations) / (10.0 * 500 * static_cast<double>(state.iterations())));
}
BENCHMARK(BM_PlanningRun81Ages10Years)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
