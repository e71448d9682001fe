#pragma once
// The animated charts of the result viewers: a line that is drawn in silver and turns red year
// by year, bars added one per year, and the age pyramid stepping through the projected years.
// Each frame is shown and repainted at once and then held by the animation pause, since no
// window message is processed while the thread waits.
#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "charts/animation.h"
#include "platform/core/checked.h"

namespace vantelo::chart {
class Chart;
}

namespace vantelo::projection {

// What an animation needs of its chart window.
struct ChartWindowOps {
    chart::Chart* chart = nullptr;
    std::function<void()> show;          // show without blocking and bring to the front
    std::function<void()> repaint_now;   // repaint the window's panel and chart at once
    std::function<void()> show_pyramid_buttons;
};

using charts::pyramid_frame_delay;
using charts::result_frame_delay;

// The yearly values of a series: value(i) for year index i = 0..year_count-1, labelled with the
// calendar year base_year + 1 + i. value may raise; the frames drawn before stay.
struct YearSeries {
    int year_count = 0;
    int base_year = 0;
    std::function<real(int)> value;
};

// Line chart: a line series without marks, silver gradient, no legend, the title in 18 point
// black, 2-D, a silver pen of width 1. All points are added in silver without a pause, then
// point i turns red, frame by frame.
void line_animation(const ChartWindowOps& w, const QString& title, const YearSeries& s,
                    int delay_ms = result_frame_delay, int title_size = 18);

// Bar chart: a bar series without marks, no legend, the title in 18 point black; one red bar
// per year, frame by frame. The 3-D setting stays as the window has it.
void bar_animation(const ChartWindowOps& w, const QString& title, const YearSeries& s,
                   int delay_ms = result_frame_delay, int title_size = 18);

// Age pyramid of N ages over Y years: male[x][j] (negative shares, blue, left) and
// female[x][j] (red, right) as horizontal bars sharing the age rows; per year a frame titled
// year + joiner + title, then the last year again without a pause. The stepping buttons are
// shown. Y = 0 raises the range error before the window is shown.
struct PyramidData {
    int age_count = 0;
    int year_count = 0;
    int base_year = 0;
    const std::vector<std::vector<double>>* male = nullptr;
    const std::vector<std::vector<double>>* female = nullptr;
};
void pyramid_animation(const ChartWindowOps& w, const PyramidData& d, const QString& title = QStringLiteral("年龄结构金字塔"),
                       const QString& joiner = QStringLiteral(" "), int delay_ms = pyramid_frame_delay,
                       int title_size = 18, bool stepping_buttons = true);

}  // namespace vantelo::projection
