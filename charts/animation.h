#pragma once
// What every animated chart shares: the pause between its frames and the look of its title.
#include <QString>

namespace vantelo::chart {
class Chart;
}

namespace vantelo::charts {

// Frame delays of the animated charts, in milliseconds.
inline constexpr int result_frame_delay = 400;   // line and bar animations, urban/rural pyramids
inline constexpr int pyramid_frame_delay = 300;  // single-region age pyramid

// The title of an animated chart: `text` in `point_size` point black (no pixel size).
void set_chart_title(chart::Chart& c, const QString& text, int point_size = 18);

}  // namespace vantelo::charts
