// Whole projection runs: checks and their order, yearly parameters, both mortality options,
// the yearly step in both variants, parities, restoring the base after a failure.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/numtext.h"
#include "projection/engine/input_message.h"
#include "run_fixture.h"

using namespace vantelo;
using namespace vantelo::projection;
using namespace vantelo::projection::testing;

namespace {

std::string message_of(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(none)";
}

}  // namespace

// 71 ages of 100 persons each per sex; survival 1 below the open age, which keeps 3/4 of ages
// 69 and over; infants 0.98 of births; births 2 x 0.2 x 200 women-years x 5 ages per sex.
// Worked by hand:
//   year 0: births 200; survivors 100 at ages 1..69 and 150 at age 70 per sex, so resident
//   deaths 2 x (7100 - 7050) = 100; infants 98 + 98, infant deaths 4; deaths 104;
//   mean population (14200 + 14500)/2 = 14350; total 2 x (98 + 6900 + 150) = 14296;
//   urban ((14200 - 3692) x 0.03672 + 14296) x 3692/14200 = 3817.28 -> 3817.
//   year 1: age 70 gets (100 + 150) x 3/4 = 187.5 -> 188 (ties to even); resident deaths
//   2 x 62.5; deaths 129; infant mortality 4/196; mean (14296 + 14571)/2 = 14433.5;
//   total 2 x (98 + 98 + 6800 + 188) = 14368; urban 3938.96 -> 3939.
TEST(ProjectionRun, ClosedRunAgainstHandDerivation)
{
    ProjectionWorkspace ws;
    flat_workspace(ws, 71, 2, 100);
    RunInputs in = flat_inputs(ws, 2);
    ws.res_float_births.assign(2, 7.0);  // left by an earlier run
    run_projection(ws, in);

    EXPECT_DOUBLE_EQ(ws.res_births[0], 200);
    EXPECT_DOUBLE_EQ(ws.res_infant_deaths[0], 4);
    EXPECT_NEAR(ws.res_deaths[0], 104, 1e-9);
    EXPECT_NEAR(ws.res_infant_mortality[0], 4 / 196.8, 1e-15);
    EXPECT_NEAR(ws.res_birth_rate[0], 200 / 14350.0, 1e-15);
    EXPECT_NEAR(ws.res_death_rate[0], 104 / 14350.0, 1e-13);
    EXPECT_EQ(ws.res_total_pop[0], 14296);
    EXPECT_EQ(ws.res_male_pop[0], 7148);
    EXPECT_EQ(ws.res_female_pop[0], 7148);
    EXPECT_EQ(ws.res_urban_pop[0], 3817);
    EXPECT_NEAR(ws.res_births_parity1[0], 200, 1e-9);
    EXPECT_DOUBLE_EQ(ws.res_pyramid_male[70][0], -150 / 14296.0);
    EXPECT_DOUBLE_EQ(ws.res_pyramid_female[0][0], 98 / 14296.0);

    struct Group {
        const char* name;
        const k_ar& series;
        double year0;
    } groups[] = {{"0-14", ws.res_pop_0_14, 2996},         {"15-64", ws.res_pop_working_age, 10000},
                  {"elderly", ws.res_pop_elderly, 1300},    {"65+", ws.res_age_65plus, 1300},
                  {"60+", ws.res_age_60plus, 2300},         {"80+ with 71 ages", ws.res_age_80plus, 0},
                  {"6", ws.res_age_6, 200},                 {"7", ws.res_age_7, 200},
                  {"11", ws.res_age_11, 200},               {"15", ws.res_age_15, 200},
                  {"18", ws.res_age_18, 200},               {"6-10", ws.res_age_6_10, 1000},
                  {"15-24", ws.res_age_15_24, 2000},        {"25-44", ws.res_age_25_44, 4000},
                  {"45-64", ws.res_age_45_64, 4000},        {"19-64", ws.res_age_19_64, 9200},
                  {"men 15-64", ws.res_male_15_64, 5000},   {"women 15-64", ws.res_female_15_64, 5000},
                  {"women 15-49", ws.res_women_15_49, 3500}, {"women 23", ws.res_women_23, 100},
                  {"women 20-29", ws.res_women_20_29, 1000}};
    for (const auto& g : groups) EXPECT_EQ(g.series[0], g.year0) << g.name;

    EXPECT_DOUBLE_EQ(ws.res_births[1], 200);
    EXPECT_NEAR(ws.res_deaths[1], 129, 1e-9);
    EXPECT_NEAR(ws.res_infant_mortality[1], 4 / 196.0, 1e-15);
    EXPECT_NEAR(ws.res_birth_rate[1], 200 / 14433.5, 1e-15);
    EXPECT_EQ(ws.pop_male[70], 188);
    EXPECT_EQ(ws.res_total_pop[1], 14368);
    EXPECT_EQ(ws.res_urban_pop[1], 3939);
    // The unrounded last year stays in the next-year arrays, infants at age 0.
    EXPECT_DOUBLE_EQ(ws.next_pop_male[70], 187.5);
    EXPECT_DOUBLE_EQ(ws.next_pop_female[0], 98);

    // The closed variant keeps the inflows read from the grid and clears the floating results.
    EXPECT_EQ(ws.res_float_pop[1], 10000);
    EXPECT_EQ(ws.res_float_births[0], 0);
    EXPECT_EQ(ws.res_float_births[1], 0);

    // Parameter records, read from the grids.
    EXPECT_EQ(ws.res_parameters[1][0], 2);
    EXPECT_EQ(ws.res_parameters[1][1], 70);
    EXPECT_EQ(ws.res_parameters[1][3], 100);
    EXPECT_EQ(ws.res_parameters[1][4], 0);
    EXPECT_DOUBLE_EQ(ws.res_parameters[1][14], 0.2);
    EXPECT_DOUBLE_EQ(ws.res_parameters[1][39], 0.26);
    EXPECT_EQ(ws.res_parameters[1][40], 10000);
    EXPECT_DOUBLE_EQ(ws.res_parameters[1][42], 0.003);
    // Fertility of every year from the grids: TFR 2 x 0.2 at ages 25..29.
    for (int y = 0; y < 2; ++y) EXPECT_DOUBLE_EQ(ws.asfr[27][y], 0.4);
}

TEST(ProjectionRun, FloatingRunCountsTheSameResidentDeaths)
{
    ProjectionWorkspace ws;
    flat_workspace(ws, 71, 2, 100);
    RunInputs in = flat_inputs(ws, 2);
    ws.with_floating_pop = 1;
    ws.res_births_parity1.assign(2, 999.0);  // left by an earlier closed run
    run_projection(ws, in);
    EXPECT_NEAR(ws.res_deaths[0], 104, 1e-9);
    EXPECT_NEAR(ws.res_deaths[1], 129, 1e-9);
    EXPECT_EQ(ws.res_total_pop[1], 14368);
    // F0 50000 plus 10000 a year; the floating births and deaths are not carried into F.
    EXPECT_DOUBLE_EQ(ws.res_float_pop[0], 60540);
    EXPECT_DOUBLE_EQ(ws.res_float_births[0], 720);
    EXPECT_DOUBLE_EQ(ws.res_float_deaths[0], 180);
    EXPECT_DOUBLE_EQ(ws.res_float_pop[1], 70630);
    EXPECT_EQ(ws.res_births_parity1[0], 0);
    EXPECT_EQ(ws.res_births_parity1[1], 0);
}

TEST(ProjectionRun, OpenOldestAgeKeepsItsShareAndRoundsHalfToEven)
{
    // Only the oldest age and age 0 are peopled: age 70 keeps 3/4 of itself.
    // Men 14 -> 10.5 -> 10, women 10 -> 7.5 -> 8; deaths (24 + 20) - (10 + 10.5 + 10 + 7.5) = 6.
    for (int floating : {0, 1}) {
        SCOPED_TRACE(floating);
        ProjectionWorkspace ws;
        flat_workspace(ws, 71, 1, 0);
        ws.pop_male[0] = ws.pop_female[0] = 10;
        ws.pop_male[70] = 14;
        ws.pop_female[70] = 10;
        ws.with_floating_pop = floating;
        RunInputs in = flat_inputs(ws, 1);
        run_projection(ws, in);
        EXPECT_EQ(ws.pop_male[70], 10);
        EXPECT_EQ(ws.pop_female[70], 8);
        EXPECT_EQ(ws.pop_male[1], 10);
        EXPECT_NEAR(ws.res_deaths[0], 6, 1e-12);
        EXPECT_EQ(ws.res_births[0], 0);
        EXPECT_EQ(ws.res_infant_mortality[0], 0);
        EXPECT_EQ(ws.res_total_pop[0], 38);
    }
}

TEST(ProjectionRun, ParitiesByCase)
{
    // Three parities: TFR 1 at ages 25..29 (0.2 each), 0.5 at ages 30, 31 (0.5 each), 0.25 at
    // age 35; 200 women-years at every age, half the births of each sex:
    // parity births 100, 50, 25.
    struct Case {
        const char* name;
        int parity_count;
        double births, p1, p2, p3;
    } cases[] = {{"three parities", 3, 175, 100, 50, 25}, {"two parities leave the third alone", 2, 150, 100, 50, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectionWorkspace ws;
        flat_workspace(ws, 71, 1, 100);
        RunInputs in = flat_inputs(ws, 1);
        three_parities(ws, in, 1);
        ws.parity_count = c.parity_count;
        ws.res_births_parity3.assign(1, 999.0);
        if (c.parity_count == 2) {
            // Row 3 and its pattern are not read with two parities.
            in.tfr_grid.set_cell(1, 3, "not read");
            in.pattern_grids[2].set_cell(1, 21, "not read");
        }
        run_projection(ws, in);
        EXPECT_NEAR(ws.res_births[0], c.births, 1e-9);
        EXPECT_NEAR(ws.res_births_parity1[0], c.p1, 1e-9);
        EXPECT_NEAR(ws.res_births_parity2[0], c.p2, 1e-9);
        EXPECT_NEAR(ws.res_births_parity3[0], c.p3, 1e-9);
        EXPECT_DOUBLE_EQ(ws.asfr[30][0], 0.25);
    }
}

TEST(ProjectionRun, UrbanShareBounds)
{
    for (const char* u : {"0", "1"}) {
        SCOPED_TRACE(u);
        ProjectionWorkspace ws;
        flat_workspace(ws, 71, 3, 100);
        RunInputs in = flat_inputs(ws, 3);
        in.urban_share_text = u;
        run_projection(ws, in);
        for (int y = 0; y < 3; ++y) EXPECT_EQ(ws.res_urban_pop[y], u[0] == '0' ? 0 : ws.res_total_pop[y]);
    }
}

TEST(ProjectionRun, SexRatioAtBirthGivesTheShares)
{
    ProjectionWorkspace ws;
    flat_workspace(ws, 71, 1, 100);
    RunInputs in = flat_inputs(ws, 1);
    in.srb_grid.set_cell(1, 1, "105");
    run_projection(ws, in);
    EXPECT_DOUBLE_EQ(ws.birth_share_male[0], 105.0 / 205.0);
    EXPECT_DOUBLE_EQ(ws.birth_share_female[0], 100.0 / 205.0);
}

TEST(ProjectionRun, ChecksInTheirOrder)
{
    struct Case {
        const char* name;
        std::function<void(ProjectionWorkspace&, RunInputs&)> change;
        const char* message;
    } cases[] = {
        {"an empty field list", [](ProjectionWorkspace&, RunInputs& in) { in.field_texts[3] = ""; },
         "选定原始数据变量不够!"},
        {"empty field list before a bad age",
         [](ProjectionWorkspace& ws, RunInputs& in) {
             in.field_texts[0] = "";
             ws.pop_male[0] = -1;
         },
         "选定原始数据变量不够!"},
        {"negative men", [](ProjectionWorkspace& ws, RunInputs&) { ws.pop_male[7] = -1; }, "男性年龄别人口数据格式不正确."},
        {"a lower age wins whatever its kind",
         [](ProjectionWorkspace& ws, RunInputs&) {
             ws.pop_male[9] = -1;
             ws.asfr[8][0] = 1.5;
         },
         "年龄别生育率数据格式不正确."},
        {"within an age, women before death rates",
         [](ProjectionWorkspace& ws, RunInputs&) {
             ws.pop_female[4] = -1;
             ws.death_rate_male[4] = 2;
         },
         "女性年龄别人口数据格式不正确."},
        {"male death rate above 1", [](ProjectionWorkspace& ws, RunInputs&) { ws.death_rate_male[3] = 1.01; },
         "男性年龄别死亡率数据格式不正确."},
        {"female death rate of 0 is refused", [](ProjectionWorkspace& ws, RunInputs&) { ws.death_rate_female[50] = 0; },
         "女性年龄别死亡率数据格式不正确."},
        {"negative fertility", [](ProjectionWorkspace& ws, RunInputs&) { ws.asfr[20][0] = -0.1; },
         "年龄别生育率数据格式不正确."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectionWorkspace ws;
        flat_workspace(ws, 71, 2, 100);
        RunInputs in = flat_inputs(ws, 2);
        c.change(ws, in);
        try {
            run_projection(ws, in);
            ADD_FAILURE() << "no message";
        } catch (const InputMessage& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        // Nothing was sized or written.
        EXPECT_TRUE(ws.res_total_pop.empty());
        EXPECT_TRUE(ws.next_pop_male.empty());
        EXPECT_EQ(ws.logit_eps, 1e-9);
    }

    // The wizard's form skips the field-list check.
    ProjectionWorkspace ws;
    flat_workspace(ws, 71, 2, 100);
    RunInputs in = flat_inputs(ws, 2);
    in.field_texts = {"", "", "", "", ""};
    ws.from_wizard = 1;
    EXPECT_NO_THROW(run_projection(ws, in));
}

TEST(ProjectionRun, NoYearsIsARangeErrorBeforeSizing)
{
    ProjectionWorkspace ws;
    flat_workspace(ws, 71, 1, 100);
    RunInputs in = flat_inputs(ws, 1);
    ws.proj_year_count = 0;
    EXPECT_THROW(run_projection(ws, in), RangeError);
    EXPECT_TRUE(ws.res_total_pop.empty());
    EXPECT_TRUE(ws.res_pyramid_male.empty());
}

TEST(ProjectionRun, ConversionErrorsInReadingOrder)
{
    struct Case {
        const char* name;
        std::function<void(RunInputs&)> change;
        const char* message;
    } cases[] = {
        {"floating grid before the floating population",
         [](RunInputs& in) {
             in.floating_grid.set_cell(2, 3, "3%");
             in.floating_pop_text = "many";
         },
         "'3%' is not a valid floating point value"},
        {"floating population before the urban share",
         [](RunInputs& in) {
             in.floating_pop_text = "many";
             in.urban_share_text = "";
         },
         "'many' is not a valid floating point value"},
        {"urban share before the sex ratio",
         [](RunInputs& in) {
             in.urban_share_text = "26%";
             in.srb_grid.set_cell(1, 1, "");
         },
         "'26%' is not a valid floating point value"},
        {"an empty sex ratio", [](RunInputs& in) { in.srb_grid.set_cell(2, 1, ""); },
         "'' is not a valid floating point value"},
        {"sex ratio before fertility",
         [](RunInputs& in) {
             in.srb_grid.set_cell(2, 1, "x");
             in.tfr_grid.set_cell(1, 1, "y");
         },
         "'x' is not a valid floating point value"},
        {"TFR before its pattern",
         [](RunInputs& in) {
             in.tfr_grid.set_cell(1, 1, "y");
             in.pattern_grids[0].set_cell(1, 1, "z");
         },
         "'y' is not a valid floating point value"},
        {"e0 target typed as text", [](RunInputs& in) { in.e0_grid.set_cell(1, 2, "seventy"); },
         "'seventy' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectionWorkspace ws;
        flat_workspace(ws, 71, 2, 100);
        RunInputs in = flat_inputs(ws, 2);
        c.change(in);
        EXPECT_EQ(message_of([&] { run_projection(ws, in); }), c.message);
    }
}

TEST(ProjectionRun, FailureHalfWayRestoresTheBase)
{
    // No births at all: year 0 runs (age 0 is peopled), year 1 finds age 0 empty and the
    // infant mortality divides 0 by 0.
    ProjectionWorkspace ws;
    flat_workspace(ws, 71, 3, 100);
    RunInputs in = flat_inputs(ws, 3);
    fill_rows(in.tfr_grid, 3, 1, 1, "0");
    const k_ar base_male = ws.pop_male;
    const k_grid base_l = ws.lt_years_lived_female;
    EXPECT_THROW(run_projection(ws, in), InvalidOpError);
    EXPECT_EQ(ws.pop_male, base_male);
    EXPECT_EQ(ws.lt_years_lived_female, base_l);
    // The year already projected stays in the series.
    EXPECT_EQ(ws.res_total_pop[0], 2 * (100 * 69 + 150));  // age 0 empty, age 70 at 3/4 of 200
    EXPECT_EQ(ws.res_infant_mortality[0], 0);

    // A second run from the true base gives what a fresh run gives.
    RunInputs good = flat_inputs(ws, 3);
    run_projection(ws, good);
    ProjectionWorkspace fresh;
    flat_workspace(fresh, 71, 3, 100);
    run_projection(fresh, flat_inputs(fresh, 3));
    EXPECT_EQ(ws.res_total_pop, fresh.res_total_pop);
    EXPECT_EQ(ws.pop_female, fresh.pop_female);
}

// A typed target is met as the life expectancy e(0) of the year's life table, worked out here
// from the stored survivors with separation factors derived in the test; the other sex's row,
// left at its base text, keeps the base person-years.
TEST(ProjectionRun, LifeExpectancyTargetsRefitEveryYear)
{
    const int n = 81, y = 3;
    struct Case {
        const char* name;
        Sex sex;
        int row;
        std::vector<double> targets;
    } cases[] = {{"male row", Sex::male, 1, {64.5, 66, 67.25}},
                 {"female row", Sex::female, 2, {78.5, 72, 80.125}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectionWorkspace ws;
        realistic_workspace(ws, n, y);
        RunInputs in = flat_inputs(ws, y);
        for (int col = 1; col <= y; ++col) in.e0_grid.set_cell(col, c.row, std::to_string(c.targets[col - 1]));
        const Sex other = c.sex == Sex::male ? Sex::female : Sex::male;
        const k_grid other_l = ws.life_table(other).lt_years_lived;
        const k_grid base_l = ws.life_table(c.sex).lt_survivors;
        const std::vector<double> a = independent_sep_factors(ws.life_table(c.sex).death_rate, c.sex);
        run_projection(ws, in);

        const LifeTableColumns t = ws.life_table(c.sex);
        const auto& l = t.lt_survivors;
        for (int yr = 0; yr < y; ++yr) {
            SCOPED_TRACE(yr);
            EXPECT_EQ(l[0][yr], 1.0);
            EXPECT_EQ(l[n][yr], 0.0);
            EXPECT_NEAR(e0_of_column(l, yr, a), c.targets[yr], 2e-9);
            // Still a logit shift of the base curve: every age's log-odds move by one amount.
            const double shift = std::log((1 - l[40][yr]) / l[40][yr]) - std::log((1 - base_l[40][0]) / base_l[40][0]);
            for (int x = 1; x < 75; ++x)
                EXPECT_NEAR(std::log((1 - l[x][yr]) / l[x][yr]) - std::log((1 - base_l[x][0]) / base_l[x][0]), shift, 1e-7)
                    << x;
            for (int x = 0; x < n; ++x) {
                EXPECT_LE(l[x + 1][yr], l[x][yr]);
                const double big_l = (l[x][yr] - l[x + 1][yr]) * a[x] + l[x + 1][yr];
                EXPECT_NEAR(t.lt_years_lived[x][yr], big_l, 1e-12 * big_l);
            }
        }
        EXPECT_NEAR(ws.logit_e0_sum, c.targets[2], 1e-9);  // the last fit
        EXPECT_EQ(ws.life_table(other).lt_years_lived, other_l);
        EXPECT_EQ(ws.e0_changed, 0);
    }
}

// Typing the base e0 again as another text (fewer decimals, a trailing blank) counts as an edit
// and refits every year; the fitted table shows the typed e0 and projects as the unfitted one.
TEST(ProjectionRun, BaseLifeExpectancyTypedDifferentlyKeepsTheProjection)
{
    const int n = 81, y = 5;
    ProjectionWorkspace unfitted;
    realistic_workspace(unfitted, n, y);
    run_projection(unfitted, flat_inputs(unfitted, y));

    struct Case {
        const char* name;
        Sex sex;
        int row;
        int decimals;  // -1: the base text with a trailing blank
    } cases[] = {{"male, six decimals", Sex::male, 1, 6},
                 {"female, six decimals", Sex::female, 2, 6},
                 {"female, trailing blank", Sex::female, 2, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectionWorkspace ws;
        realistic_workspace(ws, n, y);
        RunInputs in = flat_inputs(ws, y);
        const double e0 = ws.life_table(c.sex).life_exp[0];
        const std::string base = ws.life_table(c.sex).base_e0_text;
        char typed[32];
        std::snprintf(typed, sizeof typed, "%.*f", c.decimals, e0);
        const std::string text = c.decimals < 0 ? base + " " : std::string(typed);
        ASSERT_NE(text, base);
        fill_rows(in.e0_grid, y, c.row, c.row, text);
        const std::vector<double> a = independent_sep_factors(ws.life_table(c.sex).death_rate, c.sex);
        run_projection(ws, in);

        const double target = std::stod(text);
        for (int yr = 0; yr < y; ++yr) EXPECT_NEAR(e0_of_column(ws.life_table(c.sex).lt_survivors, yr, a), target, 2e-9);
        for (int yr = 0; yr < y; ++yr) {
            EXPECT_NEAR(ws.res_total_pop[yr], unfitted.res_total_pop[yr], 1e-6 * unfitted.res_total_pop[yr]) << yr;
            EXPECT_NEAR(ws.res_deaths[yr], unfitted.res_deaths[yr], 1e-6 * unfitted.res_deaths[yr]) << yr;
            EXPECT_NEAR(ws.res_infant_deaths[yr], unfitted.res_infant_deaths[yr], 1e-6 * unfitted.res_infant_deaths[yr]);
            for (int x = 0; x < n; ++x) {
                const double ref = unfitted.life_table(c.sex).lt_years_lived[x][yr];
                EXPECT_NEAR(ws.life_table(c.sex).lt_years_lived[x][yr], ref, 1e-6 * ref) << x;
            }
        }
        for (int x = 0; x < n; ++x) {
            EXPECT_NEAR(ws.pop_male[x], unfitted.pop_male[x], 1 + 1e-6 * unfitted.pop_male[x]) << x;
            EXPECT_NEAR(ws.pop_female[x], unfitted.pop_female[x], 1 + 1e-6 * unfitted.pop_female[x]) << x;
        }
    }
}

TEST(ProjectionRun, LifeExpectancyOutOfReachEndsTheRunAndRestores)
{
    const int n = 81, y = 3;
    ProjectionWorkspace ws;
    realistic_workspace(ws, n, y);
    RunInputs in = flat_inputs(ws, y);
    in.e0_grid.set_cell(1, 1, "60");
    in.e0_grid.set_cell(2, 1, "65");
    in.e0_grid.set_cell(3, 1, "200");
    const k_grid l0 = ws.lt_survivors_male, big_l0 = ws.lt_years_lived_male;
    const k_ar p0 = ws.pop_male;
    EXPECT_EQ(message_of([&] { run_projection(ws, in); }), "期望寿命设定超出范围！请重新设定。");
    EXPECT_EQ(ws.lt_survivors_male, l0);
    EXPECT_EQ(ws.lt_years_lived_male, big_l0);
    EXPECT_EQ(ws.pop_male, p0);
}

TEST(ProjectionRun, SurvivorshipCurvesMoveLinearlyToTheFinalCurve)
{
    const int n = 81, y = 3;
    ProjectionWorkspace ws;
    realistic_workspace(ws, n, y);
    RunInputs in = flat_inputs(ws, y);
    in.mortality = MortalityOption::survivorship;
    in.lx_field_male = "LM";
    in.lx_field_female = "LF";
    std::vector<std::pair<int, std::string>> reads;
    auto final_l = [](int x, bool male) { return std::exp(-(male ? 0.012 : 0.009) * x); };
    in.read_field = [&](int x, const std::string& f) {
        reads.emplace_back(x, f);
        return final_l(x, f == "LM");
    };
    const k_grid base_male = ws.lt_years_lived_male;
    const double base_open_l = ws.lt_survivors_male[n - 1][0];
    run_projection(ws, in);

    ASSERT_EQ(reads.size(), 2u * n);
    EXPECT_EQ(reads[0], std::make_pair(0, std::string("LM")));
    EXPECT_EQ(reads[1], std::make_pair(0, std::string("LF")));
    EXPECT_EQ(reads[3], std::make_pair(1, std::string("LF")));

    // Separation factors refilled from m(0): 0.5 from age 70 on, the last age included.
    EXPECT_EQ(ws.sep_factor_male[n - 1], 0.5);
    const double q0 = 1 - std::exp(-ws.death_rate_male[0]);
    for (int x = 0; x < n; ++x) {
        double a = x == 0 ? 0.0425 + 2.875 * q0 : x <= 4 ? (1.63 - 3.013 * q0) / 4 : x <= 9 ? 0.45 : x < 70 ? 0.52 : 0.5;
        const double lx = final_l(x, true), lx1 = x + 1 < n ? final_l(x + 1, true) : 0.0;
        // The open group keeps the base curve's person-years per survivor.
        const double fin = x < n - 1 ? (lx - lx1) * a + lx1 : lx * base_male[n - 1][0] / base_open_l;
        EXPECT_NEAR(ws.lt_years_lived_male[x][2], fin, 1e-13) << x;
        EXPECT_NEAR(ws.lt_years_lived_male[x][0], base_male[x][0] + (fin - base_male[x][0]) / 3, 1e-13) << x;
        EXPECT_NEAR(ws.lt_years_lived_male[x][1], base_male[x][0] + 2 * (fin - base_male[x][0]) / 3, 1e-13) << x;
    }
}

TEST(ProjectionRun, SurvivorshipWithOneYearTakesTheFinalCurve)
{
    const int n = 71;
    ProjectionWorkspace ws;
    realistic_workspace(ws, n, 1);
    RunInputs in = flat_inputs(ws, 1);
    in.mortality = MortalityOption::survivorship;
    in.read_field = [](int x, const std::string&) { return 1.0 - x / 100.0; };
    const double m_open = ws.death_rate_female[n - 1];
    run_projection(ws, in);
    // l falls by 0.01 a year: L(x) = 0.01 a(x) + l(x+1); the open last age keeps the base
    // curve's L/l = 1/m of the open group.
    EXPECT_NEAR(ws.lt_years_lived_female[30][0], 0.01 * 0.52 + 0.69, 1e-15);
    EXPECT_NEAR(ws.lt_years_lived_female[70][0], 0.30 / m_open, 1e-12);
}

TEST(ProjectionRun, SurvivorshipCurveEqualToTheBaseReproducesTheBaseProjection)
{
    const int n = 81, y = 20;
    ProjectionWorkspace base_ws;
    realistic_workspace(base_ws, n, y);
    ProjectionWorkspace ws = base_ws;
    RunInputs base_in = flat_inputs(base_ws, y);
    run_projection(base_ws, base_in);

    RunInputs in = flat_inputs(ws, y);
    in.mortality = MortalityOption::survivorship;
    in.lx_field_male = "LM";
    in.lx_field_female = "LF";
    const k_grid lm = ws.lt_survivors_male, lf = ws.lt_survivors_female;
    in.read_field = [&](int x, const std::string& f) { return (f == "LM" ? lm : lf)[x][0]; };
    run_projection(ws, in);

    EXPECT_EQ(ws.lt_years_lived_male, base_ws.lt_years_lived_male);
    EXPECT_EQ(ws.lt_years_lived_female, base_ws.lt_years_lived_female);
    EXPECT_EQ(ws.res_total_pop, base_ws.res_total_pop);
    EXPECT_EQ(ws.pop_male, base_ws.pop_male);
    EXPECT_EQ(ws.pop_female, base_ws.pop_female);
}

// The open group's survival L(N-1)/(L(N-2) + L(N-1)) moves from the base curve's towards the
// final curve's in equal yearly steps of L, and not at all when the final curve keeps the
// base curve's shape at the two oldest ages.
TEST(ProjectionRun, OpenGroupSurvivalMovesOnlyAsTheCurvesMove)
{
    const int n = 81, y = 10;
    ProjectionWorkspace ws;
    realistic_workspace(ws, n, y);
    RunInputs in = flat_inputs(ws, y);
    in.mortality = MortalityOption::survivorship;
    in.lx_field_male = "LM";
    in.lx_field_female = "LF";
    // The final curve: the base curve, halved at the two oldest ages.
    const k_grid lm = ws.lt_survivors_male;
    in.read_field = [&](int x, const std::string&) { return lm[x][0] * (x >= n - 2 ? 0.5 : 1.0); };
    const double base_open = ws.lt_years_lived_male[n - 1][0] / (ws.lt_years_lived_male[n - 2][0] + ws.lt_years_lived_male[n - 1][0]);
    run_projection(ws, in);
    const auto survival = [&](int c) {
        return ws.lt_years_lived_male[n - 1][c] / (ws.lt_years_lived_male[n - 2][c] + ws.lt_years_lived_male[n - 1][c]);
    };
    // Every year's survival of the open group stays between the base and the final one.
    const double final_open = survival(y - 1);
    for (int c = 0; c < y; ++c) {
        EXPECT_GE(survival(c), std::min(base_open, final_open) - 1e-12) << c;
        EXPECT_LE(survival(c), std::max(base_open, final_open) + 1e-12) << c;
    }
    // Halving l at ages N-2 and N-1 halves L(N-1) and (almost) halves L(N-2), so the open
    // group's survival hardly moves: it stays within 5 % of the base.
    EXPECT_NEAR(final_open, base_open, 0.05 * base_open);
}

TEST(ProjectionRun, SurvivorshipFailureRestoresFactorsAndYearsLived)
{
    ProjectionWorkspace ws;
    realistic_workspace(ws, 81, 2);
    RunInputs in = flat_inputs(ws, 2);
    in.mortality = MortalityOption::survivorship;
    in.read_field = [](int x, const std::string&) { return 1.0 - x / 100.0; };
    in.e0_grid.set_cell(2, 1, "");  // read only for the parameter records, after mortality
    const k_ar a = ws.sep_factor_male;
    const k_grid big_l = ws.lt_years_lived_male;
    EXPECT_THROW(run_projection(ws, in), ConvertError);
    EXPECT_EQ(ws.sep_factor_male, a);
    EXPECT_EQ(ws.lt_years_lived_male, big_l);
}

TEST(ProjectionRun, InvariantsOfARealisticRun)
{
    const int n = 101, y = 25;
    std::vector<double> closed_deaths;
    for (int floating : {0, 1}) {
        SCOPED_TRACE(floating);
        ProjectionWorkspace ws;
        realistic_workspace(ws, n, y);
        RunInputs in = flat_inputs(ws, y);
        three_parities(ws, in, y);
        ws.with_floating_pop = floating;
        double prev_total = std::accumulate(ws.pop_male.begin(), ws.pop_male.end(), 0.0) +
                            std::accumulate(ws.pop_female.begin(), ws.pop_female.end(), 0.0);
        double prev_male = std::accumulate(ws.pop_male.begin(), ws.pop_male.end(), 0.0);
        run_projection(ws, in);
        for (int yr = 0; yr < y; ++yr) {
            SCOPED_TRACE(yr);
            // Balance: the change equals births - deaths, up to the rounding of 2N ages.
            EXPECT_NEAR(ws.res_total_pop[yr] - prev_total, ws.res_births[yr] - ws.res_deaths[yr], n);
            prev_total = ws.res_total_pop[yr];
            EXPECT_GT(ws.res_deaths[yr], 0);
            double shares = 0;
            for (int x = 0; x < n; ++x) {
                EXPECT_LE(ws.res_pyramid_male[x][yr], 0);
                EXPECT_GE(ws.res_pyramid_female[x][yr], 0);
                shares += ws.res_pyramid_female[x][yr] - ws.res_pyramid_male[x][yr];
            }
            EXPECT_NEAR(shares, 1.0, 1e-12);
            EXPECT_EQ(ws.res_pop_0_14[yr] + ws.res_pop_working_age[yr] + ws.res_pop_elderly[yr], ws.res_total_pop[yr]);
            if (!floating) {
                EXPECT_NEAR(ws.res_births_parity1[yr] + ws.res_births_parity2[yr] + ws.res_births_parity3[yr],
                            ws.res_births[yr], 1e-8);
                closed_deaths.push_back(ws.res_deaths[yr]);
            } else {
                EXPECT_EQ(ws.res_deaths[yr], closed_deaths[yr]);
            }
        }
        for (int x = 0; x < n; ++x) {
            EXPECT_GE(ws.pop_male[x], 0);
            EXPECT_GE(ws.pop_female[x], 0);
        }
        // The last year exactly, per sex, from the unrounded end-of-year population: the male
        // part of P(t+1) = P(t) + births - deaths.
        (void)prev_male;
        double unrounded = std::accumulate(ws.next_pop_male.begin(), ws.next_pop_male.end(), 0.0) +
                           std::accumulate(ws.next_pop_female.begin(), ws.next_pop_female.end(), 0.0);
        EXPECT_NEAR(unrounded, ws.res_total_pop[y - 2] + ws.res_births[y - 1] - ws.res_deaths[y - 1], 1e-6);
    }
}

TEST(ProjectionRun, UrbanPopulationFollowsThePreviousShareAndTheRuralGain)
{
    // Recomputed year by year from the run's own totals, in extended precision, multiplying by
    // U_prev before dividing by T_prev, and rounded ties to even.
    for (const char* u : {"0.37", "0.5", "0.123456789"}) {
        SCOPED_TRACE(u);
        const int n = 101, y = 30;
        ProjectionWorkspace ws;
        realistic_workspace(ws, n, y);
        RunInputs in = flat_inputs(ws, y);
        in.urban_share_text = u;
        long double t_prev = 0;
        for (int x = 0; x < n; ++x) t_prev += static_cast<long double>(ws.pop_male[x]) + ws.pop_female[x];
        const long double u0 = parse_float(u);
        const double k = static_cast<double>(0.044L - 0.028L * u0);
        double u_prev = static_cast<double>(u0 * static_cast<double>(t_prev));
        run_projection(ws, in);
        for (int yr = 0; yr < y; ++yr) {
            SCOPED_TRACE(yr);
            const long double total = ws.res_total_pop[yr];
            const long double urban =
                std::nearbyint(((t_prev - u_prev) * k + total) * u_prev / t_prev);
            EXPECT_EQ(ws.res_urban_pop[yr], static_cast<double>(urban));
            t_prev = total;
            u_prev = ws.res_urban_pop[yr];
        }
        // The urban share creeps up: the rural gain k is positive for shares below 1.57.
        EXPECT_GT(ws.res_urban_pop[y - 1] / ws.res_total_pop[y - 1], std::strtod(u, nullptr));
    }
}

TEST(ProjectionRun, OpenAgeGroupsSumUpToTheOldestAge)
{
    // 100 persons of each sex at every age and no births (TFR 0): after one year age 0 is
    // empty, ages 1..N-2 hold 100 and the oldest age 3/4 of 200 = 150.
    struct Case {
        int n;
        double age_65plus, age_60plus, age_80plus;
    } cases[] = {
        // 80 ages (0..79): ages 65..78 hold 100, age 79 150; no one is 80 or over.
        {80, 2 * (14 * 100 + 150.0), 2 * (19 * 100 + 150.0), 0},
        // 81 ages: age 80 is the oldest and the only one in 80+.
        {81, 2 * (15 * 100 + 150.0), 2 * (20 * 100 + 150.0), 2 * 150.0},
        // 90 ages: ages 80..88 hold 100, age 89 150.
        {90, 2 * (24 * 100 + 150.0), 2 * (29 * 100 + 150.0), 2 * (9 * 100 + 150.0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        ProjectionWorkspace ws;
        flat_workspace(ws, c.n, 1, 100);
        RunInputs in = flat_inputs(ws, 1);
        fill_rows(in.tfr_grid, 1, 1, 1, "0");
        run_projection(ws, in);
        EXPECT_EQ(ws.res_age_65plus[0], c.age_65plus);
        EXPECT_EQ(ws.res_pop_elderly[0], c.age_65plus);
        EXPECT_EQ(ws.res_age_60plus[0], c.age_60plus);
        EXPECT_EQ(ws.res_age_80plus[0], c.age_80plus);
        EXPECT_EQ(ws.res_pop_working_age[0], 2 * 50 * 100.0);
        EXPECT_EQ(ws.res_pop_0_14[0], 2 * 14 * 100.0);  // age 0 empty, no births
        EXPECT_EQ(ws.res_total_pop[0], 2 * ((c.n - 2) * 100 + 150.0));
    }
}

TEST(ProjectionRun, FertilityRebuiltAtAges15To49Only)
{
    // One parity, TFR 1.8 with a pattern summing to 1 (0.2 at ages 25..29): the rates of every
    // year sum to 1.8. Rates loaded at other ages stay where they are and bear no births.
    const int y = 3;
    ProjectionWorkspace ws;
    flat_workspace(ws, 71, y, 100);
    ws.asfr[14][0] = 0.3;  // loaded with the field
    ws.asfr[50][2] = 0.3;  // left by an earlier run
    RunInputs in = flat_inputs(ws, y);
    fill_rows(in.tfr_grid, y, 1, 1, "1.8");
    run_projection(ws, in);
    for (int yr = 0; yr < y; ++yr) {
        SCOPED_TRACE(yr);
        double s = 0;
        for (int x = 15; x <= 49; ++x) s += ws.asfr[x][yr];
        EXPECT_NEAR(s, 1.8, 1e-14);
        // 200 women-years at each of ages 25..29 (survival 1) at 0.36, half of them boys:
        // 2 x 90 per sex in the doubled sum, 180 births.
        EXPECT_NEAR(ws.res_births[yr], 180, 1e-9);
    }
    EXPECT_EQ(ws.asfr[14][0], 0.3);
    EXPECT_EQ(ws.asfr[50][2], 0.3);
}

TEST(ProjectionRun, RetryAfterAFailureChecksTheLoadedFertility)
{
    // The grids ask for TFR 6 (1.2 at ages 25..29); a zero L at age 40 of the second year stops
    // the run half-way, after it has rebuilt the rates. The loaded rates (0.4) come back, so a
    // retry meets the same division again and is not refused for a fertility field that was
    // never wrong.
    ProjectionWorkspace ws;
    flat_workspace(ws, 71, 2, 100);
    ws.lt_years_lived_male[40][1] = 0;
    RunInputs in = flat_inputs(ws, 2);
    fill_rows(in.tfr_grid, 2, 1, 1, "6");
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        EXPECT_THROW(run_projection(ws, in), ZeroDivideError);
        EXPECT_EQ(ws.asfr[27][0], 0.4);
        EXPECT_EQ(ws.asfr[27][1], 0.0);
        // The first year was projected with the grids' rates: 200 women-years at each of five
        // ages at 1.2, half of them boys: 5 x 120 = 600 per sex in the doubled sum, 600 births.
        EXPECT_NEAR(ws.res_births[0], 600, 1e-9);
    }
}
