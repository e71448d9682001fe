#pragma once
// What the life-table result window shows and saves, as plain texts and numbers: the grid's
// cells, the survival chart's points and the file a save creates.
#include <string>
#include <vector>

#include "analysis/engine/life_table_methods.h"

namespace vantelo::analysis {

// The grid: row 0 the headers "年龄组", "Mx", "qx", "lx", "Dx", "Lx", "Tx", "ex"; row x+1 group
// x: its index (0, 1, 2, ...: in the abridged table the index, not the age), then m, q, l, d,
// L, T with "####.######" and e with "####.##" (a 0 writes nothing). N+1 rows of 8 texts.
std::vector<std::vector<std::string>> life_table_grid(const LifeTableState& t);

struct SurvivalPoint {
    double value;       // l(x)
    std::string label;  // the age the point stands for
};

// The survival curve l(0..N-1) (l(N) is not drawn) labelled by age: single years x; abridged
// groups "0", "4", then 5k - 1 for group k >= 2 (the last age of the group).
std::vector<SurvivalPoint> survival_points(const LifeTableState& t, bool single_years);

// The file a save into the chosen name creates: the name itself when it already ends in ".db"
// (any letter case), else the name + ".db".
std::string life_table_save_path(const std::string& chosen);

}  // namespace vantelo::analysis
