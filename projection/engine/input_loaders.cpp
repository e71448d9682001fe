#include "projection/engine/input_loaders.h"

#include <algorithm>
#include <string>

#include "platform/core/numtext.h"
#include "projection/engine/input_message.h"
#include "projection/engine/life_table.h"

namespace vantelo::projection {
namespace {

constexpr const char* pic8 = "#####.########";

void lay_out(GridModel& g, int y, int base_year, int min_rows)
{
    g.set_size(checked_add(y, 1), std::max(g.row_count(), min_rows));
    g.set_year_headers(base_year);
}

void take_dimensions(ProjectionWorkspace& ws, std::size_t n, int y)
{
    if (n > 100000) throw RangeError();
    ws.age_group_count = static_cast<int>(n);
    ws.proj_year_count = y;
}

}  // namespace

void load_population(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& values, int y, int base_year,
                     GridModel& srb_grid, GridModel& floating_grid)
{
    take_dimensions(ws, values.size(), y);
    const int n = ws.age_group_count;
    resize_array(ws.pop_male, n);
    resize_array(ws.pop_female, n);
    resize_array(ws.birth_share_male, y);
    resize_array(ws.birth_share_female, y);
    ws.pop(sex) = values;
    for (double v : values)
        if (v < 0) throw InputMessage(msg_bad_data);

    ws.base_sex_ratio = 0;
    const real pm0 = at(ws.pop_male, 0), pf0 = at(ws.pop_female, 0);
    if (pm0 != 0 && pf0 != 0) {
        const real sm = checked_div(pm0, pm0 + pf0), sf = checked_div(pf0, pm0 + pf0);
        at(ws.birth_share_male, 0) = to_double(sm);
        at(ws.birth_share_female, 0) = to_double(sf);
        const real s_m = at(ws.birth_share_male, 0), s_f = at(ws.birth_share_female, 0);
        ws.base_sex_ratio = to_double(sex == Sex::male ? checked_div(100.0L * s_m, 1.0L - s_m)
                                                       : checked_div(100.0L - 100.0L * s_f, s_f));
    }
    lay_out(srb_grid, y, base_year, 2);
    const std::string ratio = format_pattern(ws.base_sex_ratio, pic8);
    for (int c = 1; c <= y; ++c) srb_grid.set_cell(c, 1, ratio);
    if (sex == Sex::male) {
        lay_out(floating_grid, y, base_year, 4);
        for (int c = 1; c <= y; ++c)
            for (int r = 1; r <= 3; ++r) floating_grid.set_cell(c, r, "0.0");
    }
}

void load_mortality(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& rates, int y, int base_year,
                    GridModel& e0_grid)
{
    take_dimensions(ws, rates.size(), y);
    const int n = ws.age_group_count;
    LifeTableColumns t = ws.life_table(sex);
    resize_array(t.death_rate, n);
    size_life_table(t, n, y);
    t.death_rate = rates;
    for (double m : rates)
        if (m <= 0 || m > 1) throw InputMessage(msg_bad_data);
    build_life_table(t, sex, n, y);
    const int row = sex == Sex::male ? 1 : 2;
    lay_out(e0_grid, y, base_year, 3);
    e0_grid.set_cell(0, row, sex == Sex::male ? "男性" : "女性");
    for (int c = 1; c <= y; ++c) e0_grid.set_cell(c, row, t.base_e0_text);
}

void load_fertility(ProjectionWorkspace& ws, int k, const std::vector<double>& rates, int y, int base_year,
                    GridModel& tfr_grid, GridModel& pattern_grid, GridModel& total_grid)
{
    if (k < 1 || k > 3) throw RangeError();
    take_dimensions(ws, rates.size(), y);
    const int n = ws.age_group_count;
    resize_array(ws.asfr, n, y);
    resize_array(ws.fert_pattern, 35, y);
    resize_array(ws.tfr_by_year, y);
    ws.tfr_value = 0;
    for (int x = 0; x < n; ++x) {
        at(at(ws.asfr, x), 0) = at(rates, x);
        ws.tfr_value = to_double(static_cast<real>(ws.tfr_value) + at(rates, x));
    }
    for (int c = 0; c < y; ++c) at(ws.tfr_by_year, c) = ws.tfr_value;
    if (ws.tfr_value == 0) throw InputMessage(msg_bad_data);
    for (int i = 0; i < 35; ++i)
        at(at(ws.fert_pattern, i), 0) = to_double(checked_div(at(rates, 15 + i), ws.tfr_value));
    for (double f : rates)
        if (f < 0 || f > 1) throw InputMessage(msg_bad_data);

    ws.parity_count = k;
    ws.base_tfr_text = format_pattern(ws.tfr_value, pic8);
    static const char* labels[3] = {"1孩总和生育率", "2孩总和生育率", ">=3孩总和生育率"};
    tfr_grid.set_cell(0, k, labels[k - 1]);
    lay_out(tfr_grid, y, base_year, 4);
    for (int c = 1; c <= y; ++c) tfr_grid.set_cell(c, k, ws.base_tfr_text);

    lay_out(pattern_grid, y, base_year, 37);
    real sum = 0;
    for (int i = 0; i < 35; ++i) {
        pattern_grid.set_cell(0, i + 1, std::to_string(15 + i));
        sum += at(at(ws.fert_pattern, i), 0);
    }
    pattern_grid.set_cell(0, 36, "合计");
    const std::string total_text = format_pattern(to_double(sum), "####.########");
    for (int c = 1; c <= y; ++c) {
        for (int i = 0; i < 35; ++i) {
            const double p = at(at(ws.fert_pattern, i), 0);
            pattern_grid.set_cell(c, i + 1, p == 0 ? std::string("0.0") : format_pattern(p, "##.########"));
        }
        pattern_grid.set_cell(c, 36, total_text);
    }

    total_grid.set_cell(0, 1, "总和生育率");
    lay_out(total_grid, y, base_year, 2);
    for (int c = 1; c <= y; ++c) {
        if (k == 1) {
            total_grid.set_cell(c, 1, ws.base_tfr_text);
            continue;
        }
        real s = 0;
        for (int r = 1; r <= k; ++r) s = checked_add(s, tfr_grid.number(c, r));
        ws.tfr_value = to_double(s);
        total_grid.set_cell(c, 1, format_pattern(ws.tfr_value, pic8));
    }
}

}  // namespace vantelo::projection
