#include "platform/chart/chart_painter.h"

#include "platform/chart/chart.h"
#include "platform/chart/chart_layout.h"

namespace vantelo::chart {

void paint_chart(QPainter& painter, const Chart& chart, QSizeF size)
{
    const ChartLayout layout = layout_chart(chart, size);
    paint_chart(painter, chart, layout);
}

void paint_chart(QPainter& painter, const Chart& chart, const ChartLayout& layout)
{
    if (layout.empty) return;
    painter.fillRect(layout.chart_rect, chart.panel_colour());
}

}  // namespace vantelo::chart
