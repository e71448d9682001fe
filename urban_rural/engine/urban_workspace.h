#pragma once
// The urban workspace: the program-wide state of the urban half of the urban/rural projection,
// beside the projection workspace that holds its rural half. The urban part has the same layout
// as a single-region projection, so it is a second ProjectionWorkspace: the loaders, the life
// table and the yearly step work on it unchanged. Its members stand for the urban names:
//   urban.pop_male, urban.pop_female            urban_pop_male, urban_pop_female
//   urban.next_pop_*, urban.death_rate_*, urban.death_prob_*, urban.lt_deaths_*,
//   urban.lt_survivors_*, urban.lt_years_lived_*, urban.lt_years_above_*, urban.life_exp_*,
//   urban.sep_factor_*, urban.infant_rate_*      the urban life-table columns
//   urban.asfr, urban.fert_pattern, urban.tfr_value, urban.tfr_by_year, urban.base_tfr_text
//   urban.birth_share_*, urban.base_sex_ratio, urban.base_e0_*_text
//   urban.logit_lo, logit_hi, logit_alpha_*, logit_e0_sum   the urban fit state
//   urban.e0_changed, urban.tfr_changed          urban_e0_changed, urban_tfr_changed
//   urban.res_total_pop, res_male_pop, res_female_pop, res_pop_0_14, res_pop_working_age,
//   res_pop_elderly                              res_urban_total_pop ... res_urban_pop_elderly
//   urban.res_pyramid_male, res_pyramid_female   res_urban_pyramid_male, res_urban_pyramid_female
// The urban part's age_group_count and proj_year_count follow the projection workspace's N and Y
// (the run copies them; a loader given the urban part writes them there too).
// After an urban/rural run res_pop_working_age and res_pop_elderly of both parts hold ages 15..59
// and 60 and over. Like the projection workspace it is never cleared.
#include "projection/engine/workspace.h"

namespace vantelo::urban_rural {

using projection::k_ar;
using projection::k_grid;

struct UrbanWorkspace {
    projection::ProjectionWorkspace urban;

    // Age pyramid of the whole region, N by Y: -(rural + urban P_m(x))/(rural + urban total)
    // and the female share, positive.
    k_grid res_all_pyramid_male, res_all_pyramid_female;

    // Tolerance of the run's four life-expectancy fits.
    double multi_logit_eps = 0;
    // Row of the cell last selected in the TFR, sex-ratio, life-expectancy or migrant grid.
    int multi_grid_current_row = 1;
};

// The one urban workspace of the program, alive until it ends.
UrbanWorkspace& urban_workspace();

// Puts the urban workspace back to its start state (for tests).
void reset_urban_workspace();

}  // namespace vantelo::urban_rural
