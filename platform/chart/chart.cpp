#include "platform/chart/chart.h"

#include <cmath>

#include <utility>

#include "platform/core/errors.h"

namespace vantelo::chart {

Chart::Chart()
{
    // A light yellow left wall and white bottom and back walls.
    walls_[static_cast<int>(WallKind::Left)].colour = QColor(255, 255, 128);
}

Chart::~Chart()
{
    for (auto& s : series_) s->chart_ = nullptr;
}

void Chart::set_on_change(std::function<void()> callback)
{
    on_change_ = std::move(callback);
}

void Chart::changed()
{
    if (on_change_) on_change_();
}

void Chart::clear_title()
{
    title_lines_.clear();
    changed();
}

void Chart::add_title_line(const QString& line)
{
    title_lines_.append(line);
    changed();
}

void Chart::set_title_text(const QString& text)
{
    title_lines_ = QStringList{text};
    changed();
}

void Chart::set_title_lines(const QStringList& lines)
{
    title_lines_ = lines;
    changed();
}

void Chart::set_title_font(const ChartFont& font)
{
    title_font_ = font;
    changed();
}

void Chart::set_title_frame(bool visible, int width)
{
    title_frame_visible_ = visible;
    title_frame_width_ = width;
    changed();
}

void Chart::set_bottom_axis_title(const QString& caption)
{
    bottom_axis_title_ = caption;
    changed();
}

void Chart::set_bottom_axis_font(const ChartFont& font)
{
    bottom_axis_font_ = font;
    changed();
}

void Chart::set_left_axis_title(const QString& caption)
{
    left_axis_title_ = caption;
    changed();
}

void Chart::set_left_axis_font(const ChartFont& font)
{
    left_axis_font_ = font;
    changed();
}

void Chart::set_legend_visible(bool on)
{
    legend_visible_ = on;
    changed();
}

void Chart::set_legend_style(LegendStyle style)
{
    legend_style_ = style;
    changed();
}

void Chart::set_view3d(bool on)
{
    view3d_ = on;
    changed();
}

void Chart::set_orthogonal(bool on)
{
    view_.orthogonal = on;
    changed();
}

void Chart::set_rotation(int degrees)
{
    view_.rotation = degrees;
    changed();
}

void Chart::set_elevation(int degrees)
{
    view_.elevation = degrees;
    changed();
}

void Chart::set_horiz_offset(int pixels)
{
    view_.horiz_offset = pixels;
    changed();
}

void Chart::set_vert_offset(int pixels)
{
    view_.vert_offset = pixels;
    changed();
}

void Chart::set_chart3d_percent(int percent)
{
    if (percent < kMin3DPercent || percent > kMax3DPercent)
        throw ChartError("3D effect percent must be between " + std::to_string(kMin3DPercent) + " and " +
                         std::to_string(kMax3DPercent));
    view_.chart3d_percent = percent;
    changed();
}

void Chart::set_zoom(int percent)
{
    view_.zoom = percent;
    changed();
}

void Chart::set_animated_zoom_steps(int steps)
{
    animated_zoom_steps_ = steps;
}

void Chart::set_margin_left(int m)
{
    margin_left_ = m;
    changed();
}

void Chart::set_margin_top(int m)
{
    margin_top_ = m;
    changed();
}

void Chart::set_margin_right(int m)
{
    margin_right_ = m;
    changed();
}

void Chart::set_margin_bottom(int m)
{
    margin_bottom_ = m;
    changed();
}

void Chart::set_margins(int left, int top, int right, int bottom)
{
    margin_left_ = left;
    margin_top_ = top;
    margin_right_ = right;
    margin_bottom_ = bottom;
    changed();
}

const Wall& Chart::wall(WallKind kind) const
{
    return walls_[static_cast<int>(kind)];
}

void Chart::set_wall_colour(WallKind kind, const QColor& colour)
{
    walls_[static_cast<int>(kind)].colour = colour;
    changed();
}

void Chart::set_wall_size(WallKind kind, int size)
{
    walls_[static_cast<int>(kind)].size = size;
    changed();
}

void Chart::set_wall_clear(WallKind kind, bool clear)
{
    walls_[static_cast<int>(kind)].clear = clear;
    changed();
}

void Chart::set_panel_colour(const QColor& colour)
{
    panel_colour_ = colour;
    changed();
}

void Chart::set_back_colour(const QColor& colour)
{
    back_colour_ = colour;
    changed();
}

void Chart::set_gradient_visible(bool on)
{
    gradient_.visible = on;
    changed();
}

void Chart::set_gradient_start(const QColor& colour)
{
    gradient_.start = colour;
    changed();
}

void Chart::set_gradient_end(const QColor& colour)
{
    gradient_.end = colour;
    changed();
}

void Chart::set_bevel_inner(BevelStyle style)
{
    bevel_.inner = style;
    changed();
}

void Chart::set_bevel_outer(BevelStyle style)
{
    bevel_.outer = style;
    changed();
}

void Chart::set_bevel_width(int width)
{
    bevel_.width = width;
    changed();
}

Series& Chart::series(int i)
{
    if (i < 0 || i >= series_count()) throw vantelo::RangeError();
    return *series_[static_cast<std::size_t>(i)];
}

const Series& Chart::series(int i) const
{
    if (i < 0 || i >= series_count()) throw vantelo::RangeError();
    return *series_[static_cast<std::size_t>(i)];
}

Series& Chart::add_series(SeriesKind kind)
{
    return add_series(std::make_unique<Series>(kind));
}

Series& Chart::add_series(std::unique_ptr<Series> series)
{
    Series& s = *series;
    s.chart_ = this;
    s.auto_colour_index_ = series_count();
    series_.push_back(std::move(series));
    changed();
    return s;
}

void Chart::remove_series(int i)
{
    if (i < 0 || i >= series_count()) throw vantelo::RangeError();
    series_.erase(series_.begin() + i);
    changed();
}

void Chart::clear_series()
{
    series_.clear();
    changed();
}

void Chart::set_value_axis_range(double min, double max)
{
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > min)) throw vantelo::RangeError();
    value_axis_automatic_ = false;
    value_axis_min_ = min;
    value_axis_max_ = max;
    changed();
}

void Chart::set_value_axis_automatic()
{
    value_axis_automatic_ = true;
    changed();
}

}  // namespace vantelo::chart
