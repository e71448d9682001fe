// What the wizard's pages put into the workspace and the projection form's grids.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/core/input_message.h"
#include "tests/common/error_text.h"
#include "projection/engine/wizard_inputs.h"
#include "projection/engine/workspace.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {


double male_rate(int x) { return x == 0 ? 0.02 : 0.004 + 0.0011 * x; }
double female_rate(int x) { return x == 0 ? 0.018 : 0.003 + 0.001 * x; }

// e(0) of a single-year life table with radix 1, worked out here: q = 1 - exp(-m), the
// separation factors from the infant rate (q0 < 0.1 here: the linear formulas), L(x) =
// (l(x) - l(x+1)) a(x) + l(x+1), the last age open with L = l/m.
long double e0_by_hand(int n, bool male)
{
    auto m = [&](int x) { return male ? male_rate(x) : female_rate(x); };
    const long double q0 = 1 - std::exp(static_cast<long double>(-m(0)));
    long double l = 1, total = 0;
    for (int x = 0; x < n; ++x) {
        if (x == n - 1) {
            total += l / m(x);
            break;
        }
        long double a = x < 5 ? 0 : x < 10 ? 0.45L : x < 70 ? 0.52L : 0.5L;
        if (x == 0) a = male ? 0.0425L + 2.875L * q0 : 0.05L + 3.0L * q0;
        else if (x < 5) a = male ? (1.63L - 3.013L * q0) / 4 : (1.524L - 1.627L * q0) / 4;
        const long double next = l * std::exp(static_cast<long double>(-m(x)));
        total += (l - next) * a + next;
        l = next;
    }
    return total;
}

struct Fixture : ::testing::Test {
    void SetUp() override { reset_projection_workspace(); }
    ProjectionWorkspace& ws = projection_workspace();
};

}  // namespace

using WizardPopulation = Fixture;

TEST_F(WizardPopulation, SexRatioWithFourDecimalsAndTheFloatingDefaults)
{
    std::vector<double> male(90, 500), female(90, 480);
    male[0] = 1050;
    female[0] = 1000;
    GridModel srb(11, 2), floating(11, 4);
    wizard_population(ws, male, female, 10, 1990, srb, floating);
    EXPECT_EQ(ws.age_group_count, 90);
    EXPECT_EQ(ws.proj_year_count, 10);
    EXPECT_EQ(ws.pop_male, male);
    EXPECT_EQ(ws.pop_female, female);
    EXPECT_NEAR(ws.base_sex_ratio, 105, 1e-12);
    EXPECT_NEAR(ws.birth_share_male[0] + ws.birth_share_female[0], 1, 1e-15);
    EXPECT_EQ(srb.cell(0, 1), "性别比");
    EXPECT_EQ(srb.cell(1, 0), "1991");
    EXPECT_EQ(srb.cell(10, 0), "2000");
    EXPECT_EQ(srb.cell(1, 1), "105");
    EXPECT_EQ(srb.cell(10, 1), "105");
    EXPECT_EQ(floating.cell(5, 1), "10000");
    EXPECT_EQ(floating.cell(5, 2), "0.012");
    EXPECT_EQ(floating.cell(10, 3), "0.003");

    // a ratio that needs rounding: 1000/999 * 100 = 100.1001001...
    male[0] = 1000;
    female[0] = 999;
    wizard_population(ws, male, female, 10, 1990, srb, floating);
    EXPECT_EQ(srb.cell(3, 1), "100.1001");
}

TEST_F(WizardPopulation, RefusesANegativeValueOfEitherSex)
{
    for (bool male_bad : {true, false}) {
        std::vector<double> male(90, 500), female(90, 480);
        (male_bad ? male : female)[42] = -1;
        GridModel srb(11, 2), floating(11, 4);
        EXPECT_EQ(test_errors::error_text([&] { wizard_population(ws, male, female, 10, 1990, srb, floating); }), msg_bad_data);
        EXPECT_EQ(srb.cell(1, 1), "");  // nothing written
        EXPECT_EQ(floating.cell(1, 1), "");
    }
}

TEST_F(WizardPopulation, NoSexRatioWithoutInfantsOfBothSexes)
{
    std::vector<double> male(90, 500), female(90, 480);
    female[0] = 0;
    GridModel srb(11, 2), floating(11, 4);
    wizard_population(ws, male, female, 10, 1990, srb, floating);
    EXPECT_EQ(ws.base_sex_ratio, 0);
    EXPECT_EQ(srb.cell(1, 1), "");  // the picture writes nothing for 0
}

using WizardMortality = Fixture;

TEST_F(WizardMortality, LifeExpectancyWithFourDecimals)
{
    const int n = 90;
    std::vector<double> male(n), female(n);
    for (int x = 0; x < n; ++x) {
        male[x] = male_rate(x);
        female[x] = female_rate(x);
    }
    GridModel e0(11, 3);
    wizard_mortality(ws, male, female, 10, 1990, e0);
    auto four = [](long double v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.4Lf", v);
        std::string t(buf);
        while (t.back() == '0') t.pop_back();  // the picture drops trailing zeros
        if (t.back() == '.') t.pop_back();
        return t;
    };
    const long double em = e0_by_hand(n, true), ef = e0_by_hand(n, false);
    EXPECT_NEAR(ws.life_exp_male[0], static_cast<double>(em), 1e-9);
    EXPECT_NEAR(ws.life_exp_female[0], static_cast<double>(ef), 1e-9);
    EXPECT_EQ(e0.cell(0, 1), "男性");
    EXPECT_EQ(e0.cell(0, 2), "女性");
    EXPECT_EQ(e0.cell(1, 1), four(em));
    EXPECT_EQ(e0.cell(10, 2), four(ef));
    EXPECT_EQ(ws.base_e0_male_text, four(em));
    EXPECT_EQ(e0.cell(10, 0), "2000");
    // invariants of the tables: l falls from 1, L of column 0 copied into every year
    for (int x = 0; x + 1 < n; ++x) EXPECT_LE(ws.lt_survivors_female[x + 1][0], ws.lt_survivors_female[x][0]);
    EXPECT_EQ(ws.lt_years_lived_male[50][9], ws.lt_years_lived_male[50][0]);
}

TEST_F(WizardMortality, Refusals)
{
    {
        std::vector<double> male(90, 0.01), female(90, 0.01);
        female[30] = 0;
        GridModel e0(11, 3);
        EXPECT_EQ(test_errors::error_text([&] { wizard_mortality(ws, male, female, 10, 1990, e0); }), msg_bad_data);
        EXPECT_FALSE(e0.cell(1, 1).empty());  // the male row is done
        EXPECT_EQ(e0.cell(1, 2), "");
    }
    {
        std::vector<double> male(90, 0.01), female(90, 0.01);
        male[3] = 1.5;
        GridModel e0(11, 3);
        EXPECT_EQ(test_errors::error_text([&] { wizard_mortality(ws, male, female, 10, 1990, e0); }), msg_bad_data);
        EXPECT_EQ(e0.cell(1, 1), "");
    }
    {
        // fewer than 71 ages: the range error of the separation factors
        std::vector<double> male(60, 0.01), female(60, 0.01);
        GridModel e0(11, 3);
        EXPECT_THROW(wizard_mortality(ws, male, female, 10, 1990, e0), RangeError);
    }
}

using WizardFertility = Fixture;

TEST_F(WizardFertility, TfrAndPatternWithTheWizardsPictures)
{
    // Rates left at other ages by an earlier table load must go.
    resize_array(ws.asfr, 90, 10);
    ws.asfr[12][0] = 0.3;
    ws.asfr[55][0] = 0.2;
    std::vector<double> rates(36, 0.0);
    for (int x = 20; x < 35; ++x) rates[x - 15] = 0.1;  // TFR 1.5 over 15 ages
    GridModel tfr(11, 4), pattern(11, 37);
    wizard_fertility(ws, rates, 90, 10, 1990, tfr, pattern);
    EXPECT_EQ(ws.asfr[12][0], 0);
    EXPECT_EQ(ws.asfr[55][0], 0);
    EXPECT_NEAR(ws.tfr_value, 1.5, 1e-14);
    EXPECT_EQ(ws.tfr_by_year, std::vector<double>(10, ws.tfr_value));
    EXPECT_EQ(ws.parity_count, 1);
    EXPECT_EQ(ws.base_tfr_text, "1.5");
    EXPECT_EQ(tfr.cell(0, 1), "总和生育率");
    EXPECT_EQ(tfr.cell(1, 1), "1.5");
    EXPECT_EQ(tfr.cell(10, 0), "2000");
    EXPECT_EQ(pattern.cell(0, 1), "15");
    EXPECT_EQ(pattern.cell(0, 35), "49");
    EXPECT_EQ(pattern.cell(0, 36), "合计");
    EXPECT_EQ(pattern.cell(1, 1), "0.0");           // age 15
    EXPECT_EQ(pattern.cell(1, 6), ".066667");       // age 20: 1/15 with six decimals
    EXPECT_EQ(pattern.cell(10, 20), ".066667");     // every year column
    EXPECT_EQ(pattern.cell(4, 36), "1");            // the 35 shares, full precision, "####.####"
}

TEST_F(WizardFertility, TheRateAtFiftyCountsInTheTfrNotInThePattern)
{
    std::vector<double> rates(36, 0.0);
    for (int x = 20; x < 30; ++x) rates[x - 15] = 0.1;
    rates[35] = 0.5;  // age 50
    GridModel tfr(11, 4), pattern(11, 37);
    wizard_fertility(ws, rates, 90, 10, 1990, tfr, pattern);
    EXPECT_EQ(ws.asfr[50][0], 0.5);
    EXPECT_EQ(tfr.cell(1, 1), "1.5");
    EXPECT_EQ(pattern.cell(1, 6), ".066667");  // 0.1/1.5
    EXPECT_EQ(pattern.cell(1, 36), ".6667");   // ten shares of 1/15
}

TEST_F(WizardFertility, Refusals)
{
    GridModel tfr(11, 4), pattern(11, 37);
    std::vector<double> zeros(36, 0.0);
    EXPECT_EQ(test_errors::error_text([&] { wizard_fertility(ws, zeros, 90, 10, 1990, tfr, pattern); }), msg_bad_data);
    std::vector<double> high(36, 0.0);
    high[10] = 1.2;
    EXPECT_EQ(test_errors::error_text([&] { wizard_fertility(ws, high, 90, 10, 1990, tfr, pattern); }), msg_bad_data);
    std::vector<double> negative(36, 0.1);
    negative[3] = -0.1;
    EXPECT_EQ(test_errors::error_text([&] { wizard_fertility(ws, negative, 90, 10, 1990, tfr, pattern); }), msg_bad_data);
    EXPECT_EQ(tfr.cell(1, 1), "");  // the grids are untouched
    EXPECT_EQ(pattern.cell(1, 1), "");
}
