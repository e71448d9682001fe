#pragma once
// The single-region projection run (开始预测): checks of the loaded inputs, the yearly
// parameters read from the year grids, mortality from a final survivorship curve or from
// life-expectancy targets, and the cohort-component step by single year of age and sex.
#include <array>
#include <functional>
#include <string>

#include "projection/engine/workspace.h"
#include "projection/engine/year_grid.h"

namespace vantelo::projection {

enum class MortalityOption {
    life_expectancy,  // e0 targets of the life-expectancy grid (期望寿命)
    survivorship,     // final survivorship curves lx read from the table (存活概率曲线)
};

// What the run reads from the projection form, as plain values and cell texts.
struct RunInputs {
    // The texts of the five field lists (male and female population, male and female death
    // rate, first fertility field); only tested for emptiness.
    std::array<std::string, 5> field_texts;
    GridModel tfr_grid;                     // rows 1..3: TFR by parity
    GridModel e0_grid;                      // rows 1, 2: male and female e0 targets
    GridModel srb_grid;                     // row 1: sex ratio at birth
    std::array<GridModel, 3> pattern_grids; // rows 1..35: fertility pattern by parity
    GridModel floating_grid;                // rows 1..3: inflow, birth rate, death rate
    std::string urban_share_text;           // base-year urban share
    std::string floating_pop_text;          // floating population at the start
    MortalityOption mortality = MortalityOption::life_expectancy;
    // Survivorship option: the field names of the final male and female curves, and a reader
    // of the current table: read_field(age, field name) is the field's value in record `age`,
    // called for age = 0..N-1 in order, the male field before the female one.
    std::string lx_field_male, lx_field_female;
    std::function<double(int, const std::string&)> read_field;
};

// Runs the projection on the workspace: N = age_group_count ages, Y = proj_year_count years,
// ws.from_wizard and ws.with_floating_pop as the form set them.
//
// Checks, in this order, each raising InputMessage before anything but logit_eps changes:
//   logit_eps = 1e-9; unless from_wizard, an empty field text: "选定原始数据变量不够!";
//   then for each age x in turn: P_m < 0, P_f < 0, m_m <= 0 or > 1, m_f <= 0 or > 1,
//   asfr[x][0] < 0 or > 1, with the messages "男性年龄别人口数据格式不正确." ... "年龄别生育率数据格式不正确.".
// Y <= 0 raises the range error before any array is sized.
//
// Then sizing, the yearly inputs (floating grid, the floating population, the urban share,
// the sex shares of births SRB/(SRB+100) and 100/(SRB+100), asfr[15+i][y] = sum over parities of
// TFR_k p_k(i)), mortality, the parameter records and the yearly step (project_years).
// Grid texts are converted in that order, so a text that is not a number raises its
// conversion error there.
//
// A failure after the checks restores pop_*, the life-table columns, the separation factors,
// the infant rates and asfr as they were before the run, then rethrows; the result series keep
// the years already projected.
void run_projection(ProjectionWorkspace& ws, const RunInputs& in);

// Values the yearly step carries from year to year.
struct RunState {
    double floating = 0;   // F: the floating population, carrying only the inflows
    double total_prev = 0; // T_prev: total population of the year before
    double urban_prev = 0; // U_prev: urban population of the year before
    double k = 0;          // urbanisation constant 0.044 - 0.028 u0
};

// The yearly cohort-component step for years 0..Y-1, from pop_* and the person-years lived
// L(x)[y] of each year column; closed, or with a floating population when
// ws.with_floating_pop is 1. Per year, with P the start-of-year (rounded) population:
//   survivors n(x+1) = L(x+1)/L(x) P(x) for x = 0..N-3; the oldest age is open-ended:
//     n(N-1) = (P(N-2) + P(N-1)) L(N-1)/(L(N-2) + L(N-1));
//   deaths = sum P(x) - sum over x >= 1 of n(x) (both sexes), plus the infant deaths;
//   W(x) = L_f(x)/L_f(x-1) P_f(x-1) + P_f(x), x = 15..49; doubled births of each sex
//     sum W(x) F(x) s_{m,f}; births by parity from the grids (closed variant only);
//   mean population M = (sum P + sum n, births doubled)/2; births = half the doubled sum;
//   infants = births of the sex times L(0); infant deaths = births - infants;
//   infant mortality = infant deaths/(0.8 infants + 0.2 P(0)); P = n rounded half to even;
//   birth and death rates over M; urban = round(((T_prev - U_prev) k + total) U_prev/T_prev);
//   pyramid shares -P_m/total and P_f/total; the age-group series.
//   Floating: F += inflow; births F br, deaths F dr; res_float_pop = F + births - deaths.
// Series a variant does not write are set to 0 first. A zero L(x), total or T_prev raises the
// division error; fewer than 65 ages the range error.
void project_years(ProjectionWorkspace& ws, const RunInputs& in, RunState& st);

// Pieces of the yearly step shared with the urban/rural projection, whose rural and urban parts
// are each a workspace of this layout.

// The run's checks of the loaded values, age by age for x = 0..n-1 in this order, each raising
// InputMessage: P_m(x) < 0 "男性年龄别人口数据格式不正确.", P_f(x) < 0 "女性年龄别人口数据格式不正确.",
// m_m(x) <= 0 or > 1 "男性年龄别死亡率数据格式不正确.", m_f(x) likewise "女性年龄别死亡率数据格式不正确.",
// asfr[x][0] < 0 or > 1 "年龄别生育率数据格式不正确.". An array shorter than n raises the range error.
void check_loaded_values(const ProjectionWorkspace& ws, int n);

// Sum of p(lo..hi) in extended precision.
double sum_of(const k_ar& p, int lo, int hi);
// Persons of both sexes aged lo..hi in pop_male and pop_female.
double persons_aged(const ProjectionWorkspace& ws, int lo, int hi);

// Sex shares of births of years y = 0..Y-1 from row `row` of a sex-ratio grid (males per 100
// female births): birth_share_male(y) = SRB/(SRB + 100), birth_share_female(y) = 100/(SRB + 100),
// SRB the number in cell (y + 1, row). A cell that is not a number raises its conversion error.
void birth_shares_from_grid(ProjectionWorkspace& ws, const GridModel& srb_grid, int row);

// Mortality of one sex from life-expectancy targets in row `row` of the e0 grid. When any cell
// (c, row), c = 1..Y, differs as text from the sex's base e0 text, every year y is fitted with
// tolerance ws.logit_eps: the curve in year column 0 is shifted (logit_fit_life_expectancy)
// until e(0) of the year's life table equals the target in (y + 1, row); l(0)[y] = 1,
// l(x)[y] = l*(x), l(N)[y] = 0, and L(x)[y] follows from l with the sex's separation factors
// (a(N-1) = 1/m(N-1) as the loader left it), so the L(x)[y] add up to the target. Year 0
// rewrites column 0, which later years start from. An unedited row leaves the life table
// alone. e0_changed is 0 afterwards; the fit state (logit_lo, logit_hi, logit_e0_sum = the
// fitted e(0), the sex's alpha) holds the last fit. A target out of reach raises InputMessage
// "期望寿命设定超出范围！请重新设定。".
void fit_life_expectancy_row(ProjectionWorkspace& ws, Sex sex, const GridModel& e0_grid, int row);

// Survivors and doubled births of year y, from the start-of-year population pop_* and column y
// of L and asfr, into next_pop_*:
//   n(x+1) = L(x+1)/L(x) P(x) for x = 0..N-3; the oldest age is open-ended:
//   n(N-1) = (P(N-2) + P(N-1)) L(N-1)/(L(N-2) + L(N-1));
//   W(x) = L_f(x)/L_f(x-1) P_f(x-1) + P_f(x), x = 15..49, into w[x - 15];
//   n_m(0) = sum W(x) F(x) s_m(y), n_f(0) = sum W(x) F(x) s_f(y) (twice the births).
// A zero L(x) raises the division error; fewer than 50 ages the range error.
void survive_and_bear(ProjectionWorkspace& ws, int y, real w[35]);

}  // namespace vantelo::projection
