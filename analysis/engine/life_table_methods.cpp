#include "analysis/engine/life_table_methods.h"

#include "platform/core/checked.h"
#include "projection/engine/life_table_core.h"

namespace vantelo::analysis {
namespace {

// Chiang's fractions of the year by five-year group: age 0, 1-4, 5-9, ..., 80-84, 85 and over.
constexpr double chiang_fraction[] = {0.09, 0.39, 0.46, 0.54, 0.57, 0.49, 0.50, 0.52, 0.54, 0.54,
                                      0.54, 0.53, 0.52, 0.52, 0.52, 0.51, 0.51, 0.48, 0.46};
// The same in years for the abridged groups (1.56 = 4 x 0.39, then 5 x the fraction).
constexpr double chiang_years[] = {0.09, 1.56, 2.3, 2.7, 2.85, 2.45, 2.5, 2.6, 2.7, 2.7,
                                   2.7, 2.65, 2.6, 2.6, 2.6, 2.55, 2.55, 2.4, 2.3};
constexpr int chiang_groups = 19;

double& sep(LifeTableState& t, int x) { return at(t.life_separation, x); }

void fill_range(LifeTableState& t, int from, int to, double value)
{
    for (int x = from; x <= to; ++x) sep(t, x) = value;
}

// The five-year group of a single age: 0 for age 0, 1 for 1-4, then 1 + age/5, with 85 and
// over in the last group.
int chiang_group(int age)
{
    if (age == 0) return 0;
    if (age <= 4) return 1;
    const int g = 1 + age / 5;
    return g < chiang_groups ? g : chiang_groups - 1;
}

struct InfantFactors {
    real a0;
    real a1_4;  // years lived in ages 1-4 by those dying there
};

// a0 and 4a1 of the Coale-Demeny rule from q0 (a double), compared with 0.1 in extended
// precision. Returns false for a sex other than "Male" or "Female".
bool coale_demeny_infant(const std::string& sex, double q0, InfantFactors& f)
{
    const bool high = static_cast<real>(q0) > 0.1L;
    if (sex == "Male") {
        f = high ? InfantFactors{0.33L, 1.352L} : InfantFactors{0.0425L + 2.875L * q0, 1.63L - 3.013L * q0};
        return true;
    }
    if (sex == "Female") {
        f = high ? InfantFactors{0.35L, 1.361L} : InfantFactors{0.05L + 3.0L * q0, 1.524L - 1.627L * q0};
        return true;
    }
    return false;
}

// The United Nations factor of a group from its rate and its neighbours' rates, in years of
// a five-year group.
real un_factor(real m, real m_before, real m_after)
{
    const real slope = 25.0L / 12.0L;
    return 2.5L - slope * (m - 0.2L * checked_ln(checked_div(m_after, m_before)));
}

// q = 1 - exp(-w m) in extended precision.
double death_prob(real width, double m) { return to_double(1.0L - checked_exp(-(width * m))); }

// Closes the last (open) group with q = 1 and a = 1/m, so that L = l/m, and fills l, d, L, T
// and e through the shared life-table core from q(0..N-1), a(0..N-1) and the group widths.
void complete_table(LifeTableState& t, const std::vector<double>& widths)
{
    const int n = t.life_group_count;
    const int last = n - 1;
    projection::LifeTableArrays core;
    for (int x = 0; x < last; ++x) core.a.push_back(sep(t, x));
    at(t.life_death_prob, last) = 1.0;
    sep(t, last) = to_double(checked_div(1.0L, at(t.life_death_rate, last)));
    core.a.push_back(sep(t, last));
    core.q.assign(t.life_death_prob.begin(), t.life_death_prob.end());
    projection::life_table_columns(core, n, widths);
    t.life_table_deaths = core.d;
    t.life_survivors = core.l;
    t.life_years_lived = core.L;
    t.life_years_remaining = core.T;
    t.life_expectancy = core.e;
}

}  // namespace

void size_life_arrays(LifeTableState& t, int n, int width)
{
    if (n < 0) raise_range();
    t.life_group_count = n;
    t.life_interval_width = width;
    const auto sz = static_cast<std::size_t>(n);
    for (auto* v : {&t.life_population, &t.life_deaths, &t.life_death_rate, &t.life_death_prob,
                    &t.life_table_deaths, &t.life_years_lived, &t.life_years_remaining, &t.life_expectancy})
        v->resize(sz, 0.0);
    t.life_survivors.resize(sz + 1, 0.0);
}

void death_rates_from_counts(LifeTableState& t, const std::vector<double>& population,
                             const std::vector<double>& deaths)
{
    for (int i = 0; i < t.life_group_count; ++i) {
        at(t.life_population, i) = at(population, i);
        at(t.life_deaths, i) = at(deaths, i);
        at(t.life_death_rate, i) = to_double(checked_div(at(deaths, i), at(population, i)));
    }
}

bool fill_separation_factors(LifeTableState& t, SeparationMethod method, int width,
                             const std::string& sex, double a0, double a1_4)
{
    const bool single = width == 1;
    switch (method) {
    case SeparationMethod::uniform:
        sep(t, 0) = a0;
        if (single) {
            fill_range(t, 1, 4, to_double(static_cast<real>(a1_4) / 4.0L));
            fill_range(t, 5, 100, 0.5);
        } else {
            sep(t, 1) = a1_4;
            fill_range(t, 2, 100, 2.5);
        }
        return true;
    case SeparationMethod::chiang:
        if (single)
            for (int x = 0; x <= 100; ++x) sep(t, x) = chiang_fraction[chiang_group(x)];
        else
            for (int k = 0; k <= 100; ++k) sep(t, k) = chiang_years[k < chiang_groups ? k : chiang_groups - 1];
        return true;
    case SeparationMethod::coale_demeny:
    case SeparationMethod::united_nations:
        break;
    }

    const double q0 = to_double(1.0L - checked_exp(-static_cast<real>(at(t.life_death_rate, 0))));
    at(t.life_death_prob, 0) = q0;
    InfantFactors f{};
    if (!coale_demeny_infant(sex, q0, f)) return false;
    sep(t, 0) = to_double(f.a0);
    if (single)
        fill_range(t, 1, 4, to_double(f.a1_4 / 4.0L));
    else
        sep(t, 1) = to_double(f.a1_4);

    const std::vector<double>& m = t.life_death_rate;
    const int n = t.life_group_count;
    if (method == SeparationMethod::coale_demeny) {
        if (single) {
            fill_range(t, 5, 9, 0.45);
            fill_range(t, 10, 70, 0.52);
            fill_range(t, 71, 100, 0.5);
        } else {
            sep(t, 2) = 2.25;
            fill_range(t, 3, 15, 2.6);
            fill_range(t, 16, 100, 2.5);
        }
    } else if (single) {
        fill_range(t, 5, 14, 0.5);
        for (int x = 15; x <= n - 2; ++x)
            sep(t, x) = to_double(un_factor(at(m, x), at(m, x - 1), at(m, x + 1)) / 5.0L);
    } else {
        sep(t, 2) = 2.5;
        sep(t, 3) = 2.5;
        for (int k = 4; k <= n - 2; ++k) sep(t, k) = to_double(un_factor(at(m, k), at(m, k - 1), at(m, k + 1)));
    }
    return true;
}

void life_table_single_year(LifeTableState& t)
{
    const int n = t.life_group_count;
    for (int x = 0; x < n; ++x) at(t.life_death_prob, x) = death_prob(1.0L, at(t.life_death_rate, x));
    complete_table(t, {});
}

void life_table_abridged(LifeTableState& t)
{
    const int n = t.life_group_count;
    const std::vector<double>& m = t.life_death_rate;
    std::vector<double>& q = t.life_death_prob;
    at(q, 0) = death_prob(1.0L, at(m, 0));
    at(q, 1) = death_prob(4.0L, at(m, 1));
    for (int k = 2; k < n; ++k) at(q, k) = death_prob(t.life_interval_width, at(m, k));
    // Group 0 lasts one year, group 1 four, every later group n years.
    std::vector<double> widths(static_cast<size_t>(n), t.life_interval_width);
    widths[0] = 1.0;
    widths[1] = 4.0;
    complete_table(t, widths);
}

}  // namespace vantelo::analysis
