#include "analysis/engine/life_table_report.h"

#include "platform/core/checked.h"
#include "platform/core/numtext.h"

namespace vantelo::analysis {

std::vector<std::vector<std::string>> life_table_grid(const LifeTableState& t)
{
    constexpr const char* column_pattern = "####.######";
    constexpr const char* expectancy_pattern = "####.##";
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"年龄组", "Mx", "qx", "lx", "Dx", "Lx", "Tx", "ex"});
    for (int x = 0; x < t.life_group_count; ++x) {
        rows.push_back({std::to_string(x), format_pattern(at(t.life_death_rate, x), column_pattern),
                        format_pattern(at(t.life_death_prob, x), column_pattern),
                        format_pattern(at(t.life_survivors, x), column_pattern),
                        format_pattern(at(t.life_table_deaths, x), column_pattern),
                        format_pattern(at(t.life_years_lived, x), column_pattern),
                        format_pattern(at(t.life_years_remaining, x), column_pattern),
                        format_pattern(at(t.life_expectancy, x), expectancy_pattern)});
    }
    return rows;
}

std::vector<SurvivalPoint> survival_points(const LifeTableState& t, bool single_years)
{
    std::vector<SurvivalPoint> points;
    for (int x = 0; x < t.life_group_count; ++x) {
        const int age = single_years ? x : x == 0 ? 0 : x == 1 ? 4 : checked_sub(checked_mul(5, x), 1);
        points.push_back({at(t.life_survivors, x), std::to_string(age)});
    }
    return points;
}

std::string life_table_save_path(const std::string& chosen)
{
    if (chosen.size() >= 3) {
        std::string ext = chosen.substr(chosen.size() - 3);
        for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (ext == ".db") return chosen;
    }
    return chosen + ".db";
}

}  // namespace vantelo::analysis
