// What the field loaders put into the workspace and the grids, and what they refuse.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "projection/engine/input_loaders.h"
#include "projection/engine/input_message.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

constexpr int base = 2000;

std::vector<double> ages(int n, double v)
{
    return std::vector<double>(static_cast<size_t>(n), v);
}

}  // namespace

TEST(PopulationLoader, SexRatioAtBirthFromAgeZero)
{
    ProjectionWorkspace ws;
    GridModel srb, floating;
    std::vector<double> men(71, 50), women(71, 50);
    men[0] = 105;
    women[0] = 100;
    load_population(ws, Sex::male, men, 3, base, srb, floating);
    load_population(ws, Sex::female, women, 3, base, srb, floating);
    // 105 men per 100 women at age 0: shares 105/205 and 100/205, ratio 105.
    EXPECT_DOUBLE_EQ(ws.birth_share_male[0], 105.0 / 205);
    EXPECT_DOUBLE_EQ(ws.birth_share_female[0], 100.0 / 205);
    EXPECT_NEAR(ws.base_sex_ratio, 105, 1e-12);
    EXPECT_EQ(srb.col_count(), 4);
    EXPECT_EQ(srb.cell(3, 0), "2003");
    EXPECT_EQ(srb.cell(1, 1), "105");
    EXPECT_EQ(floating.cell(2, 3), "0.0");
    EXPECT_EQ(ws.age_group_count, 71);
}

TEST(PopulationLoader, EmptyAgeZeroAndNegativeValues)
{
    ProjectionWorkspace ws;
    GridModel srb, floating;
    std::vector<double> men(71, 50), women(71, 50);
    women[0] = 0;
    load_population(ws, Sex::male, men, 2, base, srb, floating);
    load_population(ws, Sex::female, women, 2, base, srb, floating);
    EXPECT_EQ(ws.base_sex_ratio, 0);
    EXPECT_EQ(srb.cell(1, 1), "");  // nothing is written for 0: a run then stops on this cell

    women[5] = -1;
    srb.set_cell(1, 1, "typed");
    try {
        load_population(ws, Sex::female, women, 2, base, srb, floating);
        ADD_FAILURE();
    } catch (const InputMessage& e) {
        EXPECT_STREQ(e.what(), "数据格式不正确.");
    }
    EXPECT_EQ(ws.pop_female[5], -1);  // the values read stay
    EXPECT_EQ(srb.cell(1, 1), "typed");
}

TEST(MortalityLoader, BuildsTheTableOrRefuses)
{
    ProjectionWorkspace ws;
    GridModel e0;
    load_mortality(ws, Sex::female, std::vector<double>(71, 0.02), 2, base, e0);
    EXPECT_EQ(e0.cell(0, 2), "女性");
    EXPECT_EQ(e0.cell(2, 2), ws.base_e0_female_text);
    EXPECT_FALSE(ws.base_e0_female_text.empty());
    const double e0_before = ws.life_exp_female[0];

    std::vector<double> bad(71, 0.03);
    bad[70] = 0;
    EXPECT_THROW(load_mortality(ws, Sex::female, bad, 2, base, e0), InputMessage);
    EXPECT_EQ(ws.death_rate_female[1], 0.03);
    EXPECT_EQ(ws.life_exp_female[0], e0_before);  // no table built from refused rates
}

TEST(FertilityLoader, PatternTextsAndTotals)
{
    ProjectionWorkspace ws;
    GridModel tfr, pattern, total, pattern2;
    std::vector<double> f(71, 0.0);
    for (int x = 20; x <= 39; ++x) f[x] = 0.05;  // TFR 1, pattern 0.05 at ages 20..39
    load_fertility(ws, 1, f, 2, base, tfr, pattern, total);
    EXPECT_NEAR(ws.tfr_value, 1.0, 1e-15);
    EXPECT_EQ(ws.parity_count, 1);
    EXPECT_EQ(tfr.cell(0, 1), "1孩总和生育率");
    EXPECT_EQ(tfr.cell(2, 1), "1");
    EXPECT_EQ(pattern.cell(0, 1), "15");
    EXPECT_EQ(pattern.cell(0, 35), "49");
    EXPECT_EQ(pattern.cell(1, 1), "0.0");
    EXPECT_EQ(pattern.cell(1, 6), ".05");
    EXPECT_EQ(pattern.cell(0, 36), "合计");
    EXPECT_EQ(pattern.cell(2, 36), "1");
    EXPECT_EQ(total.cell(1, 1), "1");

    std::vector<double> f2(71, 0.0);
    f2[30] = 0.25;
    f2[31] = 0.25;
    load_fertility(ws, 2, f2, 2, base, tfr, pattern2, total);
    EXPECT_EQ(tfr.cell(1, 2), ".5");
    EXPECT_EQ(total.cell(1, 1), "1.5");
    EXPECT_DOUBLE_EQ(ws.tfr_value, 1.5);
    EXPECT_EQ(ws.parity_count, 2);
}

TEST(FertilityLoader, RefusalsKeepWhatWasRead)
{
    ProjectionWorkspace ws;
    GridModel tfr, pattern, total;
    // A TFR of 0 is refused before the pattern: asfr and tfr_by_year are rewritten.
    EXPECT_THROW(load_fertility(ws, 1, std::vector<double>(71, 0.0), 2, base, tfr, pattern, total), InputMessage);
    EXPECT_EQ(ws.tfr_by_year, (k_ar{0, 0}));
    // A rate above 1 is refused after the pattern is derived.
    std::vector<double> f(71, 0.0);
    f[25] = 1.5;
    f[26] = 0.5;
    EXPECT_THROW(load_fertility(ws, 1, f, 2, base, tfr, pattern, total), InputMessage);
    EXPECT_DOUBLE_EQ(ws.fert_pattern[10][0], 0.75);
    EXPECT_EQ(ws.asfr[25][0], 1.5);
    EXPECT_EQ(pattern.cell(1, 11), "");  // grids untouched
}

// The two halves the window calls with its colouring between them.

TEST(PopulationStoreDerive, SexRatioAtBirthFromAgeZero)
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

TEST(PopulationStoreDerive, NoInfantsOfOneSexLeavesTheRatioAtZero)
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

TEST(PopulationStoreDerive, ANegativeCountIsRefusedButKept)
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

TEST(MortalityStoreDerive, RatesOutsideZeroToOneAreRefused)
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

TEST(MortalityStoreDerive, BuildsTheLifeTableAndItsBaseText)
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

TEST(FertilityStoreDerive, PatternAndTfrText)
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

TEST(FertilityStoreDerive, RefusesANoughtTfrAndRatesAboveOne)
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

TEST(LoaderPatterns, ASecondWorkspaceWithItsOwnNumberPatterns)
{
    // The urban half of a two-region form loads into its own workspace; the first stays empty.
    ProjectionWorkspace rural, urban;
    GridModel e0, tfr, pattern, total;
    LoaderPatterns four_places;
    four_places.e0 = "#####.####";
    four_places.pattern = "##.####";
    load_mortality(urban, Sex::female, ages(71, 0.02), 2, base, e0, four_places);
    const std::string& text = urban.base_e0_female_text;
    ASSERT_NE(text.find('.'), std::string::npos);
    EXPECT_LE(text.size() - text.find('.') - 1, 4u);
    EXPECT_EQ(e0.cell(1, 2), text);
    EXPECT_TRUE(rural.base_e0_female_text.empty());
    EXPECT_TRUE(rural.death_rate_female.empty());

    auto f = ages(71, 0);
    f[20] = f[21] = f[22] = 0.25;  // TFR 0.75, a third at each age
    load_fertility(urban, 1, f, 2, base, tfr, pattern, total, four_places);
    EXPECT_EQ(pattern.cell(1, 6), ".3333");
    EXPECT_EQ(pattern.cell(2, 36), "1");
    EXPECT_EQ(tfr.cell(1, 1), ".75");
    load_fertility(urban, 1, f, 2, base, tfr, pattern, total);
    EXPECT_EQ(pattern.cell(1, 6), ".33333333");
    EXPECT_TRUE(rural.asfr.empty());
}
