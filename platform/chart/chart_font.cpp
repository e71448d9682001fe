#include "platform/chart/chart_font.h"

namespace vantelo::chart {

QFont ChartFont::to_qfont(int default_point_size) const
{
    QFont font;
    if (!family.isEmpty()) font.setFamily(family);
    // Qt refuses a size of 0 with a warning, so a size left at 0 takes the default explicitly.
    if (pixel_size > 0)
        font.setPixelSize(pixel_size);
    else
        font.setPointSize(point_size > 0 ? point_size : (default_point_size > 0 ? default_point_size : 10));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeout);
    return font;
}

}  // namespace vantelo::chart
