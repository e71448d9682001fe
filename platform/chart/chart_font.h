#pragma once
// A font as the chart keeps it: family, size in points or pixels, colour and style.
#include <QColor>
#include <QFont>
#include <QString>

namespace vantelo::chart {

struct ChartFont {
    QString family;           // empty: the application's default family
    int point_size = 0;       // 0 (or below): the chart's default size for this text
    int pixel_size = 0;       // above 0: wins over point_size (the splash's pixel heights)
    QColor colour = Qt::black;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;

    // The QFont to draw with; default_point_size stands in when neither size is set.
    QFont to_qfont(int default_point_size) const;

    bool operator==(const ChartFont&) const = default;
};

}  // namespace vantelo::chart
