#pragma once
// The chart component: a chart model (titles, legend, 3-D view, walls, gradient, bevel,
// margins and an ordered list of series), a pure layout, a QPainter painter for any paint
// device, a widget, filling series from a table, BMP save and landscape printing.
//
// Usage:
//     #include "platform/chart/chart.h"           // model; chart_widget.h for the widget
//     using namespace vantelo::chart;
//     ChartWidget* w = new ChartWidget(parent);    // or a plain Chart for off-screen use
//     Chart& c = w->chart();
//     c.set_title_text("年龄结构金字塔");
//     c.set_view3d(false);
//     Series& male = c.add_series(SeriesKind::HorizBar);
//     male.set_title("男性");
//     male.set_colour(color_from_bgr(0xFF0000));   // colours of the program are $BBGGRR
//     male.set_bar_combination(mbNone);
//     male.set_marks_visible(false);
//     male.add(-0.3, "0", color_from_bgr(0xFF0000));  // x = the number of points before it
//     w->repaint();                                // or render_chart(c, size) for an image
//     w->save_bmp("/tmp/out.bmp");                 // raises ChartError "Cannot create file ..."
//     w->print_landscape(printer);                 // printer orientation restored afterwards
//     connect(w, &ChartWidget::mouse_pressed, ...); // right button: the adjustment dialog
//
// Every setter notifies the chart's change callback (the widget schedules a repaint).
// Colours are QColor; color_from_bgr converts the program's $BBGGRR values.
#include <functional>
#include <memory>
#include <vector>

#include <QColor>
#include <QString>
#include <QStringList>

#include "platform/chart/chart_error.h"
#include "platform/chart/chart_font.h"
#include "platform/chart/color.h"
#include "platform/chart/series.h"

namespace vantelo::chart {

enum class WallKind { Left, Bottom, Back };

// A wall of the 3-D box: left (u = 0), bottom (v = 0), back (w = depth). In 2-D only the
// back wall is drawn, as the plot's background. Size is the slab's thickness in pixels.
struct Wall {
    QColor colour = Qt::white;
    int size = 0;
    bool clear = false;  // clear brush: outline only
};

// Background gradient of the whole chart, top (start) to bottom (end), drawn when visible.
struct Gradient {
    bool visible = false;
    QColor start = Qt::white;
    QColor end = Qt::white;
};

enum class BevelStyle { None, Raised, Lowered };

struct Bevel {
    BevelStyle inner = BevelStyle::None;
    BevelStyle outer = BevelStyle::None;
    int width = 1;
};

// 3-D view options. Orthogonal: the depth runs up and to the right at 45 degrees and
// rotation and elevation have no effect. Otherwise the box is turned by (rotation - 360)
// degrees about the vertical axis and (elevation - 360) degrees about the horizontal axis and
// projected in parallel, fitted into the plot area. In 3-D (either mode) the zoom (percent,
// about the plot's centre) and the offsets (pixels, right and down) apply as well; 2-D
// ignores all of these. The depth is min(plot width, plot height) * chart3d_percent / 200.
struct View3DOptions {
    bool orthogonal = true;
    int rotation = 345;
    int elevation = 345;
    int horiz_offset = 0;
    int vert_offset = 0;
    int chart3d_percent = 15;
    int zoom = 100;
};
inline constexpr int kMin3DPercent = 1;
inline constexpr int kMax3DPercent = 100;

enum LegendStyle { lsSeries };

// Default point sizes of the texts whose font leaves the size at 0.
inline constexpr int kDefaultTitlePointSize = 12;
inline constexpr int kDefaultAxisTitlePointSize = 10;
inline constexpr int kDefaultLabelPointSize = 8;

class Chart {
public:
    Chart();
    ~Chart();
    Chart(const Chart&) = delete;
    Chart& operator=(const Chart&) = delete;

    // Called after every change of the chart or of one of its series.
    void set_on_change(std::function<void()> callback);

    // Title: its lines (empty lines take no room; a title of only empty lines is not drawn).
    const QStringList& title_lines() const { return title_lines_; }
    void clear_title();
    void add_title_line(const QString& line);
    void set_title_text(const QString& text);  // replaces the whole title by one line
    void set_title_lines(const QStringList& lines);
    const ChartFont& title_font() const { return title_font_; }
    void set_title_font(const ChartFont& font);
    bool title_frame_visible() const { return title_frame_visible_; }
    int title_frame_width() const { return title_frame_width_; }
    void set_title_frame(bool visible, int width);

    // Axis titles: the bottom one centred below the axis, the left one turned 90 degrees.
    const QString& bottom_axis_title() const { return bottom_axis_title_; }
    void set_bottom_axis_title(const QString& caption);
    const ChartFont& bottom_axis_font() const { return bottom_axis_font_; }
    void set_bottom_axis_font(const ChartFont& font);
    const QString& left_axis_title() const { return left_axis_title_; }
    void set_left_axis_title(const QString& caption);
    const ChartFont& left_axis_font() const { return left_axis_font_; }
    void set_left_axis_font(const ChartFont& font);

    // Value axis: automatic (from the series' values, the default) or a fixed range min..max
    // (widened to whole tick steps). A range whose max is not above its min raises RangeError.
    bool value_axis_automatic() const { return value_axis_automatic_; }
    double value_axis_min() const { return value_axis_min_; }
    double value_axis_max() const { return value_axis_max_; }
    void set_value_axis_range(double min, double max);
    void set_value_axis_automatic();

    // Legend: one entry per series (colour swatch and title) in series order, at the right.
    bool legend_visible() const { return legend_visible_; }
    void set_legend_visible(bool on);
    LegendStyle legend_style() const { return legend_style_; }
    void set_legend_style(LegendStyle style);

    // 3-D view.
    bool view3d() const { return view3d_; }
    void set_view3d(bool on);
    const View3DOptions& view3d_options() const { return view_; }
    bool orthogonal() const { return view_.orthogonal; }
    void set_orthogonal(bool on);
    int rotation() const { return view_.rotation; }
    void set_rotation(int degrees);
    int elevation() const { return view_.elevation; }
    void set_elevation(int degrees);
    int horiz_offset() const { return view_.horiz_offset; }
    void set_horiz_offset(int pixels);
    int vert_offset() const { return view_.vert_offset; }
    void set_vert_offset(int pixels);
    int chart3d_percent() const { return view_.chart3d_percent; }
    // 1..100, else ChartError "3D effect percent must be between 1 and 100" (chart unchanged).
    void set_chart3d_percent(int percent);
    int zoom() const { return view_.zoom; }
    void set_zoom(int percent);  // below 1 draws as 1
    int animated_zoom_steps() const { return animated_zoom_steps_; }
    void set_animated_zoom_steps(int steps);  // kept only; the chart does not zoom by mouse

    // Margins in percent of the chart's width (left, right) and height (top, bottom); no
    // bounds: negative margins push the plot beyond the chart's edges.
    int margin_left() const { return margin_left_; }
    int margin_top() const { return margin_top_; }
    int margin_right() const { return margin_right_; }
    int margin_bottom() const { return margin_bottom_; }
    void set_margin_left(int m);
    void set_margin_top(int m);
    void set_margin_right(int m);
    void set_margin_bottom(int m);
    void set_margins(int left, int top, int right, int bottom);

    // Walls.
    const Wall& wall(WallKind kind) const;
    void set_wall_colour(WallKind kind, const QColor& colour);
    void set_wall_size(WallKind kind, int size);
    void set_wall_clear(WallKind kind, bool clear);

    // Background.
    QColor panel_colour() const { return panel_colour_; }
    void set_panel_colour(const QColor& colour);
    // Fill of the plot area behind the series when the back wall is clear; invalid = none.
    QColor back_colour() const { return back_colour_; }
    void set_back_colour(const QColor& colour);
    const Gradient& gradient() const { return gradient_; }
    void set_gradient_visible(bool on);
    void set_gradient_start(const QColor& colour);
    void set_gradient_end(const QColor& colour);
    const Bevel& bevel() const { return bevel_; }
    void set_bevel_inner(BevelStyle style);
    void set_bevel_outer(BevelStyle style);
    void set_bevel_width(int width);

    // Series, in order; the chart owns them.
    int series_count() const { return static_cast<int>(series_.size()); }
    Series& series(int i);  // out of range: RangeError
    const Series& series(int i) const;
    Series& add_series(SeriesKind kind);
    Series& add_series(std::unique_ptr<Series> series);
    void remove_series(int i);  // out of range: RangeError
    void clear_series();        // detaches and frees every series

    // Notifies the change callback (the series call this too).
    void changed();

private:
    std::function<void()> on_change_;
    QStringList title_lines_;
    ChartFont title_font_;
    bool title_frame_visible_ = false;
    int title_frame_width_ = 1;
    QString bottom_axis_title_;
    ChartFont bottom_axis_font_;
    QString left_axis_title_;
    ChartFont left_axis_font_;
    bool value_axis_automatic_ = true;
    double value_axis_min_ = 0, value_axis_max_ = 1;
    bool legend_visible_ = true;
    LegendStyle legend_style_ = lsSeries;
    bool view3d_ = true;
    View3DOptions view_;
    int animated_zoom_steps_ = 0;
    int margin_left_ = 3;
    int margin_top_ = 3;
    int margin_right_ = 3;
    int margin_bottom_ = 3;
    Wall walls_[3];
    QColor panel_colour_ = Qt::white;
    QColor back_colour_;
    Gradient gradient_;
    Bevel bevel_;
    std::vector<std::unique_ptr<Series>> series_;
};

}  // namespace vantelo::chart
