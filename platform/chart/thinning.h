#pragma once
// Thinning a dense line for drawing: when a series has more points than the plot has pixel
// columns, most segments fall inside one column and only the column's extent shows. Keeping,
// for every run of consecutive points in one pixel column, the first and the last point and
// those with the lowest and the highest screen y draws the same envelope with a few points per
// column instead of thousands.
#include <cstddef>
#include <vector>

#include <QPointF>

namespace vantelo::chart {

// The indices of the points to draw, ascending. Points are grouped into runs of consecutive
// valid points whose x falls into one pixel column (floor of x); of each run the first, the
// lowest, the highest and the last point are kept (each once). Invalid points are kept too, so
// the line still breaks where it broke. positions and valid must be equally long.
std::vector<std::size_t> thin_by_column(const std::vector<QPointF>& positions, const std::vector<bool>& valid);

}  // namespace vantelo::chart
