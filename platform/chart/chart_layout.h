#pragma once
// Where everything of a chart goes at a given size: a pure function of the model and the size
// (text is measured with the fonts' metrics; nothing is painted). The painter draws exactly
// this geometry, so tests can probe pixels at positions taken from it.
#include <vector>

#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace vantelo::chart {

class Chart;

// Parallel projection of the plot box: model point (u across, v up, w into the screen, all in
// pixels of the unprojected box) -> screen point = origin + u*eu + v*ev + w*ew.
struct Projection {
    QPointF origin;  // screen position of (0, 0, 0): the front bottom-left corner
    QPointF eu{1, 0};
    QPointF ev{0, -1};
    QPointF ew{0, 0};
    QPointF map(double u, double v, double w) const
    {
        return origin + eu * u + ev * v + ew * w;
    }
};

// One bar (a box in 3-D): its front face and the faces that show, in drawing order.
struct BarGeometry {
    int point = 0;
    QRectF front;                 // 2-D: the bar; 3-D: bounding box of the front face
    std::vector<QPolygonF> faces;  // faces to fill, back to front; faces[last] is the front
    QColor colour;
    bool hidden = false;          // zero height or an invisible value: nothing drawn
    double nearness = 0;          // larger is nearer the viewer: the painter draws far boxes first
};

struct MarkGeometry {
    QPointF anchor;  // the point or the bar's end
    QRectF box;
    QString text;
};

struct SeriesGeometry {
    int series = 0;
    double band_front = 0;  // depth band of the series (w range); 0..0 in 2-D
    double band_back = 0;
    // Line, fast line, point and area: the screen position of each point at the front of its
    // band (the centre of the band for markers), in point order; non-finite values give
    // an invalid position (NaN coordinates are never produced: `valid` says which are drawn).
    std::vector<QPointF> positions;
    std::vector<bool> valid;
    // Area: the filled polygon for each segment's column (base line to value), 2-D front.
    std::vector<QPolygonF> area_polygons;
    std::vector<BarGeometry> bars;
    std::vector<MarkGeometry> marks;
    double marker_half_width = 0;   // drawn marker half sizes (clamped to the chart's size)
    double marker_half_height = 0;
    double nearness = 0;            // of the band's centre; larger is nearer the viewer
};

struct AxisLabel {
    QRectF rect;
    QString text;
};

struct LegendEntry {
    int series = 0;
    QRectF swatch;
    QRectF text_rect;
    QString text;
    QColor colour;
};

struct WallGeometry {
    std::vector<QPolygonF> faces;  // visible faces of the slab (or the plane when size is 0)
    QColor colour;
    bool clear = false;
};

struct ChartLayout {
    bool empty = true;          // zero or negative size: nothing is drawn
    QRectF chart_rect;          // (0, 0, width, height)
    QRectF inner_rect;          // inside the margins
    QRectF title_rect;          // empty when no title is drawn
    std::vector<QRectF> title_line_rects;
    QRectF plot_rect;           // the area given to the plot box
    QRectF front_rect;          // the front face of the box (2-D: the plot)
    double depth = 0;           // D, 0 in 2-D
    bool horizontal = false;    // horizontal bars: categories run up the left axis
    bool three_d = false;
    Projection projection;
    // Ranges of the two axes (category: x of the points; value: Y or bar length).
    double category_min = 0;
    double category_max = 1;
    double value_min = 0;
    double value_max = 1;
    std::vector<double> value_ticks;
    WallGeometry left_wall;
    WallGeometry bottom_wall;
    WallGeometry back_wall;
    std::vector<SeriesGeometry> series;  // one per series of the chart, in order
    std::vector<AxisLabel> category_labels;  // bottom axis (left for horizontal bars)
    std::vector<AxisLabel> value_labels;     // left axis (bottom for horizontal bars)
    QRectF bottom_axis_title_rect;
    QRectF left_axis_title_rect;     // the rotated title's bounding box
    QRectF legend_rect;              // empty when hidden
    std::vector<LegendEntry> legend;

    // Model (u, v) of a category position and a value along the axes.
    double category_to_model(double x) const;
    double value_to_model(double value) const;
    double model_width = 0;   // W of the box
    double model_height = 0;  // H of the box
};

// Lays the chart out in a rectangle (0, 0, size). A size of zero or below gives an empty layout.
ChartLayout layout_chart(const Chart& chart, QSizeF size);

}  // namespace vantelo::chart
