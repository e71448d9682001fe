#pragma once
// The year-end population by single year of age and sex, estimated from the population now,
// the death rates of both sexes, the year's births and a known year-end total. Each age is the
// mean of the people now at that age and the survivors, one year on, of the age below; age 0
// comes from the births. The mortality of both sexes is shifted (logit fit of the survivorship
// curves, 0.02 years of life expectancy per pass) until the estimated total lies within one
// hundred-thousandth of the given total.
//
// Everything is computed in the projection workspace: the loaders write the structures and the
// single-year life tables there, the estimate leaves its results there.
#include <string>
#include <vector>

#include "projection/engine/workspace.h"

namespace vantelo::analysis {

inline constexpr const char* msg_year_end_logic = "数据逻辑错误!";
inline constexpr const char* msg_year_end_check = "数据逻辑错误!!!请检查数据!";

// Population loader of one sex: N := the column's length becomes age_group_count, pop_male and
// pop_female are both sized to N (values already there stay), and the column goes into the
// sex's population. A value below 0 raises InputMessage "数据格式不正确." after the values are
// stored.
void load_year_end_population(projection::ProjectionWorkspace& ws, projection::Sex sex,
                              const std::vector<double>& column);

// Death-rate loader of one sex: N := the column's length becomes age_group_count,
// proj_year_count := 1, the sex's rates and life-table columns are sized for N ages and one
// year column, and the column goes into the sex's death rates. A rate below 0 or above 1 raises
// InputMessage "数据格式不正确." and no life table is built; a rate of 0 is accepted. Then the
// single-year life table of the sex is built in year column 0 (build_life_table of the
// projection: separation factors from m(0), q = 1 - exp(-m), last age open with a = 1/m).
// Fewer than 71 ages raise the range error of the separation factors, m(N-1) = 0 the division
// error; the life table is then incomplete and the caller must not count it as built.
void load_year_end_death_rates(projection::ProjectionWorkspace& ws, projection::Sex sex,
                               const std::vector<double>& column);

// What the window knows of its inputs.
struct YearEndInputs {
    bool fields_chosen = false;           // all four field lists hold a text
    bool male_population = false;         // a male population field was read by this window
    bool female_population = false;
    bool male_life_table = false;         // a male death-rate load of this window completed
    bool female_life_table = false;
    std::string total_text;               // T, year-end total population
    std::string male_births_text;         // B_m
    std::string female_births_text;       // B_f
};

struct YearEndTotals {
    double total = 0;
    double male_births = 0;
    double female_births = 0;
};

// The checks before the estimate, in this order, each raising InputMessage with its text and
// changing nothing (N = age_group_count):
//  1. a field list without a text: "选定原始数据变量不够!";
//  2. for x = 0..N-1, in this order: P_m(x) < 0 "男性年龄别人口数据格式不正确.",
//     P_f(x) < 0 "女性年龄别人口数据格式不正确.", m_m(x) outside [0, 1]
//     "男性年龄别死亡率数据格式不正确.", m_f(x) outside [0, 1] "女性年龄别死亡率数据格式不正确.";
//     a sex whose population was not read, or whose life table was not built (or whose last-age
//     rate is 0), gets its population or death-rate message;
//  3. T, B_m, B_f read from their texts in that order (the conversion error for a text that is
//     not a number, the empty text included); T <= 0, B_m <= 0, B_f <= 0 or T <= B_m + B_f:
//     "数据逻辑错误!";
//  4. T >= B_m + B_f + sum over x = 1..N-1 of (P_m(x) + P_f(x)): "数据逻辑错误!!!请检查数据!";
//  5. 3 (B_m + B_f) >= sum over x = 15..49 of P_f(x): "数据逻辑错误!!!请检查数据!".
// Returns T, B_m and B_f.
YearEndTotals check_year_end_inputs(const projection::ProjectionWorkspace& ws, const YearEndInputs& in);

// Bounds of the estimate's loops. The fit of one sex has its own bound of 200 halvings.
struct YearEndLimits {
    int max_passes = 10000;
};

// The estimate for the n ages of the current table, after check_year_end_inputs. With
// tau = T/100000, delta = 0.02 and, per sex s, L_s the current person-years lived:
//   E_s(x+1) = L_s(x+1)/L_s(x) P_s(x), x = 0..n-2;  E_s(0) = B_s L_s(0);
//   E_s(x) = (P_s(x) + E_s(x))/2 for x = 1..n-1 (age 0 not averaged);
//   S_E = sum E_m + sum E_f;
//   each sex's target: its current e(0) + delta if T >= S_E, else e(0) - delta; the male curve,
//   then the female one, is fitted to its target (logit_fit, tolerance 0.0001, on the current
//   curve): e(0) := the fitted sum, l(0) = 1, l(x) := logit_shift(l(x)), x = 1..n-1, and
//   L(x) = (l(x) - l(x+1)) a(x) + l(x+1) with the life table's a (a(n-1) = 1/m(n-1));
//   a pass with |S_E - T| > tau is followed by another.
// The estimate is E of the last pass (computed before that pass's fit), rounded half to even.
// On success the workspace holds: age_group_count = n, proj_year_count = 1, logit_eps = 0.0001,
// the last fit's state, l, L and e(0) of both sexes from the last fit (q, d, T, e(x >= 1)
// unchanged), next_pop_male/female = the rounded estimate, and res_total_pop, res_male_pop,
// res_female_pop of one element each: the sums of the unrounded estimate.
// A fit target that no shift reaches, a fit that does not converge, or more than
// limits.max_passes passes raise InputMessage "数据逻辑错误!!!请检查数据!" and leave the workspace
// as it was. Returns the number of passes.
int estimate_year_end(projection::ProjectionWorkspace& ws, int n, const YearEndTotals& totals,
                      const YearEndLimits& limits = {});

}  // namespace vantelo::analysis
