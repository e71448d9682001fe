#include "urban_rural/engine/urban_run.h"

#include <unordered_map>
#include <vector>

#include "platform/core/numtext.h"
#include "projection/engine/input_message.h"
#include "projection/engine/life_table.h"
#include "projection/engine/projection_run.h"

namespace vantelo::urban_rural {

using namespace projection;

namespace {

void check_part(const ProjectionWorkspace& ws, const std::array<std::string, 5>& fields, int n)
{
    for (const auto& t : fields)
        if (t.empty()) throw InputMessage(msg_not_enough_fields);
    check_loaded_values(ws, n);
}

// Cell texts converted to numbers once each: the pattern and migration-share grids repeat a few
// texts many times. A text that is not a number raises its conversion error as the grid does.
class CellNumbers {
public:
    real operator()(const GridModel& g, int col, int row)
    {
        const std::string& text = g.cell(col, row);
        auto it = seen_.find(text);
        if (it == seen_.end()) it = seen_.emplace(text, parse_float(text)).first;
        return it->second;
    }

private:
    std::unordered_map<std::string, real> seen_;
};

// The migrants of every year and age, read once so that the rural and the urban part move the
// very same numbers: [y * (N - 1) + x] for x = 0..N-2.
struct Migrants {
    int ages = 0;
    std::vector<real> male, female;

    real m(int y, int x) const { return male.at(static_cast<std::size_t>(y) * ages + x); }
    real f(int y, int x) const { return female.at(static_cast<std::size_t>(y) * ages + x); }
};

Migrants read_migrants(const UrbanRunInputs& in, int n, int y_count, CellNumbers& number)
{
    Migrants mg;
    mg.ages = n > 0 ? n - 1 : 0;
    mg.male.reserve(static_cast<std::size_t>(y_count) * mg.ages);
    mg.female.reserve(static_cast<std::size_t>(y_count) * mg.ages);
    for (int y = 0; y < y_count; ++y) {
        const real men = in.migrants.number(y + 1, 1);
        const real women = in.migrants.number(y + 1, 2);
        for (int x = 0; x < mg.ages; ++x) {
            mg.male.push_back(checked_mul(men, number(in.male_shares, y + 1, x + 1)));
            mg.female.push_back(checked_mul(women, number(in.female_shares, y + 1, x + 1)));
        }
    }
    return mg;
}

// Which rows of the form's grids belong to a part.
struct PartRows {
    int row;                              // TFR and sex-ratio row
    int e0_male_row;                      // female e0 in the row below
    const GridModel& pattern;
};

void prepare_part(ProjectionWorkspace& ws, const UrbanRunInputs& in, const PartRows& rows, double eps,
                  CellNumbers& number)
{
    const int n = ws.age_group_count, y_count = ws.proj_year_count;
    for (Sex sex : {Sex::male, Sex::female}) {
        resize_array(ws.next_pop(sex), n);
        size_life_table(ws.life_table(sex), n, y_count);
    }
    for (k_ar* s : {&ws.res_total_pop, &ws.res_male_pop, &ws.res_female_pop, &ws.res_pop_0_14,
                    &ws.res_pop_working_age, &ws.res_pop_elderly, &ws.birth_share_male, &ws.birth_share_female})
        resize_array(*s, y_count);
    resize_array(ws.res_pyramid_male, n, y_count);
    resize_array(ws.res_pyramid_female, n, y_count);

    birth_shares_from_grid(ws, in.srb_grid, rows.row);

    // The TFR row counts as edited when any of its cells differs as text from what the loader
    // wrote there; an unedited row leaves the loaded TFR at full precision.
    ws.tfr_changed = 0;
    for (int c = 1; c < in.tfr_grid.col_count(); ++c)
        if (in.tfr_grid.cell(c, rows.row) != ws.base_tfr_text) ws.tfr_changed = 1;
    if (ws.tfr_changed)
        for (int y = 0; y < y_count; ++y) at(ws.tfr_by_year, y) = to_double(in.tfr_grid.number(y + 1, rows.row));
    ws.tfr_changed = 0;

    for (int y = 0; y < y_count; ++y)
        for (int i = 0; i < 35; ++i) {
            const real p = number(rows.pattern, y + 1, i + 1);
            at(at(ws.fert_pattern, i), y) = to_double(p);
            at(at(ws.asfr, 15 + i), y) = to_double(checked_mul(p, static_cast<real>(at(ws.tfr_by_year, y))));
        }

    ws.logit_eps = eps;
    fit_life_expectancy_row(ws, Sex::male, in.e0_grid, rows.e0_male_row);
    fit_life_expectancy_row(ws, Sex::female, in.e0_grid, rows.e0_male_row + 1);
}

// The yearly step of one part; `sign` -1 takes the migrants out (rural), +1 brings them in.
// The rounded populations are added into the whole-region arrays.
void project_part(ProjectionWorkspace& ws, const Migrants& mg, int sign, k_grid& all_m, k_grid& all_f)
{
    const int n = ws.age_group_count, y_count = ws.proj_year_count;
    k_ar& pm = ws.pop_male;
    k_ar& pf = ws.pop_female;
    k_ar& nm = ws.next_pop_male;
    k_ar& nf = ws.next_pop_female;
    real w[35];
    for (int y = 0; y < y_count; ++y) {
        for (int x = 0; x < mg.ages; ++x) {
            at(pm, x) = to_double(static_cast<real>(at(pm, x)) + sign * mg.m(y, x));
            at(pf, x) = to_double(static_cast<real>(at(pf, x)) + sign * mg.f(y, x));
        }
        survive_and_bear(ws, y, w);
        at(nm, 0) = to_double(static_cast<real>(at(nm, 0)) * at(at(ws.lt_years_lived_male, 0), y) / 2.0L);
        at(nf, 0) = to_double(static_cast<real>(at(nf, 0)) * at(at(ws.lt_years_lived_female, 0), y) / 2.0L);

        for (int x = 0; x < n; ++x) {
            at(pm, x) = to_double(round_half_even(at(nm, x)));
            at(pf, x) = to_double(round_half_even(at(nf, x)));
        }
        at(ws.res_male_pop, y) = sum_of(pm, 0, n - 1);
        at(ws.res_female_pop, y) = sum_of(pf, 0, n - 1);
        const double total = to_double(static_cast<real>(at(ws.res_male_pop, y)) + at(ws.res_female_pop, y));
        at(ws.res_total_pop, y) = total;
        for (int x = 0; x < n; ++x) {
            at(at(ws.res_pyramid_male, x), y) = to_double(checked_div(-static_cast<real>(at(pm, x)), total));
            at(at(ws.res_pyramid_female, x), y) = to_double(checked_div(at(pf, x), total));
            at(at(all_m, x), y) = to_double(static_cast<real>(at(at(all_m, x), y)) + at(pm, x));
            at(at(all_f, x), y) = to_double(static_cast<real>(at(at(all_f, x), y)) + at(pf, x));
        }
        at(ws.res_pop_0_14, y) = persons_aged(ws, 0, 14);
        at(ws.res_pop_working_age, y) = persons_aged(ws, 15, 59);
        at(ws.res_pop_elderly, y) = persons_aged(ws, 60, n - 1);
    }
}

}  // namespace

void run_urban_rural(ProjectionWorkspace& rural, UrbanWorkspace& uw, const UrbanRunInputs& in)
{
    const int n = in.age_count, y_count = in.year_count;
    rural.age_group_count = uw.urban.age_group_count = n;
    rural.proj_year_count = uw.urban.proj_year_count = y_count;
    uw.multi_logit_eps = 1e-9;

    check_part(rural, in.rural_fields, n);
    check_part(uw.urban, in.urban_fields, n);
    if (y_count < 0) throw RangeError();
    if (n > max_age_groups) throw InputMessage(msg_too_many_ages);

    // Work on copies; the workspaces take the results only once the whole run has succeeded.
    ProjectionWorkspace r = rural, u = uw.urban;
    k_grid all_m, all_f;
    resize_array(all_m, n, y_count);
    resize_array(all_f, n, y_count);
    CellNumbers number;
    const Migrants mg = read_migrants(in, n, y_count, number);

    prepare_part(r, in, {1, 1, in.rural_pattern}, uw.multi_logit_eps, number);
    project_part(r, mg, -1, all_m, all_f);
    prepare_part(u, in, {2, 3, in.urban_pattern}, uw.multi_logit_eps, number);
    project_part(u, mg, +1, all_m, all_f);

    for (int y = 0; y < y_count; ++y) {
        const real whole = static_cast<real>(at(r.res_total_pop, y)) + at(u.res_total_pop, y);
        for (int x = 0; x < n; ++x) {
            at(at(all_m, x), y) = to_double(checked_div(-static_cast<real>(at(at(all_m, x), y)), whole));
            at(at(all_f, x), y) = to_double(checked_div(at(at(all_f, x), y), whole));
        }
    }

    rural = std::move(r);
    uw.urban = std::move(u);
    uw.res_all_pyramid_male = std::move(all_m);
    uw.res_all_pyramid_female = std::move(all_f);
}

}  // namespace vantelo::urban_rural
