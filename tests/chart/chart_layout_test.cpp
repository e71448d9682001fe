#include <gtest/gtest.h>

#include <cmath>

#include "platform/chart/chart.h"
#include "platform/chart/chart_layout.h"

using namespace vantelo::chart;

namespace {

const QSizeF kSize(600, 400);

// The zero line of the value axis on screen (x for horizontal bars, y otherwise).
double zero_x(const ChartLayout& l) { return l.projection.map(l.value_to_model(0), 0, 0).x(); }
double zero_y(const ChartLayout& l) { return l.projection.map(0, l.value_to_model(0), 0).y(); }

bool finite_rect(const QRectF& r)
{
    return std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width()) && std::isfinite(r.height());
}

}  // namespace

TEST(Layout, ZeroOrNegativeSizeIsEmpty)
{
    Chart chart;
    chart.add_series(SeriesKind::Bar).add(3);
    for (QSizeF s : {QSizeF(0, 0), QSizeF(0, 100), QSizeF(100, 0), QSizeF(-5, 100), QSizeF(100, -1)})
        EXPECT_TRUE(layout_chart(chart, s).empty) << s.width() << "x" << s.height();
    // Tiny but positive sizes lay out without NaN.
    for (QSizeF s : {QSizeF(1, 1), QSizeF(3, 500), QSizeF(500, 2)}) {
        const ChartLayout l = layout_chart(chart, s);
        EXPECT_FALSE(l.empty);
        for (const auto& b : l.series[0].bars) EXPECT_TRUE(finite_rect(b.front));
    }
}

TEST(Layout, HorizontalBarsGrowFromZero)
{
    Chart chart;
    chart.set_view3d(false);
    Series& s = chart.add_series(SeriesKind::HorizBar);
    for (double v : {3.0, 5.0, 2.0}) s.add(v);
    const ChartLayout l = layout_chart(chart, kSize);
    ASSERT_TRUE(l.horizontal);
    const auto& bars = l.series[0].bars;
    ASSERT_EQ(bars.size(), 3u);
    const double z = zero_x(l);
    // Rows 0, 1, 2 from the bottom up; lengths 3 : 5 : 2 from the zero line.
    EXPECT_GT(bars[0].front.center().y(), bars[1].front.center().y());
    EXPECT_GT(bars[1].front.center().y(), bars[2].front.center().y());
    for (const auto& b : bars) EXPECT_NEAR(b.front.left(), z, 1e-6);
    EXPECT_NEAR(bars[1].front.width() / bars[0].front.width(), 5.0 / 3.0, 1e-9);
    EXPECT_NEAR(bars[2].front.width() / bars[0].front.width(), 2.0 / 3.0, 1e-9);

    s.set_value(0, -0.3);  // a male share extends to the left
    const ChartLayout m = layout_chart(chart, kSize);
    EXPECT_NEAR(m.series[0].bars[0].front.right(), zero_x(m), 1e-6);
    EXPECT_LT(m.series[0].bars[0].front.left(), zero_x(m));
}

struct CombinationCase {
    const char* name;
    BarCombination combination;
};

class BarCombinationTest : public testing::TestWithParam<CombinationCase> {};

TEST_P(BarCombinationTest, TwoSeries)
{
    Chart chart;
    chart.set_view3d(false);
    Series& a = chart.add_series(SeriesKind::Bar);
    Series& b = chart.add_series(SeriesKind::Bar);
    a.set_bar_combination(GetParam().combination);  // the first series decides
    a.add(1);
    a.add(2);
    b.add(3);
    b.add(2);
    const ChartLayout l = layout_chart(chart, kSize);
    const auto& ba = l.series[0].bars;
    const auto& bb = l.series[1].bars;
    const auto top_value = [&](const BarGeometry& g) {
        // Back from screen y to a value on the axis.
        const double v0 = zero_y(l);
        const double per_unit = zero_y(l) - l.projection.map(0, l.value_to_model(1), 0).y();
        return (v0 - g.front.top()) / per_unit;
    };
    switch (GetParam().combination) {
    case mbNone:
        for (int i = 0; i < 2; ++i) {
            EXPECT_DOUBLE_EQ(ba[i].front.left(), bb[i].front.left());
            EXPECT_DOUBLE_EQ(ba[i].front.width(), bb[i].front.width());
        }
        break;
    case mbSide:
        for (int i = 0; i < 2; ++i) EXPECT_LE(ba[i].front.right(), bb[i].front.left() + 1e-9);
        EXPECT_NEAR(top_value(bb[0]), 3, 1e-6);
        break;
    case mbStacked:
        for (int i = 0; i < 2; ++i) {
            EXPECT_NEAR(top_value(bb[i]), 4, 1e-6);
            EXPECT_NEAR(bb[i].front.bottom(), ba[i].front.top(), 1e-6);
        }
        break;
    case mbStacked100:
        for (int i = 0; i < 2; ++i) EXPECT_NEAR(top_value(bb[i]), 100, 1e-6);
        EXPECT_NEAR(top_value(ba[0]), 25, 1e-6);
        EXPECT_NEAR(top_value(ba[1]), 50, 1e-6);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Combinations, BarCombinationTest,
                         testing::Values(CombinationCase{"none", mbNone}, CombinationCase{"side", mbSide},
                                         CombinationCase{"stacked", mbStacked}, CombinationCase{"stacked100", mbStacked100}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Layout, AllZeroStacked100ColumnDrawsNothing)
{
    Chart chart;
    Series& a = chart.add_series(SeriesKind::Bar);
    Series& b = chart.add_series(SeriesKind::Bar);
    a.set_bar_combination(mbStacked100);
    a.add(0);
    a.add(1);
    b.add(0);
    b.add(3);
    const ChartLayout l = layout_chart(chart, kSize);
    EXPECT_TRUE(l.series[0].bars[0].hidden);
    EXPECT_TRUE(l.series[1].bars[0].hidden);
    EXPECT_FALSE(l.series[1].bars[1].hidden);
    EXPECT_TRUE(std::isfinite(l.value_max));
}

TEST(Layout, StackedAreasShareTops)
{
    for (AreaCombination c : {maStacked, maStacked100}) {
        Chart chart;
        chart.set_view3d(false);
        Series& a = chart.add_series(SeriesKind::Area);
        Series& b = chart.add_series(SeriesKind::Area);
        a.set_area_combination(c);
        a.add(1);
        a.add(2);
        b.add(3);
        b.add(2);
        const ChartLayout l = layout_chart(chart, kSize);
        const auto& pb = l.series[1].positions;
        EXPECT_NEAR(pb[0].y(), pb[1].y(), 1e-6) << c;  // 4 and 4, or 100 and 100
        // The second area starts where the first ends.
        EXPECT_NEAR(l.series[1].area_polygons[0][0].y(), l.series[0].positions[0].y(), 1e-6);
    }
}

TEST(Layout, NegativeMarginsWidenThePlot)
{
    Chart chart;
    chart.set_legend_visible(false);
    chart.add_series(SeriesKind::Line).add(1);
    chart.set_margins(-20, -20, -20, -20);
    const ChartLayout l = layout_chart(chart, kSize);
    EXPECT_GT(l.plot_rect.width(), kSize.width());
    EXPECT_LT(l.inner_rect.left(), 0);
}

TEST(Layout, DepthAndBands)
{
    Chart chart;
    chart.set_legend_visible(false);
    Series& a = chart.add_series(SeriesKind::Bar);
    Series& b = chart.add_series(SeriesKind::Bar);
    a.add(1);
    b.add(2);
    chart.set_chart3d_percent(40);
    ChartLayout l = layout_chart(chart, kSize);
    const double side = std::min(l.plot_rect.width(), l.plot_rect.height());
    EXPECT_NEAR(l.depth, side * 40 / 200, 1e-9);
    // Orthogonal: the front face is the plot shrunk by the depth at the right and the top.
    EXPECT_NEAR(l.front_rect.right(), l.plot_rect.right() - l.depth, 1e-6);
    EXPECT_NEAR(l.front_rect.top(), l.plot_rect.top() + l.depth, 1e-6);
    EXPECT_EQ(l.series[0].band_front, l.series[1].band_front);  // side by side: one band

    a.set_bar_combination(mbNone);
    l = layout_chart(chart, kSize);
    EXPECT_LT(l.series[0].band_front, l.series[1].band_front);  // one band each

    chart.set_view3d(false);
    l = layout_chart(chart, kSize);
    EXPECT_EQ(l.depth, 0);
    EXPECT_EQ(l.front_rect, l.plot_rect);
}

TEST(Layout, RotationEdgeCasesStayFinite)
{
    for (int rot : {270, 300, 331, 360}) {
        for (int elev : {270, 353, 360}) {
            Chart chart;
            chart.set_orthogonal(false);
            chart.set_rotation(rot);
            chart.set_elevation(elev);
            Series& s = chart.add_series(SeriesKind::Bar);
            s.add(1);
            s.add(2);
            const ChartLayout l = layout_chart(chart, kSize);
            EXPECT_TRUE(finite_rect(l.front_rect)) << rot << "/" << elev;
            for (const auto& f : l.series[0].bars[1].faces)
                for (const QPointF& p : f) EXPECT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y())) << rot << "/" << elev;
        }
    }
}

TEST(Layout, OrthogonalIgnoresRotation)
{
    Chart chart;
    chart.add_series(SeriesKind::Bar).add(2);
    chart.set_rotation(300);
    const ChartLayout a = layout_chart(chart, kSize);
    chart.set_rotation(360);
    const ChartLayout b = layout_chart(chart, kSize);
    EXPECT_EQ(a.series[0].bars[0].faces, b.series[0].bars[0].faces);
    chart.set_orthogonal(false);
    const ChartLayout c = layout_chart(chart, kSize);
    EXPECT_NE(b.series[0].bars[0].faces, c.series[0].bars[0].faces);
}

TEST(Layout, CategoryLabels)
{
    Chart chart;
    Series& s = chart.add_series(SeriesKind::Bar);
    for (int i = 0; i < 3; ++i) s.add(i + 1, " ");
    ChartLayout l = layout_chart(chart, kSize);
    ASSERT_EQ(l.category_labels.size(), 3u);  // one blank counts as a label: no numbers
    EXPECT_EQ(l.category_labels[0].text, " ");
    s.set_label(0, "2001");
    s.set_label(1, "2002");
    s.set_label(2, "2003");
    l = layout_chart(chart, kSize);
    ASSERT_EQ(l.category_labels.size(), 3u);
    EXPECT_EQ(l.category_labels[2].text, "2003");
    // 81 age rows of a pyramid: crowded labels are skipped, none overlap.
    Chart p;
    p.set_view3d(false);
    Series& m = p.add_series(SeriesKind::HorizBar);
    for (int x = 0; x < 81; ++x) m.add(-0.01, QString::number(x));
    const ChartLayout pl = layout_chart(p, QSizeF(600, 300));
    ASSERT_GT(pl.category_labels.size(), 3u);
    EXPECT_LT(pl.category_labels.size(), 81u);
    EXPECT_EQ(pl.category_labels[0].text, "0");
    for (std::size_t i = 1; i < pl.category_labels.size(); ++i)
        EXPECT_FALSE(pl.category_labels[i].rect.intersects(pl.category_labels[i - 1].rect));
    // Negative values on the value axis of the pyramid.
    EXPECT_LT(pl.value_min, 0);
    EXPECT_LE(pl.value_max, 0);
}

TEST(Layout, LegendAndMarks)
{
    Chart chart;
    Series& a = chart.add_series(SeriesKind::HorizBar);
    a.set_title("男性");
    a.set_colour(color_from_bgr(0xFF0000));
    Series& b = chart.add_series(SeriesKind::HorizBar);
    b.set_title("女性");
    b.set_marks_visible(false);
    a.add(-0.3, "");
    b.add(0.25, "0");
    a.add(-0.2, "x");
    ChartLayout l = layout_chart(chart, kSize);
    ASSERT_EQ(l.legend.size(), 2u);
    EXPECT_EQ(l.legend[0].text, "男性");
    EXPECT_EQ(l.legend[0].colour, QColor(0, 0, 255));
    EXPECT_LT(l.legend[0].swatch.top(), l.legend[1].swatch.top());
    ASSERT_EQ(l.series[0].marks.size(), 2u);  // bars show marks unless hidden
    EXPECT_EQ(l.series[0].marks[0].text, "-0.3");  // no label: the value
    EXPECT_EQ(l.series[0].marks[1].text, "x");
    EXPECT_TRUE(l.series[1].marks.empty());
    chart.set_legend_visible(false);
    l = layout_chart(chart, kSize);
    EXPECT_TRUE(l.legend.empty());
}

TEST(Layout, HugeMarkersStayFinite)
{
    Chart chart;
    Series& s = chart.add_series(SeriesKind::Point);
    s.set_pointer_size(2147483647, 2147483647);
    s.add(1);
    const ChartLayout l = layout_chart(chart, kSize);
    EXPECT_TRUE(std::isfinite(l.series[0].marker_half_width));
    EXPECT_LE(l.series[0].marker_half_width, 4 * (kSize.width() + kSize.height()));
}

TEST(Layout, ExtremeAndNonFiniteValues)
{
    Chart chart;
    Series& s = chart.add_series(SeriesKind::Line);
    s.add(1.7e308);
    s.add(-1.7e308);
    s.add(std::nan(""));
    s.add(0);
    const ChartLayout l = layout_chart(chart, kSize);
    EXPECT_TRUE(std::isfinite(l.value_min) && std::isfinite(l.value_max));
    EXPECT_FALSE(l.series[0].valid[2]);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(std::isfinite(l.series[0].positions[i].x()) && std::isfinite(l.series[0].positions[i].y()));
}

TEST(Layout, TitleTakesRoomOnlyWhenItHasText)
{
    Chart chart;
    chart.add_series(SeriesKind::Line).add(1);
    chart.set_title_text("");  // the chart window's one empty line
    const ChartLayout none = layout_chart(chart, kSize);
    EXPECT_TRUE(none.title_rect.isEmpty());
    chart.set_title_lines({"Vantelo", "", "第二行"});
    ChartFont f;
    f.pixel_size = 56;
    chart.set_title_font(f);
    chart.set_title_frame(true, 3);
    const ChartLayout two = layout_chart(chart, kSize);
    ASSERT_EQ(two.title_line_rects.size(), 2u);
    EXPECT_GE(two.title_line_rects[0].height(), 56);
    EXPECT_TRUE(two.title_rect.contains(two.title_line_rects[1]));
    EXPECT_GT(two.plot_rect.top(), two.title_rect.bottom());
    EXPECT_LT(two.plot_rect.height(), none.plot_rect.height());
}
