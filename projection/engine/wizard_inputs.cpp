#include "projection/engine/wizard_inputs.h"

#include <string>

#include "platform/core/numtext.h"

namespace vantelo::projection {

void wizard_population(ProjectionWorkspace& ws, const std::vector<double>& male, const std::vector<double>& female,
                       int years, int base_year, GridModel& srb_grid, GridModel& floating_grid)
{
    if (male.size() != female.size()) throw RangeError();
    store_population(ws, Sex::male, male, years);
    store_population(ws, Sex::female, female, years);
    // Each sex is checked; the female step leaves the ratio by its own formula.
    derive_population(ws, Sex::male);
    derive_population(ws, Sex::female);

    lay_out_year_grid(srb_grid, years, base_year, 2);
    srb_grid.set_cell(0, 1, "性别比");
    const std::string ratio = format_pattern(ws.base_sex_ratio, wizard_patterns.sex_ratio);
    for (int c = 1; c <= years; ++c) srb_grid.set_cell(c, 1, ratio);

    lay_out_year_grid(floating_grid, years, base_year, 4);
    for (int c = 1; c <= years; ++c) {
        floating_grid.set_cell(c, 1, "10000");
        floating_grid.set_cell(c, 2, "0.012");
        floating_grid.set_cell(c, 3, "0.003");
    }
}

void wizard_mortality(ProjectionWorkspace& ws, const std::vector<double>& male, const std::vector<double>& female,
                      int years, int base_year, GridModel& e0_grid)
{
    if (male.size() != female.size()) throw RangeError();
    load_mortality(ws, Sex::male, male, years, base_year, e0_grid, wizard_patterns);
    load_mortality(ws, Sex::female, female, years, base_year, e0_grid, wizard_patterns);
}

void wizard_fertility(ProjectionWorkspace& ws, const std::vector<double>& rates_15_50, int ages, int years,
                      int base_year, GridModel& tfr_grid, GridModel& pattern_grid)
{
    if (rates_15_50.size() != 36 || ages < 0) throw RangeError();
    std::vector<double> column(static_cast<std::size_t>(ages), 0.0);
    for (int i = 0; i < 36; ++i) at(column, 15 + i) = rates_15_50[static_cast<std::size_t>(i)];
    store_fertility(ws, column, years);
    derive_fertility(ws, 1, wizard_patterns);

    tfr_grid.set_cell(0, 1, "总和生育率");
    lay_out_year_grid(tfr_grid, years, base_year, 2);
    for (int c = 1; c <= years; ++c) tfr_grid.set_cell(c, 1, ws.base_tfr_text);
    write_pattern_grid(ws, years, base_year, pattern_grid, wizard_patterns);
}

}  // namespace vantelo::projection
