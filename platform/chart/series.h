#pragma once
// One series of a chart: its kind, title, colours, points and the options of its kind.
// A series is attached to one chart (Chart::add_series), which owns it from then on.
#include <optional>
#include <vector>

#include <QColor>
#include <QString>

namespace vantelo::chart {

class Chart;
class DataSource;

enum class SeriesKind { Line, FastLine, Bar, HorizBar, Point, Area };

// How bar series of one orientation share a category slot (the first bar series decides).
enum BarCombination { mbNone, mbSide, mbStacked, mbStacked100 };

// How area series are combined.
enum AreaCombination { maNone, maStacked, maStacked100 };

// Marker shapes of point series (and of line markers), index 0..8 in this order.
enum PointerStyle {
    psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psStar, psDiamond, psSmallDot
};
inline constexpr int kPointerStyleCount = 9;

struct ChartPoint {
    double x = 0;                  // position along the category axis (the row of a horizontal bar)
    double value = 0;              // Y, or the length of a horizontal bar
    QString label;                 // category-axis label and mark text; may be empty
    std::optional<QColor> colour;  // the point's own colour; wins over every other rule
};

class Series {
public:
    explicit Series(SeriesKind kind);
    Series(const Series&) = delete;
    Series& operator=(const Series&) = delete;

    SeriesKind kind() const { return kind_; }
    bool is_bar() const { return kind_ == SeriesKind::Bar || kind_ == SeriesKind::HorizBar; }

    // The chart this series is attached to, or null.
    Chart* chart() const { return chart_; }

    const QString& title() const { return title_; }
    void set_title(const QString& title);

    // The series colour: the one set, else an automatic colour by the series' place in its chart.
    QColor colour() const;
    void set_colour(const QColor& colour);

    // "Each point in its own colour": points without a colour of their own take automatic
    // colours by their index instead of the series colour.
    bool color_each_point() const { return color_each_point_; }
    void set_color_each_point(bool on);

    // Value marks (a small box with the point's label, or its value, at each point).
    // Bars start with marks shown, the other kinds with marks hidden.
    bool marks_visible() const { return marks_visible_; }
    void set_marks_visible(bool on);

    // Points.
    int count() const { return static_cast<int>(points_.size()); }
    const std::vector<ChartPoint>& points() const { return points_; }
    const ChartPoint& point(int i) const;  // out of range: RangeError

    // Appends a point at x = the number of points before it; returns its index.
    int add(double value, const QString& label = {}, std::optional<QColor> colour = {});
    // Appends a point at a given x.
    int add_xy(double x, double value, const QString& label = {}, std::optional<QColor> colour = {});
    void set_value(int i, double value);                // out of range: RangeError
    void set_point_colour(int i, const QColor& colour);  // out of range: RangeError
    void set_label(int i, const QString& label);         // out of range: RangeError
    void clear();

    // The colour point i is drawn in: its own colour if it has one; else, with
    // color_each_point, the automatic colour of index i; else the series colour.
    QColor drawn_colour(int i) const;
    // True when any point has a non-empty label (a single blank counts).
    bool has_labels() const;

    // Line series: the pen (2-D line width, outline of the 3-D ribbon) and the area colour
    // (fill of the 3-D ribbon under points without their own colour).
    QColor pen_colour() const { return pen_colour_; }
    void set_pen_colour(const QColor& colour);
    int pen_width() const { return pen_width_; }
    void set_pen_width(int width);
    std::optional<QColor> area_colour() const { return area_colour_; }
    void set_area_colour(const QColor& colour);

    // Markers: shown by point series; line series hide them unless asked. Width and height
    // are half-sizes in pixels; either below 1 raises "Pointer size must be greater than zero".
    bool pointer_visible() const { return pointer_visible_; }
    void set_pointer_visible(bool on);
    int pointer_width() const { return pointer_width_; }
    int pointer_height() const { return pointer_height_; }
    void set_pointer_width(int width);
    void set_pointer_height(int height);
    void set_pointer_size(int width, int height);
    PointerStyle pointer_style() const { return pointer_style_; }
    void set_pointer_style(PointerStyle style);
    void set_pointer_style(int index);  // 0..8, else RangeError

    // Bars start side by side (mbSide); areas start uncombined (maNone).
    BarCombination bar_combination() const { return bar_combination_; }
    void set_bar_combination(BarCombination c);
    AreaCombination area_combination() const { return area_combination_; }
    void set_area_combination(AreaCombination c);

    // Filling from a table. The value field gives Y (the length of a horizontal bar); the
    // position field, when named, gives x (else x = the record's index); the label field,
    // when named, the labels. The source is not owned and must outlive the refresh.
    void set_data_source(const DataSource* source);
    const DataSource* data_source() const { return source_; }
    void set_value_field(const QString& name);
    void set_position_field(const QString& name);
    void set_label_field(const QString& name);
    const QString& value_field() const { return value_field_; }
    const QString& position_field() const { return position_field_; }
    const QString& label_field() const { return label_field_; }
    // Clears the series and adds one point per record of the source in record order, colours
    // automatic. No source or an empty value-field name leaves the series empty. An unknown
    // field name raises "Field '<name>' not found" before any point is changed.
    void refresh();

private:
    friend class Chart;
    void changed();

    SeriesKind kind_;
    Chart* chart_ = nullptr;
    int auto_colour_index_ = 0;
    QString title_;
    std::optional<QColor> colour_;
    bool color_each_point_ = false;
    bool marks_visible_ = false;
    std::vector<ChartPoint> points_;
    QColor pen_colour_ = Qt::black;
    int pen_width_ = 1;
    std::optional<QColor> area_colour_;
    bool pointer_visible_ = false;
    int pointer_width_ = 4;
    int pointer_height_ = 4;
    PointerStyle pointer_style_ = psRectangle;
    BarCombination bar_combination_ = mbSide;
    AreaCombination area_combination_ = maNone;
    const DataSource* source_ = nullptr;
    QString value_field_;
    QString position_field_;
    QString label_field_;
};

}  // namespace vantelo::chart
