#include "projection/single_region_inputs.h"

#include "platform/core/numtext.h"
#include "projection/engine/input_message.h"
#include "projection/engine/life_table.h"

namespace vantelo::projection {

void store_population(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& column, int years)
{
    const int n = static_cast<int>(column.size());
    ws.age_group_count = n;
    ws.proj_year_count = years;
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
    const int n = static_cast<int>(column.size());
    ws.age_group_count = n;
    ws.proj_year_count = years;
    LifeTableColumns t = ws.life_table(sex);
    resize_array(t.death_rate, n);
    size_life_table(t, n, years);
    for (int x = 0; x < n; ++x) at(t.death_rate, x) = column[static_cast<size_t>(x)];
}

void derive_death_rates(ProjectionWorkspace& ws, Sex sex, std::string_view e0_pattern)
{
    LifeTableColumns t = ws.life_table(sex);
    for (double m : t.death_rate)
        if (m <= 0 || m > 1) throw InputMessage(msg_bad_data);
    build_life_table(t, sex, ws.age_group_count, ws.proj_year_count, e0_pattern);
}

void store_fertility(ProjectionWorkspace& ws, const std::vector<double>& column, int years)
{
    const int n = static_cast<int>(column.size());
    ws.age_group_count = n;
    ws.proj_year_count = years;
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

void derive_fertility(ProjectionWorkspace& ws, int parity, std::string_view tfr_pattern)
{
    if (ws.tfr_value == 0) throw InputMessage(msg_bad_data);
    for (int i = 0; i < 35; ++i)
        at(at(ws.fert_pattern, i), 0) = to_double(checked_div(at(at(ws.asfr, 15 + i), 0), ws.tfr_value));
    for (int x = 0; x < ws.age_group_count; ++x) {
        const double f = at(at(ws.asfr, x), 0);
        if (f < 0 || f > 1) throw InputMessage(msg_bad_data);
    }
    ws.parity_count = parity;
    ws.base_tfr_text = format_pattern(ws.tfr_value, tfr_pattern);
}

real pattern_sum(const ProjectionWorkspace& ws)
{
    real s = 0;
    for (int i = 0; i < 35; ++i) s = checked_add(s, at(at(ws.fert_pattern, i), 0));
    return s;
}

}  // namespace vantelo::projection
