#pragma once
// The first half of a planning run: the life tables of both sexes as far as L(x), the
// projection of the present population without births over the planning period, and the births
// target of every planning year. Ages x = 0..N-1 in single years; planning years j = 0..Y-1.
#include <vector>

#include "projection/engine/workspace.h"

namespace vantelo::planning {

using projection::k_ar;
using projection::k_grid;

// One sex's arrays of the planning dialog.
struct PlanSex {
    k_ar next_pop;      // population one year on (work array of the projection)
    k_ar death_prob;    // q(x)
    k_ar deaths;        // d(x)
    k_grid years_lived; // L(x) by age and planning year; every column holds the same L(x)
    k_ar pop;           // population by age; after a run the survivors at the end of the period
    k_ar death_rate;    // m(x)
    k_ar survivors;     // l(x), N+1 values, l(0) = 1, l(N) = 0
    k_ar sep_factor;    // a(x)
    double infant_rate = 0;  // m(0)
};

// Everything the dialog keeps between its handlers.
struct PlanningData {
    PlanSex male, female;
    k_ar asfr;                // the fertility field last loaded; ages 15..49 are the reference rates
    int plan_year_count = 0;  // Y
};

// Sizes one sex's arrays for n ages and y planning years (values that remain are kept).
void size_plan_sex(PlanSex& s, int n, int y);

// The single-year life table of one sex as far as L, from s.death_rate (n ages) and the
// separation factors already in s.sep_factor:
//   q(x) = 1 - exp(-m(x)); l(0) = 1;
//   x = 0..n-2: d(x) = l(x) q(x), l(x+1) = l(x) - d(x), L(x) = (l(x) - l(x+1)) a(x) + l(x+1);
//   last age n-1: q = 1, a = 1/m(n-1) (replacing the separation factor), d = l(n-1), l(n) = 0,
//   so L(n-1) = l(n-1)/m(n-1).
// L(x) is copied into every one of the y columns of s.years_lived. m(n-1) = 0 raises the
// division error (the shared life-table core also computes T and e, which are not kept; a
// survivor count that falls to 0 raises its division error). Arrays must be sized
// (size_plan_sex).
void plan_life_table(PlanSex& s, int n, int y);

// The female population of every planning year and what the search needs of it.
struct WomenByYear {
    k_grid women;          // [x][j]: women aged x at the start of year j
    k_ar birth_women;      // [j]: women aged 15..49 at the start of year j
    k_ar mean_age;         // [j]: their mean age, sum of x P_f(x) / sum of P_f(x), x = 15..49
};

// Projects the population of both sexes over y years without births, from pop of each sex:
// for each year j the women of the year are recorded (see WomenByYear), then
//   next(x+1) = L(x+1)/L(x) P(x) for x = 0..n-2, next(0) = 0 (no births; age n-1 is not
//   carried on), and P(x) := next(x) rounded to a whole number, half to even.
// After the last year, pop holds the survivors at the end of the period. No woman aged 15..49
// in some year raises the invalid-operation error (0/0 of the mean age); fewer than 50 ages the
// range error.
WomenByYear project_without_births(PlanSex& male, PlanSex& female, int n, int y);

// How the births of the period are spread over its years.
enum class BirthsRule {
    none,             // no button chosen: every target stays 0
    equal_births,     // RadioButton1: the same births in every year
    equal_survivors,  // RadioButton2: every year's births leave the same survivors at the end
};

// Births target of each planning year. D = target - sum over all ages of (P_m + P_f), the
// survivors at the end of the period; with L_M, L_F column 0 of the life tables and
// r = 1/1.05 (female births per male birth):
//   equal_births:    K = sum over j = 0..y-1 of [L_M(j+1)/L_M(0) + r L_F(j+1)/L_F(0)],
//                    target[j] = (1 + r) D/K for every j;
//   equal_survivors: c = D/y; target[y-1-j] = (c/(1 + r)) L_M(0)/L_M(j+1)
//                    + (c - c/(1 + r)) L_F(0)/L_F(j+1), j = 0..y-1.
// A target below the survivors gives negative targets. y >= n raises the range error (L(y)).
k_ar births_targets(const PlanSex& male, const PlanSex& female, int y, double population_target,
                    BirthsRule rule);

}  // namespace vantelo::planning
