// Thinning a dense line to the extreme points of each pixel column.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/chart/chart.h"
#include "platform/chart/chart_layout.h"
#include "platform/chart/chart_output.h"
#include "platform/chart/thinning.h"

using namespace vantelo::chart;

namespace {

struct Case {
    const char* name;
    std::vector<QPointF> positions;
    std::vector<bool> valid;
    std::vector<std::size_t> kept;
};

}  // namespace

TEST(Thinning, KeepsFirstLowestHighestAndLastOfEachColumn)
{
    const Case cases[] = {
        {"one point per column: all kept", {{0.5, 3}, {1.5, 4}, {2.5, 1}}, {true, true, true}, {0, 1, 2}},
        {"one column, extremes inside", {{0.1, 5}, {0.2, 1}, {0.3, 9}, {0.4, 3}, {0.5, 4}, {0.6, 6}}, std::vector<bool>(6, true), {0, 1, 2, 5}},
        {"highest before lowest", {{0.1, 5}, {0.2, 9}, {0.3, 1}, {0.4, 5}}, std::vector<bool>(4, true), {0, 1, 2, 3}},
        {"first is the lowest", {{3.0, 1}, {3.2, 4}, {3.4, 2}, {3.6, 3}}, std::vector<bool>(4, true), {0, 1, 3}},
        {"two columns", {{0.1, 2}, {0.5, 7}, {0.9, 4}, {0.95, 3}, {1.1, 0}, {1.5, 8}, {1.6, 5}},
         std::vector<bool>(7, true), {0, 1, 3, 4, 5, 6}},
        {"an invalid point breaks the run and stays",
         {{0.1, 2}, {0.2, 5}, {0.3, 0}, {0.4, 1}, {0.5, 9}}, {true, true, false, true, true}, {0, 1, 2, 3, 4}},
        {"empty", {}, {}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(thin_by_column(c.positions, c.valid), c.kept) << c.name;
}

TEST(Thinning, ADense3DLineStillFillsEachColumnFromItsLowestToItsHighestValue)
{
    Chart c;
    c.set_legend_visible(false);
    c.set_view3d(true);
    Series& s = c.add_series(SeriesKind::Line);
    s.set_colour(QColor(0, 128, 0));
    // Many more points than columns, all at 5 but for a spike to 9 and a dip to 1 every hundred
    // points: the first and the last point of a column are at 5, the extremes inside it.
    const int n = 40000;
    for (int i = 0; i < n; ++i) s.add(i % 100 == 50 ? 9 : i % 100 == 51 ? 1 : 5);
    const QSize size(400, 300);
    const ChartLayout l = layout_chart(c, QSizeF(size));
    const QImage img = render_chart(c, size);
    const auto& g = l.series[0];
    ASSERT_EQ(img.pixelColor(QPoint(2, 2)), QColor(255, 255, 255));
    const QPointF shift = l.projection.ew * ((g.band_back - g.band_front) / 2);
    // Halfway into the ribbon's depth, at the points of the lowest and the highest value and
    // halfway between them, in columns across the plot: painted by the ribbon (its fill or, where
    // the slivers crowd, its outline), not the white background.
    for (int i : {1050, 15050, 30050}) {
        const QPointF high = g.positions[static_cast<std::size_t>(i)] + shift;
        const QPointF low = g.positions[static_cast<std::size_t>(i + 1)] + shift;
        for (QPointF probe : {high + QPointF(0, 2), low - QPointF(0, 2), (high + low) / 2})
            EXPECT_NE(img.pixelColor(probe.toPoint()), QColor(255, 255, 255)) << i << " " << probe.x() << "," << probe.y();
    }
}
