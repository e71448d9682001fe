#include "platform/chart/color.h"

namespace vantelo::chart {

QColor color_from_bgr(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

QColor palette_colour(int index)
{
    static const QColor colours[] = {
        QColor(255, 0, 0),     QColor(0, 128, 0),   QColor(255, 255, 0), QColor(0, 0, 255),
        QColor(128, 128, 128), QColor(255, 0, 255), QColor(0, 128, 128), QColor(0, 0, 128),
        QColor(128, 0, 0),     QColor(0, 255, 0),   QColor(128, 128, 0), QColor(128, 0, 128),
        QColor(192, 192, 192), QColor(0, 255, 255), QColor(0, 0, 0),
    };
    constexpr int n = static_cast<int>(sizeof(colours) / sizeof(colours[0]));
    int i = index % n;
    if (i < 0) i += n;
    return colours[i];
}

}  // namespace vantelo::chart
