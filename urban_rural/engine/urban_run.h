#pragma once
// The urban/rural projection run (运算): the checks of the loaded inputs of both parts, the
// yearly parameters read from the form's grids, mortality from life-expectancy targets, and the
// yearly cohort-component step of each part with the year's migrants leaving the rural part and
// joining the urban part before survival.
#include <array>
#include <string>

#include "projection/engine/workspace.h"
#include "projection/engine/year_grid.h"
#include "urban_rural/engine/urban_workspace.h"

namespace vantelo::urban_rural {

// The most ages the migration-share grids hold (rows 1..101 are ages 0..100, row 102 the total).
inline constexpr int max_age_groups = 102;
inline constexpr const char* msg_too_many_ages = "年龄组超过102个，无法进行城乡人口预测!";

// What the run reads from the urban/rural form, as plain values and cell texts. Grid cells are
// addressed (column, row); column c = 1..Y is year index c - 1.
struct UrbanRunInputs {
    int age_count = 0;   // N: records of the current table
    int year_count = 0;  // Y: end year - base year
    // Texts of the field lists, only tested for emptiness: rural male and female population,
    // male and female death rate, fertility; then the same five of the urban part.
    std::array<std::string, 5> rural_fields, urban_fields;
    projection::GridModel tfr_grid;       // rows 1 rural, 2 urban: TFR per year
    projection::GridModel srb_grid;       // rows 1 rural, 2 urban: males per 100 female births
    projection::GridModel e0_grid;        // rows 1..4: rural male, rural female, urban male, urban female e0
    projection::GridModel rural_pattern;  // rows 1..35: fertility pattern of ages 15..49
    projection::GridModel urban_pattern;
    projection::GridModel migrants;       // rows 1 male, 2 female: migrants per year
    projection::GridModel male_shares;    // row x + 1: share of age x among the male migrants
    projection::GridModel female_shares;
};

// Runs the urban/rural projection: the rural part in `rural` (the projection workspace), the
// urban part in uw.urban, the whole-region pyramid in uw.
//
// First N := age_count and Y := year_count in both parts, multi_logit_eps := 1e-9. Then the
// checks, each raising InputMessage: an empty rural field text "选定原始数据变量不够!"; for each
// age x in turn P_m < 0, P_f < 0, m_m <= 0 or > 1, m_f <= 0 or > 1, asfr[x][0] < 0 or > 1 with
// "男性年龄别人口数据格式不正确." ... "年龄别生育率数据格式不正确."; the same for the urban part.
// A negative Y raises the range error, more than 102 ages InputMessage msg_too_many_ages.
//
// Each part (rural: grid rows 1, e0 rows 1 and 2, StringGrid4's pattern; urban: rows 2, e0
// rows 3 and 4, StringGrid5's pattern) is then prepared:
//   sizes: next population N, life-table columns for N ages and Y years, birth shares and the
//     six result series Y, the pyramid N by Y (values that remain are kept);
//   birth shares SRB/(SRB + 100) and 100/(SRB + 100) from the sex-ratio row;
//   tfr_by_year(y) := the TFR row's cell (y + 1) when any of its cells differs as text from the
//     part's base TFR text, else the loaded TFR at full precision;
//   fert_pattern(i, y) := pattern cell (y + 1, i + 1), asfr(15 + i, y) := pattern x TFR(y);
//   each sex's life table refitted to its e0 row when that row was edited (tolerance 1e-9):
//     every year's e(0) becomes its target (fit_life_expectancy_row).
// and projected year by year: migrants M_m(x) = migrants(y + 1, 1) x male_shares(y + 1, x + 1),
// M_f likewise with row 2 and female_shares, x = 0..N-2, are subtracted from the rural and added
// to the urban population (no floor: a negative population is projected on); then the
// survivors and births of the single-region step (open oldest age), infants n(0) L(0)/2,
// P := n rounded half to even, and the results of the year: male, female and total population,
// 0..14, 15..59 and 60..N-1, the part's pyramid -P_m(x)/total and P_f(x)/total.
// The whole-region pyramid is -(rural + urban P_m(x))/(rural + urban total), female positive.
//
// Everything is computed on copies of the two parts: a failure (a cell that is not a number,
// a target e0 out of reach, a division by zero) leaves both workspaces as they were, apart
// from N, Y and the tolerance. A successful run leaves pop_* of both parts holding the end
// year, column 0 of a refitted life table the year-0 curve, asfr column 0 of ages 15..49 the
// year-0 rates, and every change flag 0.
void run_urban_rural(projection::ProjectionWorkspace& rural, UrbanWorkspace& uw, const UrbanRunInputs& in);

}  // namespace vantelo::urban_rural
