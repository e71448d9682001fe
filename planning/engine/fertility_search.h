#pragma once
// The genetic search of the age-specific fertility rates of ages 15..49 whose births, applied to
// the women of one planning year, meet that year's births target. A real-coded genetic
// algorithm: geometric ranking selection, whole-curve arithmetic crossover and a shrinking
// random mutation, inside a band around the reference rates F. It is run R times per year, each
// run from a fresh random population; the converged runs are summarised by their mean total
// fertility rate (TFR), a band of 2.575 standard deviations around it, and the rate-by-rate mean
// of the converged curves inside the band.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "planning/engine/plan_inputs.h"
#include "platform/core/checked.h"

namespace vantelo::planning {

inline constexpr int gene_count = 35;  // ages 15..49, gene g the rate of age 15 + g

// One fertility curve with its mark. In a population: 1 = chosen for crossover or mutation while
// that step runs, else 0. In the runs of a year: 0 = not converged, 1 = converged, 2 = converged
// and inside the band.
struct fertility_candidate {
    std::array<double, gene_count> genes{};
    std::int32_t mark = 0;
};

// Upper limit of the rate of each age 15..49.
extern const std::array<double, gene_count> fertility_bound_table;

// The random numbers of the search: uniform values in [0, 1), the clock (milliseconds of the day)
// and reseeding with a given seed. Tests script all three.
struct SearchRandom {
    std::function<double()> uniform;
    std::function<std::uint32_t()> clock_ms;
    std::function<void(std::uint32_t)> seed;
};

// Reseeding from the clock. A run takes well under a millisecond, so runs started within the
// same millisecond would draw the same numbers and store the same curve: when the clock shows
// the seed already in force, the generator goes on with its current sequence instead.
class ClockReseeder {
public:
    explicit ClockReseeder(const SearchRandom& random) : random_(random) {}
    void reseed();
    double uniform() const { return random_.uniform(); }

private:
    const SearchRandom& random_;
    std::optional<std::uint32_t> last_seed_;
};

// What the search knows of one planning year.
struct SearchYear {
    std::array<double, gene_count> reference{};  // F(g), the input rate of age 15 + g
    std::array<real, gene_count> women{};        // w(15 + g), see year_women
    double survival_male_0 = 0;                  // L_M(0)
    double survival_female_0 = 0;                // L_F(0)
    double births_target = 0;
};

// w(x) = women[x][j] + women[x-1][j] L_F(x)/L_F(x-1), x = 15..49: the women of year j at the
// start of the year and, moved on one age, those who survive it (twice the average exposure).
std::array<real, gene_count> year_women(const std::vector<std::vector<double>>& women_by_year, int j,
                                        const std::vector<std::vector<double>>& years_lived_female);

// The fitness of a curve f: births_male = L_M(0) (sum of w(x) f(x) 0.51)/2,
// births_female = L_F(0) (sum of w(x) f(x) 0.49)/2; the fitness is
// |births_male + births_female - target| (lower is better). `births`, when given, receives
// births_male + births_female.
double candidate_fitness(const SearchYear& year, const fertility_candidate& f, double* births = nullptr);

// Refuses (InputMessage msg_cannot_search) a search in which some gene admits no value: every
// gene needs F(g) > 0, k > 1 and F(g)/k < bound(g). Without this the redraws of the initial
// population would never end.
void check_search_possible(const std::array<double, gene_count>& reference, double k);

// Caps of the redraws. A gene of the initial population that is still rejected after
// initial_draw_cap draws refuses the search with msg_cannot_search (it can only happen with a
// band of almost no width); a mutated gene keeps its old value after mutation_draw_cap draws.
inline constexpr long long initial_draw_cap = 10'000'000;
inline constexpr long long mutation_draw_cap = 1'000'000;
// Before every draw, a gene's rejection counter above this is set back to 0 and the generator
// reseeded from the clock.
inline constexpr int rejections_before_reseed = 50'000;

// Progress of the search, for the dialog. Any may be empty.
struct SearchProgress {
    std::function<void(int run)> run_started;      // the index of the run starting (from 0)
    std::function<void(int counter)> generation;   // the generation counter, from 1
    std::function<void(int converged)> run_ended;  // the year's converged count so far
};

// Orders keys ascending and moves the candidates with them: the recursive quicksort over
// positions 0..size-1 with the middle key (lo + hi) div 2 as pivot. Equal keys keep no
// particular order. An empty range reads a key that does not exist: the range error.
void sort_candidates(std::vector<double>& keys, std::vector<fertility_candidate>& candidates);

// The result of one run.
struct RunResult {
    fertility_candidate best;  // the lowest-fitness curve seen, marked 1 when converged, else 0
    int generations = 0;       // the generation counter when the run stopped
    double last_births = 0;    // births of the last candidate evaluated
};

// One run: reseed, the initial population, then generations until the best fitness is below
// 1.0 or the counter is above G (at most G + 1 generations). Each generation: fitness of every
// candidate in slot order, sort, best kept, then selection, crossover and mutation into the next
// population. Draws are taken in this order per generation: P selection draws, P crossover marks,
// one per mate for the shuffle, one per pair, P mutation marks, 35 step draws, then the draws of
// the mutated genes.
RunResult search_run(const SearchYear& year, const SearchParams& p, ClockReseeder& random,
                     const SearchProgress& progress, int run_index);

// The statistics of one planning year.
struct YearResult {
    std::array<double, gene_count> mean_curve{};  // mean of the kept curves, rate by rate
    double mean_tfr = 0, sd = 0, tfr_up = 0, tfr_low = 0;
    int converged = 0;       // runs that converged
    int kept = 0;            // converged runs within 2.575 sd of the mean TFR
    int last_generations = 0;  // generation counter of the year's last run when it stopped
    double last_births = 0;    // births of the last candidate evaluated in the year's last run
};

// Summarises the stored runs: TFR(r) = sum of the genes of run r; over the runs marked 1
// (n of them): mean = sum TFR / n, sd = sqrt(sum (TFR - mean)^2 / n), up/low = mean +- 2.575 sd;
// runs marked 1 with |TFR - mean| <= 2.575 sd are marked 2 and kept; mean_curve(g) = sum of
// gene g over the kept runs / kept. n = 0 raises the invalid-operation error (0/0).
YearResult year_statistics(std::vector<fertility_candidate>& runs);

// The R runs of one planning year and their statistics.
YearResult search_year(const SearchYear& year, const SearchParams& p, ClockReseeder& random,
                       const SearchProgress& progress);

}  // namespace vantelo::planning
