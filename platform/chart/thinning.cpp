#include "platform/chart/thinning.h"

#include <algorithm>
#include <cmath>

namespace vantelo::chart {

std::vector<std::size_t> thin_by_column(const std::vector<QPointF>& positions, const std::vector<bool>& valid)
{
    const std::size_t n = std::min(positions.size(), valid.size());
    std::vector<std::size_t> kept;
    std::size_t i = 0;
    while (i < n) {
        if (!valid[i]) {
            kept.push_back(i++);
            continue;
        }
        // A run of valid points in the column of point i.
        const double column = std::floor(positions[i].x());
        std::size_t lowest = i, highest = i, last = i;
        std::size_t j = i + 1;
        for (; j < n && valid[j] && std::floor(positions[j].x()) == column; ++j) {
            if (positions[j].y() < positions[lowest].y()) lowest = j;
            if (positions[j].y() > positions[highest].y()) highest = j;
            last = j;
        }
        std::size_t run[] = {i, std::min(lowest, highest), std::max(lowest, highest), last};
        for (std::size_t k : run)
            if (kept.empty() || kept.back() < k) kept.push_back(k);
        i = j;
    }
    return kept;
}

}  // namespace vantelo::chart
