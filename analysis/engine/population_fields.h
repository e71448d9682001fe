#pragma once
// A population column of the current table read into an array of a workspace, as the
// standardisation and the year-end estimate load their age structures.
#include <vector>

#include "projection/engine/workspace.h"

namespace vantelo::analysis {

// The array takes the column's length and its values, record i into element i. The first
// value below 0 then raises InputMessage "数据格式不正确."; the values stay in the array.
void load_population_field(projection::k_ar& target, const std::vector<double>& column);

}  // namespace vantelo::analysis
