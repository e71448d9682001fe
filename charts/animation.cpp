#include "charts/animation.h"

#include "platform/chart/chart.h"

namespace vantelo::charts {

void set_chart_title(chart::Chart& c, const QString& text, int point_size)
{
    chart::ChartFont f = c.title_font();
    f.point_size = point_size;
    f.pixel_size = 0;
    f.colour = QColor(0, 0, 0);
    c.set_title_font(f);
    c.set_title_text(text);
}

}  // namespace vantelo::charts
