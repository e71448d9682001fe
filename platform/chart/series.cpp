#include "platform/chart/series.h"

#include <cstddef>

#include "platform/chart/chart.h"
#include "platform/chart/chart_error.h"
#include "platform/chart/data_source.h"
#include "platform/core/checked.h"

namespace vantelo::chart {

namespace {

std::size_t checked_index(int i, std::size_t size)
{
    if (i < 0 || static_cast<std::size_t>(i) >= size) throw vantelo::RangeError();
    return static_cast<std::size_t>(i);
}

}  // namespace

Series::Series(SeriesKind kind) : kind_(kind)
{
    marks_visible_ = is_bar();
    pointer_visible_ = kind == SeriesKind::Point;
}

void Series::changed()
{
    if (chart_) chart_->changed();
}

void Series::set_title(const QString& title)
{
    title_ = title;
    changed();
}

QColor Series::colour() const
{
    return colour_ ? *colour_ : palette_colour(auto_colour_index_);
}

void Series::set_colour(const QColor& colour)
{
    colour_ = colour;
    changed();
}

void Series::set_color_each_point(bool on)
{
    color_each_point_ = on;
    changed();
}

void Series::set_marks_visible(bool on)
{
    marks_visible_ = on;
    changed();
}

const ChartPoint& Series::point(int i) const
{
    return points_[checked_index(i, points_.size())];
}

int Series::add(double value, const QString& label, std::optional<QColor> colour)
{
    return add_xy(static_cast<double>(points_.size()), value, label, colour);
}

int Series::add_xy(double x, double value, const QString& label, std::optional<QColor> colour)
{
    points_.push_back(ChartPoint{x, value, label, colour});
    changed();
    return static_cast<int>(points_.size()) - 1;
}

void Series::set_value(int i, double value)
{
    points_[checked_index(i, points_.size())].value = value;
    changed();
}

void Series::set_point_colour(int i, const QColor& colour)
{
    points_[checked_index(i, points_.size())].colour = colour;
    changed();
}

void Series::set_label(int i, const QString& label)
{
    points_[checked_index(i, points_.size())].label = label;
    changed();
}

void Series::clear()
{
    points_.clear();
    changed();
}

QColor Series::drawn_colour(int i) const
{
    const ChartPoint& p = point(i);
    if (p.colour) return *p.colour;
    if (color_each_point_) return palette_colour(i);
    return colour();
}

bool Series::has_labels() const
{
    for (const ChartPoint& p : points_)
        if (!p.label.isEmpty()) return true;
    return false;
}

void Series::set_pen_colour(const QColor& colour)
{
    pen_colour_ = colour;
    changed();
}

void Series::set_pen_width(int width)
{
    pen_width_ = width;
    changed();
}

void Series::set_area_colour(const QColor& colour)
{
    area_colour_ = colour;
    changed();
}

void Series::set_pointer_visible(bool on)
{
    pointer_visible_ = on;
    changed();
}

namespace {
void check_pointer_size(int size)
{
    if (size < 1) throw ChartError("Pointer size must be greater than zero");
}
}  // namespace

void Series::set_pointer_width(int width)
{
    check_pointer_size(width);
    pointer_width_ = width;
    changed();
}

void Series::set_pointer_height(int height)
{
    check_pointer_size(height);
    pointer_height_ = height;
    changed();
}

void Series::set_pointer_size(int width, int height)
{
    check_pointer_size(width);
    check_pointer_size(height);
    pointer_width_ = width;
    pointer_height_ = height;
    changed();
}

void Series::set_pointer_style(PointerStyle style)
{
    set_pointer_style(static_cast<int>(style));
}

void Series::set_pointer_style(int index)
{
    if (index < 0 || index >= kPointerStyleCount) throw vantelo::RangeError();
    pointer_style_ = static_cast<PointerStyle>(index);
    changed();
}

void Series::set_bar_combination(BarCombination c)
{
    bar_combination_ = c;
    changed();
}

void Series::set_area_combination(AreaCombination c)
{
    area_combination_ = c;
    changed();
}

void Series::set_data_source(const DataSource* source)
{
    source_ = source;
}

void Series::set_value_field(const QString& name)
{
    value_field_ = name;
}

void Series::set_position_field(const QString& name)
{
    position_field_ = name;
}

void Series::set_label_field(const QString& name)
{
    label_field_ = name;
}

void Series::refresh()
{
    if (!source_ || value_field_.isEmpty()) {
        clear();
        return;
    }
    // Resolve every field and read every record before the points are replaced, so that an
    // error leaves the series as it was.
    const int value_col = find_field(*source_, value_field_);
    const int x_col = position_field_.isEmpty() ? -1 : find_field(*source_, position_field_);
    const int label_col = label_field_.isEmpty() ? -1 : find_field(*source_, label_field_);
    const int n = source_->record_count();
    std::vector<ChartPoint> fresh;
    fresh.reserve(n > 0 ? static_cast<std::size_t>(n) : 0);
    for (int r = 0; r < n; ++r) {
        ChartPoint p;
        p.value = vantelo::to_double(source_->value(r, value_col));
        p.x = x_col >= 0 ? vantelo::to_double(source_->value(r, x_col)) : static_cast<double>(r);
        if (label_col >= 0) p.label = source_->text(r, label_col);
        fresh.push_back(std::move(p));
    }
    points_ = std::move(fresh);
    changed();
}

}  // namespace vantelo::chart
