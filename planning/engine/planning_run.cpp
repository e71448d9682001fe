#include "planning/engine/planning_run.h"

#include "planning/engine/tfr_report.h"
#include "platform/core/numtext.h"
#include "projection/engine/life_table.h"

namespace vantelo::planning {
namespace {

void read_inputs(PlanningData& data, const PlanningInputs& in, int& n)
{
    std::array<std::vector<double>, 4> columns;
    for (std::size_t i = 0; i < columns.size(); ++i) columns[i] = in.read_column(in.field_texts[i]);
    n = static_cast<int>(columns[0].size());
    const int y = data.plan_year_count;
    size_plan_sex(data.male, n, y);
    size_plan_sex(data.female, n, y);
    k_ar* targets[4] = {&data.male.pop, &data.female.pop, &data.male.death_rate, &data.female.death_rate};
    for (std::size_t i = 0; i < columns.size(); ++i)
        for (int x = 0; x < n; ++x) at(*targets[i], x) = at(columns[i], x);
}

}  // namespace

void run_target_planning(PlanningData& data, const PlanningInputs& in, const SearchRandom& random,
                         const PlanningProgress& progress)
{
    for (const std::string& f : in.field_texts)
        if (f.empty()) throw InputMessage(msg_not_enough_variables);
    data.plan_year_count = checked_sub(in.to_year, in.from_year);
    const int y = data.plan_year_count;
    if (y <= 0) throw InputMessage(msg_redefine_years);

    int n = 0;
    read_inputs(data, in, n);

    data.male.infant_rate = at(data.male.death_rate, 0);
    data.female.infant_rate = at(data.female.death_rate, 0);
    std::fill(data.male.sep_factor.begin(), data.male.sep_factor.end(), 0.0);
    std::fill(data.female.sep_factor.begin(), data.female.sep_factor.end(), 0.0);
    projection::sep_factors_both(data.male.sep_factor, data.female.sep_factor, n, data.male.infant_rate,
                                 data.female.infant_rate);
    plan_life_table(data.male, n, y);
    plan_life_table(data.female, n, y);

    const WomenByYear women = project_without_births(data.male, data.female, n, y);
    const double population_target = to_double(parse_float(in.population_target_text));
    const k_ar targets = births_targets(data.male, data.female, y, population_target, in.rule);

    const SearchParams params = read_search_params(in.params);
    SearchYear year;
    for (std::size_t g = 0; g < gene_count; ++g) year.reference[g] = at(data.asfr, 15 + static_cast<long long>(g));
    check_search_possible(year.reference, params.band_factor);
    year.survival_male_0 = at(at(data.male.years_lived, 0), 0);
    year.survival_female_0 = at(at(data.female.years_lived, 0), 0);

    ClockReseeder reseeder(random);
    // The year files are written together once every year is searched: one change.
    std::vector<TfrReport> reports;
    for (int j = 0; j < y; ++j) {
        year.women = year_women(women.women, j, data.female.years_lived);
        year.births_target = at(targets, j);
        const YearResult result = search_year(year, params, reseeder, progress.search);
        if (progress.year_counts) progress.year_counts(result.kept);
        reports.push_back(TfrReport{tfr_report_path(in.report_dir, j), tfr_report_lines(data, women, targets, result, j)});
        if (progress.year_summary) progress.year_summary(result);
        if (progress.year_chart) progress.year_chart(result, year.reference);
    }
    write_tfr_reports(reports);
}

}  // namespace vantelo::planning
