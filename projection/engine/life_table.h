#pragma once
// Separation factors, the single-year life table and the life-expectancy (logit) fit: the one
// home of these routines for the projection, the urban/rural projection, the year-end estimate
// and target planning.
#include <string_view>

#include "projection/engine/workspace.h"

namespace vantelo::projection {

// Separation factors a(x), the fraction of the year lived by those dying at age x, from the
// infant death rate m0. With q0 = 1 - exp(-m0) (computed in extended precision, then rounded to
// a double):
//   q0 >= 0.1 (the double nearest 0.1 counts):  a(0) = 0.33,  a(1..4) = 0.338
//   otherwise:  a(0) = 0.0425 + 2.875 q0,  a(1..4) = (1.63 - 3.013 q0)/4
//   a(5..9) = 0.45, a(10..70) = 0.52, and when n >= 71 a(70..n-1) = 0.5.
// Indices up to 70 are always written: an array of fewer than 71 elements raises the range
// error at its first missing index, after the elements before it are written. The caller sets
// every element to 0 first.
void sep_factors_male(k_ar& a, int n, double m0);

// As sep_factors_male with the female constants: 0.35 and 0.34025 when q0 >= 0.1, otherwise
// a(0) = 0.05 + 3.0 q0 and a(1..4) = (1.524 - 1.627 q0)/4.
void sep_factors_female(k_ar& a, int n, double m0);

// Both sexes in one call, each by its own rule.
void sep_factors_both(k_ar& male, k_ar& female, int n, double m0_male, double m0_female);

// Picture of the base life expectancy written by the table loaders (the wizard writes
// "#####.####").
inline constexpr std::string_view e0_pattern_loader = "#####.########";
inline constexpr std::string_view e0_pattern_wizard = "#####.####";

// Sizes one sex's life-table columns for n ages and y year columns: q, a, d, T and e to n,
// l to n+1 rows and L to n rows of y columns (values that remain are kept).
void size_life_table(LifeTableColumns t, int n, int y);

// The single-year life table of one sex in year column 0, from m(0..n-1) in t.death_rate: the
// separation factors of the sex go into the workspace, then life_table_from_rates
// (life_table_core.h) computes the columns, which are copied into the workspace:
//   infant_rate = m(0); a(x) = 0, then the separation factors of the sex from m(0);
//   q(x) = 1 - exp(-m(x)); l(0) = 1;
//   x = 0..n-2: d(x) = l(x) q(x), l(x+1) = l(x) - d(x), L(x) = (l(x) - l(x+1)) a(x) + l(x+1);
//   last age: q = 1, a(n-1) = 1/m(n-1), d = l(n-1), l(n) = 0, so L(n-1) = l(n-1)/m(n-1):
//     the person-years of everyone aged n-1 and over (an open last age);
//   T(n-1) = L(n-1), T(x) = T(x+1) + L(x); e(x) = T(x)/l(x);
//   L of column 0 is copied into columns 1..y-1 (l is not copied);
//   base_e0_text = e(0) written with e0_pattern.
// Assumes 0 < m(x) <= 1 (the loaders refuse anything else); m(n-1) = 0 raises the division
// error, fewer than 71 ages the range error of the separation factors (before q, l, d, L, T and
// e change), and y = 0 the range error at column 0.
void build_life_table(LifeTableColumns t, Sex sex, int n, int y,
                      std::string_view e0_pattern = e0_pattern_loader);

// Person-years lived from survivors in one year column:
//   L(x)[col] = (l(x)[col] - l(x+1)[col]) a(x) + l(x+1)[col],  x = 0..n-1,
// with l(n)[col] the value held there.
void years_lived_from_survivors(const k_grid& l, k_grid& big_l, const k_ar& a, int n, int col);

// The logit shift of one survivorship value: l* = l / (e^(2 alpha) (1 - l) + l); l* = 1 for
// l = 1, l* = 0 for l = 0; alpha < 0 raises the curve, alpha > 0 lowers it.
real logit_shift(real l, real e2alpha);

// S(alpha) = sum over x = 0..n-1 of l(x) / (e^(2 alpha) (1 - l(x)) + l(x)), added up in a
// double, for the curve l(0..n-1). S falls as alpha rises. The year-end estimate steps its
// population towards a total with this sum (logit_fit); it is not the life expectancy.
double logit_sum(const k_ar& l, int n, double alpha);

// e(0) of the curve l(0..n-1) shifted by alpha, computed as build_life_table computes the e(0)
// it shows, with the separation factors a(0..n-1) of that table (a(n-1) = 1/m(n-1)):
//   l*(0) = 1, l*(x) = logit_shift(l(x)) for x = 1..n-1 (each stored as a double), l*(n) = 0;
//   L*(x) = (l*(x) - l*(x+1)) a(x) + l*(x+1);  T(n-1) = L*(n-1), T(x) = T(x+1) + L*(x);
//   e(0) = T(0)/l*(0) = T(0).
// These l* and L* are exactly what fit_life_expectancy_row stores for the year, so the fitted
// year's life table shows this e(0). It falls as alpha rises (every a(x) of x < n-1 is below 1).
double logit_life_expectancy(const k_ar& l, const k_ar& a, int n, double alpha);

struct LogitFit {
    double alpha = 0;  // the last alpha tried
    double sum = 0;    // S of that alpha
    double lo = 0;     // bisection bounds when the fit stopped
    double hi = 0;
    int passes = 0;
};

// Logit fit of a survivorship curve l(0..n-1) (l(0) = 1) to a target sum e*: bisection of alpha
// in [-100, 100]; each pass alpha = (hi + lo)/2, S = logit_sum; e* > S makes alpha the new upper
// bound, otherwise the new lower bound; it stops at the first pass with |S - e*| <= eps.
// This fit matches the sum of the shifted survivors, not e(0) of a life table: it is the search
// step of the year-end estimate.
// A target outside [S(100) - eps, S(-100) + eps], which no alpha in the interval reaches,
// raises InputMessage "期望寿命设定超出范围！请重新设定。" before any pass; so does a fit that has
// not met the tolerance after 200 passes (in-range targets need fewer than 60).
LogitFit logit_fit(const k_ar& l, int n, double target, double eps);

// The same bisection, bounds, tolerance, pass cap and message with S = logit_life_expectancy:
// the curve is shifted until its life table's e(0) equals the target life expectancy.
LogitFit logit_fit_life_expectancy(const k_ar& l, const k_ar& a, int n, double target, double eps);

}  // namespace vantelo::projection
