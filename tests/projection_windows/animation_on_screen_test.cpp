// Animated charts in a real chart window: every frame is on the screen before its pause, and the
// age pyramid keeps one symmetric value axis for all its frames.
#include <gtest/gtest.h>

#include <QEvent>
#include <QWindow>
#include <cmath>
#include <memory>

#include "charts/Graph_1.h"
#include "platform/chart/chart.h"
#include "platform/chart/chart_widget.h"
#include "platform/ui/scripted_services.h"
#include "projection/projection_links.h"
#include "projection/result_charts.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

struct FrameCheck {
    bool exposed = false;
    int paints_since_last = 0;
    bool axis_fixed = false;
    double axis_min = 0, axis_max = 0;
};

}  // namespace

TEST(AnimationOnScreen, EveryPyramidFrameIsExposedAndPaintedBeforeItsPauseOnOneSymmetricAxis)
{
    ui::ScopedScriptedServices services;
    ChartWindowOps ops = new_chart_window(nullptr);
    std::unique_ptr<charts::TGraph> window(charts::Graph);
    PaintCounter counter;
    window->DBChart1->installEventFilter(&counter);

    // Three ages over four years; the largest share is the women of age 1 in year 2 (0.3).
    const std::vector<std::vector<double>> male = {{-0.1, -0.12, -0.1, -0.1}, {-0.2, -0.2, -0.25, -0.2}, {-0.05, -0.05, -0.05, -0.05}};
    const std::vector<std::vector<double>> female = {{0.1, 0.1, 0.1, 0.1}, {0.2, 0.2, 0.3, 0.2}, {0.05, 0.05, 0.05, 0.05}};
    PyramidData d{3, 4, 2000, &male, &female};

    std::vector<FrameCheck> frames;
    int paints_before = 0;
    services.on_pause = [&](int) {
        FrameCheck f;
        f.exposed = window->windowHandle() && window->windowHandle()->isExposed();
        f.paints_since_last = counter.paints - paints_before;
        paints_before = counter.paints;
        const chart::Chart& c = window->chart();
        f.axis_fixed = !c.value_axis_automatic();
        f.axis_min = c.value_axis_min();
        f.axis_max = c.value_axis_max();
        frames.push_back(f);
    };
    pyramid_animation(ops, d);

    ASSERT_EQ(frames.size(), 4u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(frames[i].exposed);
        EXPECT_GE(frames[i].paints_since_last, 1);
        EXPECT_TRUE(frames[i].axis_fixed);
        EXPECT_DOUBLE_EQ(frames[i].axis_min, -0.3);
        EXPECT_DOUBLE_EQ(frames[i].axis_max, 0.3);
    }
}

TEST(AnimationOnScreen, LineFramesArePaintedBeforeTheirPauses)
{
    ui::ScopedScriptedServices services;
    ChartWindowOps ops = new_chart_window(nullptr);
    std::unique_ptr<charts::TGraph> window(charts::Graph);
    PaintCounter counter;
    window->DBChart1->installEventFilter(&counter);
    std::vector<std::pair<bool, int>> frames;
    int paints_before = 0;
    services.on_pause = [&](int) {
        frames.emplace_back(window->windowHandle() && window->windowHandle()->isExposed(), counter.paints - paints_before);
        paints_before = counter.paints;
    };
    line_animation(ops, QStringLiteral("总人口数"), {3, 2000, [](int i) { return static_cast<real>(10 + i); }});
    ASSERT_EQ(frames.size(), 3u);
    for (const auto& [exposed, paints] : frames) {
        EXPECT_TRUE(exposed);
        EXPECT_GE(paints, 1);
    }
}
