// The life table over plain arrays: against the projection's table and a hand-worked abridged
// table.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "projection/engine/life_table.h"
#include "projection/engine/life_table_core.h"

using namespace vantelo;
using namespace vantelo::projection;

TEST(LifeTableCore, SameColumnsAsTheProjectionsTableOnTheSameRates)
{
    const int n = 101;
    std::vector<double> m(n);
    for (int x = 0; x < n; ++x) m[x] = std::min(1.0, 0.0004 + 0.00003 * std::exp(0.1 * x));
    m[0] = 0.03;
    for (Sex sex : {Sex::male, Sex::female}) {
        ProjectionWorkspace ws;
        LifeTableColumns t = ws.life_table(sex);
        t.death_rate = m;
        size_life_table(t, n, 2);
        build_life_table(t, sex, n, 2);

        std::vector<double> a(n, 0.0);
        if (sex == Sex::male)
            sep_factors_male(a, n, m[0]);
        else
            sep_factors_female(a, n, m[0]);
        const LifeTableArrays c = life_table_from_rates(m, a, n);
        ASSERT_EQ(c.l.size(), static_cast<size_t>(n + 1));
        for (int x = 0; x < n; ++x) {
            EXPECT_EQ(c.q[x], t.death_prob[x]) << x;
            EXPECT_EQ(c.a[x], t.sep_factor[x]) << x;
            EXPECT_EQ(c.l[x], t.lt_survivors[x][0]) << x;
            EXPECT_EQ(c.d[x], t.lt_deaths[x]) << x;
            EXPECT_EQ(c.L[x], t.lt_years_lived[x][0]) << x;
            EXPECT_EQ(c.T[x], t.lt_years_above[x]) << x;
            EXPECT_EQ(c.e[x], t.life_exp[x]) << x;
        }
        EXPECT_EQ(c.l[n], 0.0);
        EXPECT_EQ(c.q[n - 1], 1.0);
        EXPECT_DOUBLE_EQ(c.a[n - 1], 1.0 / m[n - 1]);
        EXPECT_DOUBLE_EQ(c.L[n - 1], c.l[n - 1] / m[n - 1]);  // the closed last age
    }
}

TEST(LifeTableCore, AbridgedIntervalsWorkedByHand)
{
    // Widths 1, 4 and an open last interval with m = 0.1 (a = 10 years):
    //   l = 1, .9, .72, 0;  d = .1, .18, .72
    //   L0 = .1 x .3 + .9 = .93;  L1 = .18 x 1.5 + 4 x .72 = 3.15;  L2 = .72 x 10 = 7.2
    //   T = 11.28, 10.35, 7.2;  e = 11.28, 11.5, 10
    LifeTableArrays t;
    t.q = {0.1, 0.2, 1.0};
    t.a = {0.3, 1.5, 10.0};
    life_table_columns(t, 3, {1, 4, 0});
    const double l[] = {1, 0.9, 0.72, 0}, d[] = {0.1, 0.18, 0.72}, big_l[] = {0.93, 3.15, 7.2},
                 big_t[] = {11.28, 10.35, 7.2}, e[] = {11.28, 11.5, 10};
    for (int x = 0; x < 3; ++x) {
        EXPECT_NEAR(t.l[x], l[x], 1e-15) << x;
        EXPECT_NEAR(t.d[x], d[x], 1e-15) << x;
        EXPECT_NEAR(t.L[x], big_l[x], 1e-14) << x;
        EXPECT_NEAR(t.T[x], big_t[x], 1e-13) << x;
        EXPECT_NEAR(t.e[x], e[x], 1e-13) << x;
    }
    EXPECT_NEAR(t.l[3], l[3], 1e-15);

    // Widths of 1 give the single-year rule: L = (l - l') a + l'.
    life_table_columns(t, 3);
    EXPECT_NEAR(t.L[1], 0.18 * 1.5 + 0.72, 1e-15);
}

TEST(LifeTableCore, ShortArraysAndAClosedLastAgeWithoutDeaths)
{
    LifeTableArrays t;
    t.q = {0.1, 1.0};
    t.a = {0.5};
    EXPECT_THROW(life_table_columns(t, 2), RangeError);
    t.a = {0.5, 2.0};
    EXPECT_THROW(life_table_columns(t, 2, {1.0}), RangeError);
    EXPECT_THROW(life_table_columns(t, 0), RangeError);
    EXPECT_THROW(life_table_from_rates({0.1, 0.2}, {0.5}, 2), RangeError);
    EXPECT_THROW(life_table_from_rates({0.1, 0.0}, {0.5, 0.5}, 2), ZeroDivideError);
    // Everyone dead before the last interval: e of that interval is 0/0.
    t.q = {1.0, 1.0};
    EXPECT_THROW(life_table_columns(t, 2), InvalidOpError);
}
