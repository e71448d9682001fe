#pragma once
// Draws a chart with QPainter on any paint device (widget, image, printer, PDF).
#include <QPainter>
#include <QSizeF>

namespace vantelo::chart {

class Chart;
struct ChartLayout;

// Paints the chart into (0, 0, size) of the painter's current coordinates. A size of zero or
// below paints nothing.
void paint_chart(QPainter& painter, const Chart& chart, QSizeF size);
void paint_chart(QPainter& painter, const Chart& chart, const ChartLayout& layout);

}  // namespace vantelo::chart
