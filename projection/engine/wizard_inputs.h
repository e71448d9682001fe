#pragma once
// What the projection wizard's pages put into the workspace and the projection form's grids
// when the user goes on to the next page. The same loaders as the projection form's fields,
// with the wizard's number pictures: sex ratio and e0 "#####.####", TFR "#####.##", pattern
// "##.######", pattern total "####.####".
#include <vector>

#include "projection/engine/input_loaders.h"
#include "projection/engine/life_table.h"

namespace vantelo::projection {

inline constexpr LoaderPatterns wizard_patterns{.sex_ratio = "#####.####",
                                                .tfr = "#####.##",
                                                .pattern = "##.######",
                                                .pattern_total = "####.####",
                                                .e0 = e0_pattern_wizard};

// Population page: male and female populations of ages 0..N-1 (N = the columns' length, both
// the same), Y projected years from base year B.
// pop_male, pop_female (N) and the birth shares (Y) are sized and filled; a value below 0 of
// either sex raises InputMessage "数据格式不正确." (the values stay stored). Then the birth
// shares of column 0 and base_sex_ratio = (100 - 100 s_f)/s_f, s_f = P_f(0)/(P_m(0) + P_f(0)),
// when both are non-zero (otherwise 0). Grids: the sex-ratio grid gets Y + 1 columns, label
// "性别比", year headers and the ratio in row 1; the floating-population grid Y + 1 columns,
// year headers and "10000", "0.012", "0.003" in rows 1..3.
void wizard_population(ProjectionWorkspace& ws, const std::vector<double>& male, const std::vector<double>& female,
                       int years, int base_year, GridModel& srb_grid, GridModel& floating_grid);

// Death-rate page: the male life table, then the female one (load_mortality of each sex with
// the wizard's e0 picture). A rate of 0 or less or above 1 raises InputMessage "数据格式不正确."
// (a male fault before anything female is stored; a female one leaves the male table and
// row done); fewer than 71 ages raise the range error of the separation factors.
void wizard_mortality(ProjectionWorkspace& ws, const std::vector<double>& male, const std::vector<double>& female,
                      int years, int base_year, GridModel& e0_grid);

// Fertility page: the rates of ages 15..50 (36 values) for N ages. Column 0 of asfr (N by Y)
// is cleared at every age before the rates go in, so no rate of an earlier load stays at other
// ages; then the fertility loader's steps (store_fertility, derive_fertility of parity 1): TFR
// = sum of the rates (age 50 included), refused when 0; pattern F(15+i)/TFR for ages 15..49
// only; a rate below 0 or above 1 refused ("数据格式不正确."). Grids: the TFR grid gets label
// "总和生育率", Y + 1 columns, year headers and the TFR in row 1; the pattern grid as
// write_pattern_grid writes it. Fewer than 51 ages raise the range error.
void wizard_fertility(ProjectionWorkspace& ws, const std::vector<double>& rates_15_50, int ages, int years,
                      int base_year, GridModel& tfr_grid, GridModel& pattern_grid);

}  // namespace vantelo::projection
