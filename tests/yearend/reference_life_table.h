#pragma once
// A single-year life table worked out here, apart from the program's own: radix 1, the
// separation factors of the sex (a(0), a(1..4) from q0 = 1 - exp(-m(0)) below 0.1; 0.45 at
// 5..9; 0.52 at 10..69; 0.5 from 70), q = 1 - exp(-m), the last age open with L = l/m.
#include <cmath>
#include <vector>

namespace yearend_reference {

struct Table {
    std::vector<double> l, L;  // l has n + 1 entries
    double e0 = 0;             // T(0)/l(0)
};

// Death rates rising with age, higher for men; age 0 0.012 / 0.010, the open last age 0.3 / 0.25.
inline std::vector<double> test_rates(int n, bool male)
{
    std::vector<double> m(n);
    for (int x = 0; x < n; ++x) m[x] = (male ? 1.2 : 1.0) * (0.0005 + 0.00003 * std::exp(0.095 * x));
    m[0] = male ? 0.012 : 0.010;
    m[n - 1] = male ? 0.3 : 0.25;
    return m;
}

inline Table life_table(const std::vector<double>& m, bool male)
{
    const int n = static_cast<int>(m.size());
    const long double q0 = 1 - std::exp(-static_cast<long double>(m[0]));
    std::vector<long double> a(n);
    for (int x = 0; x < n; ++x) a[x] = x < 5 ? 0 : x < 10 ? 0.45L : x < 70 ? 0.52L : 0.5L;
    a[0] = male ? 0.0425L + 2.875L * q0 : 0.05L + 3.0L * q0;
    for (int x = 1; x < 5; ++x) a[x] = male ? (1.63L - 3.013L * q0) / 4 : (1.524L - 1.627L * q0) / 4;
    Table t;
    t.l.assign(n + 1, 0.0);
    t.L.assign(n, 0.0);
    long double l = 1, total = 0;
    t.l[0] = 1;
    for (int x = 0; x + 1 < n; ++x) {
        const long double next = l * std::exp(-static_cast<long double>(m[x]));
        t.L[x] = static_cast<double>(next + (l - next) * a[x]);
        t.l[x + 1] = static_cast<double>(next);
        total += t.L[x];
        l = next;
    }
    t.L[n - 1] = static_cast<double>(l / m[n - 1]);
    total += t.L[n - 1];
    t.e0 = static_cast<double>(total);
    return t;
}

}  // namespace yearend_reference
