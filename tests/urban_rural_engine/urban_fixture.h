#pragma once
// Urban/rural workspaces and form inputs set up the way the form's loaders leave them.
#include <string>

#include "tests/projection_engine/run_fixture.h"
#include "urban_rural/engine/urban_run.h"

namespace vantelo::urban_rural::testing {

using projection::GridModel;
using projection::ProjectionWorkspace;
using projection::testing::fill_rows;

// One part as loaded: the realistic population and life tables of the single-region fixture,
// TFR `tfr_text` (its number at full precision in every year) with the pattern of `in` applied
// by the run, base texts as the loaders write them.
inline void loaded_part(ProjectionWorkspace& ws, int n, int y, double tfr, const std::string& tfr_text)
{
    projection::testing::realistic_workspace(ws, n, y);
    ws.tfr_value = tfr;
    ws.tfr_by_year.assign(y, tfr);
    ws.base_tfr_text = tfr_text;
    projection::resize_array(ws.fert_pattern, 35, y);
    ws.birth_share_male.assign(y, 0.5);
    ws.birth_share_female.assign(y, 0.5);
}

// Form inputs for y years: both TFR rows at the parts' base texts, sex ratio 100 in both rows,
// e0 rows at the base texts, all births at ages 25..29 (pattern 0.2 each) in both parts, and
// `migrants` male and female migrants a year spread evenly ("0.0125" each) over ages 0..79.
inline UrbanRunInputs flat_urban_inputs(const ProjectionWorkspace& rural, const ProjectionWorkspace& urban, int n,
                                        int y, const std::string& migrants = "0.0")
{
    UrbanRunInputs in;
    in.age_count = n;
    in.year_count = y;
    in.rural_fields = {"RPM", "RPF", "RMM", "RMF", "RF"};
    in.urban_fields = {"UPM", "UPF", "UMM", "UMF", "UF"};
    in.tfr_grid = GridModel(11, 3);  // the launcher leaves 11 columns
    fill_rows(in.tfr_grid, 10, 1, 2, "0.0");
    in.tfr_grid.set_col_count(y + 1);
    fill_rows(in.tfr_grid, y, 1, 1, rural.base_tfr_text);
    fill_rows(in.tfr_grid, y, 2, 2, urban.base_tfr_text);
    in.srb_grid = GridModel(y + 1, 3);
    fill_rows(in.srb_grid, y, 1, 2, "100");
    in.e0_grid = GridModel(y + 1, 5);
    fill_rows(in.e0_grid, y, 1, 1, rural.base_e0_male_text);
    fill_rows(in.e0_grid, y, 2, 2, rural.base_e0_female_text);
    fill_rows(in.e0_grid, y, 3, 3, urban.base_e0_male_text);
    fill_rows(in.e0_grid, y, 4, 4, urban.base_e0_female_text);
    for (GridModel* g : {&in.rural_pattern, &in.urban_pattern}) {
        *g = GridModel(y + 1, 37);
        fill_rows(*g, y, 1, 35, "0.0");
        fill_rows(*g, y, 11, 15, "0.2");
    }
    in.migrants = GridModel(y + 1, 3);
    fill_rows(in.migrants, y, 1, 2, migrants);
    for (GridModel* g : {&in.male_shares, &in.female_shares}) {
        *g = GridModel(y + 1, 103);
        fill_rows(*g, y, 1, 102, "0.0");
        fill_rows(*g, y, 1, 80, "0.0125");
    }
    return in;
}

}  // namespace vantelo::urban_rural::testing
