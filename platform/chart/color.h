#pragma once
// Colours of the chart component. The program states colours as $BBGGRR values (blue in the
// high byte, red in the low byte); Qt's QColor(0xFF0000) is red, so every caller converts
// through color_from_bgr.
#include <cstdint>

#include <QColor>

namespace vantelo::chart {

// $BBGGRR -> QColor: color_from_bgr(0xFF0000) is blue RGB(0,0,255), 0x0000FF is red.
QColor color_from_bgr(std::uint32_t bgr);

// The automatic colours, by index (series by their place in the chart, points of a series
// drawn "each in its own colour" by their index); the list repeats.
QColor palette_colour(int index);

}  // namespace vantelo::chart
