#include "planning/engine/tfr_report.h"

#include "platform/core/numtext.h"
#include "platform/db/atomic_file.h"
#include "projection/engine/text_numbers.h"

namespace vantelo::planning {

std::string tfr_report_path(const std::string& dir, int j)
{
    std::string path = dir;
    if (path.empty()) path = ".";
    if (path.back() != '/') path += '/';
    return path + "TFR" + std::to_string(j) + ".txt";
}

std::vector<std::string> tfr_report_lines(const PlanningData& data, const WomenByYear& women,
                                          const k_ar& births_target, const YearResult& year, int j)
{
    std::vector<std::string> lines;
    for (std::size_t g = 0; g < gene_count; ++g) {
        const real mean = year.mean_curve[g];
        const real w = at(at(women.women, 15 + static_cast<long long>(g)), j);
        lines.push_back(format_general(mean) + "    " + format_general((fertility_bound_table[g] - mean) * w) + "  " +
                        format_general((1 - mean) * w));
    }
    lines.push_back(" ");
    lines.push_back("birth:" + format_general(at(births_target, j)));
    lines.push_back("women mean age:" + format_general(at(women.mean_age, j)));
    lines.push_back("pop Size of birth women:" + format_general(at(women.birth_women, j)));
    lines.push_back(" ");
    lines.push_back("mean_TFR:" + format_general(year.mean_tfr));
    lines.push_back("TFR_up:" + format_general(year.tfr_up));
    lines.push_back("TFR_low:" + format_general(year.tfr_low));
    const int y = data.plan_year_count;
    lines.push_back(" male survive");
    for (int x = 0; x <= y; ++x) lines.push_back(format_general(at(at(data.male.years_lived, x), 0)));
    lines.push_back(" female survive ");
    for (int x = 0; x <= y; ++x) lines.push_back(format_general(at(at(data.female.years_lived, x), 0)));
    return lines;
}

void write_tfr_report(const std::string& path, const std::vector<std::string>& lines)
{
    write_tfr_reports({TfrReport{path, lines}});
}

void write_tfr_reports(const std::vector<TfrReport>& reports) { projection::write_text_files(reports); }

std::string counts_text(const std::string& converged_text, int kept)
{
    return converged_text + "last_curve:" + std::to_string(kept);
}

std::string summary_text(const YearResult& y)
{
    return "Birth:" + format_general(y.last_births) + "finished   " + std::to_string(y.last_generations) +
           "TFR_up:" + format_general(y.tfr_up) + "TFR_low:" + format_general(y.tfr_low) +
           "mean_TFR:" + format_general(y.mean_tfr);
}

}  // namespace vantelo::planning
