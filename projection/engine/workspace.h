#pragma once
// The projection workspace: the program-wide state of the single-region projection (base
// population, mortality and fertility inputs, the single-year life tables of both sexes for every
// projected year, the state of the life-expectancy fit, the parameters and results of every
// projected year and the age-pyramid arrays). The urban/rural projection uses it as its rural
// half, the year-end estimate and the standardisation compute in it.
//
// It is never cleared: loaders and runs resize the arrays they use and keep the elements that
// remain, so a value no step writes keeps what an earlier step left. Ages are x = 0..N-1
// (N = age_group_count), projected years y = 0..Y-1 (Y = proj_year_count; year y is calendar
// year base + 1 + y). Two-dimensional arrays are rows of years: [age][year].
#include <array>
#include <string>
#include <vector>

#include "platform/core/checked.h"

namespace vantelo::projection {

// A dynamic array of doubles (the separation-factor arrays and every 1-D series).
using k_ar = std::vector<double>;
// Rows of year columns: [age or pattern row][year column].
using k_grid = std::vector<k_ar>;

// The parameters of one projected year as the grids held them at the run:
// 0 TFR row 1; 1, 2 male and female e0; 3 sex ratio at birth; 4..38 the first fertility
// pattern for ages 15..49; 39 the base-year urban share; 40..42 floating inflow, birth rate,
// death rate.
using year_param_rec = std::array<double, 43>;

// Resizes to n elements, keeping those that remain and filling new ones with 0.
// A negative length is a range error.
void resize_array(k_ar& a, long long n);
// Resizes to `rows` rows of `cols` columns, keeping what remains, filling with 0.
void resize_array(k_grid& a, long long rows, long long cols);
void resize_array(std::vector<year_param_rec>& a, long long n);

enum class Sex { male, female };

// The columns of one sex's single-year life table, by reference into a workspace (the urban
// workspace has the same layout and can hand out the same view).
struct LifeTableColumns {
    k_ar& death_rate;       // m(x)
    double& infant_rate;    // m(0)
    k_ar& death_prob;       // q(x)
    k_ar& sep_factor;       // a(x)
    k_ar& lt_deaths;        // d(x)
    k_grid& lt_survivors;   // l(x) by year, N+1 rows
    k_grid& lt_years_lived; // L(x) by year, N rows
    k_ar& lt_years_above;   // T(x)
    k_ar& life_exp;         // e(x)
    std::string& base_e0_text;
};

struct ProjectionWorkspace {
    // Dimensions, shared with the urban/rural projection and the analyses.
    int age_group_count = 0;  // N
    int proj_year_count = 0;  // Y

    // Population: base population when loaded, the last projected year after a run.
    k_ar pop_male, pop_female;
    // Next-year work arrays of the run; element 0 holds births, then infants.
    k_ar next_pop_male, next_pop_female;

    // Mortality and life tables, one set per sex.
    k_ar death_rate_male, death_rate_female;
    double infant_rate_male = 0, infant_rate_female = 0;
    k_ar death_prob_male, death_prob_female;
    k_ar sep_factor_male, sep_factor_female;
    k_ar lt_deaths_male, lt_deaths_female;
    k_grid lt_survivors_male, lt_survivors_female;      // N+1 by Y; l(N) = 0
    k_grid lt_years_lived_male, lt_years_lived_female;  // N by Y
    k_ar lt_years_above_male, lt_years_above_female;
    k_ar life_exp_male, life_exp_female;
    std::string base_e0_male_text, base_e0_female_text;

    // Fertility and sex ratio at birth.
    k_grid asfr;          // N by Y
    k_grid fert_pattern;  // 35 by Y, row i = age 15 + i
    double tfr_value = 0;
    k_ar tfr_by_year;
    std::string base_tfr_text;
    int parity_count = 1;
    k_ar birth_share_male, birth_share_female;
    double base_sex_ratio = 0;

    // Life-expectancy fit state.
    double logit_eps = 0, logit_lo = 0, logit_hi = 0;
    double logit_alpha_male = 0, logit_alpha_female = 0, logit_e0_sum = 0;

    // Result series, one value per projected year.
    k_ar res_total_pop, res_male_pop, res_female_pop;
    k_ar res_pop_0_14, res_pop_working_age, res_pop_elderly;
    k_ar res_age_65plus, res_age_60plus, res_age_80plus;
    k_ar res_age_6, res_age_7, res_age_11, res_age_15, res_age_18;
    k_ar res_age_6_10, res_age_15_24, res_age_25_44, res_age_45_64, res_age_19_64;
    k_ar res_male_15_64, res_female_15_64;
    k_ar res_women_15_49, res_women_23, res_women_20_29;
    k_ar res_births, res_deaths, res_infant_deaths;
    k_ar res_birth_rate, res_death_rate, res_infant_mortality;
    k_ar res_urban_pop;
    k_ar res_births_parity1, res_births_parity2, res_births_parity3;
    k_ar births_p1_male, births_p2_male, births_p3_male;
    k_ar births_p1_female, births_p2_female, births_p3_female;
    k_ar res_float_pop, float_birth_rate, float_death_rate;
    k_ar res_float_births, res_float_deaths;
    std::vector<year_param_rec> res_parameters;

    // Age pyramid: -P_m(x)/total and P_f(x)/total, N by Y.
    k_grid res_pyramid_male, res_pyramid_female;

    // Flags and cursors.
    int years_changed = 0;
    int grid_current_row = 1;
    int grid_current_col = 1;
    int e0_changed = 0;
    int tfr_changed = 0;
    int from_wizard = 0;
    int with_floating_pop = 0;

    // Main-grid marks: which data-grid column is coloured for each kind of input field.
    int grid_mark_pop_male = 0, grid_mark_pop_male_col = 0;
    int grid_mark_pop_female = 0, grid_mark_pop_female_col = 0;
    int grid_mark_death_male = 0, grid_mark_death_male_col = 0;
    int grid_mark_death_female = 0, grid_mark_death_female_col = 0;
    int grid_mark_fertility = 0, grid_mark_fertility_col = 0;

    // Used only by the year-end estimate.
    std::string alter_sql_1, alter_sql_2;

    // The life-table columns of one sex.
    LifeTableColumns life_table(Sex sex);
    k_ar& pop(Sex sex) { return sex == Sex::male ? pop_male : pop_female; }
    k_ar& next_pop(Sex sex) { return sex == Sex::male ? next_pop_male : next_pop_female; }

    // Every per-year result series (not res_parameters, not the pyramids), for sizing.
    std::vector<k_ar*> result_series();
};

// The one workspace of the program, alive until it ends.
ProjectionWorkspace& projection_workspace();

// Puts the program's workspace back to its start state (for tests).
void reset_projection_workspace();

}  // namespace vantelo::projection
