#include <gtest/gtest.h>

#include <algorithm>

#include "platform/core/errors.h"
#include "projection/result_reports.h"

using namespace vantelo;
using namespace vantelo::projection;
using Lines = std::vector<std::string>;

namespace {

// A projection of two years from base 2000 to end 2002 with three ages; every series holds
// values chosen so that their texts can be written down by hand.
struct Fixture {
    std::vector<double> series[36];
    std::vector<double> pop_male{985.5, 986.5, 3.5};
    std::vector<double> pop_female{0.4, 1001, 2.5};
    ResultView v;

    Fixture(int years = 2)
    {
        for (auto& s : series) s.assign(static_cast<size_t>(years), 0.0);
        const std::vector<double>** slots[] = {
            &v.res_total_pop, &v.res_male_pop, &v.res_female_pop, &v.res_pop_0_14, &v.res_pop_working_age,
            &v.res_pop_elderly, &v.res_urban_pop, &v.res_birth_rate, &v.res_death_rate, &v.res_infant_mortality,
            &v.res_births, &v.res_deaths, &v.res_women_15_49, &v.res_women_23, &v.res_women_20_29, &v.res_age_6,
            &v.res_age_7, &v.res_age_11, &v.res_age_15, &v.res_age_18, &v.res_age_6_10, &v.res_age_15_24,
            &v.res_age_25_44, &v.res_age_45_64, &v.res_age_19_64, &v.res_male_15_64, &v.res_female_15_64,
            &v.res_age_60plus, &v.res_age_65plus, &v.res_age_80plus, &v.res_float_pop, &v.res_float_births,
            &v.res_float_deaths, &v.res_births_parity1, &v.res_births_parity2, &v.res_births_parity3};
        for (size_t k = 0; k < 36; ++k) *slots[k] = &series[k];
        v.base_year = 2000;
        v.end_year = 2002;
        v.year_count = years;
        v.age_count = 3;
        v.pop_male = &pop_male;
        v.pop_female = &pop_female;
        v.parameters.assign(static_cast<size_t>(years), ParamRecord{});
    }
    std::vector<double>& total() { return series[0]; }
    std::vector<double>& s(const std::vector<double>* p) { return const_cast<std::vector<double>&>(*p); }
};

}  // namespace

TEST(IndicatorList, EntriesInListOrderWithTheirExactPunctuation)
{
    const auto& e = indicator_entries();
    ASSERT_EQ(e.size(), 45u);
    EXPECT_EQ(e[0], "总人口数");
    EXPECT_EQ(e[3], "0--14岁人口数");
    EXPECT_EQ(e[4], "15--64岁人口数");
    EXPECT_EQ(e[20], "20-29岁女性");
    EXPECT_EQ(e[21], "总人口年龄结构");
    EXPECT_EQ(e[31], "19_64岁人口");
    EXPECT_EQ(e[32], "男性15_64岁人口");
    EXPECT_EQ(e[40], "人口预测参数设置");
    EXPECT_EQ(e[43], ">=3孩出生数");
    EXPECT_EQ(e[44], "全部数据结果与参数");
}

TEST(TextReport, NoEntryChosenListsTheTotalUnderTheBoxText)
{
    Fixture f;
    f.total() = {166362, 164684};
    EXPECT_EQ(text_report(f.v, -1, "总人口数"), (Lines{"", "总人口数", "2001    166362", "2002    164684"}));
    // typed text heads a total-population report as it stands
    EXPECT_EQ(text_report(f.v, -1, "我的标题"), (Lines{"", "我的标题", "2001    166362", "2002    164684"}));
}

TEST(TextReport, SharesAreQuotientsInTheGeneralFormat)
{
    Fixture f;
    f.total() = {3, 1e6};
    f.s(f.v.res_pop_0_14) = {1, 200000};
    f.s(f.v.res_urban_pop) = {2, 260000};
    EXPECT_EQ(text_report(f.v, ind_share_0_14, "0--14岁人口比重"),
              (Lines{"", "0--14岁人口比重", "2001    0.333333333333333", "2002    0.2"}));
    EXPECT_EQ(text_report(f.v, ind_urban_share, "城镇人口比重"),
              (Lines{"", "城镇人口比重", "2001    0.666666666666667", "2002    0.26"}));
}

TEST(TextReport, AShareOfAYearWithoutPopulationIsADivisionByZero)
{
    Fixture f;
    f.total() = {10, 0};
    f.s(f.v.res_pop_elderly) = {1, 1};
    EXPECT_THROW(text_report(f.v, ind_share_65plus, "x"), ZeroDivideError);
}

TEST(TextReport, NaturalGrowthRateIsTheDifferenceOfTheRates)
{
    Fixture f;
    f.s(f.v.res_birth_rate) = {0.0125, 0.01};
    f.s(f.v.res_death_rate) = {0.0075, 0.0112};
    EXPECT_EQ(text_report(f.v, ind_natural_growth_rate, "自然增长率"),
              (Lines{"", "自然增长率", "2001    0.005", "2002    -0.0012"}));
}

TEST(TextReport, BirthsAndDeathsAreRoundedHalfToEven)
{
    struct Case {
        int k;
        std::vector<double> births, deaths;
        Lines expected;
    } cases[] = {
        {ind_births, {2.5, 3.5}, {0, 0}, {"", "出生人数", "2001    2", "2002    4"}},
        {ind_deaths, {0, 0}, {-2.5, 1234.4999}, {"", "死亡人数", "2001    -2", "2002    1234"}},
        // the difference is rounded, not the two terms: 10.25 - 12.75 = -2.5 -> -2
        {ind_natural_increase, {10.25, 100.6}, {12.75, 50.1}, {"", "自然增加", "2001    -2", "2002    50"}},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.s(f.v.res_births) = c.births;
        f.s(f.v.res_deaths) = c.deaths;
        EXPECT_EQ(text_report(f.v, c.k, indicator_entry_text(c.k)), c.expected) << c.k;
    }
}

TEST(TextReport, AgeStructureReplacesTheHeadingByTheEndYearTable)
{
    Fixture f;
    EXPECT_EQ(text_report(f.v, ind_age_structure, "总人口年龄结构"),
              (Lines{"", "2002年 年龄结构", "年龄  男性        女性", "0  986   0", "1  986   1001", "2  4   2"}));
}

TEST(TextReport, ParityBirthsRepeatTheHeadingAndHaveNoEmptyTopLine)
{
    Fixture f;
    f.s(f.v.res_births_parity2) = {100.5, 7};
    EXPECT_EQ(text_report(f.v, ind_births_parity2, "2孩出生数"), (Lines{"2孩出生数", "2孩出生数", "2001    100", "2002    7"}));
}

TEST(TextReport, ParameterReportSectionsInTheirOrder)
{
    Fixture f(1);
    ParamRecord& p = f.v.parameters[0];
    p[0] = 1.8;
    p[1] = 70.5;
    p[2] = 74.25;
    p[3] = 106;
    for (int a = 0; a < 35; ++a) p[static_cast<size_t>(4 + a)] = 0;
    p[4] = 0.0123;       // age 15
    p[5] = 0.05;         // age 16
    p[6] = 0.1234567;    // age 17: six decimals, ties away
    p[11] = 1.5;         // age 22
    p[39] = 0.26;        // urban share: not reported
    p[40] = 10000;
    p[41] = 0.012;
    p[42] = 0.003;
    const std::string ages1 = "         " "      15      16      17      18      19      20      21";
    const std::string ages2 = "         " "      22      23      24      25      26      27      28";
    const std::string ages3 = "         " "      29      30      31      32      33      34      35";
    const std::string ages4 = "         " "      36      37      38      39      40      41      42";
    const std::string ages5 = "         " "      43      44      45      46      47      48      49";
    Lines expected{"",
                   "人口预测参数设置",
                   "总和生育率", "2001    1.8",
                   "出生性别比", "2001    106",
                   "男性平均预期寿命", "2001    70.5",
                   "女性平均预期寿命", "2001    74.25",
                   "生育模式",
                   ages1, "2001     .0123  .05  .123457        ",
                   ages2, "2001     1.5            ",
                   ages3, "2001                 ",
                   ages4, "2001                 ",
                   ages5, "2001                 ",
                   "流动人口规模", "2001    10000",
                   "流动人口出生率", "2001    0.012",
                   "流动人口死亡率", "2001    0.003"};
    EXPECT_EQ(text_report(f.v, ind_parameters, "人口预测参数设置"), expected);
}

TEST(TextReport, WithoutProjectedYearsOnlyHeadingsRemain)
{
    Fixture f(0);
    EXPECT_EQ(text_report(f.v, ind_total_pop, "总人口数"), (Lines{"", "总人口数"}));
    EXPECT_EQ(text_report(f.v, ind_age_structure, "总人口年龄结构").size(), 1u + 2u + 3u);
    Lines params = text_report(f.v, ind_parameters, "人口预测参数设置");
    EXPECT_EQ(params.size(), 2u + 8u + 5u);
}

TEST(TextReport, FullReportHasEveryBlockAndNoEmptyLine)
{
    for (int years : {0, 1, 2}) {
        Fixture f(years);
        for (auto& s : f.series) s.assign(static_cast<size_t>(years), 7.0);
        Lines r = text_report(f.v, ind_all_results, "全部数据结果与参数");
        // 59 headings and fixed lines, 54 listing lines per year, one line per age
        EXPECT_EQ(r.size(), 59u + 54u * static_cast<size_t>(years) + 3u) << years;
        EXPECT_EQ(r.front(), "全部数据结果与参数");
        for (const auto& line : r) EXPECT_FALSE(line.empty());
    }
    Fixture f(2);
    for (auto& s : f.series) s.assign(2, 7.0);
    Lines r = text_report(f.v, ind_all_results, "全部数据结果与参数");
    EXPECT_EQ(r[1], "总人口数");
    EXPECT_EQ(r[2], "2001    7");
    // block 21 keeps its entry text above the end-year line
    auto it = std::find(r.begin(), r.end(), "总人口年龄结构");
    ASSERT_NE(it, r.end());
    EXPECT_EQ(*(it + 1), "2002年 年龄结构");
    EXPECT_EQ(*(it + 2), "年龄  男性        女性");
    // the parameter sections follow block 39 without a heading of their own, then the parities
    auto params = std::find(r.begin(), r.end(), "总和生育率");
    ASSERT_NE(params, r.end());
    EXPECT_EQ(*(params - 3), "流动人口死亡数");
    EXPECT_EQ(std::count(r.begin(), r.end(), "人口预测参数设置"), 0);
    EXPECT_EQ(r[r.size() - 3], ">=3孩出生数");
    EXPECT_EQ(std::count(r.begin(), r.end(), "1孩出生数"), 1);
}

TEST(TextReport, ASeriesShorterThanTheYearsIsARangeError)
{
    Fixture f(2);
    f.s(f.v.res_age_18) = {1};
    EXPECT_THROW(text_report(f.v, ind_age_18, "18岁人口"), RangeError);
    Fixture g(2);
    g.v.parameters.resize(1);
    EXPECT_THROW(text_report(g.v, ind_parameters, "x"), RangeError);
}

TEST(ChartedIndicators, LinesAndBarsForYearlySeriesOnly)
{
    for (int k = -1; k < indicator_count; ++k) {
        bool none = k == ind_age_structure || k == ind_parameters || k == ind_all_results
            || (k >= ind_male_15_64 && k <= ind_age_65plus);
        EXPECT_EQ(charted_as_series(k), !none) << k;
    }
}

TEST(ChartValues, ChartsUseTheUnroundedValues)
{
    Fixture f;
    f.s(f.v.res_births) = {2.5, 3.25};
    f.s(f.v.res_deaths) = {1, 1};
    EXPECT_EQ(indicator_value(f.v, ind_births, 1), 3.25L);
    EXPECT_EQ(indicator_value(f.v, ind_natural_increase, 0), 1.5L);
}
