#pragma once
// The life table over plain arrays, for every caller that has its own rates and separation
// factors: the projection (through build_life_table), the life-table form (single-year and
// abridged), the year-end estimate and target planning.
#include <vector>

namespace vantelo::projection {

// The columns of one life table of n age intervals; l has n + 1 entries, l(n) = 0.
struct LifeTableArrays {
    std::vector<double> q;  // probability of dying in the interval
    std::vector<double> a;  // separation factor: years lived in the interval by those dying in it
    std::vector<double> l;  // survivors at the start of the interval, l(0) = 1
    std::vector<double> d;  // deaths in the interval
    std::vector<double> L;  // person-years lived in the interval
    std::vector<double> T;  // person-years lived from the start of the interval on
    std::vector<double> e;  // expectation of life at the start of the interval
};

// The steps after q: from q(0..n-1) and a(0..n-1) already in t, and interval widths w(x)
// (empty: every width 1), in extended precision, each result stored as a double:
//   l(0) = 1;  d(x) = l(x) q(x);  l(x+1) = l(x) - d(x);
//   L(x) = (l(x) - l(x+1)) a(x) + w(x) l(x+1)      (a in years; for w = 1, a is the fraction);
//   T(n-1) = L(n-1), T(x) = T(x+1) + L(x);  e(x) = T(x)/l(x).
// An open last interval has q(n-1) = 1 and a(n-1) = 1/m(n-1), so L(n-1) = l(n-1)/m(n-1).
// n < 1, q or a (or a non-empty w) shorter than n raise the range error; e(x) with l(x) = 0
// the division error.
void life_table_columns(LifeTableArrays& t, int n, const std::vector<double>& widths = {});

// The single-year table from death rates m(0..n-1) and separation factors a(0..n-1):
//   q(x) = 1 - exp(-m(x)) for x < n-1;  the last age is closed: q(n-1) = 1, a(n-1) = 1/m(n-1);
// then life_table_columns with widths 1. m(n-1) = 0 raises the division error, before anything
// is computed.
LifeTableArrays life_table_from_rates(const std::vector<double>& m, const std::vector<double>& a, int n);

}  // namespace vantelo::projection
