#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "planning/engine/fertility_search.h"
#include "planning_fixture.h"

namespace vantelo::planning {
namespace {

using testing_support::ScriptedRandom;
using testing_support::SeededRandom;

// 100 women at every age 15..49, survival 1: the births of a curve are 100 x its TFR / 2.
SearchYear flat_year(double target)
{
    SearchYear y;
    y.reference = fertility_bound_table;  // F = bound: the band [bound/k, bound] is never empty
    y.women.fill(100);
    y.survival_male_0 = 1;
    y.survival_female_0 = 1;
    y.births_target = target;
    return y;
}

fertility_candidate curve_of(double rate, int mark = 0)
{
    fertility_candidate c;
    c.genes.fill(rate);
    c.mark = mark;
    return c;
}

TEST(Fitness, BirthsOfBothSexesAgainstTheTarget)
{
    // births = (35 x 100 x 0.01 x 0.51)/2 + (35 x 100 x 0.01 x 0.49)/2 = 17.5
    SearchYear y = flat_year(20);
    double births = 0;
    EXPECT_NEAR(candidate_fitness(y, curve_of(0.01), &births), 2.5, 1e-12);
    EXPECT_NEAR(births, 17.5, 1e-12);
    // Survival of births weighs each sex's share: 0.8 x 8.925 + 0.5 x 8.575.
    y.survival_male_0 = 0.8;
    y.survival_female_0 = 0.5;
    candidate_fitness(y, curve_of(0.01), &births);
    EXPECT_NEAR(births, 0.8 * 8.925 + 0.5 * 8.575, 1e-12);
}

TEST(Fitness, WomenOfTheYearAddTheSurvivorsOfTheAgeBelow)
{
    std::vector<std::vector<double>> women(50, std::vector<double>(2, 0.0)), big_l(50, std::vector<double>(1, 1.0));
    women[14][1] = 40;
    women[15][1] = 100;
    women[16][1] = 60;
    big_l[15][0] = 0.5;  // L(15)/L(14) = 0.5, L(16)/L(15) = 2
    const auto w = year_women(women, 1, big_l);
    EXPECT_NEAR(static_cast<double>(w[0]), 100 + 40 * 0.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(w[1]), 60 + 100 * 2.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(w[2]), 0 + 60 * 1.0, 1e-12);
}

TEST(SortCandidates, OrdersKeysAndMovesTheCurvesWithThem)
{
    std::vector<double> keys = {3, 1, 4, 1.5, 9, 2, 6};
    std::vector<fertility_candidate> c;
    for (double k : keys) c.push_back(curve_of(k));
    sort_candidates(keys, c);
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    for (std::size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(c[i].genes[0], keys[i]);

    std::vector<double> one = {5};
    std::vector<fertility_candidate> c1 = {curve_of(5)};
    sort_candidates(one, c1);
    EXPECT_EQ(one[0], 5);

    std::vector<double> none;
    std::vector<fertility_candidate> c0;
    EXPECT_THROW(sort_candidates(none, c0), RangeError);
}

TEST(SearchPossible, RefusesGenesThatAdmitNoValue)
{
    auto refused = [](std::array<double, gene_count> f, double k) {
        try {
            check_search_possible(f, k);
            return false;
        } catch (const InputMessage& m) {
            EXPECT_STREQ(m.what(), "Fertility rates of ages 15-49 cannot be searched!");
            return true;
        }
    };
    std::array<double, gene_count> f = fertility_bound_table;
    EXPECT_FALSE(refused(f, 2.0));
    EXPECT_TRUE(refused(f, 1.0));   // only u = 1, never drawn, would pass
    EXPECT_TRUE(refused(f, 0.5));
    EXPECT_TRUE(refused(f, -2.0));
    f[34] = 0.0;  // no births at 49
    EXPECT_TRUE(refused(f, 2.0));
    f[34] = 0.02;  // F/k = 0.01, the bound of age 49
    EXPECT_TRUE(refused(f, 2.0));
    f[34] = 0.0199;
    EXPECT_FALSE(refused(f, 2.0));
}

TEST(ClockReseeder, SameMillisecondContinuesTheSequence)
{
    ScriptedRandom r;
    r.frozen_clock = true;
    SearchRandom s = r.source();
    ClockReseeder reseeder(s);
    reseeder.reseed();
    reseeder.reseed();  // same millisecond: not reseeded again
    r.now = 1001;
    reseeder.reseed();
    EXPECT_EQ(r.seeds, (std::vector<std::uint32_t>{1000, 1001}));
}

// P = 1, k = 2, F = bound: an initial draw u gives u x 2 bound, accepted for u in [0.25, 0.5].
// The target is the births of the bound curve, so the first generation converges.
TEST(SearchRun, DrawOrderOfAConvergingFirstGeneration)
{
    ScriptedRandom r;
    r.script.push_back(0.1);  // gene 0 rejected (below bound/k), redrawn
    for (int g = 0; g < gene_count; ++g) r.script.push_back(0.5);
    r.script.push_back(0.7);  // selection
    r.script.push_back(0.9);  // crossover mark: not chosen
    r.script.push_back(0.9);  // mutation mark: not chosen
    for (int g = 0; g < gene_count; ++g) r.script.push_back(0.3);  // the step vector
    SearchRandom s = r.source();
    ClockReseeder reseeder(s);
    const SearchYear y = flat_year(50 * std::accumulate(fertility_bound_table.begin(), fertility_bound_table.end(), 0.0));
    SearchParams p;
    p.population_size = 1;
    std::vector<int> runs, gens;
    SearchProgress progress{[&](int run) { runs.push_back(run); }, [&](int g) { gens.push_back(g); }, {}};
    const RunResult result = search_run(y, p, reseeder, progress, 7);
    EXPECT_TRUE(r.script.empty());
    EXPECT_EQ(r.draws, 1 + 35 + 3 + 35);
    EXPECT_EQ(result.generations, 1);
    EXPECT_EQ(result.best.mark, 1);
    EXPECT_EQ(result.best.genes, fertility_bound_table);
    EXPECT_EQ(runs, std::vector<int>{7});
    EXPECT_EQ(gens, std::vector<int>{1});
    EXPECT_EQ(r.seeds.size(), 1u);  // reseeded once, at the start of the run
}

// A gene at its bound whose step points outward admits no mutated value: after the cap its old
// value stays and the run ends. G = 0: one generation, not converged.
TEST(SearchRun, MutationAtALimitKeepsTheGeneAfterTheCap)
{
    ScriptedRandom r;
    for (int g = 0; g < gene_count; ++g) r.script.push_back(0.5);  // every gene at its bound
    r.script.push_back(0.7);                                        // selection
    r.script.push_back(0.9);                                        // crossover: not chosen
    r.script.push_back(0.0);                                        // mutation: chosen
    for (int g = 0; g < gene_count; ++g) r.script.push_back(0.9);  // steps point upward
    r.rest = [](long long) { return 0.6; };                          // every mutated value too high
    SearchRandom s = r.source();
    ClockReseeder reseeder(s);
    SearchParams p;
    p.population_size = 1;
    p.max_generations = 0;
    const RunResult result = search_run(flat_year(1e9), p, reseeder, SearchProgress{}, 0);
    EXPECT_EQ(result.generations, 1);
    EXPECT_EQ(result.best.mark, 0);
    EXPECT_EQ(r.draws, 35 + 3 + 35 + 35 * mutation_draw_cap);
    // Reseeded at the start and after every 50,001 rejections of each gene.
    EXPECT_EQ(static_cast<long long>(r.seeds.size()), 1 + 35 * ((mutation_draw_cap - 1) / 50'001));
}

TEST(SearchRun, InitialGeneThatNeverPassesRefusesTheSearch)
{
    ScriptedRandom r;
    r.rest = [](long long) { return 0.9; };  // 0.9 x 2 bound is always above the bound
    SearchRandom s = r.source();
    ClockReseeder reseeder(s);
    SearchParams p;
    p.population_size = 1;
    EXPECT_THROW(search_run(flat_year(1), p, reseeder, SearchProgress{}, 0), InputMessage);
    EXPECT_EQ(r.draws, initial_draw_cap);
}

TEST(YearStatistics, MeanSpreadBandAndKeptCurves)
{
    // TFRs 3.5 and 7 converged, one run not: mean 5.25, sd 1.75.
    std::vector<fertility_candidate> runs = {curve_of(0.1, 1), curve_of(0.3, 0), curve_of(0.2, 1)};
    const YearResult y = year_statistics(runs);
    EXPECT_EQ(y.converged, 2);
    EXPECT_EQ(y.kept, 2);
    EXPECT_NEAR(y.mean_tfr, 5.25, 1e-12);
    EXPECT_NEAR(y.sd, 1.75, 1e-12);
    EXPECT_NEAR(y.tfr_up, 5.25 + 2.575 * 1.75, 1e-12);
    EXPECT_NEAR(y.tfr_low, 5.25 - 2.575 * 1.75, 1e-12);
    for (double g : y.mean_curve) EXPECT_NEAR(g, 0.15, 1e-15);
    EXPECT_EQ(runs[0].mark, 2);
    EXPECT_EQ(runs[1].mark, 0);
    EXPECT_EQ(runs[2].mark, 2);
}

TEST(YearStatistics, AnOutlierLeavesTheBand)
{
    // 20 runs of TFR 3.5 and one of 14: mean 4, sd sqrt(5); 10 > 2.575 sqrt(5).
    std::vector<fertility_candidate> runs(20, curve_of(0.1, 1));
    runs.push_back(curve_of(0.4, 1));
    const YearResult y = year_statistics(runs);
    EXPECT_EQ(y.converged, 21);
    EXPECT_EQ(y.kept, 20);
    EXPECT_NEAR(y.sd, std::sqrt(5.0), 1e-12);
    EXPECT_EQ(runs[20].mark, 1);
    for (double g : y.mean_curve) EXPECT_NEAR(g, 0.1, 1e-15);
}

TEST(YearStatistics, OneConvergedRunIsItsOwnMean)
{
    std::vector<fertility_candidate> runs = {curve_of(0.25, 0), curve_of(0.125, 1)};
    const YearResult y = year_statistics(runs);
    EXPECT_EQ(y.sd, 0);
    EXPECT_EQ(y.tfr_up, y.mean_tfr);
    EXPECT_EQ(y.tfr_low, y.mean_tfr);
    EXPECT_EQ(y.kept, 1);
    EXPECT_EQ(y.mean_curve, runs[1].genes);
}

TEST(YearStatistics, NoConvergedRunIsAnInvalidOperation)
{
    std::vector<fertility_candidate> runs = {curve_of(0.25, 0)};
    EXPECT_THROW(year_statistics(runs), InvalidOpError);
    std::vector<fertility_candidate> none;
    EXPECT_THROW(year_statistics(none), InvalidOpError);
}

// A seeded search on a small case: every converged run meets the target within 1 birth and stays
// inside the band, so the mean curve does too (births are linear in the rates).
TEST(SearchYear, ConvergesToRatesWhoseBirthsMeetTheTarget)
{
    SeededRandom r;
    SearchRandom s = r.source();
    ClockReseeder reseeder(s);
    SearchYear y;
    for (int g = 0; g < gene_count; ++g) {
        y.reference[static_cast<std::size_t>(g)] = 0.5 * fertility_bound_table[static_cast<std::size_t>(g)];
        y.women[static_cast<std::size_t>(g)] = 2000 + 10 * g;
    }
    y.survival_male_0 = 0.98;
    y.survival_female_0 = 0.985;
    y.births_target = 5000;
    SearchParams p;
    p.population_size = 40;
    p.run_count = 20;
    int last_converged = -1;
    SearchProgress progress{{}, {}, [&](int c) { last_converged = c; }};
    const YearResult result = search_year(y, p, reseeder, progress);
    ASSERT_GT(result.converged, 0);
    EXPECT_EQ(last_converged, result.converged);
    EXPECT_GE(result.kept, 1);
    EXPECT_LE(result.last_generations, p.max_generations);
    // Births of the mean curve, computed here from the definition.
    long double male = 0, female = 0, mean_tfr = 0;
    for (std::size_t g = 0; g < gene_count; ++g) {
        male += y.women[g] * result.mean_curve[g] * 0.51L;
        female += y.women[g] * result.mean_curve[g] * 0.49L;
        mean_tfr += result.mean_curve[g];
        EXPECT_GT(result.mean_curve[g], 0);
        EXPECT_LT(result.mean_curve[g], fertility_bound_table[g]);
    }
    EXPECT_NEAR(static_cast<double>(0.98L * male / 2 + 0.985L * female / 2), 5000, 1.0);
    EXPECT_GE(static_cast<double>(mean_tfr), result.tfr_low - 1e-9);
    EXPECT_LE(static_cast<double>(mean_tfr), result.tfr_up + 1e-9);
}

// Runs take far less than a millisecond: with the clock standing still, every run after the
// first goes on with the generator's sequence instead of drawing the same numbers again.
TEST(SearchYear, RunsInTheSameMillisecondDoNotRepeatEachOther)
{
    SeededRandom r;
    r.frozen_clock = true;
    SearchRandom s = r.source();
    ClockReseeder reseeder(s);
    SearchParams p;
    p.population_size = 20;
    SearchYear y = flat_year(0);
    y.reference = {};
    for (std::size_t g = 0; g < gene_count; ++g) y.reference[g] = 0.5 * fertility_bound_table[g];
    y.births_target = 50 * 0.7 * std::accumulate(fertility_bound_table.begin(), fertility_bound_table.end(), 0.0);
    const RunResult first = search_run(y, p, reseeder, SearchProgress{}, 0);
    const RunResult second = search_run(y, p, reseeder, SearchProgress{}, 1);
    EXPECT_EQ(r.seeds, 1);
    EXPECT_NE(first.best.genes, second.best.genes);
}

TEST(SearchYear, GenerationLimitZeroConvergesNothing)
{
    SeededRandom r;
    SearchRandom s = r.source();
    ClockReseeder reseeder(s);
    SearchParams p;
    p.population_size = 10;
    p.run_count = 3;
    p.max_generations = 0;
    EXPECT_THROW(search_year(flat_year(1e7), p, reseeder, SearchProgress{}), InvalidOpError);
}

}  // namespace
}  // namespace vantelo::planning
