#pragma once
// The single-region result indicators and their text reports: which series each indicator
// shows, how a year's value is written, and the line layout of every report the result viewer
// puts into a text report window. No Qt here: the viewer gathers the workspace into a
// ResultView and hands the lines over.
#include <array>
#include <string>
#include <vector>

#include "platform/core/checked.h"

namespace vantelo::projection {

// The result viewer's indicators; the value is the position in its list.
enum proj_indicator {
    ind_total_pop = 0,
    ind_male_pop,
    ind_female_pop,
    ind_pop_0_14,
    ind_pop_15_64,
    ind_pop_65plus,
    ind_share_0_14,
    ind_share_15_64,
    ind_share_65plus,
    ind_urban_pop,
    ind_urban_share,
    ind_birth_rate,
    ind_death_rate,
    ind_natural_growth_rate,
    ind_infant_mortality,
    ind_births,
    ind_deaths,
    ind_natural_increase,
    ind_women_15_49,
    ind_women_23,
    ind_women_20_29,
    ind_age_structure,
    ind_age_6,
    ind_age_7,
    ind_age_11,
    ind_age_15,
    ind_age_18,
    ind_age_6_10,
    ind_age_15_24,
    ind_age_25_44,
    ind_age_45_64,
    ind_age_19_64,
    ind_male_15_64,
    ind_female_15_64,
    ind_age_60plus,
    ind_age_65plus,
    ind_age_80plus,
    ind_float_pop,
    ind_float_births,
    ind_float_deaths,
    ind_parameters,
    ind_births_parity1,
    ind_births_parity2,
    ind_births_parity3,
    ind_all_results,
};

constexpr int indicator_count = 45;

// The list entry of indicator k (0..44), exactly as the viewer's list shows it.
const std::string& indicator_entry_text(int k);
// All 45 entries in list order.
const std::vector<std::string>& indicator_entries();

// The fields of one year's parameter record: TFR (row 1 of the TFR grid), male and female e0,
// sex ratio at birth, the 35 pattern shares of ages 15..49, the urban share, and the floating
// population's inflow, birth rate and death rate.
constexpr int year_param_field_count = 43;
using ParamRecord = std::array<double, year_param_field_count>;

// What the reports read: the years and sizes of the projection, the result series (each one
// value per projected year), the end year's population by age and the parameter records.
// Series are referenced, not copied; a series shorter than the year count raises the range
// error when the report reaches beyond its end.
struct ResultView {
    int base_year = 0;   // the projection form's base year; year index i is base + 1 + i
    int end_year = 0;    // the projection form's end year
    int year_count = 0;  // Y
    int age_count = 0;   // N

    const std::vector<double>* res_total_pop = nullptr;
    const std::vector<double>* res_male_pop = nullptr;
    const std::vector<double>* res_female_pop = nullptr;
    const std::vector<double>* res_pop_0_14 = nullptr;
    const std::vector<double>* res_pop_working_age = nullptr;
    const std::vector<double>* res_pop_elderly = nullptr;
    const std::vector<double>* res_urban_pop = nullptr;
    const std::vector<double>* res_birth_rate = nullptr;
    const std::vector<double>* res_death_rate = nullptr;
    const std::vector<double>* res_infant_mortality = nullptr;
    const std::vector<double>* res_births = nullptr;
    const std::vector<double>* res_deaths = nullptr;
    const std::vector<double>* res_women_15_49 = nullptr;
    const std::vector<double>* res_women_23 = nullptr;
    const std::vector<double>* res_women_20_29 = nullptr;
    const std::vector<double>* res_age_6 = nullptr;
    const std::vector<double>* res_age_7 = nullptr;
    const std::vector<double>* res_age_11 = nullptr;
    const std::vector<double>* res_age_15 = nullptr;
    const std::vector<double>* res_age_18 = nullptr;
    const std::vector<double>* res_age_6_10 = nullptr;
    const std::vector<double>* res_age_15_24 = nullptr;
    const std::vector<double>* res_age_25_44 = nullptr;
    const std::vector<double>* res_age_45_64 = nullptr;
    const std::vector<double>* res_age_19_64 = nullptr;
    const std::vector<double>* res_male_15_64 = nullptr;
    const std::vector<double>* res_female_15_64 = nullptr;
    const std::vector<double>* res_age_60plus = nullptr;
    const std::vector<double>* res_age_65plus = nullptr;
    const std::vector<double>* res_age_80plus = nullptr;
    const std::vector<double>* res_float_pop = nullptr;
    const std::vector<double>* res_float_births = nullptr;
    const std::vector<double>* res_float_deaths = nullptr;
    const std::vector<double>* res_births_parity1 = nullptr;
    const std::vector<double>* res_births_parity2 = nullptr;
    const std::vector<double>* res_births_parity3 = nullptr;

    const std::vector<double>* pop_male = nullptr;    // end year, by age
    const std::vector<double>* pop_female = nullptr;
    std::vector<ParamRecord> parameters;              // one record per projected year
};

// True when indicator k has one value per projected year (everything but the age structure,
// the parameter report and the full report).
bool has_year_series(int k);

// The value of indicator k for year index i, never rounded: the series itself, or a quotient
// or difference of two series taken in extended precision from the stored doubles. A share of
// a year whose total is 0 raises the division-by-zero error. k must satisfy has_year_series.
real indicator_value(const ResultView& v, int k, int i);

// The text of indicator k's value in year i: rounded to a whole number (halves to even) for
// births, deaths, the natural increase and the parity births, otherwise the general format.
std::string indicator_value_text(const ResultView& v, int k, int i);

// The lines of the text report for indicator `selected` (-1 when no list entry is chosen: the
// total population under the box's own text). `box_text` is the list box's text, the report's
// heading.
std::vector<std::string> text_report(const ResultView& v, int selected, const std::string& box_text);

// Indicators that the chart modes draw as an animated yearly series.
bool charted_as_series(int k);

}  // namespace vantelo::projection
