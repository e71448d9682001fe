#pragma once
// The life tables of the life-table form: single-year (complete) or abridged tables from death
// rates, with the separation factors a(x) filled by one of four methods. Plain arrays, no
// windows: the form reads the table, calls these and shows the arrays.
#include <string>
#include <vector>

namespace vantelo::analysis {

// The arrays a life-table computation fills and its result window reads. Indices are age
// groups 0..N-1: single years 0, 1, 2, ... or the abridged groups 0, 1-4, 5-9, 10-14, ...
// (group k >= 2 covers ages 5(k-1) to 5(k-1)+4); the last group is open.
struct LifeTableState {
    int life_group_count = 0;                // N
    int life_interval_width = 1;             // n: 1 for single years, 5 for abridged groups
    std::vector<double> life_population;     // P(x), only when computed from death counts
    std::vector<double> life_deaths;         // D(x), only when computed from death counts
    std::vector<double> life_death_rate;     // m(x), "Mx"
    std::vector<double> life_death_prob;     // q(x), "qx"
    std::vector<double> life_table_deaths;   // d(x), "Dx"
    std::vector<double> life_survivors;      // l(x), radix 1, N+1 values with l(N) = 0, "lx"
    std::vector<double> life_years_lived;    // L(x), "Lx"
    std::vector<double> life_years_remaining;  // T(x), "Tx"
    std::vector<double> life_expectancy;     // e(x), "ex"
    // a(x): fraction of the year (single years) or years (abridged) lived in the group by those
    // who die in it. Fixed at 101 values and never cleared, so a table has at most 101 groups:
    // an index above 100 raises the range error.
    std::vector<double> life_separation = std::vector<double>(101, 0.0);
};

// Maximum number of groups of a life table (single ages 0 to 100).
inline constexpr int max_life_groups = 101;

// Gives the per-group arrays their lengths for n groups (n + 1 for the survivors); values that
// remain are kept until they are written. Sets life_group_count and life_interval_width.
void size_life_arrays(LifeTableState& t, int n, int width);

// m(x) = D(x) / P(x) for every group, stored with P and D. A population of 0 raises the
// division error (0/0 the invalid-operation error); no sign or range check otherwise.
// P and D must have the group count's length (else the range error).
void death_rates_from_counts(LifeTableState& t, const std::vector<double>& population,
                             const std::vector<double>& deaths);

enum class SeparationMethod {
    uniform,        // 均匀分布
    chiang,         // 蒋庆琅法
    coale_demeny,   // Coale-Demeny
    united_nations  // 联合国法
};

// Fills life_separation by a method, for single years (width 1) or abridged groups (width 5),
// from the death rates already in t. The last group's factor is replaced by 1/m by the table
// itself, so what a method writes there does not matter.
//
// Uniform: single years a(0) = a0, a(1..4) = 4a1/4, a(5..100) = 0.5; abridged a(0) = a0,
//   a(1) = 4a1, a(2..100) = 2.5 (a0 and 4a1 as typed by the user).
// Chiang: fixed fractions of the year by five-year group (0.09 for age 0, 0.39 for 1-4, 0.46,
//   0.54, 0.57, 0.49, 0.50, 0.52, 0.54, 0.54, 0.54, 0.53, 0.52, 0.52, 0.52, 0.51, 0.51, 0.48 for
//   80-84, 0.46 from 85); single years give every age its group's fraction, abridged groups
//   take the years (0.09, 1.56, 2.3, 2.7, 2.85, 2.45, 2.5, 2.6, 2.7, 2.7, 2.7, 2.65, 2.6, 2.6, 2.6,
//   2.55, 2.55, 2.4, then 2.3 for groups 18..100).
// Coale-Demeny: q0 = 1 - exp(-m(0)) is stored as q(0); for "Male" a0 = 0.33, 4a1 = 1.352 when
//   q0 is above 0.1 (compared in extended precision, so the double nearest 0.1 counts as above),
//   else a0 = 0.0425 + 2.875 q0, 4a1 = 1.63 - 3.013 q0; for "Female" 0.35 and 1.361, else
//   0.05 + 3.0 q0 and 1.524 - 1.627 q0. The male 1.63 is the program's constant (the West model
//   is usually quoted as 1.653; the difference moves e0 by a few thousandths of a year).
//   Single years: a(0) = a0, a(1..4) = 4a1/4, a(5..9) = 0.45, a(10..70) = 0.52,
//   a(71..100) = 0.5. Abridged: a(0) = a0, a(1) = 4a1, a(2) = 2.25, a(3..15) = 2.6,
//   a(16..100) = 2.5.
// United Nations: a(0) and the ages 1-4 as Coale-Demeny, then
//   single years: a(5..14) = 0.5; x = 15..N-2: a(x) = [2.5 - (25/12)(m(x) - 0.2 ln(m(x+1)/m(x-1)))]/5;
//   abridged: a(2) = a(3) = 2.5; k = 4..N-2: a(k) = 2.5 - (25/12)(m(k) - 0.2 ln(m(k+1)/m(k-1))).
//   (UN Model Life Tables, 1982, use the slope 1/10 where the program uses 0.2.)
//   A rate of zero or below under the logarithm raises the invalid-operation error, a zero
//   rate as divisor the division error; a group beyond 100 the range error.
//
// Returns false, having set no factor, when the method needs the sex (Coale-Demeny, United
// Nations) and `sex` is neither "Male" nor "Female" exactly. a0 and 4a1 are used by the
// uniform method only. Needs m(0) for those two methods (an empty table raises the range error).
bool fill_separation_factors(LifeTableState& t, SeparationMethod method, int width,
                             const std::string& sex, double a0, double a1_4);

// The single-year (complete) life table from m(0..N-1) and a(0..N-2):
//   q(x) = 1 - exp(-m(x)); l(0) = 1;
//   x = 0..N-2: d(x) = l(x) q(x), l(x+1) = l(x) - d(x), L(x) = (l(x) - l(x+1)) a(x) + l(x+1);
//   last age open: q = 1, a(N-1) = 1/m(N-1), d = l(N-1), l(N) = 0, L(N-1) = l(N-1)/m(N-1);
//   T(N-1) = L(N-1), T(x) = T(x+1) + L(x); e(x) = T(x)/l(x).
// q uses the constant-force relation; a(x) enters only L. Needs N >= 1 (N = 0 raises the range
// error); m(N-1) = 0 raises the division error; N > 101 the range error at a(101).
void life_table_single_year(LifeTableState& t);

// The abridged life table, groups 0 (one year), 1 (four years) and n = life_interval_width
// years from group 2 on, a(x) in years:
//   q(0) = 1 - exp(-m(0)), q(1) = 1 - exp(-4 m(1)), q(k) = 1 - exp(-n m(k));
//   l(0) = 1; d(x) = l(x) q(x); l(x+1) = l(x) - d(x);
//   L(0) = (l(0) - l(1)) a(0) + l(1); L(1) = 4 l(2) + (l(1) - l(2)) a(1);
//   L(k) = n l(k+1) + (l(k) - l(k+1)) a(k), k = 2..N-2;
//   the last group open as in the single-year table (for N = 2 it replaces group 1); T and e
//   as there. Needs N >= 2 (fewer raise the range error).
void life_table_abridged(LifeTableState& t);

}  // namespace vantelo::analysis
