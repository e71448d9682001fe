#include "projection/engine/report_lines.h"

#include "platform/core/numtext.h"

namespace vantelo::projection {

void year_listing(int first_year, int count, std::string_view gap, const std::function<std::string(int)>& value_text,
                  std::vector<std::string>& out)
{
    for (int i = 0; i < count; ++i)
        out.push_back(std::to_string(checked_add(first_year, i)) + std::string(gap) + value_text(i));
}

void age_structure_listing(int end_year, int age_count, const std::function<real(int)>& male,
                           const std::function<real(int)>& female, std::vector<std::string>& out)
{
    out.push_back(std::to_string(end_year) + "年 " + "年龄结构");
    out.push_back("年龄  男性        女性");
    for (int x = 0; x < age_count; ++x) {
        const std::string m = std::to_string(round_to_int64(male(x)));
        out.push_back(std::to_string(x) + "  " + m + "   " + std::to_string(round_to_int64(female(x))));
    }
}

}  // namespace vantelo::projection
