#include <gtest/gtest.h>

#include "platform/chart/chart.h"
#include "platform/core/errors.h"
#include "platform/ui/scripted_services.h"
#include "projection/result_charts.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

const QColor silver(192, 192, 192), red(255, 0, 0), blue(0, 0, 255);

// A chart window stand-in that counts what the animation asks of it.
struct Window {
    chart::Chart chart;
    int shows = 0, repaints = 0;
    bool buttons = false;
    ChartWindowOps ops()
    {
        return {&chart, [this] { ++shows; }, [this] { ++repaints; }, [this] { buttons = true; }};
    }
};

// One recorded frame: what the chart held when the animation paused.
struct Frame {
    int delay;
    QString title;
    std::vector<std::vector<chart::ChartPoint>> series;
    std::vector<std::vector<QColor>> colours;
};

struct Recorder {
    ui::ScopedScriptedServices services;
    std::vector<Frame> frames;
    explicit Recorder(const chart::Chart& c)
    {
        services.on_pause = [this, &c](int ms) {
            Frame f{ms, c.title_lines().join("\n"), {}, {}};
            for (int s = 0; s < c.series_count(); ++s) {
                f.series.push_back(c.series(s).points());
                std::vector<QColor> cols;
                for (int i = 0; i < c.series(s).count(); ++i) cols.push_back(c.series(s).drawn_colour(i));
                f.colours.push_back(cols);
            }
            frames.push_back(f);
        };
    }
};

YearSeries series_of(std::vector<double> v, int base = 2000)
{
    return {static_cast<int>(v.size()), base, [v](int i) { return static_cast<real>(v.at(static_cast<size_t>(i))); }};
}

}  // namespace

TEST(LineAnimation, SilverLineTurnsRedPointByPoint)
{
    Window w;
    Recorder rec(w.chart);
    line_animation(w.ops(), "总人口数", series_of({10, 20, 30}));
    ASSERT_EQ(rec.frames.size(), 3u);
    for (size_t f = 0; f < 3; ++f) {
        EXPECT_EQ(rec.frames[f].delay, 400);
        EXPECT_EQ(rec.frames[f].title, "总人口数");
        ASSERT_EQ(rec.frames[f].series.size(), 1u);
        ASSERT_EQ(rec.frames[f].series[0].size(), 3u);
        for (size_t i = 0; i < 3; ++i) EXPECT_EQ(rec.frames[f].colours[0][i], i <= f ? red : silver) << f << " " << i;
    }
    const auto& pts = rec.frames[0].series[0];
    EXPECT_EQ(pts[0].label, "2001");
    EXPECT_EQ(pts[2].label, "2003");
    EXPECT_EQ(pts[1].value, 20);
    // three shows while the points are added, then a show and a repaint per frame
    EXPECT_EQ(w.shows, 6);
    EXPECT_EQ(w.repaints, 3);
    EXPECT_FALSE(w.chart.view3d());
    EXPECT_FALSE(w.chart.legend_visible());
    EXPECT_EQ(w.chart.title_font().point_size, 18);
    EXPECT_EQ(w.chart.series(0).pen_colour(), silver);
    EXPECT_FALSE(w.chart.series(0).marks_visible());
}

TEST(BarAnimation, OneRedBarPerYearLabelledWithTheYear)
{
    Window w;
    Recorder rec(w.chart);
    bool was3d = w.chart.view3d();
    bar_animation(w.ops(), "出生人数", series_of({2.5, 3.25}, 2010));
    ASSERT_EQ(rec.frames.size(), 2u);
    for (size_t f = 0; f < 2; ++f) {
        EXPECT_EQ(rec.frames[f].delay, 400);
        ASSERT_EQ(rec.frames[f].series[0].size(), f + 1);
        EXPECT_EQ(rec.frames[f].series[0][f].label, QString::number(2011 + static_cast<int>(f)));
        EXPECT_EQ(rec.frames[f].colours[0][f], red);
    }
    EXPECT_EQ(rec.frames[1].series[0][0].value, 2.5);  // charts are never rounded
    EXPECT_EQ(w.chart.view3d(), was3d);
    EXPECT_EQ(w.chart.series(0).kind(), chart::SeriesKind::Bar);
}

TEST(BarAnimation, NoYearsShowNothing)
{
    Window w;
    Recorder rec(w.chart);
    bar_animation(w.ops(), "x", series_of({}));
    line_animation(w.ops(), "x", series_of({}));
    EXPECT_EQ(w.shows, 0);
    EXPECT_TRUE(rec.frames.empty());
}

TEST(BarAnimation, AFailingYearKeepsTheFramesBefore)
{
    Window w;
    Recorder rec(w.chart);
    YearSeries s{3, 2000, [](int i) -> real {
                     if (i == 1) throw ZeroDivideError();
                     return 5;
                 }};
    EXPECT_THROW(bar_animation(w.ops(), "x", s), ZeroDivideError);
    EXPECT_EQ(rec.frames.size(), 1u);
    EXPECT_EQ(w.chart.series(0).count(), 1);
}

TEST(PyramidAnimation, StepsThroughTheYearsThenHoldsTheLast)
{
    // two ages, two years: male shares negative, female positive; each year sums to 1
    std::vector<std::vector<double>> male{{-0.2, -0.3}, {-0.3, -0.2}};
    std::vector<std::vector<double>> female{{0.25, 0.2}, {0.25, 0.3}};
    PyramidData d{2, 2, 2000, &male, &female};
    Window w;
    Recorder rec(w.chart);
    pyramid_animation(w.ops(), d);
    ASSERT_EQ(rec.frames.size(), 2u);
    EXPECT_EQ(rec.frames[0].delay, 300);
    EXPECT_EQ(rec.frames[0].title, "2001 年龄结构金字塔");
    EXPECT_EQ(rec.frames[1].title, "2002 年龄结构金字塔");
    ASSERT_EQ(rec.frames[0].series.size(), 2u);
    EXPECT_EQ(rec.frames[0].series[0][1].value, -0.3);  // male age 1, year 0
    EXPECT_EQ(rec.frames[0].series[0][1].label, "1");
    EXPECT_EQ(rec.frames[1].series[1][0].value, 0.2);   // female age 0, year 1
    EXPECT_EQ(rec.frames[0].colours[0][0], blue);
    EXPECT_EQ(rec.frames[0].colours[1][0], red);
    // the final frame: the last year again, no pause
    EXPECT_EQ(w.chart.series(0).count(), 2);
    EXPECT_EQ(w.chart.series(0).point(0).value, -0.3);
    EXPECT_EQ(w.chart.series(0).point(1).value, -0.2);
    EXPECT_EQ(w.chart.title_lines().join(""), "2002 年龄结构金字塔");
    EXPECT_EQ(w.shows, 3);
    EXPECT_TRUE(w.buttons);
    EXPECT_EQ(w.chart.series(0).title(), "男性");
    EXPECT_EQ(w.chart.series(1).title(), "女性");
    EXPECT_EQ(w.chart.series(0).bar_combination(), chart::mbNone);
    EXPECT_EQ(w.chart.series(0).kind(), chart::SeriesKind::HorizBar);
    EXPECT_FALSE(w.chart.view3d());
}

TEST(PyramidAnimation, NoYearsIsARangeErrorBeforeTheWindowShows)
{
    std::vector<std::vector<double>> male{{}, {}}, female{{}, {}};
    PyramidData d{2, 0, 2000, &male, &female};
    Window w;
    Recorder rec(w.chart);
    EXPECT_THROW(pyramid_animation(w.ops(), d), RangeError);
    EXPECT_EQ(w.shows, 0);
}
