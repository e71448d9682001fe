#pragma once
// What the projection form's field loaders compute once a column of the current table is read:
// the values into the workspace, their check, and what follows from them (sex ratio at birth,
// life tables, TFR and fertility pattern) written into the year grids. A failed check raises
// InputMessage "数据格式不正确." after the values are stored; nothing is derived from them and the
// grids keep their contents.
#include <vector>

#include "projection/engine/workspace.h"
#include "projection/engine/year_grid.h"

namespace vantelo::projection {

inline constexpr const char* msg_bad_data = "数据格式不正确.";

// Population field of one sex: N = values.size() ages, Y years, base year B.
// Refuses a value below 0. With P_m(0) and P_f(0) both non-zero: s_m = P_m(0)/(P_m(0) + P_f(0)),
// s_f likewise, into element 0 of the birth shares, and base_sex_ratio = 100 s_m/(1 - s_m)
// (male loader) or (100 - 100 s_f)/s_f (female loader); otherwise base_sex_ratio = 0.
// The sex-ratio grid gets Y + 1 columns, year headers and base_sex_ratio ("#####.########",
// empty for 0) in row 1; the male loader also puts "0.0" into rows 1..3 of the floating grid.
void load_population(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& values, int y, int base_year,
                     GridModel& srb_grid, GridModel& floating_grid);

// Death-rate field of one sex: refuses a rate <= 0 or > 1, then builds the sex's single-year
// life table and writes its e0 text into row 1 (male, label "男性") or 2 (female, "女性") of the
// life-expectancy grid.
void load_mortality(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& rates, int y, int base_year,
                    GridModel& e0_grid);

// Fertility field of parity k (1..3): asfr column 0 and tfr_value = sum of all rates;
// tfr_by_year = tfr_value; refuses a TFR of 0 (before the pattern), then fert_pattern column 0
// = F(15 + i)/TFR; then refuses a rate < 0 or > 1. Sets parity_count = k and base_tfr_text,
// writes the TFR into row k of the TFR grid, the pattern ("0.0" for 0, else "##.########") and
// its total (row 36, "####.########") into every column of the parity's pattern grid, and the
// total TFR (row 1 of the total grid: the TFR text for k = 1, the sum of rows 1..k of the TFR
// grid otherwise, leaving tfr_value at the last column's sum).
void load_fertility(ProjectionWorkspace& ws, int k, const std::vector<double>& rates, int y, int base_year,
                    GridModel& tfr_grid, GridModel& pattern_grid, GridModel& total_grid);

}  // namespace vantelo::projection
