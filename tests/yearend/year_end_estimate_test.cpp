// The year-end estimate: its loaders, the checks before it in their order, and the estimate
// against populations worked out here (a stationary population, one pass by hand, a total that
// needs several passes, totals out of reach).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "analysis/engine/year_end_estimate.h"
#include "platform/core/input_message.h"
#include "reference_life_table.h"
#include "tests/common/error_text.h"

namespace vantelo::analysis {
namespace {

using projection::ProjectionWorkspace;
using projection::Sex;
using test_errors::error_text;

using yearend_reference::test_rates;

struct Inputs {
    int n = 101;
    std::vector<double> pm, pf, mm, mf;
    double bm = 0, bf = 0;
};

// Loads everything as the window's loaders do and marks every load as completed.
YearEndInputs load(ProjectionWorkspace& ws, const Inputs& in)
{
    load_year_end_population(ws, Sex::male, in.pm);
    load_year_end_population(ws, Sex::female, in.pf);
    load_year_end_death_rates(ws, Sex::male, in.mm);
    load_year_end_death_rates(ws, Sex::female, in.mf);
    YearEndInputs y;
    y.fields_chosen = y.male_population = y.female_population = y.male_life_table = y.female_life_table = true;
    return y;
}

std::string text(long double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6Lf", v);
    return buf;
}

// A stationary population: P_s(x) = B_s L_s(x), with L of the loaded life table.
Inputs stationary()
{
    Inputs in;
    in.mm = test_rates(in.n, true);
    in.mf = test_rates(in.n, false);
    in.bm = 51234;
    in.bf = 48766;
    const auto tm = yearend_reference::life_table(in.mm, true), tf = yearend_reference::life_table(in.mf, false);
    for (int x = 0; x < in.n; ++x) {
        in.pm.push_back(in.bm * tm.L[x]);
        in.pf.push_back(in.bf * tf.L[x]);
    }
    return in;
}

TEST(YearEndEstimate, StationaryPopulationComesOutUnchanged)
{
    ProjectionWorkspace ws;
    const Inputs in = stationary();
    YearEndInputs y = load(ws, in);
    long double total = 0;
    for (int x = 0; x < in.n; ++x) total += static_cast<long double>(in.pm[x]) + in.pf[x];
    y.total_text = text(total);
    y.male_births_text = text(in.bm);
    y.female_births_text = text(in.bf);
    const double e0_male = ws.life_exp_male[0], e0_female = ws.life_exp_female[0];

    const YearEndTotals t = check_year_end_inputs(ws, y);
    EXPECT_EQ(estimate_year_end(ws, in.n, t), 1);  // within T/100000 at once
    for (int x = 0; x < in.n; ++x) {
        EXPECT_NEAR(ws.next_pop_male[x], in.pm[x], 0.5 + 1e-6) << x;
        EXPECT_NEAR(ws.next_pop_female[x], in.pf[x], 0.5 + 1e-6) << x;
        EXPECT_EQ(ws.next_pop_male[x], std::nearbyint(ws.next_pop_male[x]));  // whole persons
    }
    EXPECT_NEAR(ws.res_total_pop[0], static_cast<double>(total), 1e-3);
    EXPECT_EQ(ws.res_total_pop.size(), 1u);
    EXPECT_DOUBLE_EQ(ws.res_total_pop[0], ws.res_male_pop[0] + ws.res_female_pop[0]);
    // The pass still fits both curves to e(0) +- 0.02 of the loaded tables.
    EXPECT_NEAR(std::fabs(ws.life_exp_male[0] - e0_male), 0.02, 1e-4);
    EXPECT_NEAR(std::fabs(ws.life_exp_female[0] - e0_female), 0.02, 1e-4);
    EXPECT_EQ(ws.proj_year_count, 1);
    EXPECT_EQ(ws.logit_eps, 0.0001);
    EXPECT_EQ(ws.lt_survivors_male[0][0], 1.0);
    EXPECT_EQ(ws.lt_survivors_male[in.n][0], 0.0);
}

// One pass worked by hand: 1000 persons at every age, so that age x + 1 gets
// (1000 + L(x+1)/L(x) 1000)/2 and age 0 gets B L(0); T is that pass's total.
TEST(YearEndEstimate, OnePassByHand)
{
    ProjectionWorkspace ws;
    Inputs in;
    in.mm = test_rates(in.n, true);
    in.mf = test_rates(in.n, false);
    in.pm.assign(in.n, 1000);
    in.pf.assign(in.n, 1000);
    in.bm = 1030;
    in.bf = 990;
    YearEndInputs y = load(ws, in);
    const auto tm = yearend_reference::life_table(in.mm, true), tf = yearend_reference::life_table(in.mf, false);
    std::vector<double> em(in.n), ef(in.n);
    long double total = 0;
    em[0] = in.bm * tm.L[0];
    ef[0] = in.bf * tf.L[0];
    for (int x = 1; x < in.n; ++x) {
        em[x] = (1000 + tm.L[x] / tm.L[x - 1] * 1000) / 2;
        ef[x] = (1000 + tf.L[x] / tf.L[x - 1] * 1000) / 2;
    }
    for (int x = 0; x < in.n; ++x) total += static_cast<long double>(em[x]) + ef[x];
    EXPECT_LT(em[0], in.bm);  // age 0 is not averaged with P(0)
    y.total_text = text(total);
    y.male_births_text = "1030";
    y.female_births_text = "990";
    EXPECT_EQ(estimate_year_end(ws, in.n, check_year_end_inputs(ws, y)), 1);
    for (int x = 0; x < in.n; ++x) {
        EXPECT_NEAR(ws.next_pop_male[x], em[x], 0.5 + 1e-6) << x;
        EXPECT_NEAR(ws.next_pop_female[x], ef[x], 0.5 + 1e-6) << x;
    }
    // q0 = 1 - exp(-0.012) = 0.011928, a(0) = 0.0425 + 2.875 q0 = 0.076793,
    // L(0) = 1 - q0 + a(0) q0 = 0.988988, 1030 L(0) = 1018.66
    EXPECT_EQ(ws.next_pop_male[0], 1019);
}

// A total below the first pass's: mortality rises pass by pass until the total is met; a total
// above it (but below births plus ages 1 and over): mortality falls.
TEST(YearEndEstimate, SeveralPassesMeetTheTotal)
{
    for (double factor : {0.998, 1.0001}) {
        SCOPED_TRACE(factor);
        ProjectionWorkspace ws;
        const Inputs in = stationary();
        YearEndInputs y = load(ws, in);
        long double natural = 0;
        for (int x = 0; x < in.n; ++x) natural += static_cast<long double>(in.pm[x]) + in.pf[x];
        const long double total = natural * factor;
        y.total_text = text(total);
        y.male_births_text = text(in.bm);
        y.female_births_text = text(in.bf);
        const double e0 = ws.life_exp_male[0];
        const int passes = estimate_year_end(ws, in.n, check_year_end_inputs(ws, y));
        EXPECT_GT(passes, 1);
        EXPECT_LE(std::fabs(ws.res_total_pop[0] - static_cast<double>(total)), static_cast<double>(total) / 100000);
        long double written = 0;
        for (int x = 0; x < in.n; ++x) {
            written += static_cast<long double>(ws.next_pop_male[x]) + ws.next_pop_female[x];
            EXPECT_GE(ws.next_pop_male[x], 0);
            EXPECT_GE(ws.next_pop_female[x], 0);
        }
        EXPECT_NEAR(static_cast<double>(written), ws.res_total_pop[0], in.n);
        if (factor < 1)
            EXPECT_LT(ws.life_exp_male[0], e0);
        else
            EXPECT_GT(ws.life_exp_male[0], e0);
        for (int x = 0; x < in.n; ++x) EXPECT_GE(ws.lt_survivors_male[x][0], ws.lt_survivors_male[x + 1][0]) << x;
    }
}

// A total that no shift of mortality reaches ends with the message, at once, and leaves the
// workspace as it was.
TEST(YearEndEstimate, TotalOutOfReachEndsWithTheMessage)
{
    struct Case {
        const char* name;
        double factor;
        int max_passes;
    };
    for (const Case c : {Case{"far below", 0.6, 10000}, Case{"pass cap", 0.99, 3}}) {
        SCOPED_TRACE(c.name);
        ProjectionWorkspace ws;
        const Inputs in = stationary();
        YearEndInputs y = load(ws, in);
        long double natural = 0, older = in.bm + in.bf;
        for (int x = 0; x < in.n; ++x) natural += static_cast<long double>(in.pm[x]) + in.pf[x];
        for (int x = 1; x < in.n; ++x) older += static_cast<long double>(in.pm[x]) + in.pf[x];
        const long double total = std::min(natural * c.factor, older - 1);
        y.total_text = text(total);
        y.male_births_text = text(in.bm);
        y.female_births_text = text(in.bf);
        const YearEndTotals t = check_year_end_inputs(ws, y);
        ws.next_pop_male.assign(3, 7.0);
        const ProjectionWorkspace before = ws;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(error_text([&] { estimate_year_end(ws, in.n, t, YearEndLimits{c.max_passes}); }),
                  "数据逻辑错误!!!请检查数据!");
        // bounded: under a second in an optimised build (thousands of passes of 0.02 years when far
        // below), a generous bound here so that a sanitizer build passes too
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
        EXPECT_EQ(ws.lt_survivors_male, before.lt_survivors_male);
        EXPECT_EQ(ws.lt_years_lived_female, before.lt_years_lived_female);
        EXPECT_EQ(ws.life_exp_male, before.life_exp_male);
        EXPECT_EQ(ws.next_pop_male, before.next_pop_male);
        EXPECT_EQ(ws.res_total_pop, before.res_total_pop);
    }
}

// A life table whose e(0) = T(0) is not below N: the first target lies beyond what the fit can
// reach (the sum of shifted survivors is below N).
TEST(YearEndEstimate, LoadedLifeExpectancyAboveTheAgesIsOutOfReach)
{
    ProjectionWorkspace ws;
    Inputs in;
    in.n = 81;
    in.mm.assign(in.n, 0.0001);
    in.mf.assign(in.n, 0.0001);
    in.mm[80] = in.mf[80] = 0.5;  // T(0) = 80.6... + 2 l(80) > 81
    in.pm.assign(in.n, 1000);
    in.pf.assign(in.n, 1000);
    YearEndInputs y = load(ws, in);
    ASSERT_GT(ws.life_exp_male[0], 81);
    y.total_text = "160000";
    y.male_births_text = "1000";
    y.female_births_text = "1000";
    const YearEndTotals t = check_year_end_inputs(ws, y);
    EXPECT_EQ(error_text([&] { estimate_year_end(ws, in.n, t); }), "数据逻辑错误!!!请检查数据!");
}

// The checks before the estimate, in their order. 81 ages, 1000 men and 1200 women at every
// age: ages 1..80 hold 176000, women 15..49 42000.
TEST(YearEndChecks, RefusalsInTheirOrder)
{
    struct Case {
        const char* name;
        std::function<void(Inputs&, YearEndInputs&)> change;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"a field list empty", [](Inputs&, YearEndInputs& y) { y.fields_chosen = false; }, "选定原始数据变量不够!"},
        {"lowest age first", [](Inputs& in, YearEndInputs&) { in.pm[5] = -1; in.pf[3] = -1; },
         "女性年龄别人口数据格式不正确."},
        {"population before death rate at one age", [](Inputs& in, YearEndInputs&) { in.pf[4] = -1; in.pm[4] = -2; },
         "男性年龄别人口数据格式不正确."},
        {"male population not read", [](Inputs&, YearEndInputs& y) { y.male_population = false; },
         "男性年龄别人口数据格式不正确."},
        {"male life table not built", [](Inputs&, YearEndInputs& y) { y.male_life_table = false; },
         "男性年龄别死亡率数据格式不正确."},
        {"a refused rate at a lower age than a negative population", [](Inputs& in, YearEndInputs& y) {
             in.mm[20] = 1.5; y.male_life_table = false; in.pf[30] = -1; },
         "男性年龄别死亡率数据格式不正确."},
        {"a female rate above 1", [](Inputs& in, YearEndInputs&) { in.mf[7] = 1.01; }, "女性年龄别死亡率数据格式不正确."},
        {"female life table not built", [](Inputs&, YearEndInputs& y) { y.female_life_table = false; },
         "女性年龄别死亡率数据格式不正确."},
        {"the default texts", [](Inputs&, YearEndInputs& y) { y.total_text = y.male_births_text = y.female_births_text = "0.0"; },
         "数据逻辑错误!"},
        {"an empty total", [](Inputs&, YearEndInputs& y) { y.total_text = ""; }, "'' is not a valid floating point value"},
        {"births text not a number", [](Inputs&, YearEndInputs& y) { y.female_births_text = "1,000"; },
         "'1,000' is not a valid floating point value"},
        {"negative births", [](Inputs&, YearEndInputs& y) { y.male_births_text = "-5"; }, "数据逻辑错误!"},
        {"total equal to the births", [](Inputs&, YearEndInputs& y) { y.total_text = "2000"; }, "数据逻辑错误!"},
        {"total equal to births and ages 1 and over", [](Inputs&, YearEndInputs& y) { y.total_text = "178000"; },
         "数据逻辑错误!!!请检查数据!"},
        {"one person fewer", [](Inputs&, YearEndInputs& y) { y.total_text = "177999"; }, "(no error)"},
        {"births a third of the women", [](Inputs&, YearEndInputs& y) {
             y.male_births_text = "7000"; y.female_births_text = "7000"; y.total_text = "190000"; },
         "数据逻辑错误!!!请检查数据!"},
        {"births below a third", [](Inputs&, YearEndInputs& y) {
             y.male_births_text = "7000"; y.female_births_text = "6999"; y.total_text = "189000"; },
         "(no error)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectionWorkspace ws;
        Inputs in;
        in.n = 81;
        in.mm = test_rates(in.n, true);
        in.mf = test_rates(in.n, false);
        in.pm.assign(in.n, 1000);
        in.pf.assign(in.n, 1200);
        YearEndInputs y;
        y.fields_chosen = y.male_population = y.female_population = y.male_life_table = y.female_life_table = true;
        y.total_text = "170000";
        y.male_births_text = y.female_births_text = "1000";
        c.change(in, y);
        ws.pop_male = in.pm;
        ws.pop_female = in.pf;
        ws.death_rate_male = in.mm;
        ws.death_rate_female = in.mf;
        ws.age_group_count = in.n;
        EXPECT_EQ(error_text([&] { check_year_end_inputs(ws, y); }), c.message);
    }
}

TEST(YearEndChecks, LastAgeRateZeroIsRefused)
{
    ProjectionWorkspace ws;
    ws.age_group_count = 81;
    ws.pop_male.assign(81, 1000);
    ws.pop_female.assign(81, 1000);
    ws.death_rate_male.assign(81, 0.01);
    ws.death_rate_female.assign(81, 0.01);
    ws.death_rate_female[80] = 0;
    YearEndInputs y;
    y.fields_chosen = y.male_population = y.female_population = y.male_life_table = y.female_life_table = true;
    EXPECT_EQ(error_text([&] { check_year_end_inputs(ws, y); }), "女性年龄别死亡率数据格式不正确.");
}

TEST(YearEndLoaders, WhatTheyWriteAndRefuse)
{
    ProjectionWorkspace ws;
    ws.proj_year_count = 7;
    // Population: N into age_group_count, both sexes sized, a negative value kept but refused.
    std::vector<double> p(81, 10.0);
    p[40] = -1;
    EXPECT_EQ(error_text([&] { load_year_end_population(ws, Sex::female, p); }), "数据格式不正确.");
    EXPECT_EQ(ws.age_group_count, 81);
    EXPECT_EQ(ws.pop_male.size(), 81u);
    EXPECT_EQ(ws.pop_female[40], -1);
    EXPECT_EQ(ws.proj_year_count, 7);

    // Death rates: a rate of 0 below the last age is accepted and gives l(x+1) = l(x).
    std::vector<double> m(81, 0.01);
    m[30] = 0;
    EXPECT_EQ(error_text([&] { load_year_end_death_rates(ws, Sex::male, m); }), "(no error)");
    EXPECT_EQ(ws.proj_year_count, 1);
    EXPECT_EQ(ws.lt_survivors_male[31][0], ws.lt_survivors_male[30][0]);
    EXPECT_EQ(ws.lt_years_lived_male.size(), 81u);
    EXPECT_EQ(ws.lt_years_lived_male[0].size(), 1u);

    m[20] = 1.5;
    EXPECT_EQ(error_text([&] { load_year_end_death_rates(ws, Sex::male, m); }), "数据格式不正确.");
    EXPECT_EQ(ws.death_rate_male[20], 1.5);  // kept
    m[20] = 0.01;
    m[80] = 0;
    EXPECT_EQ(error_text([&] { load_year_end_death_rates(ws, Sex::male, m); }), "Floating point division by zero");
    EXPECT_EQ(error_text([&] { load_year_end_death_rates(ws, Sex::female, std::vector<double>(70, 0.01)); }),
              "Range check error");
}

}  // namespace
}  // namespace vantelo::analysis
