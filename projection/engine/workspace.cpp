#include "projection/engine/workspace.h"

namespace vantelo::projection {

void resize_array(k_ar& a, long long n)
{
    if (n < 0) throw RangeError();
    a.resize(static_cast<std::size_t>(n), 0.0);
}

void resize_array(k_grid& a, long long rows, long long cols)
{
    if (rows < 0 || cols < 0) throw RangeError();
    a.resize(static_cast<std::size_t>(rows));
    for (auto& row : a) row.resize(static_cast<std::size_t>(cols), 0.0);
}

void resize_array(std::vector<year_param_rec>& a, long long n)
{
    if (n < 0) throw RangeError();
    a.resize(static_cast<std::size_t>(n), year_param_rec{});
}

LifeTableColumns ProjectionWorkspace::life_table(Sex sex)
{
    if (sex == Sex::male)
        return {death_rate_male, infant_rate_male, death_prob_male, sep_factor_male, lt_deaths_male,
                lt_survivors_male, lt_years_lived_male, lt_years_above_male, life_exp_male,
                base_e0_male_text};
    return {death_rate_female, infant_rate_female, death_prob_female, sep_factor_female, lt_deaths_female,
            lt_survivors_female, lt_years_lived_female, lt_years_above_female, life_exp_female,
            base_e0_female_text};
}

std::vector<k_ar*> ProjectionWorkspace::result_series()
{
    return {&res_total_pop, &res_male_pop, &res_female_pop, &res_pop_0_14, &res_pop_working_age,
            &res_pop_elderly, &res_age_65plus, &res_age_60plus, &res_age_80plus, &res_age_6, &res_age_7,
            &res_age_11, &res_age_15, &res_age_18, &res_age_6_10, &res_age_15_24, &res_age_25_44,
            &res_age_45_64, &res_age_19_64, &res_male_15_64, &res_female_15_64, &res_women_15_49,
            &res_women_23, &res_women_20_29, &res_births, &res_deaths, &res_infant_deaths,
            &res_birth_rate, &res_death_rate, &res_infant_mortality, &res_urban_pop,
            &res_births_parity1, &res_births_parity2, &res_births_parity3, &births_p1_male,
            &births_p2_male, &births_p3_male, &births_p1_female, &births_p2_female, &births_p3_female,
            &res_float_pop, &float_birth_rate, &float_death_rate, &res_float_births, &res_float_deaths};
}

namespace {
ProjectionWorkspace& instance()
{
    static ProjectionWorkspace ws;
    return ws;
}
}  // namespace

ProjectionWorkspace& projection_workspace() { return instance(); }

void reset_projection_workspace() { instance() = ProjectionWorkspace(); }

}  // namespace vantelo::projection
