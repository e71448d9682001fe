#include "planning/engine/plan_projection.h"

#include "platform/core/checked.h"
#include "platform/core/numtext.h"
#include "projection/engine/life_table_core.h"

namespace vantelo::planning {

using projection::resize_array;

void size_plan_sex(PlanSex& s, int n, int y)
{
    resize_array(s.next_pop, n);
    resize_array(s.death_prob, n);
    resize_array(s.deaths, n);
    resize_array(s.years_lived, n, y);
    resize_array(s.pop, n);
    resize_array(s.death_rate, n);
    resize_array(s.survivors, static_cast<long long>(n) + 1);
    resize_array(s.sep_factor, n);
}

void plan_life_table(PlanSex& s, int n, int y)
{
    const projection::LifeTableArrays t = projection::life_table_from_rates(s.death_rate, s.sep_factor, n);
    for (int x = 0; x < n; ++x) {
        at(s.death_prob, x) = at(t.q, x);
        at(s.deaths, x) = at(t.d, x);
        at(s.survivors, x) = at(t.l, x);
        for (int j = 0; j < y; ++j) at(at(s.years_lived, x), j) = at(t.L, x);
    }
    at(s.survivors, n) = at(t.l, n);
    at(s.sep_factor, n - 1) = at(t.a, n - 1);
}

namespace {

// L(x) of column 0.
double big_l(const PlanSex& s, int x) { return at(at(s.years_lived, x), 0); }

void step_one_year(PlanSex& s, int n)
{
    for (int x = 0; x + 1 < n; ++x)
        at(s.next_pop, x + 1) =
            to_double(checked_mul(checked_div(big_l(s, x + 1), big_l(s, x)), at(s.pop, x)));
    at(s.next_pop, 0) = 0.0;
    for (int x = 0; x < n; ++x) at(s.pop, x) = to_double(round_half_even(at(s.next_pop, x)));
}

}  // namespace

WomenByYear project_without_births(PlanSex& male, PlanSex& female, int n, int y)
{
    WomenByYear w;
    resize_array(w.women, n, y);
    resize_array(w.birth_women, y);
    resize_array(w.mean_age, y);
    for (int j = 0; j < y; ++j) {
        for (int x = 0; x < n; ++x) at(at(w.women, x), j) = at(female.pop, x);
        real count = 0, aged = 0;
        for (int x = 15; x <= 49; ++x) {
            count = checked_add(count, at(female.pop, x));
            aged = checked_add(aged, checked_mul(static_cast<real>(x), at(female.pop, x)));
        }
        at(w.birth_women, j) = to_double(count);
        at(w.mean_age, j) = to_double(checked_div(aged, at(w.birth_women, j)));
        step_one_year(male, n);
        step_one_year(female, n);
    }
    return w;
}

k_ar births_targets(const PlanSex& male, const PlanSex& female, int y, double population_target,
                    BirthsRule rule)
{
    k_ar target;
    resize_array(target, y);
    real survivors = 0;
    const long long n = static_cast<long long>(male.pop.size());
    for (long long x = 0; x < n; ++x)
        survivors = checked_add(survivors, checked_add(static_cast<real>(at(male.pop, x)), at(female.pop, x)));
    const double surplus = to_double(checked_sub(population_target, survivors));

    const real r = 1.0L / 1.05L;  // female births per male birth
    const real lm0 = big_l(male, 0), lf0 = big_l(female, 0);
    if (rule == BirthsRule::equal_births) {
        real k = 0;
        for (int j = 0; j < y; ++j)
            k = checked_add(k, checked_add(checked_div(big_l(male, j + 1), lm0),
                                           checked_mul(r, checked_div(big_l(female, j + 1), lf0))));
        const real b = checked_div(surplus, k);
        for (int j = 0; j < y; ++j) at(target, j) = to_double(checked_mul(1.0L + r, b));
    } else if (rule == BirthsRule::equal_survivors) {
        const real c = checked_div(surplus, y);
        const real c_male = checked_div(c, 1.0L + r);
        for (int j = 0; j < y; ++j)
            at(target, y - 1 - j) =
                to_double(checked_add(checked_mul(c_male, checked_div(lm0, big_l(male, j + 1))),
                                      checked_mul(checked_sub(c, c_male), checked_div(lf0, big_l(female, j + 1)))));
    }
    return target;
}

}  // namespace vantelo::planning
