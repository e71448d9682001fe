#pragma once
// The urban/rural result indicators and their text reports: the 30 entries of the viewer's
// list, the value of each for a projected year (whole region = rural + urban of the same year),
// and the line layout of the text report. No Qt here: the viewer hands over the two parts'
// workspaces and the projection form's years.
#include <string>
#include <vector>

#include "platform/core/checked.h"
#include "projection/engine/workspace.h"

namespace vantelo::urban_rural {

// The viewer's indicators; the value is the position in its list.
enum multi_indicator {
    mi_total_pop = 0,
    mi_male_pop,
    mi_female_pop,
    mi_pop_0_14,
    mi_pop_15_59,
    mi_pop_elderly,
    mi_share_0_14,
    mi_share_15_59,
    mi_share_elderly,
    mi_rural_total_pop,  // 9..17: the rural part, in the order of 0..8
    mi_urban_total_pop = 18,  // 18..26: the urban part
    mi_age_whole = 27,
    mi_age_rural = 28,
    mi_age_urban = 29,
};

constexpr int multi_indicator_count = 30;

// The 30 list entries in order, exactly as the viewer's list shows them.
const std::vector<std::string>& multi_indicator_entries();

// Titles of the three age pyramids (27 whole, 28 rural, 29 urban).
const std::string& multi_pyramid_title(int k);

// What the reports read: the projection form's years, N and Y, and the two parts after a run.
struct MultiResultView {
    int base_year = 0;  // year index i is base + 1 + i
    int end_year = 0;
    int year_count = 0;
    int age_count = 0;
    const projection::ProjectionWorkspace* rural = nullptr;
    const projection::ProjectionWorkspace* urban = nullptr;
};

// The value of indicator k (0..26) for year index i, never rounded: a series of one part, the
// sum of the rural and urban series of that year, or the quotient of two of them, in extended
// precision from the stored doubles. A share of a year whose total is 0 raises the
// division-by-zero error; a year beyond a series the range error.
real multi_indicator_value(const MultiResultView& v, int k, int i);

// The lines of the text report for indicator `selected` (-1 while no entry is chosen: the
// total population under the box's own text), `box_text` being the list box's text:
//   0..26 and -1: an empty line, the box text, then per year "year   value" (three blanks,
//     the general format);
//   27..29: an empty line, the box text, the end year + "年 年龄结构", the header
//     "年龄  男性        女性" and per age "x  male   female" rounded half to even (27: rural
//     and urban of the age added before rounding).
std::vector<std::string> multi_text_report(const MultiResultView& v, int selected, const std::string& box_text);

}  // namespace vantelo::urban_rural
