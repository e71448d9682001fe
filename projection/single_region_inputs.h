#pragma once
// The field loaders of the projection form, computing half: each stores a column of the
// current table in the workspace, and after the window has coloured the column, checks it and
// derives what follows from it (sex ratio at birth, the single-year life table, the TFR and
// the fertility pattern). A failed check raises InputMessage "数据格式不正确." and leaves the
// stored values in the workspace with nothing derived from them.
#include <string>
#include <string_view>
#include <vector>

#include "projection/engine/workspace.h"

namespace vantelo::projection {

inline constexpr const char* msg_bad_data = "数据格式不正确.";

// Population of one sex: N := the column's length, Y := years; pop_male and pop_female are
// sized to N, the birth shares to Y, and the column goes into the sex's population.
void store_population(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& column, int years);
// Refuses a value below 0. Then, when both sexes have people at age 0, the birth shares of
// year column 0 are P_m(0)/(P_m(0) + P_f(0)) and P_f(0)/(P_m(0) + P_f(0)), and base_sex_ratio
// (males per 100 females at age 0) is 100 s_m/(1 - s_m) from the male loader and
// (100 - 100 s_f)/s_f from the female one; otherwise base_sex_ratio is 0.
void derive_population(ProjectionWorkspace& ws, Sex sex);

// Death rates of one sex: m(x) into the sex's death rates, the life-table columns sized for N
// ages and Y year columns.
void store_death_rates(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& column, int years);
// Refuses a rate of 0 or less or above 1; then builds the sex's single-year life table.
// The base e0 text is written with `e0_pattern`.
void derive_death_rates(ProjectionWorkspace& ws, Sex sex, std::string_view e0_pattern = "#####.########");

// Fertility rates of one parity (every parity loads into the same arrays): asfr is sized to N
// by Y and fert_pattern to 35 by Y; F(x) goes into asfr[x][0] and is added to tfr_value, which
// every element of tfr_by_year then takes.
void store_fertility(ProjectionWorkspace& ws, const std::vector<double>& column, int years);
// Refuses a TFR of 0; pattern fert_pattern[i][0] = F(15 + i)/TFR for i = 0..34; refuses a rate
// below 0 or above 1; then parity_count := parity and base_tfr_text := TFR in "#####.########".
// The base TFR text is written with `tfr_pattern`.
void derive_fertility(ProjectionWorkspace& ws, int parity, std::string_view tfr_pattern = "#####.########");

// The 35 pattern values of year column 0 summed in extended precision.
real pattern_sum(const ProjectionWorkspace& ws);

}  // namespace vantelo::projection
