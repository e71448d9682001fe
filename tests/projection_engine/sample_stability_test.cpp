// The sample tables are stable populations of their own rates: projected 50 years with those
// rates, every age keeps its share of the total and the total changes by one constant rate.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/db/dataset.h"
#include "projection/engine/input_loaders.h"
#include "projection/engine/projection_run.h"
#include "run_fixture.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

constexpr int years = 50;

std::vector<double> column(db::Dataset& t, const std::string& field)
{
    std::vector<double> v;
    t.first();
    while (!t.eof()) {
        v.push_back(t.field_by_name(field).as_float());
        t.next();
    }
    return v;
}

struct Part {
    const char* table;
    const char* prefix;  // "" or "农村" / "城镇"
    double yearly_growth;  // the intrinsic rate the samples were made with
};

// The part's five fields loaded as the projection form's loaders do, with the form's other
// inputs for `years` years: no urban share effect, no floating population.
struct Loaded {
    ProjectionWorkspace ws;
    RunInputs in;
};

void load_part(const Part& part, Loaded& out)
{
    db::Dataset t;
    t.set_table_name(std::string(VANTELO_SAMPLES_DIR) + "/" + part.table);
    t.open();
    const std::string p = part.prefix;
    ProjectionWorkspace& ws = out.ws;
    RunInputs& in = out.in;
    GridModel total_grid;
    load_population(ws, Sex::male, column(t, p + "男性人口"), years, 2000, in.srb_grid, in.floating_grid);
    load_population(ws, Sex::female, column(t, p + "女性人口"), years, 2000, in.srb_grid, in.floating_grid);
    load_mortality(ws, Sex::male, column(t, p + "男性死亡率"), years, 2000, in.e0_grid);
    load_mortality(ws, Sex::female, column(t, p + "女性死亡率"), years, 2000, in.e0_grid);
    load_fertility(ws, 1, column(t, p + "年龄别生育率"), years, 2000, in.tfr_grid, in.pattern_grids[0], total_grid);
    for (int k : {1, 2}) {
        in.pattern_grids[k] = GridModel(years + 1, 37);
        for (int c = 1; c <= years; ++c)
            for (int r = 1; r <= 35; ++r) in.pattern_grids[k].set_cell(c, r, "0.0");
    }
    in.field_texts = {"PM", "PF", "MM", "MF", "F1"};
    in.urban_share_text = "0.5";
    in.floating_pop_text = "0";
}

// Runs 50 years with the loaded rates unchanged, and checks the shares and the yearly growth of
// the total.
void check_stable(const Part& part)
{
    Loaded loaded;
    load_part(part, loaded);
    ProjectionWorkspace& ws = loaded.ws;
    RunInputs& in = loaded.in;
    const std::string p = part.prefix;

    const int n = ws.age_group_count;
    std::vector<double> base_share_m(n), base_share_f(n);
    double base_total = 0;
    for (int x = 0; x < n; ++x) base_total += ws.pop_male[x] + ws.pop_female[x];
    for (int x = 0; x < n; ++x) {
        base_share_m[x] = ws.pop_male[x] / base_total;
        base_share_f[x] = ws.pop_female[x] / base_total;
    }
    run_projection(ws, in);

    double previous = base_total;
    for (int y = 0; y < years; ++y) {
        const double total = ws.res_total_pop[y];
        EXPECT_NEAR(100 * (total / previous - 1), 100 * part.yearly_growth, 0.01) << part.table << p << " year " << y;
        previous = total;
        for (int x = 0; x < n; ++x) {
            // Shares -P_m/total and P_f/total of the year's pyramid.
            EXPECT_NEAR(-ws.res_pyramid_male[x][y], base_share_m[x], 0.01 * base_share_m[x])
                << part.table << p << " male age " << x << " year " << y;
            EXPECT_NEAR(ws.res_pyramid_female[x][y], base_share_f[x], 0.01 * base_share_f[x])
                << part.table << p << " female age " << x << " year " << y;
        }
    }
}

}  // namespace

TEST(SampleTables, EachPartIsTheStablePopulationOfItsOwnRates)
{
    const Part parts[] = {
        {"single_region.DB", "", -0.00965689},
        {"single_region.dbf", "", -0.00965689},
        {"urban_rural.DB", "农村", -0.00672970},
        {"urban_rural.DB", "城镇", -0.01286442},
    };
    for (const Part& part : parts) check_stable(part);
}

// A life-expectancy target typed into the sample's grid is met as the e(0) of each fitted
// year's life table, worked out here from the stored survivors; the base e0 typed with two
// decimals leaves the projection within a few persons in a thousand of the unfitted one.
TEST(SampleTables, LifeExpectancyTargetsAreMetAsTheFittedTablesE0)
{
    const Part part{"single_region.DB", "", 0};
    Loaded unfitted;
    load_part(part, unfitted);
    run_projection(unfitted.ws, unfitted.in);

    for (Sex sex : {Sex::male, Sex::female}) {
        Loaded l;
        load_part(part, l);
        const int row = sex == Sex::male ? 1 : 2;
        const LifeTableColumns t = l.ws.life_table(sex);
        char base[32];
        std::snprintf(base, sizeof base, "%.2f", t.life_exp[0]);
        const std::vector<double> a = projection::testing::independent_sep_factors(t.death_rate, sex);
        std::vector<std::string> targets(years, base);
        targets[9] = "75";
        targets[19] = "68.5";
        for (int c = 1; c <= years; ++c) l.in.e0_grid.set_cell(c, row, targets[c - 1]);
        run_projection(l.ws, l.in);
        for (int y = 0; y < years; ++y) {
            EXPECT_NEAR(projection::testing::e0_of_column(t.lt_survivors, y, a), std::stod(targets[y]), 2e-9)
                << "sex " << row << " year " << y;
            if (targets[y] == base) {
                EXPECT_NEAR(l.ws.res_total_pop[y], unfitted.ws.res_total_pop[y], 3e-3 * unfitted.ws.res_total_pop[y]);
            }
        }
    }
}
