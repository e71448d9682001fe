#include "platform/chart/chart_layout.h"

#include "platform/chart/chart.h"

namespace vantelo::chart {

double ChartLayout::category_to_model(double x) const
{
    const double span = category_max - category_min;
    if (!(span > 0)) return 0;
    return (x - category_min) / span * (horizontal ? model_height : model_width);
}

double ChartLayout::value_to_model(double value) const
{
    const double span = value_max - value_min;
    if (!(span > 0)) return 0;
    return (value - value_min) / span * (horizontal ? model_width : model_height);
}

ChartLayout layout_chart(const Chart&, QSizeF size)
{
    ChartLayout l;
    if (!(size.width() > 0 && size.height() > 0)) return l;
    l.empty = false;
    l.chart_rect = QRectF(QPointF(0, 0), size);
    return l;
}

}  // namespace vantelo::chart
