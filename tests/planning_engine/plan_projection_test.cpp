#include <gtest/gtest.h>

#include <cmath>

#include "planning/engine/plan_projection.h"

namespace vantelo::planning {
namespace {

// L(x) of column 0 set by hand, copied into y columns.
PlanSex with_years_lived(const std::vector<double>& big_l, int y)
{
    PlanSex s;
    size_plan_sex(s, static_cast<int>(big_l.size()), y);
    for (std::size_t x = 0; x < big_l.size(); ++x)
        for (int j = 0; j < y; ++j) s.years_lived[x][static_cast<std::size_t>(j)] = big_l[x];
    return s;
}

TEST(PlanLifeTable, ThreeAgesByHand)
{
    // l(x) = exp(-(m(0) + ... + m(x-1))) since q = 1 - exp(-m); a = 0.5 below the last age.
    PlanSex s;
    size_plan_sex(s, 3, 2);
    s.death_rate = {0.1, 0.2, 0.5};
    s.sep_factor = {0.5, 0.5, 0.5};
    plan_life_table(s, 3, 2);
    EXPECT_NEAR(s.survivors[1], std::exp(-0.1), 1e-15);
    EXPECT_NEAR(s.survivors[2], std::exp(-0.3), 1e-15);
    EXPECT_EQ(s.survivors[3], 0.0);
    EXPECT_EQ(s.death_prob[2], 1.0);
    EXPECT_EQ(s.sep_factor[2], 2.0);  // 1/m of the last age
    const double expected[3] = {0.9524187090179798, 0.8228278193588388, 1.4816364413634358};
    for (int x = 0; x < 3; ++x)
        for (int j = 0; j < 2; ++j) EXPECT_NEAR(s.years_lived[static_cast<std::size_t>(x)][static_cast<std::size_t>(j)], expected[x], 1e-15);
    EXPECT_NEAR(s.deaths[0] + s.deaths[1] + s.deaths[2], 1.0, 1e-15);  // everyone dies once
}

TEST(PlanLifeTable, LastRateZeroIsADivisionError)
{
    PlanSex s;
    size_plan_sex(s, 2, 1);
    s.death_rate = {0.1, 0.0};
    EXPECT_THROW(plan_life_table(s, 2, 1), ZeroDivideError);
}

TEST(ProjectionWithoutBirths, HalvesRoundToEvenAndNoOneIsBorn)
{
    // L(x) = 2^-x: each age keeps half of the age below it.
    const int n = 71, y = 2;
    std::vector<double> halves(n);
    for (int x = 0; x < n; ++x) halves[static_cast<std::size_t>(x)] = std::ldexp(1.0, -x);
    PlanSex male = with_years_lived(halves, y), female = with_years_lived(halves, y);
    male.pop.assign(n, 5);    // 2.5 -> 2, then 1
    female.pop.assign(n, 7);  // 3.5 -> 4, then 2
    const WomenByYear w = project_without_births(male, female, n, y);

    EXPECT_EQ(w.birth_women[0], 35 * 7);
    EXPECT_EQ(w.mean_age[0], 32);  // uniform over 15..49
    EXPECT_EQ(w.women[20][1], 4);
    EXPECT_EQ(w.birth_women[1], 35 * 4);
    EXPECT_EQ(w.mean_age[1], 32);
    EXPECT_EQ(male.pop[0], 0);
    EXPECT_EQ(male.pop[1], 0);
    EXPECT_EQ(male.pop[2], 1);   // 5 -> 2.5 -> 2 -> 1
    EXPECT_EQ(female.pop[2], 2); // 7 -> 3.5 -> 4 -> 2
    EXPECT_EQ(female.pop[70], 2);
}

TEST(ProjectionWithoutBirths, NoWomanOfChildbearingAgeIsAnInvalidOperation)
{
    const int n = 71;
    std::vector<double> ones(n, 1.0);
    PlanSex male = with_years_lived(ones, 1), female = with_years_lived(ones, 1);
    male.pop.assign(n, 10);
    female.pop.assign(n, 0);
    EXPECT_THROW(project_without_births(male, female, n, 1), InvalidOpError);
}

struct TargetsFixture : testing::Test {
    // L_M = 1, 0.9, 0.8; L_F = 1, 0.95, 0.9; survivors 100 in all.
    PlanSex male = with_years_lived({1, 0.9, 0.8}, 2);
    PlanSex female = with_years_lived({1, 0.95, 0.9}, 2);
    void SetUp() override
    {
        male.pop = {10, 20, 30};
        female.pop = {15, 25, 0};
    }
};

TEST_F(TargetsFixture, OneYear)
{
    // D = 1000; r = 1/1.05.
    EXPECT_NEAR(births_targets(male, female, 1, 1100, BirthsRule::equal_births)[0], 1081.7941952506596, 1e-9);
    EXPECT_NEAR(births_targets(male, female, 1, 1100, BirthsRule::equal_survivors)[0], 1082.5845100556269, 1e-9);
    EXPECT_EQ(births_targets(male, female, 1, 1100, BirthsRule::none)[0], 0.0);
}

TEST_F(TargetsFixture, TwoYears)
{
    const k_ar eb = births_targets(male, female, 2, 1100, BirthsRule::equal_births);
    EXPECT_NEAR(eb[0], 563.961485557084, 1e-9);
    EXPECT_EQ(eb[0], eb[1]);
    // The first year's births must survive longest, so its target is the larger.
    const k_ar es = births_targets(male, female, 2, 1100, BirthsRule::equal_survivors);
    EXPECT_NEAR(es[0], 591.1246612466125, 1e-9);
    EXPECT_NEAR(es[1], 541.2922550278134, 1e-9);
}

TEST_F(TargetsFixture, TargetBelowSurvivorsGivesNegativeTargets)
{
    EXPECT_LT(births_targets(male, female, 1, 50, BirthsRule::equal_births)[0], 0);
}

TEST_F(TargetsFixture, PeriodAsLongAsTheTableIsARangeError)
{
    EXPECT_THROW(births_targets(male, female, 3, 1100, BirthsRule::equal_births), RangeError);
}

}  // namespace
}  // namespace vantelo::planning
