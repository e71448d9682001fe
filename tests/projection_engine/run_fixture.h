#pragma once
// Workspaces and form inputs for whole runs, set up the way the projection form's loaders leave
// them.
#include <cmath>
#include <string>
#include <vector>

#include "projection/engine/life_table.h"
#include "projection/engine/projection_run.h"

namespace vantelo::projection::testing {

// Every cell of columns 1..y of the given rows set to `text`.
inline void fill_rows(GridModel& g, int y, int first_row, int last_row, const std::string& text)
{
    for (int c = 1; c <= y; ++c)
        for (int r = first_row; r <= last_row; ++r) g.set_cell(c, r, text);
}

// Form inputs for y years: TFR 2 in row 1 with all births at ages 25..29 (pattern 0.2 each),
// sex ratio 100, e0 cells equal to the base texts (no refit), floating grid 10000 / 0.012 /
// 0.003, floating population 50000, urban share 0.26.
inline RunInputs flat_inputs(const ProjectionWorkspace& ws, int y)
{
    RunInputs in;
    in.field_texts = {"PM", "PF", "MM", "MF", "F1"};
    in.tfr_grid = GridModel(y + 1, 4);
    fill_rows(in.tfr_grid, y, 1, 3, "0.0");
    fill_rows(in.tfr_grid, y, 1, 1, "2");
    in.e0_grid = GridModel(y + 1, 3);
    fill_rows(in.e0_grid, y, 1, 1, ws.base_e0_male_text);
    fill_rows(in.e0_grid, y, 2, 2, ws.base_e0_female_text);
    in.srb_grid = GridModel(y + 1, 2);
    fill_rows(in.srb_grid, y, 1, 1, "100");
    for (auto& g : in.pattern_grids) {
        g = GridModel(y + 1, 37);
        fill_rows(g, y, 1, 35, "0.0");
    }
    fill_rows(in.pattern_grids[0], y, 11, 15, "0.2");
    in.floating_grid = GridModel(y + 1, 4);
    fill_rows(in.floating_grid, y, 1, 1, "10000");
    fill_rows(in.floating_grid, y, 2, 2, "0.012");
    fill_rows(in.floating_grid, y, 3, 3, "0.003");
    in.urban_share_text = "0.26";
    in.floating_pop_text = "50000";
    return in;
}

// A workspace of n ages and y years with `each` persons of each sex at every age, death rates
// 0.01, and person-years lived L(x) = 0.98 for x < n-1 and 2.94 at the open last age in every
// year column, so that survival is 1 below the last age, infants are 0.98 of births and the
// ages n-2 and over keep 2.94/(0.98 + 2.94) = 3/4 of themselves.
inline void flat_workspace(ProjectionWorkspace& ws, int n, int y, double each)
{
    ws.age_group_count = n;
    ws.proj_year_count = y;
    ws.pop_male.assign(n, each);
    ws.pop_female.assign(n, each);
    ws.death_rate_male.assign(n, 0.01);
    ws.death_rate_female.assign(n, 0.01);
    for (Sex sex : {Sex::male, Sex::female}) {
        LifeTableColumns t = ws.life_table(sex);
        size_life_table(t, n, y);
        for (int x = 0; x < n; ++x)
            for (int c = 0; c < y; ++c) t.lt_years_lived[x][c] = x < n - 1 ? 0.98 : 2.94;
        t.base_e0_text = "70";
    }
    ws.asfr.assign(n, k_ar(y, 0.0));
    for (int x = 25; x <= 29; ++x) ws.asfr[x][0] = 0.4;
    ws.parity_count = 1;
}

// Death rates rising with age, capped at 1, and a higher infant rate.
inline std::vector<double> rising_rates(int n, double scale)
{
    std::vector<double> m(n);
    for (int x = 0; x < n; ++x) m[x] = std::min(1.0, scale * (0.0004 + 0.00003 * std::exp(0.1 * x)));
    m[0] = 0.02 * scale;
    return m;
}

// A workspace of n ages and y years with real life tables built from rising rates, a population
// falling with age, and a fertility schedule loaded in column 0.
inline void realistic_workspace(ProjectionWorkspace& ws, int n, int y)
{
    ws.age_group_count = n;
    ws.proj_year_count = y;
    ws.pop_male.resize(n);
    ws.pop_female.resize(n);
    for (int x = 0; x < n; ++x) {
        ws.pop_male[x] = std::round(10000 * std::exp(-0.025 * x));
        ws.pop_female[x] = std::round(9800 * std::exp(-0.022 * x));
    }
    ws.death_rate_male = rising_rates(n, 1.2);
    ws.death_rate_female = rising_rates(n, 0.9);
    for (Sex sex : {Sex::male, Sex::female}) {
        LifeTableColumns t = ws.life_table(sex);
        size_life_table(t, n, y);
        build_life_table(t, sex, n, y);
    }
    ws.asfr.assign(n, k_ar(y, 0.0));
    for (int x = 15; x <= 49; ++x) ws.asfr[x][0] = 0.05;
    ws.parity_count = 1;
}

// Separation factors of the single-year table, worked out here from their rules rather than
// taken from the engine: from q0 = 1 - exp(-m(0)), a(0) and a(1..4) of the sex (fixed values
// from q0 = 0.1 on), 0.45 at 5..9, 0.52 at 10..69, 0.5 from 70 on, and 1/m(n-1) at the open age.
inline std::vector<double> independent_sep_factors(const std::vector<double>& m, Sex sex)
{
    const int n = static_cast<int>(m.size());
    const double q0 = 1 - std::exp(-m[0]);
    const bool male = sex == Sex::male;
    std::vector<double> a(n);
    for (int x = 0; x < n; ++x) {
        if (x == 0)
            a[x] = q0 >= 0.1 ? (male ? 0.33 : 0.35) : male ? 0.0425 + 2.875 * q0 : 0.05 + 3.0 * q0;
        else if (x <= 4)
            a[x] = q0 >= 0.1 ? (male ? 0.338 : 0.34025) : male ? (1.63 - 3.013 * q0) / 4 : (1.524 - 1.627 * q0) / 4;
        else
            a[x] = x <= 9 ? 0.45 : x < 70 ? 0.52 : 0.5;
    }
    a[n - 1] = 1 / m[n - 1];
    return a;
}

// e(0) of the life table whose survivors are column `col` of l (l(0) = 1, n ages, l(n) taken
// as 0) and whose separation factors are a: the sum over x of the person-years
// (l(x) - l(x+1)) a(x) + l(x+1), added up in long double.
inline double e0_of_column(const k_grid& l, int col, const std::vector<double>& a)
{
    const int n = static_cast<int>(a.size());
    long double t = 0;
    for (int x = 0; x < n; ++x) {
        const long double lx = l[x][col], lx1 = x + 1 < n ? l[x + 1][col] : 0.0L;
        t += (lx - lx1) * a[x] + lx1;
    }
    return static_cast<double>(t / l[0][col]);
}

// Three parities with their own patterns: TFR 1, 0.5, 0.25.
inline void three_parities(ProjectionWorkspace& ws, RunInputs& in, int y)
{
    ws.parity_count = 3;
    fill_rows(in.tfr_grid, y, 1, 1, "1");
    fill_rows(in.tfr_grid, y, 2, 2, "0.5");
    fill_rows(in.tfr_grid, y, 3, 3, "0.25");
    fill_rows(in.pattern_grids[1], y, 16, 17, "0.5");  // ages 30, 31
    fill_rows(in.pattern_grids[2], y, 21, 21, "1");    // age 35
}

}  // namespace vantelo::projection::testing
