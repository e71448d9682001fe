#pragma once
// Lines of the result viewers' text reports that every viewer writes the same way, with its own
// series and its own spacing: the year-by-year listing and the age-structure table.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/checked.h"

namespace vantelo::projection {

// The blanks between the year and the value: four in the single-region viewer, three in the
// urban/rural one.
inline constexpr std::string_view single_region_year_gap = "    ";
inline constexpr std::string_view urban_rural_year_gap = "   ";

// One line per year i = 0..count-1: the calendar year first_year + i as a decimal integer,
// the gap, then value_text(i). An error of value_text ends the listing with the lines before it
// appended.
void year_listing(int first_year, int count, std::string_view gap, const std::function<std::string(int)>& value_text,
                  std::vector<std::string>& out);

// The population by single age at the end year: "<end_year>年 年龄结构", the header
// "年龄  男性        女性", then for x = 0..age_count-1: x, two blanks, male(x) rounded, three
// blanks, female(x) rounded (whole persons, halves to even, decimal integers).
void age_structure_listing(int end_year, int age_count, const std::function<real(int)>& male,
                           const std::function<real(int)>& female, std::vector<std::string>& out);

}  // namespace vantelo::projection
