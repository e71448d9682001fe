// Whole urban/rural runs: the rural part against the single-region run, migration against an
// independent projection, the checks, the edited-row rules, and failures that change nothing.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/numtext.h"
#include "projection/engine/input_message.h"
#include "reference_projection.h"
#include "urban_fixture.h"

using namespace vantelo;
using namespace vantelo::projection;
using namespace vantelo::urban_rural;
using namespace vantelo::urban_rural::testing;
using vantelo::projection::testing::e0_of_column;
using vantelo::projection::testing::flat_inputs;
using vantelo::projection::testing::independent_sep_factors;

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

constexpr int N = 81, Y = 10;

struct Fixture {
    ProjectionWorkspace rural;
    UrbanWorkspace uw;
    UrbanRunInputs in;

    explicit Fixture(const std::string& migrants = "0.0", int y = Y)
    {
        loaded_part(rural, N, y, 2.0, "2");
        loaded_part(uw.urban, N, y, 2.0, "2");
        // The urban part: fewer old people, lower mortality.
        for (int x = 0; x < N; ++x) {
            uw.urban.pop_male[x] = std::round(12000 * std::exp(-0.03 * x));
            uw.urban.pop_female[x] = std::round(11800 * std::exp(-0.028 * x));
            uw.urban.death_rate_male[x] *= 0.8;
            uw.urban.death_rate_female[x] *= 0.8;
        }
        for (Sex sex : {Sex::male, Sex::female}) build_life_table(uw.urban.life_table(sex), sex, N, y);
        in = flat_urban_inputs(rural, uw.urban, N, y, migrants);
    }
    void run() { run_urban_rural(rural, uw, in); }
};

using Reference = urban_reference::PartResult;

// A part of the fixture with its loaded life table, all births at ages 25..29 (0.2 x TFR 2) and
// half of them boys, and `migrants` of each sex a year spread by `share` over ages 0..79.
Reference project_independently(const ProjectionWorkspace& part, int years, long double migrants, long double share,
                                int sign)
{
    urban_reference::PartInput in;
    in.pm = part.pop_male;
    in.pf = part.pop_female;
    in.lm = part.lt_years_lived_male;
    in.lf = part.lt_years_lived_female;
    in.asfr.assign(part.pop_male.size(), 0.0);
    for (int x = 25; x <= 29; ++x) in.asfr[x] = static_cast<double>(0.2L * 2.0L);
    std::vector<long double> shares(part.pop_male.size(), 0.0L);
    for (int x = 0; x < 80; ++x) shares[x] = share;
    return urban_reference::project_part(in, years, migrants, migrants, shares, sign);
}

void expect_part(const ProjectionWorkspace& ws, const Reference& r, const char* part)
{
    SCOPED_TRACE(part);
    for (std::size_t y = 0; y < r.total.size(); ++y) {
        EXPECT_EQ(ws.res_male_pop[y], r.male[y]) << "year " << y;
        EXPECT_EQ(ws.res_female_pop[y], r.female[y]) << "year " << y;
        EXPECT_EQ(ws.res_total_pop[y], r.total[y]) << "year " << y;
        EXPECT_EQ(ws.res_pop_0_14[y], r.young[y]) << "year " << y;
        EXPECT_EQ(ws.res_pop_working_age[y], r.working[y]) << "year " << y;
        EXPECT_EQ(ws.res_pop_elderly[y], r.old[y]) << "year " << y;
    }
    EXPECT_EQ(ws.pop_male, r.pm);
    EXPECT_EQ(ws.pop_female, r.pf);
}

}  // namespace

// Without migrants the rural part is exactly the single-region projection of the same data.
TEST(UrbanRuralRun, RuralPartWithoutMigrantsIsTheSingleRegionRun)
{
    Fixture fx;
    ProjectionWorkspace single = fx.rural;
    RunInputs sin = flat_inputs(single, Y);
    run_projection(single, sin);
    fx.run();

    for (int y = 0; y < Y; ++y) {
        EXPECT_EQ(fx.rural.res_total_pop[y], single.res_total_pop[y]) << y;
        EXPECT_EQ(fx.rural.res_male_pop[y], single.res_male_pop[y]) << y;
        EXPECT_EQ(fx.rural.res_pop_0_14[y], single.res_pop_0_14[y]) << y;
        EXPECT_EQ(fx.rural.res_pop_elderly[y], single.res_age_60plus[y]) << y;
        for (int x = 0; x < N; ++x) EXPECT_EQ(fx.rural.res_pyramid_male[x][y], single.res_pyramid_male[x][y]);
    }
    EXPECT_EQ(fx.rural.pop_male, single.pop_male);
    EXPECT_EQ(fx.rural.pop_female, single.pop_female);
}

TEST(UrbanRuralRun, BothPartsWithoutMigrantsAgainstAnIndependentProjection)
{
    Fixture fx;
    const Reference rural = project_independently(fx.rural, Y, 0, 0, -1);
    const Reference urban = project_independently(fx.uw.urban, Y, 0, 0, +1);
    fx.run();
    expect_part(fx.rural, rural, "rural");
    expect_part(fx.uw.urban, urban, "urban");
}

// 100 men and 100 women a year, 1.25 of each sex at every age 0..79, leave the rural part and
// join the urban part before survival.
TEST(UrbanRuralRun, MigrantsLeaveTheRuralAndJoinTheUrbanPart)
{
    Fixture fx("100");
    const Reference rural = project_independently(fx.rural, Y, 100, 0.0125L, -1);
    const Reference urban = project_independently(fx.uw.urban, Y, 100, 0.0125L, +1);
    const Reference rural_closed = project_independently(fx.rural, Y, 0, 0, -1);
    fx.run();
    expect_part(fx.rural, rural, "rural");
    expect_part(fx.uw.urban, urban, "urban");
    EXPECT_LT(fx.rural.res_total_pop[0], rural_closed.total[0]);

    // The whole-region pyramid: rural + urban of each age over the sum of both totals.
    for (int y = 0; y < Y; ++y) {
        const long double whole = static_cast<long double>(fx.rural.res_total_pop[y]) + fx.uw.urban.res_total_pop[y];
        long double shares = 0;
        for (int x = 0; x < N; ++x) {
            const long double m = -(static_cast<long double>(fx.rural.res_pyramid_male[x][y]) * fx.rural.res_total_pop[y] +
                                    static_cast<long double>(fx.uw.urban.res_pyramid_male[x][y]) * fx.uw.urban.res_total_pop[y]);
            EXPECT_NEAR(fx.uw.res_all_pyramid_male[x][y], static_cast<double>(-m / whole), 1e-15);
            EXPECT_LE(fx.uw.res_all_pyramid_male[x][y], 0);
            EXPECT_GE(fx.uw.res_all_pyramid_female[x][y], 0);
            shares += fx.uw.res_all_pyramid_female[x][y] - fx.uw.res_all_pyramid_male[x][y];
        }
        EXPECT_NEAR(static_cast<double>(shares), 1.0, 1e-12);
    }
}

// One age of one year, by hand: the year's migrants of age 3 are 100 x 0.0125 = 1.25 of each
// sex, so the rural men of age 4 in the first year are L(4)/L(3) x (P(3) - 1.25) rounded.
TEST(UrbanRuralRun, OneAgeByHand)
{
    Fixture fx("100");
    const long double l3 = fx.rural.lt_years_lived_male[3][0], l4 = fx.rural.lt_years_lived_male[4][0];
    const long double u3 = fx.uw.urban.lt_years_lived_male[3][0], u4 = fx.uw.urban.lt_years_lived_male[4][0];
    const double rural4 = std::nearbyint(static_cast<double>(l4 / l3 * (fx.rural.pop_male[3] - 1.25L)));
    const double urban4 = std::nearbyint(static_cast<double>(u4 / u3 * (fx.uw.urban.pop_male[3] + 1.25L)));
    Fixture one("100", 1);
    one.run();
    EXPECT_EQ(one.rural.pop_male[4], rural4);
    EXPECT_EQ(one.uw.urban.pop_male[4], urban4);
}

TEST(UrbanRuralRun, ChecksInTheirOrderChangeNothing)
{
    struct Case {
        const char* name;
        std::function<void(Fixture&)> spoil;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"empty rural field", [](Fixture& f) { f.in.rural_fields[4].clear(); }, "选定原始数据变量不够!"},
        {"empty urban field", [](Fixture& f) { f.in.urban_fields[0].clear(); }, "选定原始数据变量不够!"},
        {"rural field checked before urban values",
         [](Fixture& f) {
             f.in.rural_fields[0].clear();
             f.uw.urban.pop_male[5] = -1;
         },
         "选定原始数据变量不够!"},
        {"negative urban male population", [](Fixture& f) { f.uw.urban.pop_male[7] = -1; }, "男性年龄别人口数据格式不正确."},
        {"age order before sex order",
         [](Fixture& f) {
             f.rural.pop_female[2] = -1;
             f.rural.pop_male[3] = -1;
         },
         "女性年龄别人口数据格式不正确."},
        {"zero rural male death rate", [](Fixture& f) { f.rural.death_rate_male[30] = 0; }, "男性年龄别死亡率数据格式不正确."},
        {"urban female death rate above 1", [](Fixture& f) { f.uw.urban.death_rate_female[3] = 1.5; },
         "女性年龄别死亡率数据格式不正确."},
        {"urban fertility above 1", [](Fixture& f) { f.uw.urban.asfr[20][0] = 1.2; }, "年龄别生育率数据格式不正确."},
        {"more than 102 ages",
         [](Fixture& f) {
             f.in.age_count = 103;
             for (ProjectionWorkspace* p : {&f.rural, &f.uw.urban}) {
                 p->pop_male.resize(103, 1.0);
                 p->pop_female.resize(103, 1.0);
                 p->death_rate_male.resize(103, 0.5);
                 p->death_rate_female.resize(103, 0.5);
                 p->asfr.resize(103, k_ar(Y, 0.0));
             }
         },
         msg_too_many_ages},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture fx("100");
        c.spoil(fx);
        const ProjectionWorkspace rural = fx.rural, urban = fx.uw.urban;
        EXPECT_EQ(message_of([&] { fx.run(); }), c.message);
        EXPECT_EQ(fx.rural.pop_male, rural.pop_male);
        EXPECT_EQ(fx.uw.urban.pop_male, urban.pop_male);
        EXPECT_EQ(fx.rural.res_total_pop, rural.res_total_pop);
        EXPECT_EQ(fx.uw.urban.lt_years_lived_male, urban.lt_years_lived_male);
        EXPECT_EQ(fx.uw.urban.asfr, urban.asfr);
    }
}

TEST(UrbanRuralRun, NegativeSpanIsARangeErrorBeforeSizing)
{
    Fixture fx;
    const ProjectionWorkspace before = fx.rural;
    fx.in.year_count = -2;
    EXPECT_THROW(fx.run(), RangeError);
    EXPECT_EQ(fx.rural.proj_year_count, -2);
    EXPECT_EQ(fx.rural.lt_years_lived_male, before.lt_years_lived_male);
    EXPECT_EQ(fx.rural.res_total_pop, before.res_total_pop);
}

TEST(UrbanRuralRun, NoYearsProjectsNothing)
{
    Fixture fx;
    const k_ar base = fx.rural.pop_male;
    fx.in.year_count = 0;
    fx.run();
    EXPECT_TRUE(fx.rural.res_total_pop.empty());
    EXPECT_TRUE(fx.uw.urban.res_total_pop.empty());
    EXPECT_EQ(fx.uw.res_all_pyramid_male.size(), static_cast<std::size_t>(N));
    EXPECT_TRUE(fx.uw.res_all_pyramid_male[0].empty());
    EXPECT_EQ(fx.rural.pop_male, base);
}

// A cell that is not a number in year 2 ends the run with its conversion error and changes
// nothing; the corrected run then gives exactly the clean run's result.
TEST(UrbanRuralRun, FailedRunThenCorrectedRunEqualsACleanRun)
{
    Fixture clean("100");
    clean.run();

    struct Case {
        const char* name;
        std::function<void(UrbanRunInputs&, const std::string&)> set;
        std::string bad;
    };
    const std::vector<Case> cases = {
        {"migrant cell", [](UrbanRunInputs& in, const std::string& t) { in.migrants.set_cell(2, 2, t); }, "1o0"},
        {"urban share cell", [](UrbanRunInputs& in, const std::string& t) { in.female_shares.set_cell(2, 40, t); }, "x"},
        {"urban sex ratio", [](UrbanRunInputs& in, const std::string& t) { in.srb_grid.set_cell(2, 2, t); }, ""},
        {"urban pattern", [](UrbanRunInputs& in, const std::string& t) { in.urban_pattern.set_cell(2, 12, t); }, "a"},
        {"urban e0 target out of reach",
         [](UrbanRunInputs& in, const std::string& t) { in.e0_grid.set_cell(2, 4, t); }, "200"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture fx("100");
        const std::string good = c.name == std::string("migrant cell")         ? fx.in.migrants.cell(2, 2)
                                 : c.name == std::string("urban share cell")   ? fx.in.female_shares.cell(2, 40)
                                 : c.name == std::string("urban sex ratio")    ? fx.in.srb_grid.cell(2, 2)
                                 : c.name == std::string("urban pattern")      ? fx.in.urban_pattern.cell(2, 12)
                                                                               : fx.in.e0_grid.cell(2, 4);
        const ProjectionWorkspace rural = fx.rural, urban = fx.uw.urban;
        c.set(fx.in, c.bad);
        EXPECT_ANY_THROW(fx.run());
        EXPECT_EQ(fx.rural.pop_male, rural.pop_male);
        EXPECT_EQ(fx.uw.urban.pop_female, urban.pop_female);
        EXPECT_EQ(fx.rural.asfr, rural.asfr);
        EXPECT_EQ(fx.uw.urban.lt_survivors_female, urban.lt_survivors_female);
        EXPECT_EQ(fx.uw.urban.e0_changed, 0);
        c.set(fx.in, good);
        fx.run();
        EXPECT_EQ(fx.rural.res_total_pop, clean.rural.res_total_pop);
        EXPECT_EQ(fx.uw.urban.res_total_pop, clean.uw.urban.res_total_pop);
        EXPECT_EQ(fx.uw.urban.pop_male, clean.uw.urban.pop_male);
        EXPECT_EQ(fx.uw.res_all_pyramid_female, clean.uw.res_all_pyramid_female);
    }
}

TEST(UrbanRuralRun, UnreachableLifeExpectancyEndsWithTheMessage)
{
    Fixture fx;
    // Beyond the reach of 81 ages: at most 80 + 1/m(80), about 89.3 for these rural men.
    fx.in.e0_grid.set_cell(3, 1, "90");
    EXPECT_EQ(message_of([&] { fx.run(); }), "期望寿命设定超出范围！请重新设定。");
}

// Editing one cell of a row refits every year of that row to its own target, met as the
// life expectancy e(0) of the year's life table (worked out here from the stored survivors);
// the other three rows keep the loaded person-years.
TEST(UrbanRuralRun, EditedLifeExpectancyRowRefitsEveryYear)
{
    struct Case {
        const char* name;
        bool urban;
        Sex sex;
        int row;
    } cases[] = {{"rural male", false, Sex::male, 1},
                 {"rural female", false, Sex::female, 2},
                 {"urban male", true, Sex::male, 3},
                 {"urban female", true, Sex::female, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture fx;
        auto part = [&](bool urban) -> ProjectionWorkspace& { return urban ? fx.uw.urban : fx.rural; };
        ProjectionWorkspace& ws = part(c.urban);
        const double base_e0 = std::stod(ws.life_table(c.sex).base_e0_text);
        fx.in.e0_grid.set_cell(1, c.row, "60");
        fx.in.e0_grid.set_cell(4, c.row, "71.25");
        const std::vector<double> a = independent_sep_factors(ws.life_table(c.sex).death_rate, c.sex);
        k_grid others[3];
        int k = 0;
        for (bool urban : {false, true})
            for (Sex sex : {Sex::male, Sex::female})
                if (urban != c.urban || sex != c.sex) others[k++] = part(urban).life_table(sex).lt_years_lived;
        fx.run();

        for (int y = 0; y < Y; ++y) {
            const double target = y == 0 ? 60.0 : y == 3 ? 71.25 : base_e0;
            EXPECT_NEAR(e0_of_column(ws.life_table(c.sex).lt_survivors, y, a), target, 2e-9) << y;
        }
        k = 0;
        for (bool urban : {false, true})
            for (Sex sex : {Sex::male, Sex::female})
                if (urban != c.urban || sex != c.sex) EXPECT_EQ(part(urban).life_table(sex).lt_years_lived, others[k++]);
        EXPECT_EQ(ws.e0_changed, 0);
    }
}

// The base e0 typed again with fewer decimals in all four rows: every row is refitted, every
// year's table shows the typed e0, and both parts project as with the rows left alone.
TEST(UrbanRuralRun, BaseLifeExpectancyTypedWithFewerDecimalsKeepsTheProjection)
{
    Fixture unfitted("100");
    unfitted.run();
    Fixture fx("100");
    auto part = [&](bool urban) -> ProjectionWorkspace& { return urban ? fx.uw.urban : fx.rural; };
    std::vector<double> targets;
    std::vector<std::vector<double>> seps;
    int row = 1;
    for (bool urban : {false, true})
        for (Sex sex : {Sex::male, Sex::female}) {
            const LifeTableColumns t = part(urban).life_table(sex);
            char typed[32];
            std::snprintf(typed, sizeof typed, "%.6f", t.life_exp[0]);
            ASSERT_NE(std::string(typed), t.base_e0_text);
            fill_rows(fx.in.e0_grid, Y, row, row, typed);
            targets.push_back(std::stod(typed));
            seps.push_back(independent_sep_factors(t.death_rate, sex));
            ++row;
        }
    fx.run();

    int i = 0;
    for (bool urban : {false, true})
        for (Sex sex : {Sex::male, Sex::female}) {
            SCOPED_TRACE(i);
            for (int y = 0; y < Y; ++y)
                EXPECT_NEAR(e0_of_column(part(urban).life_table(sex).lt_survivors, y, seps[i]), targets[i], 2e-9) << y;
            ++i;
        }
    for (int y = 0; y < Y; ++y) {
        for (const auto& [got, want] : {std::pair{&fx.rural.res_total_pop, &unfitted.rural.res_total_pop},
                                        std::pair{&fx.uw.urban.res_total_pop, &unfitted.uw.urban.res_total_pop},
                                        std::pair{&fx.rural.res_pop_elderly, &unfitted.rural.res_pop_elderly},
                                        std::pair{&fx.uw.urban.res_pop_0_14, &unfitted.uw.urban.res_pop_0_14}})
            EXPECT_NEAR((*got)[y], (*want)[y], 1e-6 * (*want)[y]) << y;
    }
}

// The TFR row counts as edited only when one of its texts differs from the loaded text; an
// unedited row keeps the loaded TFR at full precision.
TEST(UrbanRuralRun, TotalFertilityFromTheGridOnlyWhenTheRowWasEdited)
{
    struct Case {
        const char* name;
        std::string first_cell;
        double first, later;
    };
    const std::vector<Case> cases = {
        {"unedited", "1.88", 1.876, 1.876},
        {"same text written again", "1.88", 1.876, 1.876},
        {"one cell typed", "1.9", 1.9, 1.88},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture fx;
        fx.rural.tfr_value = 1.876;
        fx.rural.tfr_by_year.assign(Y, 1.876);
        fx.rural.base_tfr_text = "1.88";
        vantelo::projection::testing::fill_rows(fx.in.tfr_grid, Y, 1, 1, "1.88");
        fx.in.tfr_grid.set_cell(1, 1, c.first_cell);
        fx.run();
        EXPECT_DOUBLE_EQ(fx.rural.tfr_by_year[0], c.first);
        for (int y = 1; y < Y; ++y) EXPECT_DOUBLE_EQ(fx.rural.tfr_by_year[y], c.later);
        EXPECT_DOUBLE_EQ(fx.rural.asfr[25][0], static_cast<double>(0.2L * static_cast<long double>(c.first)));
        EXPECT_DOUBLE_EQ(fx.uw.urban.tfr_by_year[0], 2.0);
        EXPECT_EQ(fx.rural.tfr_changed, 0);
    }
}

// Migrants are taken out without a floor: a rural population smaller than its migrants goes
// negative and is projected on.
TEST(UrbanRuralRun, MigrantsSubtractedWithoutAFloor)
{
    Fixture fx("100000");
    fx.run();
    EXPECT_LT(fx.rural.pop_male[1], 0);
    EXPECT_EQ(fx.rural.res_total_pop[0] + fx.uw.urban.res_total_pop[0] > 0, true);
}

TEST(UrbanRuralRun, SexRatioPerPartFromTheGrid)
{
    Fixture fx;
    vantelo::projection::testing::fill_rows(fx.in.srb_grid, Y, 2, 2, "105.3");
    fx.run();
    EXPECT_DOUBLE_EQ(fx.uw.urban.birth_share_male[4], static_cast<double>(105.3L / 205.3L));
    EXPECT_DOUBLE_EQ(fx.uw.urban.birth_share_female[4], static_cast<double>(100.0L / 205.3L));
    EXPECT_DOUBLE_EQ(fx.rural.birth_share_male[4], 0.5);
}
