#include "projection/result_charts.h"

#include "platform/chart/chart.h"
#include "platform/ui/services.h"

namespace vantelo::projection {
namespace {

const QColor silver(192, 192, 192);
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);

void set_title(chart::Chart& c, const QString& text, int size)
{
    chart::ChartFont f = c.title_font();
    f.point_size = size;
    f.pixel_size = 0;
    f.colour = Qt::black;
    c.set_title_font(f);
    c.set_title_text(text);
}

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

void fill_pyramid_year(chart::Series& m, chart::Series& f, const PyramidData& d, int j)
{
    for (int x = 0; x < d.age_count; ++x) {
        QString label = QString::number(x);
        m.add(share(d.male, x, j), label, blue);
        f.add(share(d.female, x, j), label, red);
    }
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
    set_title(c, title, title_size);
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
    set_title(c, title, title_size);
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
    set_title(c, title, title_size);
    auto make = [&](const QString& name, const QColor& colour) -> chart::Series& {
        chart::Series& s = c.add_series(chart::SeriesKind::HorizBar);
        s.set_marks_visible(false);
        s.set_bar_combination(chart::mbNone);
        s.set_title(name);
        s.set_colour(colour);
        return s;
    };
    chart::Series& male = make(QStringLiteral("男性"), blue);
    chart::Series& female = make(QStringLiteral("女性"), red);
    for (int j = 0; j < d.year_count; ++j) {
        c.set_title_text(year_label(d.base_year, j) + joiner + title);
        fill_pyramid_year(male, female, d, j);
        frame(w, delay_ms);
        male.clear();
        female.clear();
    }
    if (d.year_count <= 0) throw RangeError();  // the final frame reads year index Y - 1
    fill_pyramid_year(male, female, d, d.year_count - 1);
    w.show();
    w.repaint_now();
}

}  // namespace vantelo::projection
