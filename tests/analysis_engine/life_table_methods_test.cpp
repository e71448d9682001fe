// The life-table form's tables: separation factors by method, single-year and abridged tables.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/engine/life_table_methods.h"
#include "platform/core/errors.h"

using namespace vantelo;
using namespace vantelo::analysis;

namespace {

LifeTableState from_rates(const std::vector<double>& m, int width)
{
    LifeTableState t;
    size_life_arrays(t, static_cast<int>(m.size()), width);
    t.life_death_rate = m;
    return t;
}

// A table of the given width (1 or 5) by a method; the uniform factors with a0 = 0.5 and
// 4a1 = 2 give every single age a = 0.5 and every abridged group half its width.
LifeTableState computed(const std::vector<double>& m, int width, SeparationMethod method, const std::string& sex)
{
    LifeTableState t = from_rates(m, width);
    EXPECT_TRUE(fill_separation_factors(t, method, width, sex, 0.5, 2.0));
    if (width == 1)
        life_table_single_year(t);
    else
        life_table_abridged(t);
    return t;
}

LifeTableState single_year(const std::vector<double>& m, SeparationMethod method = SeparationMethod::uniform,
                            const std::string& sex = "Male")
{
    return computed(m, 1, method, sex);
}

LifeTableState abridged(const std::vector<double>& m, SeparationMethod method = SeparationMethod::uniform,
                         const std::string& sex = "Male")
{
    return computed(m, 5, method, sex);
}

void expect_invariants(const LifeTableState& t)
{
    const int n = t.life_group_count;
    EXPECT_EQ(t.life_survivors[0], 1.0);
    EXPECT_EQ(t.life_survivors[static_cast<size_t>(n)], 0.0);
    for (int x = 0; x < n; ++x) {
        EXPECT_LE(t.life_death_prob[static_cast<size_t>(x)], 1.0);
        EXPECT_LE(t.life_survivors[static_cast<size_t>(x + 1)], t.life_survivors[static_cast<size_t>(x)]);
        EXPECT_NEAR(t.life_expectancy[static_cast<size_t>(x)] * t.life_survivors[static_cast<size_t>(x)],
                    t.life_years_remaining[static_cast<size_t>(x)], 1e-12);
    }
}

}  // namespace

// A constant rate m gives l(x) = r^x with r = exp(-m); with a = 1/2 every L(x) is the
// trapezoid l(x)(1 + r)/2 and the open last age lives l/m, so
//   e0 = (1 + r)/2 * (1 - r^(N-1))/(1 - r) + r^(N-1)/m.
TEST(LifeTableSingleYear, ConstantRateMatchesClosedForm)
{
    for (double m : {0.001, 0.02, 0.3}) {
        for (int n : {1, 2, 81, 101}) {
            SCOPED_TRACE("m=" + std::to_string(m) + " n=" + std::to_string(n));
            const LifeTableState t = single_year(std::vector<double>(static_cast<size_t>(n), m));
            const double r = std::exp(-m);
            const double rn = std::pow(r, n - 1);
            const double e0 = (1 + r) / 2 * (1 - rn) / (1 - r) + rn / m;
            EXPECT_NEAR(t.life_expectancy[0], e0, 1e-9 * e0);
            EXPECT_NEAR(t.life_expectancy[static_cast<size_t>(n - 1)], 1 / m, 1e-9 / m);
            EXPECT_NEAR(t.life_survivors[static_cast<size_t>(n - 1)], rn, 1e-12);
            expect_invariants(t);
        }
    }
}

TEST(LifeTableSingleYear, OneRecordIsTheOpenAgeAlone)
{
    const LifeTableState t = single_year({0.25});
    EXPECT_EQ(t.life_death_prob[0], 1.0);
    EXPECT_EQ(t.life_table_deaths[0], 1.0);
    EXPECT_DOUBLE_EQ(t.life_years_lived[0], 4.0);
    EXPECT_DOUBLE_EQ(t.life_years_remaining[0], 4.0);
    EXPECT_DOUBLE_EQ(t.life_expectancy[0], 4.0);
    EXPECT_DOUBLE_EQ(t.life_separation[0], 4.0);  // the last factor becomes 1/m
}

TEST(LifeTableSingleYear, GroupCountLimits)
{
    // 101 ages fill the fixed factors to index 100; the 102nd has none.
    EXPECT_NO_THROW(single_year(std::vector<double>(101, 0.05)));
    LifeTableState t = from_rates(std::vector<double>(102, 0.05), 1);
    ASSERT_TRUE(fill_separation_factors(t, SeparationMethod::uniform, 1, "Male", 0.2, 1.5));
    EXPECT_THROW(life_table_single_year(t), RangeError);

    LifeTableState empty = from_rates({}, 1);
    EXPECT_THROW(life_table_single_year(empty), RangeError);
}

TEST(LifeTableSingleYear, ArithmeticFaultsRaise)
{
    LifeTableState t = from_rates({0.1, 0.2, 0.0}, 1);
    fill_separation_factors(t, SeparationMethod::uniform, 1, "Male", 0.2, 1.5);
    EXPECT_THROW(life_table_single_year(t), ZeroDivideError);

    LifeTableState counts;
    size_life_arrays(counts, 2, 1);
    EXPECT_THROW(death_rates_from_counts(counts, {100, 0}, {1, 1}), ZeroDivideError);
    death_rates_from_counts(counts, {1000, 200}, {10, 50});
    EXPECT_DOUBLE_EQ(counts.life_death_rate[0], 0.01);
    EXPECT_DOUBLE_EQ(counts.life_death_rate[1], 0.25);
    EXPECT_EQ(counts.life_population[1], 200);
    EXPECT_EQ(counts.life_deaths[1], 50);
}

// Abridged groups at a constant rate: l(k) = exp(-m (5k - 4)) for k >= 1, the single-year l at
// the group's first age; with a = half the width each L is the group's trapezoid.
TEST(LifeTableAbridged, ConstantRateMatchesClosedForm)
{
    const double m = 0.02;
    const int n = 19;  // 0, 1-4, 5-9, ..., 85+
    const LifeTableState t = abridged(std::vector<double>(n, m));
    std::vector<double> expect_l(n + 1);
    expect_l[0] = 1;
    expect_l[1] = std::exp(-m);
    for (int k = 2; k <= n - 1; ++k) expect_l[k] = std::exp(-m * 5 * (k - 1));
    double e0 = (1 + expect_l[1]) / 2 + 2 * (expect_l[1] + expect_l[2]);
    for (int k = 2; k < n - 1; ++k) e0 += 2.5 * (expect_l[k] + expect_l[k + 1]);
    e0 += expect_l[n - 1] / m;
    for (int k = 0; k < n; ++k) EXPECT_NEAR(t.life_survivors[k], expect_l[k], 1e-12) << k;
    EXPECT_NEAR(t.life_expectancy[0], e0, 1e-9);
    EXPECT_NEAR(t.life_expectancy[n - 1], 1 / m, 1e-9);
    expect_invariants(t);
}

TEST(LifeTableAbridged, AgreesWithSingleYearTableOnTheSameRates)
{
    // Single ages 0..85 with the open 85+, and the abridged groups over the same ages.
    const double m = 0.015;
    const LifeTableState single = single_year(std::vector<double>(86, m));
    const LifeTableState groups = abridged(std::vector<double>(19, m));
    EXPECT_NEAR(groups.life_survivors[1], single.life_survivors[1], 1e-15);
    for (int k = 2; k < 19; ++k) {
        const int age = 5 * (k - 1);
        EXPECT_NEAR(groups.life_survivors[k], single.life_survivors[age], 1e-14) << k;
        // A trapezoid of width w over exp(-m t) is (w m)^2/12 too large, relatively: five-year
        // groups against single years differ by at most (25 - 1) m^2/12 of e.
        const double bound = 24 * m * m / 12 * single.life_expectancy[age];
        EXPECT_NEAR(groups.life_expectancy[k], single.life_expectancy[age], bound) << k;
        if (k < 18) EXPECT_GT(groups.life_expectancy[k], single.life_expectancy[age]) << k;
    }
    EXPECT_NEAR(groups.life_years_lived[18], single.life_years_lived[85], 1e-12);
    EXPECT_NEAR(groups.life_expectancy[0], single.life_expectancy[0], 24 * m * m / 12 * single.life_expectancy[0]);
}

TEST(LifeTableAbridged, TwoGroupsCloseOnGroupOne)
{
    const LifeTableState t = abridged({0.1, 0.2});
    const double l1 = std::exp(-0.1);
    EXPECT_NEAR(t.life_survivors[1], l1, 1e-15);
    EXPECT_EQ(t.life_death_prob[1], 1.0);
    EXPECT_NEAR(t.life_years_lived[1], l1 / 0.2, 1e-14);
    EXPECT_EQ(t.life_survivors[2], 0.0);

    LifeTableState one = from_rates({0.1}, 5);
    fill_separation_factors(one, SeparationMethod::uniform, 5, "Male", 0.2, 1.5);
    EXPECT_THROW(life_table_abridged(one), RangeError);
}

TEST(SeparationFactors, UniformTakesTheTypedFirstFactors)
{
    LifeTableState t = from_rates(std::vector<double>(10, 0.01), 1);
    ASSERT_TRUE(fill_separation_factors(t, SeparationMethod::uniform, 1, "", 0.2, 1.5));
    EXPECT_DOUBLE_EQ(t.life_separation[0], 0.2);
    for (int x = 1; x <= 4; ++x) EXPECT_DOUBLE_EQ(t.life_separation[x], 0.375);
    EXPECT_EQ(t.life_separation[5], 0.5);
    EXPECT_EQ(t.life_separation[100], 0.5);

    ASSERT_TRUE(fill_separation_factors(t, SeparationMethod::uniform, 5, "", 0.2, 1.5));
    EXPECT_DOUBLE_EQ(t.life_separation[1], 1.5);
    EXPECT_EQ(t.life_separation[2], 2.5);
    EXPECT_EQ(t.life_separation[100], 2.5);
}

TEST(SeparationFactors, ChiangAbridgedYearsAreTheFractionsTimesTheWidth)
{
    LifeTableState single = from_rates(std::vector<double>(101, 0.01), 1);
    LifeTableState groups = from_rates(std::vector<double>(21, 0.01), 5);
    ASSERT_TRUE(fill_separation_factors(single, SeparationMethod::chiang, 1, "", 0, 0));
    ASSERT_TRUE(fill_separation_factors(groups, SeparationMethod::chiang, 5, "", 0, 0));
    EXPECT_EQ(single.life_separation[0], 0.09);
    EXPECT_EQ(groups.life_separation[0], 0.09);
    for (int x = 1; x <= 4; ++x) EXPECT_EQ(single.life_separation[x], 0.39);
    EXPECT_NEAR(groups.life_separation[1], 4 * 0.39, 1e-12);
    // Group k >= 2 covers ages 5(k-1)..5(k-1)+4; each of its ages has the group's fraction.
    for (int k = 2; k <= 18; ++k)
        for (int age = 5 * (k - 1); age < 5 * k; ++age)
            EXPECT_NEAR(groups.life_separation[k], 5 * single.life_separation[age], 1e-12) << age;
    EXPECT_EQ(single.life_separation[19], 0.57);   // 15-19
    EXPECT_EQ(single.life_separation[84], 0.48);   // 80-84
    EXPECT_EQ(single.life_separation[100], 0.46);
    EXPECT_EQ(groups.life_separation[100], 2.3);
}

struct InfantCase {
    const char* name;
    const char* sex;
    double m0;
    double a0, a1_4;  // years
};

// Worked from the Coale-Demeny rule: q0 = 1 - exp(-m0); the constants from q0 = 0.1 on.
const InfantCase infant_cases[] = {
    // 1 - exp(-0.05) = 0.048770575499286: a0 = 0.0425 + 2.875 q0, 4a1 = 1.63 - 3.013 q0.
    {"male, low infant mortality", "Male", 0.05, 0.18271540456044721, 1.4830542560206512},
    // a0 = 0.05 + 3 q0, 4a1 = 1.524 - 1.627 q0.
    {"female, low infant mortality", "Female", 0.05, 0.19631172649785794, 1.4446502736626616},
    // This m0 gives q0 = 0.1 exactly as a double, which counts as above 0.1.
    {"male, q0 at 0.1", "Male", 0.10536051565782631, 0.33, 1.352},
    {"female, q0 at 0.1", "Female", 0.10536051565782631, 0.35, 1.361},
    // The double nearest -ln 0.9 gives q0 just below 0.1: the linear rule.
    {"male, q0 just below 0.1", "Male", 0.1053605156578263, 0.0425 + 0.2875, 1.63 - 0.3013},
    {"female, high infant mortality", "Female", 0.4, 0.35, 1.361},
};

TEST(SeparationFactors, CoaleDemenyInfantFactorsBySex)
{
    for (const InfantCase& c : infant_cases) {
        SCOPED_TRACE(c.name);
        for (SeparationMethod method : {SeparationMethod::coale_demeny, SeparationMethod::united_nations}) {
            LifeTableState single = from_rates(std::vector<double>(20, c.m0), 1);
            ASSERT_TRUE(fill_separation_factors(single, method, 1, c.sex, 0, 0));
            EXPECT_NEAR(single.life_separation[0], c.a0, 1e-12);
            for (int x = 1; x <= 4; ++x) EXPECT_NEAR(single.life_separation[x], c.a1_4 / 4, 1e-12);
            EXPECT_NEAR(single.life_death_prob[0], 1 - std::exp(-c.m0), 1e-15);

            LifeTableState groups = from_rates(std::vector<double>(20, c.m0), 5);
            ASSERT_TRUE(fill_separation_factors(groups, method, 5, c.sex, 0, 0));
            EXPECT_NEAR(groups.life_separation[0], c.a0, 1e-12);
            EXPECT_NEAR(groups.life_separation[1], c.a1_4, 1e-12);
        }
    }
}

TEST(SeparationFactors, CoaleDemenyLaterAges)
{
    LifeTableState single = from_rates(std::vector<double>(101, 0.01), 1);
    ASSERT_TRUE(fill_separation_factors(single, SeparationMethod::coale_demeny, 1, "Male", 0, 0));
    EXPECT_EQ(single.life_separation[5], 0.45);
    EXPECT_EQ(single.life_separation[9], 0.45);
    EXPECT_EQ(single.life_separation[10], 0.52);
    EXPECT_EQ(single.life_separation[70], 0.52);  // the projection's factors have 0.5 here
    EXPECT_EQ(single.life_separation[71], 0.5);
    EXPECT_EQ(single.life_separation[100], 0.5);

    LifeTableState groups = from_rates(std::vector<double>(21, 0.01), 5);
    ASSERT_TRUE(fill_separation_factors(groups, SeparationMethod::coale_demeny, 5, "Female", 0, 0));
    EXPECT_EQ(groups.life_separation[2], 2.25);
    EXPECT_EQ(groups.life_separation[3], 2.6);
    EXPECT_EQ(groups.life_separation[15], 2.6);
    EXPECT_EQ(groups.life_separation[16], 2.5);
}

TEST(SeparationFactors, SexTextMustBeExact)
{
    for (const char* sex : {"male", "FEMALE", "", "Male "}) {
        for (SeparationMethod method : {SeparationMethod::coale_demeny, SeparationMethod::united_nations}) {
            LifeTableState t = from_rates(std::vector<double>(20, 0.01), 1);
            t.life_separation.assign(101, 7.0);
            EXPECT_FALSE(fill_separation_factors(t, method, 1, sex, 0, 0)) << sex;
            EXPECT_EQ(t.life_separation[0], 7.0);
            EXPECT_EQ(t.life_separation[50], 7.0);
        }
    }
}

// UN factors: with m(k) = c g^k the logarithm is ln(g^2), so
//   abridged a(k) = 2.5 - (25/12)(m(k) - 0.4 ln g), single years the same divided by 5.
TEST(SeparationFactors, UnitedNationsFromNeighbouringRates)
{
    const double g = 1.5;
    std::vector<double> m(12);
    for (int k = 0; k < 12; ++k) m[k] = 0.001 * std::pow(g, k);
    LifeTableState groups = from_rates(m, 5);
    ASSERT_TRUE(fill_separation_factors(groups, SeparationMethod::united_nations, 5, "Male", 0, 0));
    EXPECT_EQ(groups.life_separation[2], 2.5);
    EXPECT_EQ(groups.life_separation[3], 2.5);
    for (int k = 4; k <= 10; ++k)
        EXPECT_NEAR(groups.life_separation[k], 2.5 - 25.0 / 12 * (m[k] - 0.4 * std::log(g)), 1e-12) << k;

    std::vector<double> ms(30);
    for (int x = 0; x < 30; ++x) ms[x] = 0.0005 * std::pow(g, x);
    LifeTableState single = from_rates(ms, 1);
    ASSERT_TRUE(fill_separation_factors(single, SeparationMethod::united_nations, 1, "Female", 0, 0));
    for (int x = 5; x <= 14; ++x) EXPECT_EQ(single.life_separation[x], 0.5);
    for (int x = 15; x <= 28; ++x)
        EXPECT_NEAR(single.life_separation[x], (2.5 - 25.0 / 12 * (ms[x] - 0.4 * std::log(g))) / 5, 1e-12) << x;
}

TEST(SeparationFactors, UnitedNationsEdges)
{
    // Sixteen single ages: the formula would start at 15 and stop at 14.
    LifeTableState t = from_rates(std::vector<double>(16, 0.01), 1);
    t.life_separation[15] = 9.0;
    ASSERT_TRUE(fill_separation_factors(t, SeparationMethod::united_nations, 1, "Male", 0, 0));
    EXPECT_EQ(t.life_separation[14], 0.5);
    EXPECT_EQ(t.life_separation[15], 9.0);
    life_table_single_year(t);
    EXPECT_DOUBLE_EQ(t.life_separation[15], 100.0);  // the last age's 1/m

    // A zero rate beside a group: the logarithm of 0 and the division by 0 both raise.
    std::vector<double> m(8, 0.01);
    m[5] = 0.0;
    LifeTableState bad = from_rates(m, 5);
    EXPECT_THROW(fill_separation_factors(bad, SeparationMethod::united_nations, 5, "Male", 0, 0), Error);

    // More than 101 single ages reach a(101).
    LifeTableState big = from_rates(std::vector<double>(103, 0.01), 1);
    EXPECT_THROW(fill_separation_factors(big, SeparationMethod::united_nations, 1, "Male", 0, 0), RangeError);

    LifeTableState empty = from_rates({}, 1);
    EXPECT_THROW(fill_separation_factors(empty, SeparationMethod::coale_demeny, 1, "Male", 0, 0), RangeError);
}

// Every method on a realistic schedule: a Gompertz adult curve with higher infant mortality.
TEST(LifeTableMethods, EveryMethodGivesAPlausibleTable)
{
    std::vector<double> single(101), groups(21);
    for (int x = 0; x < 101; ++x) single[x] = x == 0 ? 0.03 : 0.0003 + 0.00005 * std::exp(0.09 * x);
    groups[0] = single[0];
    groups[1] = single[2];
    for (int k = 2; k < 21; ++k) groups[k] = single[5 * (k - 1) + 2];
    for (SeparationMethod method : {SeparationMethod::uniform, SeparationMethod::chiang,
                                    SeparationMethod::coale_demeny, SeparationMethod::united_nations}) {
        SCOPED_TRACE(static_cast<int>(method));
        const LifeTableState s = single_year(single, method);
        const LifeTableState a = abridged(groups, method);
        expect_invariants(s);
        expect_invariants(a);
        EXPECT_GT(s.life_expectancy[0], 60);
        EXPECT_LT(s.life_expectancy[0], 85);
        EXPECT_NEAR(a.life_expectancy[0], s.life_expectancy[0], 1.0);
    }
}
