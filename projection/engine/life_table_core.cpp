#include "projection/engine/life_table_core.h"

#include "platform/core/checked.h"

namespace vantelo::projection {

void life_table_columns(LifeTableArrays& t, int n, const std::vector<double>& widths)
{
    if (n < 1 || static_cast<int>(t.q.size()) < n || static_cast<int>(t.a.size()) < n
        || (!widths.empty() && static_cast<int>(widths.size()) < n))
        throw RangeError();
    const auto un = static_cast<size_t>(n);
    t.l.assign(un + 1, 0.0);
    t.d.assign(un, 0.0);
    t.L.assign(un, 0.0);
    t.T.assign(un, 0.0);
    t.e.assign(un, 0.0);
    t.l[0] = 1.0;
    for (size_t x = 0; x < un; ++x) {
        const real lx = t.l[x];
        t.d[x] = to_double(lx * t.q[x]);
        t.l[x + 1] = to_double(lx - t.d[x]);
        const real lx1 = t.l[x + 1];
        const real survivors = widths.empty() ? lx1 : widths[x] * lx1;
        t.L[x] = to_double(check_finite((lx - lx1) * t.a[x] + survivors));
    }
    t.T[un - 1] = t.L[un - 1];
    for (size_t x = un - 1; x-- > 0;) t.T[x] = to_double(static_cast<real>(t.T[x + 1]) + t.L[x]);
    for (size_t x = 0; x < un; ++x) t.e[x] = to_double(checked_div(t.T[x], t.l[x]));
}

LifeTableArrays life_table_from_rates(const std::vector<double>& m, const std::vector<double>& a, int n)
{
    if (n < 1 || static_cast<int>(m.size()) < n || static_cast<int>(a.size()) < n) throw RangeError();
    const auto un = static_cast<size_t>(n);
    LifeTableArrays t;
    t.a.assign(a.begin(), a.begin() + n);
    t.a[un - 1] = to_double(checked_div(1.0L, m[un - 1]));
    t.q.resize(un);
    for (size_t x = 0; x + 1 < un; ++x) t.q[x] = to_double(1.0L - checked_exp(-static_cast<real>(m[x])));
    t.q[un - 1] = 1.0;
    life_table_columns(t, n, {});
    return t;
}

}  // namespace vantelo::projection
