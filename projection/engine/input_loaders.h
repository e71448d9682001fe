#pragma once
// The field loaders: a column of the current table goes into a workspace (the single-region
// one, or the second one the urban/rural form keeps for its urban half), is checked, and what
// follows from it (sex ratio at birth, the single-year life table, TFR and fertility pattern)
// is derived. Windows call store_*, colour the column, then derive_*; load_* do both and write
// the year grids as the projection form shows them. A failed check raises InputMessage
// "数据格式不正确." after the values are stored; nothing is derived from them and the grids keep
// their contents.
#include <string_view>
#include <vector>

#include "projection/engine/input_message.h"
#include "projection/engine/workspace.h"
#include "projection/engine/year_grid.h"

namespace vantelo::projection {

// The number patterns of the texts the loaders write. The defaults are the projection form's;
// the wizard writes the base life expectancy with "#####.####".
struct LoaderPatterns {
    std::string_view sex_ratio = "#####.########";
    std::string_view tfr = "#####.########";
    std::string_view pattern = "##.########";        // a non-zero pattern share (0 is "0.0")
    std::string_view pattern_total = "####.########";
    std::string_view e0 = "#####.########";
};

// Population of one sex: N := the column's length (above 100000 the range error), Y := years;
// pop_male and pop_female are sized to N, the birth shares to Y, and the column goes into the
// sex's population.
void store_population(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& column, int years);
// Refuses a value below 0. Then, when both sexes have people at age 0, the birth shares of
// year column 0 are P_m(0)/(P_m(0) + P_f(0)) and P_f(0)/(P_m(0) + P_f(0)), and base_sex_ratio
// (males per 100 females at age 0) is 100 s_m/(1 - s_m) from the male loader and
// (100 - 100 s_f)/s_f from the female one; otherwise base_sex_ratio is 0.
void derive_population(ProjectionWorkspace& ws, Sex sex);

// Death rates of one sex: m(x) into the sex's death rates, the life-table columns sized for N
// ages and Y year columns.
void store_death_rates(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& column, int years);
// Refuses a rate of 0 or less or above 1; then builds the sex's single-year life table, its
// base e0 text written with the e0 pattern.
void derive_death_rates(ProjectionWorkspace& ws, Sex sex, const LoaderPatterns& p = {});

// Fertility rates of one parity (every parity loads into the same arrays): asfr is sized to N
// by Y and fert_pattern to 35 by Y; F(x) goes into asfr[x][0] and is added to tfr_value, which
// every element of tfr_by_year then takes.
void store_fertility(ProjectionWorkspace& ws, const std::vector<double>& column, int years);
// Refuses a TFR of 0; pattern fert_pattern[i][0] = F(15 + i)/TFR for i = 0..34; refuses a rate
// below 0 or above 1; then parity_count := parity and base_tfr_text := TFR in the tfr pattern.
void derive_fertility(ProjectionWorkspace& ws, int parity, const LoaderPatterns& p = {});

// The 35 pattern values of year column 0 summed in extended precision.
real pattern_sum(const ProjectionWorkspace& ws);

// Gives a year grid Y + 1 columns, at least min_rows rows and the year headers B + c.
void lay_out_year_grid(GridModel& g, int y, int base_year, int min_rows);

// A pattern grid as the fertility loader writes it: Y + 1 columns with year headers, rows 1..35
// labelled 15..49 holding the pattern of year column 0 ("0.0" for 0) in every year column, and
// row 36 "合计" with the sum of the 35 values.
void write_pattern_grid(const ProjectionWorkspace& ws, int y, int base_year, GridModel& pattern_grid,
                        const LoaderPatterns& p = {});

// store_population and derive_population, then the grids: the sex-ratio grid gets Y + 1
// columns, year headers (base year B) and base_sex_ratio (empty text for 0) in row 1; the male
// loader also puts "0.0" into rows 1..3 of the floating-population grid.
void load_population(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& values, int y, int base_year,
                     GridModel& srb_grid, GridModel& floating_grid, const LoaderPatterns& p = {});

// store_death_rates and derive_death_rates, then the sex's e0 text into row 1 (male, label
// "男性") or 2 (female, "女性") of the life-expectancy grid.
void load_mortality(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& rates, int y, int base_year,
                    GridModel& e0_grid, const LoaderPatterns& p = {});

// store_fertility and derive_fertility of parity k (1..3), then the TFR into row k of the TFR
// grid, the pattern ("0.0" for 0) and its total (row 36) into every column of the parity's
// pattern grid, and the total TFR (row 1 of the total grid: the TFR text for k = 1, the sum of
// rows 1..k of the TFR grid otherwise, leaving tfr_value at the last column's sum).
void load_fertility(ProjectionWorkspace& ws, int k, const std::vector<double>& rates, int y, int base_year,
                    GridModel& tfr_grid, GridModel& pattern_grid, GridModel& total_grid,
                    const LoaderPatterns& p = {});

}  // namespace vantelo::projection
