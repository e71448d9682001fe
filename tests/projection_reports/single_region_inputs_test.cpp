#include <gtest/gtest.h>

#include <cmath>

#include "projection/engine/input_message.h"
#include "projection/single_region_inputs.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

std::vector<double> ages(int n, double v)
{
    return std::vector<double>(static_cast<size_t>(n), v);
}

}  // namespace

TEST(PopulationLoader, SexRatioAtBirthFromAgeZero)
{
    ProjectionWorkspace ws;
    auto male = ages(81, 10);
    male[0] = 105;
    auto female = ages(81, 10);
    female[0] = 100;
    store_population(ws, Sex::male, male, 10);
    store_population(ws, Sex::female, female, 10);
    derive_population(ws, Sex::female);
    EXPECT_EQ(ws.age_group_count, 81);
    EXPECT_EQ(ws.proj_year_count, 10);
    EXPECT_DOUBLE_EQ(ws.birth_share_male[0], 105.0 / 205.0);
    EXPECT_DOUBLE_EQ(ws.birth_share_female[0], 100.0 / 205.0);
    EXPECT_NEAR(ws.base_sex_ratio, 105.0, 1e-9);
    derive_population(ws, Sex::male);
    EXPECT_NEAR(ws.base_sex_ratio, 105.0, 1e-9);
}

TEST(PopulationLoader, NoInfantsOfOneSexLeavesTheRatioAtZero)
{
    ProjectionWorkspace ws;
    ws.base_sex_ratio = 99;
    auto male = ages(81, 10);
    male[0] = 0;
    store_population(ws, Sex::male, male, 5);
    store_population(ws, Sex::female, ages(81, 10), 5);
    derive_population(ws, Sex::male);
    EXPECT_EQ(ws.base_sex_ratio, 0);
}

TEST(PopulationLoader, ANegativeCountIsRefusedButKept)
{
    ProjectionWorkspace ws;
    auto male = ages(81, 10);
    male[40] = -1;
    store_population(ws, Sex::male, male, 5);
    try {
        derive_population(ws, Sex::male);
        FAIL();
    } catch (const InputMessage& m) {
        EXPECT_STREQ(m.what(), "数据格式不正确.");
    }
    EXPECT_EQ(ws.pop_male[40], -1);
}

TEST(MortalityLoader, RatesOutsideZeroToOneAreRefused)
{
    for (double bad : {0.0, -0.01, 1.5}) {
        ProjectionWorkspace ws;
        auto m = ages(81, 0.01);
        m[80] = bad;
        store_death_rates(ws, Sex::female, m, 5);
        EXPECT_THROW(derive_death_rates(ws, Sex::female), InputMessage) << bad;
        EXPECT_EQ(ws.death_rate_female[80], bad);
        EXPECT_TRUE(ws.base_e0_female_text.empty());
    }
}

TEST(MortalityLoader, BuildsTheLifeTableAndItsBaseText)
{
    // a constant rate m at every age: q = 1 - e^-m, so l(x) = e^(-m x) and e0 is finite
    ProjectionWorkspace ws;
    store_death_rates(ws, Sex::male, ages(81, 1.0), 3);
    derive_death_rates(ws, Sex::male);
    EXPECT_FALSE(ws.base_e0_male_text.empty());
    ASSERT_EQ(ws.lt_years_lived_male.size(), 81u);
    EXPECT_EQ(ws.lt_years_lived_male[0].size(), 3u);
    // L copied into every year column
    EXPECT_EQ(ws.lt_years_lived_male[10][2], ws.lt_years_lived_male[10][0]);
}

TEST(FertilityLoader, PatternAndTfrText)
{
    ProjectionWorkspace ws;
    auto f = ages(81, 0);
    f[20] = 0.05;   // age 20
    f[25] = 0.125;  // age 25
    f[30] = 0.025;
    store_fertility(ws, f, 4);
    EXPECT_DOUBLE_EQ(ws.tfr_value, 0.2);
    for (double t : ws.tfr_by_year) EXPECT_EQ(t, ws.tfr_value);
    derive_fertility(ws, 1);
    EXPECT_EQ(ws.parity_count, 1);
    EXPECT_EQ(ws.base_tfr_text, ".2");
    EXPECT_DOUBLE_EQ(ws.fert_pattern[5][0], 0.25);     // 0.05 / 0.2
    EXPECT_DOUBLE_EQ(ws.fert_pattern[10][0], 0.625);
    EXPECT_NEAR(static_cast<double>(pattern_sum(ws)), 1.0, 1e-15);
}

TEST(FertilityLoader, RefusesANoughtTfrAndRatesAboveOne)
{
    ProjectionWorkspace ws;
    store_fertility(ws, ages(81, 0), 4);
    EXPECT_THROW(derive_fertility(ws, 1), InputMessage);
    auto f = ages(81, 0);
    f[20] = 1.5;
    store_fertility(ws, f, 4);
    ws.parity_count = 1;
    EXPECT_THROW(derive_fertility(ws, 2), InputMessage);
    EXPECT_EQ(ws.parity_count, 1);
    EXPECT_EQ(ws.asfr[20][0], 1.5);
}
