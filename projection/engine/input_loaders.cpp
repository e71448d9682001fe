#include "projection/engine/input_loaders.h"

#include <algorithm>
#include <string>

#include "platform/core/numtext.h"
#include "projection/engine/life_table.h"

namespace vantelo::projection {
namespace {

void take_dimensions(ProjectionWorkspace& ws, std::size_t n, int years)
{
    if (n > 100000) throw RangeError();
    ws.age_group_count = static_cast<int>(n);
    ws.proj_year_count = years;
}

}  // namespace

void lay_out_year_grid(GridModel& g, int y, int base_year, int min_rows)
{
    g.set_size(checked_add(y, 1), std::max(g.row_count(), min_rows));
    g.set_year_headers(base_year);
}

void store_population(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& column, int years)
{
    take_dimensions(ws, column.size(), years);
    const int n = ws.age_group_count;
    resize_array(ws.pop_male, n);
    resize_array(ws.pop_female, n);
    resize_array(ws.birth_share_male, years);
    resize_array(ws.birth_share_female, years);
    k_ar& p = ws.pop(sex);
    for (int x = 0; x < n; ++x) at(p, x) = column[static_cast<size_t>(x)];
}

void derive_population(ProjectionWorkspace& ws, Sex sex)
{
    for (double v : ws.pop(sex))
        if (v < 0) throw InputMessage(msg_bad_data);
    ws.base_sex_ratio = 0;
    const real pm = at(ws.pop_male, 0);
    const real pf = at(ws.pop_female, 0);
    if (pm != 0 && pf != 0) {
        const real both = checked_add(pm, pf);
        at(ws.birth_share_male, 0) = to_double(checked_div(pm, both));
        at(ws.birth_share_female, 0) = to_double(checked_div(pf, both));
        if (sex == Sex::male) {
            const real sm = ws.birth_share_male[0];
            ws.base_sex_ratio = to_double(checked_div(checked_mul(real(100), sm), checked_sub(real(1), sm)));
        } else {
            const real sf = ws.birth_share_female[0];
            ws.base_sex_ratio = to_double(checked_div(checked_sub(real(100), checked_mul(real(100), sf)), sf));
        }
    }
}

void store_death_rates(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& column, int years)
{
    take_dimensions(ws, column.size(), years);
    const int n = ws.age_group_count;
    LifeTableColumns t = ws.life_table(sex);
    resize_array(t.death_rate, n);
    size_life_table(t, n, years);
    for (int x = 0; x < n; ++x) at(t.death_rate, x) = column[static_cast<size_t>(x)];
}

void derive_death_rates(ProjectionWorkspace& ws, Sex sex, const LoaderPatterns& p)
{
    LifeTableColumns t = ws.life_table(sex);
    for (double m : t.death_rate)
        if (m <= 0 || m > 1) throw InputMessage(msg_bad_data);
    build_life_table(t, sex, ws.age_group_count, ws.proj_year_count, p.e0);
}

void store_fertility(ProjectionWorkspace& ws, const std::vector<double>& column, int years)
{
    take_dimensions(ws, column.size(), years);
    const int n = ws.age_group_count;
    resize_array(ws.asfr, n, years);
    resize_array(ws.fert_pattern, 35, years);
    resize_array(ws.tfr_by_year, years);
    ws.tfr_value = 0;
    for (int x = 0; x < n; ++x) {
        const double f = column[static_cast<size_t>(x)];
        at(at(ws.asfr, x), 0) = f;
        ws.tfr_value = to_double(checked_add(real(ws.tfr_value), real(f)));
    }
    for (double& t : ws.tfr_by_year) t = ws.tfr_value;
}

void derive_fertility(ProjectionWorkspace& ws, int parity, const LoaderPatterns& p)
{
    if (ws.tfr_value == 0) throw InputMessage(msg_bad_data);
    for (int i = 0; i < 35; ++i)
        at(at(ws.fert_pattern, i), 0) = to_double(checked_div(at(at(ws.asfr, 15 + i), 0), ws.tfr_value));
    for (int x = 0; x < ws.age_group_count; ++x) {
        const double f = at(at(ws.asfr, x), 0);
        if (f < 0 || f > 1) throw InputMessage(msg_bad_data);
    }
    ws.parity_count = parity;
    ws.base_tfr_text = format_pattern(ws.tfr_value, p.tfr);
}

real pattern_sum(const ProjectionWorkspace& ws)
{
    real s = 0;
    for (int i = 0; i < 35; ++i) s = checked_add(s, at(at(ws.fert_pattern, i), 0));
    return s;
}

void write_pattern_grid(const ProjectionWorkspace& ws, int y, int base_year, GridModel& pattern_grid,
                        const LoaderPatterns& p)
{
    lay_out_year_grid(pattern_grid, y, base_year, 37);
    for (int i = 0; i < 35; ++i) pattern_grid.set_cell(0, i + 1, std::to_string(15 + i));
    pattern_grid.set_cell(0, 36, "合计");
    const std::string total_text = format_pattern(to_double(pattern_sum(ws)), p.pattern_total);
    for (int c = 1; c <= y; ++c) {
        for (int i = 0; i < 35; ++i) {
            const double share = at(at(ws.fert_pattern, i), 0);
            pattern_grid.set_cell(c, i + 1, share == 0 ? std::string("0.0") : format_pattern(share, p.pattern));
        }
        pattern_grid.set_cell(c, 36, total_text);
    }
}

void load_population(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& values, int y, int base_year,
                     GridModel& srb_grid, GridModel& floating_grid, const LoaderPatterns& p)
{
    store_population(ws, sex, values, y);
    derive_population(ws, sex);
    lay_out_year_grid(srb_grid, y, base_year, 2);
    const std::string ratio = format_pattern(ws.base_sex_ratio, p.sex_ratio);
    for (int c = 1; c <= y; ++c) srb_grid.set_cell(c, 1, ratio);
    if (sex == Sex::male) {
        lay_out_year_grid(floating_grid, y, base_year, 4);
        for (int c = 1; c <= y; ++c)
            for (int r = 1; r <= 3; ++r) floating_grid.set_cell(c, r, "0.0");
    }
}

void load_mortality(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& rates, int y, int base_year,
                    GridModel& e0_grid, const LoaderPatterns& p)
{
    store_death_rates(ws, sex, rates, y);
    derive_death_rates(ws, sex, p);
    const int row = sex == Sex::male ? 1 : 2;
    lay_out_year_grid(e0_grid, y, base_year, 3);
    e0_grid.set_cell(0, row, sex == Sex::male ? "男性" : "女性");
    const std::string& e0 = ws.life_table(sex).base_e0_text;
    for (int c = 1; c <= y; ++c) e0_grid.set_cell(c, row, e0);
}

void load_fertility(ProjectionWorkspace& ws, int k, const std::vector<double>& rates, int y, int base_year,
                    GridModel& tfr_grid, GridModel& pattern_grid, GridModel& total_grid, const LoaderPatterns& p)
{
    if (k < 1 || k > 3) throw RangeError();
    store_fertility(ws, rates, y);
    derive_fertility(ws, k, p);

    static const char* labels[3] = {"1孩总和生育率", "2孩总和生育率", ">=3孩总和生育率"};
    tfr_grid.set_cell(0, k, labels[k - 1]);
    lay_out_year_grid(tfr_grid, y, base_year, 4);
    for (int c = 1; c <= y; ++c) tfr_grid.set_cell(c, k, ws.base_tfr_text);

    write_pattern_grid(ws, y, base_year, pattern_grid, p);

    total_grid.set_cell(0, 1, "总和生育率");
    lay_out_year_grid(total_grid, y, base_year, 2);
    for (int c = 1; c <= y; ++c) {
        if (k == 1) {
            total_grid.set_cell(c, 1, ws.base_tfr_text);
            continue;
        }
        real s = 0;
        for (int r = 1; r <= k; ++r) s = checked_add(s, tfr_grid.number(c, r));
        ws.tfr_value = to_double(s);
        total_grid.set_cell(c, 1, format_pattern(ws.tfr_value, p.tfr));
    }
}

}  // namespace vantelo::projection
