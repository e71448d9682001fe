// The sample tables are stable populations of their own rates: projected 50 years with those
// rates, every age keeps its share of the total and the total changes by one constant rate.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/db/dataset.h"
#include "projection/engine/input_loaders.h"
#include "projection/engine/projection_run.h"

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

// Loads the part's five fields as the projection form's loaders do, runs 50 years with the
// loaded rates unchanged, and checks the shares and the yearly growth of the total.
void check_stable(const Part& part)
{
    db::Dataset t;
    t.set_table_name(std::string(VANTELO_SAMPLES_DIR) + "/" + part.table);
    t.open();
    const std::string p = part.prefix;
    ProjectionWorkspace ws;
    RunInputs in;
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
