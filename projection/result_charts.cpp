#include "projection/result_charts.h"

#include "charts/pyramid_series.h"
#include "platform/chart/chart.h"
#include "platform/ui/services.h"

namespace vantelo::projection {
namespace {

const QColor silver(192, 192, 192);
const QColor red(255, 0, 0);

QString year_label(int base_year, int i) { return QString::number(checked_add(checked_add(base_year, 1), i)); }

void frame(const ChartWindowOps& w, int delay_ms)
{
    w.show();
    w.repaint_now();
    ui::services().pause(delay_ms);
}

// Element (x, j) of a pyramid array, range-checked.
double share(const std::vector<std::vector<double>>* a, int x, int j)
{
    if (!a) throw RangeError();
    return at(at(*a, x), j);
}

void fill_pyramid_year(const charts::PyramidSeries& s, const PyramidData& d, int j)
{
    charts::add_pyramid_ages(s, d.age_count, [&](int x) { return share(d.male, x, j); },
                             [&](int x) { return share(d.female, x, j); });
}

}  // namespace

void line_animation(const ChartWindowOps& w, const QString& title, const YearSeries& s, int delay_ms, int title_size)
{
    chart::Chart& c = *w.chart;
    chart::Series& line = c.add_series(chart::SeriesKind::Line);
    line.set_marks_visible(false);
    c.set_gradient_start(silver);
    c.set_gradient_end(silver);
    c.set_legend_visible(false);
    charts::set_chart_title(c, title, title_size);
    c.set_view3d(false);
    line.set_pen_colour(silver);
    line.set_pen_width(1);

    for (int i = 0; i < s.year_count; ++i) {
        line.add(to_double(s.value(i)), year_label(s.base_year, i), silver);
        w.show();
    }
    line.set_color_each_point(true);
    line.set_colour(red);
    for (int i = 0; i < s.year_count; ++i) {
        line.set_point_colour(i, red);
        frame(w, delay_ms);
    }
}

void bar_animation(const ChartWindowOps& w, const QString& title, const YearSeries& s, int delay_ms, int title_size)
{
    chart::Chart& c = *w.chart;
    chart::Series& bars = c.add_series(chart::SeriesKind::Bar);
    bars.set_marks_visible(false);
    c.set_legend_visible(false);
    charts::set_chart_title(c, title, title_size);
    for (int i = 0; i < s.year_count; ++i) {
        bars.add(to_double(s.value(i)), year_label(s.base_year, i), red);
        frame(w, delay_ms);
    }
}

void pyramid_animation(const ChartWindowOps& w, const PyramidData& d, const QString& title, const QString& joiner,
                       int delay_ms, int title_size, bool stepping_buttons)
{
    chart::Chart& c = *w.chart;
    if (stepping_buttons && w.show_pyramid_buttons) w.show_pyramid_buttons();
    c.set_view3d(false);
    charts::set_chart_title(c, title, title_size);
    const charts::PyramidSeries pyramid = charts::add_pyramid_series(c);
    charts::fix_pyramid_axis(c, d.age_count, d.year_count, [&](int x, int j) { return share(d.male, x, j); },
                             [&](int x, int j) { return share(d.female, x, j); });
    for (int j = 0; j < d.year_count; ++j) {
        c.set_title_text(year_label(d.base_year, j) + joiner + title);
        fill_pyramid_year(pyramid, d, j);
        frame(w, delay_ms);
        pyramid.male.clear();
        pyramid.female.clear();
    }
    if (d.year_count <= 0) throw RangeError();  // the final frame reads year index Y - 1
    fill_pyramid_year(pyramid, d, d.year_count - 1);
    w.show();
    w.repaint_now();
}

}  // namespace vantelo::projection
