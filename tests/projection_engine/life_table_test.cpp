// Separation factors, the single-year life table and the logit fit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/core/numtext.h"
#include "projection/engine/input_message.h"
#include "projection/engine/life_table.h"
#include "run_fixture.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

struct SepCase {
    const char* name;
    Sex sex;
    double m0;
    double a0, a1;
};

// Expected values worked by hand from the constants and linear formulas of each sex.
const SepCase sep_cases[] = {
    {"male q0 = 0", Sex::male, 0.0, 0.0425, 0.4075},
    {"female q0 = 0", Sex::female, 0.0, 0.05, 0.381},
    // Only this m0 gives q0 = double(0.1), and only in extended precision.
    {"male q0 at the threshold", Sex::male, 0.10536051565782631, 0.33, 0.338},
    {"female q0 at the threshold", Sex::female, 0.10536051565782631, 0.35, 0.34025},
    // The double nearest -ln 0.9 falls just below: linear, a(1) = (1.63 - 0.3013)/4.
    {"male q0 just below", Sex::male, 0.1053605156578263, 0.0425 + 0.2875, 0.332175},
    {"female q0 just below", Sex::female, 0.1053605156578263, 0.05 + 0.3, (1.524 - 0.1627) / 4},
    {"male high infant mortality", Sex::male, 0.5, 0.33, 0.338},
};

void fill(Sex sex, k_ar& a, int n, double m0)
{
    if (sex == Sex::male)
        sep_factors_male(a, n, m0);
    else
        sep_factors_female(a, n, m0);
}

}  // namespace

TEST(SeparationFactors, InfantAndChildFactorsByCase)
{
    for (const auto& c : sep_cases) {
        SCOPED_TRACE(c.name);
        k_ar a(81, 0.0);
        fill(c.sex, a, 81, c.m0);
        EXPECT_NEAR(a[0], c.a0, 1e-12);
        for (int x = 1; x <= 4; ++x) EXPECT_NEAR(a[x], c.a1, 1e-12);
    }
}

TEST(SeparationFactors, ThresholdNeedsExactComparisonOfAOne)
{
    // At q0 = 0.1 the male linear a(0) is 0.33 as well; only a(1) tells the branches apart.
    k_ar at_threshold(71, 0.0), below(71, 0.0);
    sep_factors_male(at_threshold, 71, 0.10536051565782631);
    sep_factors_male(below, 71, 0.1053605156578263);
    EXPECT_EQ(at_threshold[1], 0.338);
    EXPECT_NEAR(below[1], 0.332175, 1e-12);
}

TEST(SeparationFactors, AdultAgesAndLengths)
{
    k_ar a71(71, 0.0);
    sep_factors_female(a71, 71, 0.01);
    for (int x = 5; x <= 9; ++x) EXPECT_EQ(a71[x], 0.45);
    for (int x = 10; x <= 69; ++x) EXPECT_EQ(a71[x], 0.52);
    EXPECT_EQ(a71[70], 0.5);

    k_ar a90(90, 0.0);
    sep_factors_male(a90, 90, 0.01);
    for (int x = 70; x < 90; ++x) EXPECT_EQ(a90[x], 0.5);

    // Seventy ages: index 70 is always written, so it stops there, after ages 0..69.
    k_ar a70(70, 0.0);
    EXPECT_THROW(sep_factors_male(a70, 70, 0.01), RangeError);
    EXPECT_EQ(a70[69], 0.52);
    EXPECT_EQ(a70[5], 0.45);
}

namespace {

struct Table {
    ProjectionWorkspace ws;
    LifeTableColumns t = ws.life_table(Sex::male);
};

// A male table of n ages and y year columns with rates m(x).
void build(Table& tb, const std::vector<double>& m, int y)
{
    const int n = static_cast<int>(m.size());
    tb.ws.death_rate_male = m;
    size_life_table(tb.t, n, y);
    build_life_table(tb.t, Sex::male, n, y);
}

}  // namespace

TEST(LifeTable, ConstantRateAgainstHandDerivation)
{
    // m = 0.02 at every age: l(x) = exp(-0.02 x); a(0) = 0.0425 + 2.875 q, a(1..4) =
    // (1.63 - 3.013 q)/4, a(5..9) = 0.45, a(10..69) = 0.52; the last age holds l(70)/0.02.
    const int n = 71;
    Table tb;
    build(tb, std::vector<double>(n, 0.02), 3);
    const double q = 1 - std::exp(-0.02);
    std::vector<double> a(n);
    a[0] = 0.0425 + 2.875 * q;
    for (int x = 1; x <= 4; ++x) a[x] = (1.63 - 3.013 * q) / 4;
    for (int x = 5; x <= 9; ++x) a[x] = 0.45;
    for (int x = 10; x < n; ++x) a[x] = 0.52;
    double total = 0;
    for (int x = 0; x < n; ++x) {
        const double l = std::exp(-0.02 * x);
        EXPECT_NEAR(tb.ws.lt_survivors_male[x][0], l, 1e-13) << x;
        double big_l = x < n - 1 ? (l - std::exp(-0.02 * (x + 1))) * a[x] + std::exp(-0.02 * (x + 1)) : l / 0.02;
        EXPECT_NEAR(tb.ws.lt_years_lived_male[x][0], big_l, 1e-12) << x;
        total += big_l;
    }
    EXPECT_NEAR(tb.ws.lt_years_above_male[0], total, 1e-10);
    EXPECT_NEAR(tb.ws.life_exp_male[0], total, 1e-10);
    EXPECT_EQ(tb.ws.lt_survivors_male[n][0], 0.0);
    EXPECT_EQ(tb.ws.death_prob_male[n - 1], 1.0);
    EXPECT_EQ(tb.ws.sep_factor_male[n - 1], 50.0);  // 1/m(N-1) in years
    EXPECT_EQ(tb.ws.infant_rate_male, 0.02);
    // The e0 text carries at most eight decimals of e(0).
    const std::string& text = tb.ws.base_e0_male_text;
    EXPECT_LE(text.size() - text.find('.') - 1, 8u);
    EXPECT_NEAR(static_cast<double>(parse_float(text)), total, 5e-9);
}

TEST(LifeTable, InvariantsOnARisingSchedule)
{
    std::vector<double> m(101);
    for (int x = 0; x < 101; ++x) m[x] = std::min(1.0, 0.0004 + 0.00003 * std::exp(0.1 * x));
    m[0] = 0.03;
    Table tb;
    build(tb, m, 4);
    auto& l = tb.ws.lt_survivors_male;
    auto& big_l = tb.ws.lt_years_lived_male;
    double sum_l = 0;
    for (int x = 0; x < 101; ++x) {
        EXPECT_LE(tb.ws.death_prob_male[x], 1.0);
        EXPECT_GE(tb.ws.death_prob_male[x], 0.0);
        EXPECT_LE(l[x + 1][0], l[x][0]);
        EXPECT_NEAR(tb.ws.lt_deaths_male[x], l[x][0] - l[x + 1][0], 1e-15);
        EXPECT_NEAR(tb.ws.life_exp_male[x], tb.ws.lt_years_above_male[x] / l[x][0], 1e-12);
        sum_l += big_l[x][0];
        // L is copied into every year column, l is not.
        for (int c = 1; c < 4; ++c) EXPECT_EQ(big_l[x][c], big_l[x][0]);
        if (x > 0) {
            EXPECT_EQ(l[x][1], 0.0);
        }
    }
    EXPECT_NEAR(tb.ws.lt_years_above_male[0], sum_l, 1e-10);
}

TEST(LifeTable, RateOfOneAtTheLastAge)
{
    std::vector<double> m(71, 0.01);
    m[70] = 1.0;
    Table tb;
    build(tb, m, 1);
    EXPECT_EQ(tb.ws.sep_factor_male[70], 1.0);
    EXPECT_EQ(tb.ws.lt_years_lived_male[70][0], tb.ws.lt_survivors_male[70][0]);
}

TEST(LifeTable, RefusesTooFewAgesBeforeAnyColumnChanges)
{
    Table tb;
    build(tb, std::vector<double>(71, 0.01), 1);
    const double l10 = tb.ws.lt_survivors_male[10][0];
    tb.ws.death_rate_male = std::vector<double>(70, 0.5);
    size_life_table(tb.t, 70, 1);
    EXPECT_THROW(build_life_table(tb.t, Sex::male, 70, 1), RangeError);
    EXPECT_EQ(tb.ws.lt_survivors_male[10][0], l10);

    // No year column: the range error at column 0.
    Table none;
    none.ws.death_rate_male = std::vector<double>(71, 0.01);
    size_life_table(none.t, 71, 0);
    EXPECT_THROW(build_life_table(none.t, Sex::male, 71, 0), RangeError);
}

namespace {

std::vector<double> base_rates()
{
    std::vector<double> m(81);
    for (int x = 0; x < 81; ++x) m[x] = std::min(1.0, 0.0005 + 0.00004 * std::exp(0.095 * x));
    m[0] = 0.02;
    return m;
}

k_ar base_curve()
{
    Table tb;
    build(tb, base_rates(), 1);
    k_ar l(81);
    for (int x = 0; x < 81; ++x) l[x] = tb.ws.lt_survivors_male[x][0];
    return l;
}

}  // namespace

TEST(LogitFit, MeetsTargetsAndShiftsEveryAgeByTheSameLogit)
{
    const k_ar l = base_curve();
    double sum_l = 0;
    for (double v : l) sum_l += v;
    struct Case {
        const char* name;
        double target;
    } cases[] = {{"target below the base sum", sum_l - 6.5},
                 {"target above the base sum", sum_l + 4.25},
                 {"target near the top", 79.5},
                 {"target near the bottom", 1.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LogitFit f = logit_fit(l, 81, c.target, 1e-9);
        EXPECT_LE(std::fabs(f.sum - c.target), 1e-9);
        EXPECT_LT(f.passes, 60);
        // l* = l / (e^(2a)(1 - l) + l) means (1 - l*)/l* = e^(2a) (1 - l)/l: every age's
        // log-odds of dying moves by 2a.
        double s = 0;
        for (int x = 0; x < 81; ++x) {
            const double shifted = l[x] / (std::exp(2 * f.alpha) * (1 - l[x]) + l[x]);
            s += shifted;
            if (x > 0 && x < 75 && std::fabs(f.alpha) < 5) {
                EXPECT_NEAR(std::log((1 - shifted) / shifted) - std::log((1 - l[x]) / l[x]), 2 * f.alpha, 1e-6);
            }
        }
        EXPECT_NEAR(s, c.target, 1e-8);
        if (c.target < sum_l) {
            EXPECT_GT(f.alpha, 0);
        } else {
            EXPECT_LT(f.alpha, 0);
        }
    }
}

TEST(LogitFit, TargetOfTheBaseSumGivesAlphaNearZero)
{
    const k_ar l = base_curve();
    double sum_l = 0;
    for (double v : l) sum_l += v;
    const LogitFit f = logit_fit(l, 81, sum_l, 1e-9);
    EXPECT_NEAR(f.alpha, 0.0, 1e-9);
}

TEST(LogitFit, TargetsOutOfReachEndWithAMessage)
{
    const k_ar l = base_curve();
    for (double target : {0.0, 0.5, 81.5, 200.0}) {
        SCOPED_TRACE(target);
        try {
            logit_fit(l, 81, target, 1e-9);
            ADD_FAILURE() << "no message";
        } catch (const InputMessage& e) {
            EXPECT_STREQ(e.what(), "期望寿命设定超出范围！请重新设定。");
        }
    }
}

namespace {

// The male table of base_rates, and its separation factors worked out from their rules.
struct BaseTable {
    k_ar l, a;
    double e0 = 0;
};

BaseTable base_table()
{
    const std::vector<double> m = base_rates();
    Table tb;
    build(tb, m, 1);
    BaseTable b;
    for (int x = 0; x < 81; ++x) b.l.push_back(tb.ws.lt_survivors_male[x][0]);
    b.a = projection::testing::independent_sep_factors(m, Sex::male);
    b.e0 = tb.ws.life_exp_male[0];
    return b;
}

// e(0) of the curve shifted by alpha, from the life-table definitions.
double shifted_e0(const BaseTable& b, double alpha)
{
    long double t = 0;
    for (int x = 0; x < 81; ++x) {
        auto shift = [&](int i) -> long double {
            if (i == 0) return 1;
            if (i == 81) return 0;
            return b.l[i] / (std::exp(2 * alpha) * (1 - b.l[i]) + b.l[i]);
        };
        t += (shift(x) - shift(x + 1)) * b.a[x] + shift(x + 1);
    }
    return static_cast<double>(t);
}

}  // namespace

TEST(LifeExpectancyFit, MeetsTargetsAsTheLifeTablesE0)
{
    const BaseTable b = base_table();
    // The engine's separation factors are the ones worked out from the rules.
    Table tb;
    build(tb, base_rates(), 1);
    for (int x = 0; x < 81; ++x) ASSERT_NEAR(tb.ws.sep_factor_male[x], b.a[x], 1e-15) << x;
    ASSERT_NEAR(shifted_e0(b, 0), b.e0, 1e-12);  // alpha 0 is the base table

    struct Case {
        const char* name;
        double target;
    } cases[] = {{"the base e0", b.e0},
                 {"the base e0 with two decimals", std::round(b.e0 * 100) / 100},
                 {"below the base", b.e0 - 6.5},
                 {"above the base", b.e0 + 4.25},
                 {"near the top", 79.5 + b.a[80]},
                 {"near the bottom", 1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LogitFit f = logit_fit_life_expectancy(b.l, b.a, 81, c.target, 1e-9);
        EXPECT_LE(std::fabs(f.sum - c.target), 1e-9);
        EXPECT_NEAR(shifted_e0(b, f.alpha), c.target, 1e-9 + 1e-12);
        EXPECT_LT(f.passes, 60);
    }
    // The base e0 itself is met with the base curve.
    EXPECT_NEAR(logit_fit_life_expectancy(b.l, b.a, 81, b.e0, 1e-9).alpha, 0.0, 1e-9);
    // The sum of the survivors is a different figure (here the open age's 1/m(80) = 12.4
    // person-years per survivor make e(0) the larger).
    double sum_l = 0;
    for (double v : b.l) sum_l += v;
    EXPECT_GT(std::fabs(sum_l - b.e0), 1.0);
    EXPECT_NEAR(logit_fit(b.l, 81, sum_l, 1e-9).alpha, 0.0, 1e-9);
}

TEST(LifeExpectancyFit, TargetsOutOfReachEndWithAMessage)
{
    const BaseTable b = base_table();
    // Reach: from about a(0) (everyone dies in the first year) to 80 + 1/m(80) (nobody dies
    // before the open age).
    const double top = 80 + b.a[80], bottom = b.a[0];
    for (double target : {0.0, bottom - 0.01, top + 0.01, 200.0}) {
        SCOPED_TRACE(target);
        try {
            logit_fit_life_expectancy(b.l, b.a, 81, target, 1e-9);
            ADD_FAILURE() << "no message";
        } catch (const InputMessage& e) {
            EXPECT_STREQ(e.what(), "期望寿命设定超出范围！请重新设定。");
        }
    }
}
