#include "planning/engine/fertility_search.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vantelo::planning {

const std::array<double, gene_count> fertility_bound_table = {
    0.14, 0.25, 0.32, 0.38,  0.41,   // 15-19
    0.52, 0.54, 0.57, 0.58,  0.54,   // 20-24
    0.52, 0.51, 0.50, 0.495, 0.49,   // 25-29
    0.48, 0.47, 0.45, 0.43,  0.405,  // 30-34
    0.40, 0.40, 0.40, 0.39,  0.37,   // 35-39
    0.34, 0.30, 0.222, 0.12, 0.10,   // 40-44
    0.08, 0.06, 0.04, 0.015, 0.01,   // 45-49
};

void ClockReseeder::reseed()
{
    const std::uint32_t ms = random_.clock_ms();
    if (last_seed_ && *last_seed_ == ms) return;
    random_.seed(ms);
    last_seed_ = ms;
}

std::array<real, gene_count> year_women(const std::vector<std::vector<double>>& women_by_year, int j,
                                        const std::vector<std::vector<double>>& years_lived_female)
{
    std::array<real, gene_count> w{};
    for (int g = 0; g < gene_count; ++g) {
        const int x = 15 + g;
        const real moved = checked_mul(at(at(women_by_year, x - 1), j),
                                       checked_div(at(at(years_lived_female, x), 0), at(at(years_lived_female, x - 1), 0)));
        w[static_cast<std::size_t>(g)] = checked_add(at(at(women_by_year, x), j), moved);
    }
    return w;
}

double candidate_fitness(const SearchYear& year, const fertility_candidate& f, double* births)
{
    real sum_male = 0, sum_female = 0;
    for (std::size_t g = 0; g < gene_count; ++g) {
        const real wf = year.women[g] * f.genes[g];
        sum_male += wf * 0.51L;
        sum_female += wf * 0.49L;
    }
    const real b = check_finite(year.survival_male_0 * sum_male / 2 + year.survival_female_0 * sum_female / 2);
    if (births) *births = to_double(b);
    return to_double(std::fabs(b - year.births_target));
}

void check_search_possible(const std::array<double, gene_count>& reference, double k)
{
    if (!(k > 1)) throw InputMessage(msg_cannot_search);
    for (std::size_t g = 0; g < gene_count; ++g) {
        const real f = reference[g];
        if (!(f > 0) || !(f / k < fertility_bound_table[g])) throw InputMessage(msg_cannot_search);
    }
}

void sort_candidates(std::vector<double>& keys, std::vector<fertility_candidate>& candidates)
{
    auto sort_range = [&](auto& self, long long lo, long long hi) -> void {
        const double pivot = at(keys, (lo + hi) / 2);
        long long i = lo, j = hi;
        do {
            while (at(keys, i) < pivot) ++i;
            while (at(keys, j) > pivot) --j;
            if (i <= j) {
                std::swap(at(keys, i), at(keys, j));
                std::swap(at(candidates, i), at(candidates, j));
                ++i;
                --j;
            }
        } while (i <= j);
        if (j > lo) self(self, lo, j);
        if (i < hi) self(self, i, hi);
    };
    sort_range(sort_range, 0, static_cast<long long>(keys.size()) - 1);
}

namespace {

// Sizes a list of candidates; a negative count is the range error.
void size_candidates(std::vector<fertility_candidate>& v, long long n)
{
    if (n < 0) raise_range();
    v.assign(static_cast<std::size_t>(n), fertility_candidate{});
}

// A candidate's genes drawn one by one with the rejection counter of each gene: before every
// draw a counter above rejections_before_reseed is set back to 0 and the generator reseeded.
class GeneDraws {
public:
    explicit GeneDraws(ClockReseeder& random) : random_(random) {}

    // Draws until accept(value) holds; propose(u, c) gives the value of draw u at rejection
    // count c. Returns nothing after `cap` draws without an accepted value.
    template <class Propose, class Accept>
    std::optional<double> draw(long long cap, Propose propose, Accept accept)
    {
        int c = 0;
        for (long long draws = 0; draws < cap; ++draws) {
            if (c > rejections_before_reseed) {
                c = 0;
                random_.reseed();
            }
            const double v = propose(random_.uniform(), c);
            if (accept(v)) return v;
            ++c;
        }
        return std::nullopt;
    }

private:
    ClockReseeder& random_;
};

void initial_population(const SearchYear& year, const SearchParams& p, ClockReseeder& random,
                        std::vector<fertility_candidate>& pop)
{
    GeneDraws draws(random);
    const real k = p.band_factor;
    for (auto& cand : pop) {
        for (std::size_t g = 0; g < gene_count; ++g) {
            const real f = year.reference[g];
            const double bound = fertility_bound_table[g];
            const double kf = to_double(k * f);
            const double low = to_double(f / k);
            auto v = draws.draw(
                initial_draw_cap, [&](double u, int) { return to_double(u * k * f); },
                [&](double v) { return v > 0 && v <= bound && v <= kf && v >= low; });
            if (!v) throw InputMessage(msg_cannot_search);
            cand.genes[g] = *v;
        }
        cand.mark = 0;
    }
}

// Normalised geometric ranking: the weight of rank i is q (1 - q)^i = exp(ln q + i ln(1 - q));
// the running sums of the weights.
std::vector<double> selection_sums(int size, double q)
{
    std::vector<double> c(static_cast<std::size_t>(size));
    const real ln_q = checked_ln(q), ln_rest = checked_ln(1.0L - q);
    real sum = 0;
    for (int i = 0; i < size; ++i) {
        sum = checked_add(sum, checked_exp(ln_q + i * ln_rest));
        at(c, i) = to_double(sum);
    }
    return c;
}

void select_into(const std::vector<fertility_candidate>& ranked, const std::vector<double>& sums,
                 ClockReseeder& random, std::vector<fertility_candidate>& next)
{
    const real total = at(sums, static_cast<long long>(sums.size()) - 1);
    for (auto& slot : next) {
        const real r = random.uniform() * total;
        // The first rank whose running sum reaches r (the sums never fall).
        const auto b = std::lower_bound(sums.begin(), sums.end(), r, [](double s, real v) { return s < v; });
        if (b == sums.end()) raise_range();
        slot = ranked[static_cast<std::size_t>(b - sums.begin())];
    }
}

void crossover(std::vector<fertility_candidate>& next, double prob, ClockReseeder& random)
{
    for (auto& cand : next) cand.mark = random.uniform() <= prob ? 1 : 0;
    std::vector<fertility_candidate> mates;
    for (const auto& cand : next)
        if (cand.mark == 1) mates.push_back(cand);
    const long long c = static_cast<long long>(mates.size());
    for (long long i = 0; i < c; ++i) {
        const long long t = trunc_i32(random.uniform() * static_cast<real>(c));
        std::swap(at(mates, i), at(mates, t));
    }
    for (long long i = 0; i + 1 < c; i += 2) {
        const real u = random.uniform();
        auto& a = at(mates, i);
        auto& b = at(mates, i + 1);
        for (std::size_t g = 0; g < gene_count; ++g) {
            const real ag = a.genes[g], bg = b.genes[g];
            a.genes[g] = to_double(u * ag + (1 - u) * bg);
            b.genes[g] = to_double((1 - u) * ag + u * bg);
        }
    }
    std::size_t m = 0;
    for (auto& cand : next)
        if (cand.mark == 1) cand = mates[m++];
    for (auto& cand : next) cand.mark = 0;
}

void mutate(std::vector<fertility_candidate>& next, const SearchYear& year, const SearchParams& p,
            ClockReseeder& random)
{
    for (auto& cand : next) cand.mark = random.uniform() <= p.mutation_prob ? 1 : 0;
    const real k = p.band_factor;
    std::array<double, gene_count> step{};
    for (std::size_t g = 0; g < gene_count; ++g)
        step[g] = to_double((2 * static_cast<real>(random.uniform()) - 1) * 2 * k * year.reference[g]);
    GeneDraws draws(random);
    for (auto& cand : next) {
        if (cand.mark != 1) continue;
        for (std::size_t g = 0; g < gene_count; ++g) {
            const real reach = 2 * k * year.reference[g];
            const double limit = to_double(reach);
            const double bound = fertility_bound_table[g];
            const double old = cand.genes[g];
            auto v = draws.draw(
                mutation_draw_cap,
                [&](double u, int c) { return to_double(old + u * reach / (c + 1) * step[g]); },
                [&](double v) { return v > 0 && v < bound && v <= limit; });
            // A gene at a limit its step does not point away from keeps its value.
            cand.genes[g] = v ? *v : old;
        }
    }
    for (auto& cand : next) cand.mark = 0;
}

}  // namespace

RunResult search_run(const SearchYear& year, const SearchParams& p, ClockReseeder& random,
                     const SearchProgress& progress, int run_index)
{
    if (progress.run_started) progress.run_started(run_index);
    random.reseed();
    std::vector<fertility_candidate> current;
    size_candidates(current, p.population_size);
    initial_population(year, p, random, current);

    RunResult result;
    std::vector<double> keys(current.size());
    const std::vector<double> sums = selection_sums(p.population_size, p.selection_q);
    std::vector<fertility_candidate> next(current.size());
    double best = 0;
    int counter = 0;
    for (;;) {
        counter = checked_add(counter, 1);
        if (progress.generation) progress.generation(counter);
        for (std::size_t i = 0; i < current.size(); ++i) keys[i] = candidate_fitness(year, current[i], &result.last_births);
        sort_candidates(keys, current);
        if (counter == 1) best = 1e9;
        if (at(keys, 0) < best) {
            best = keys[0];
            result.best = current[0];
        }
        select_into(current, sums, random, next);
        crossover(next, p.crossover_prob, random);
        mutate(next, year, p, random);
        current.swap(next);
        if (best < 1.0 || counter > p.max_generations) break;
    }
    result.generations = counter;
    result.best.mark = counter > p.max_generations ? 0 : 1;
    return result;
}

YearResult year_statistics(std::vector<fertility_candidate>& runs)
{
    YearResult y;
    std::vector<double> tfr(runs.size());
    real sum = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        real t = 0;
        for (double g : runs[r].genes) t = checked_add(t, g);
        tfr[r] = to_double(t);
        if (runs[r].mark == 1) {
            sum = checked_add(sum, tfr[r]);
            ++y.converged;
        }
    }
    y.mean_tfr = to_double(checked_div(sum, y.converged));
    real squares = 0;
    for (std::size_t r = 0; r < runs.size(); ++r)
        if (runs[r].mark == 1) {
            const real d = static_cast<real>(tfr[r]) - y.mean_tfr;
            squares = checked_add(squares, d * d);
        }
    y.sd = to_double(checked_sqrt(checked_div(squares, y.converged)));
    const real half_band = 2.575L * y.sd;
    y.tfr_up = to_double(y.mean_tfr + half_band);
    y.tfr_low = to_double(y.mean_tfr - half_band);
    std::array<real, gene_count> sums{};
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (runs[r].mark != 1 || std::fabs(static_cast<real>(tfr[r]) - y.mean_tfr) > half_band) continue;
        runs[r].mark = 2;
        ++y.kept;
        for (std::size_t g = 0; g < gene_count; ++g) sums[g] = checked_add(sums[g], runs[r].genes[g]);
    }
    for (std::size_t g = 0; g < gene_count; ++g) y.mean_curve[g] = to_double(checked_div(sums[g], y.kept));
    return y;
}

YearResult search_year(const SearchYear& year, const SearchParams& p, ClockReseeder& random,
                       const SearchProgress& progress)
{
    std::vector<fertility_candidate> runs;
    size_candidates(runs, p.run_count);
    int converged = 0;
    RunResult last;
    for (int r = 0; r < p.run_count; ++r) {
        last = search_run(year, p, random, progress, r);
        if (last.best.mark == 1) ++converged;
        if (progress.run_ended) progress.run_ended(converged);
        runs[static_cast<std::size_t>(r)] = last.best;
    }
    YearResult y = year_statistics(runs);
    y.last_generations = last.generations;
    y.last_births = last.last_births;
    return y;
}

}  // namespace vantelo::planning
