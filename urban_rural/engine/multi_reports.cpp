#include "urban_rural/engine/multi_reports.h"

#include "platform/core/numtext.h"
#include "projection/engine/report_lines.h"

namespace vantelo::urban_rural {

using projection::k_ar;
using projection::ProjectionWorkspace;

const std::vector<std::string>& multi_indicator_entries()
{
    static const std::vector<std::string> entries = {
        "总人口数", "男性总人口数", "女性总人口数", "0--14岁人口数", "15--59岁人口数", "老年人口数",
        "0--14岁人口比重", "15--59岁人口比重", "老年人口比重",
        "农村总人口数", "农村男性总人口数", "农村女性总人口数", "农村0--14岁人口数", "农村15--59岁人口数",
        "农村老年人口数", "农村0--14岁人口比重", "农村15--59岁人口比重", "农村老年人口比重",
        "城市总人口数", "城市男性总人口数", "城市女性总人口数", "城市0--14岁人口数", "城市15--59岁人口数",
        "城市老年人口数", "城市0--14岁人口比重", "城市15--59岁人口比重", "城市老年人口比重",
        "总人口年龄结构", "农村人口年龄结构", "城市人口年龄结构",
    };
    return entries;
}

const std::string& multi_pyramid_title(int k)
{
    static const std::string titles[] = {"总人口年龄结构金字塔", "农村人口年龄结构金字塔", "城市人口年龄结构金字塔"};
    if (k < mi_age_whole || k > mi_age_urban) throw RangeError();
    return titles[k - mi_age_whole];
}

namespace {

// The six series of a part, in the order of the indicators 0..5.
const k_ar& part_series(const ProjectionWorkspace& ws, int j)
{
    switch (j) {
    case 0: return ws.res_total_pop;
    case 1: return ws.res_male_pop;
    case 2: return ws.res_female_pop;
    case 3: return ws.res_pop_0_14;
    case 4: return ws.res_pop_working_age;
    case 5: return ws.res_pop_elderly;
    default: throw RangeError();
    }
}

const ProjectionWorkspace& part(const ProjectionWorkspace* ws)
{
    if (!ws) throw RangeError();
    return *ws;
}

// Indicator j (0..8) of the rural part, the urban part or both added.
real part_value(const MultiResultView& v, bool rural, bool urban, int j, int i)
{
    if (j >= 6) return checked_div(part_value(v, rural, urban, j - 3, i), part_value(v, rural, urban, 0, i));
    real x = 0;
    if (rural) x += at(part_series(part(v.rural), j), i);
    if (urban) x += at(part_series(part(v.urban), j), i);
    return x;
}

}  // namespace

real multi_indicator_value(const MultiResultView& v, int k, int i)
{
    if (k < 0 || k >= mi_age_whole) throw RangeError();
    if (k < mi_rural_total_pop) return part_value(v, true, true, k, i);
    if (k < mi_urban_total_pop) return part_value(v, true, false, k - mi_rural_total_pop, i);
    return part_value(v, false, true, k - mi_urban_total_pop, i);
}

std::vector<std::string> multi_text_report(const MultiResultView& v, int selected, const std::string& box_text)
{
    std::vector<std::string> out;
    out.push_back(box_text);
    if (selected >= mi_age_whole && selected <= mi_age_urban) {
        // the heading stays above the end year's table
        const bool rural = selected != mi_age_urban, urban = selected != mi_age_rural;
        auto by_age = [&](bool male) {
            return [&v, rural, urban, male](int x) {
                real s = 0;
                if (rural) s += at(male ? part(v.rural).pop_male : part(v.rural).pop_female, x);
                if (urban) s += at(male ? part(v.urban).pop_male : part(v.urban).pop_female, x);
                return s;
            };
        };
        projection::age_structure_listing(v.end_year, v.age_count, by_age(true), by_age(false), out);
    } else {
        const int k = selected < 0 || selected >= multi_indicator_count ? mi_total_pop : selected;
        projection::year_listing(checked_add(v.base_year, 1), v.year_count, projection::urban_rural_year_gap,
                                 [&](int i) { return format_general(multi_indicator_value(v, k, i)); }, out);
    }
    out.insert(out.begin(), std::string());
    return out;
}

}  // namespace vantelo::urban_rural
