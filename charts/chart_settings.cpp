#include "charts/chart_settings.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QScreen>
#include <cmath>

#include "platform/chart/chart.h"

namespace vantelo::charts {

int title_font_size = 0;
QColor title_font_color = Qt::black;
FontStyle title_font_style;
int axis_font_size = 10;
QColor axis_font_color = Qt::black;
FontStyle axis_font_style;
int point_style = 0;
int scatter_point_style = 0;

namespace {

double screen_dpi()
{
    if (const QScreen* s = QGuiApplication::primaryScreen()) return s->logicalDotsPerInchY();
    return 96.0;
}

int point_size_of(const QFont& f)
{
    if (f.pointSizeF() > 0) return static_cast<int>(std::lround(f.pointSizeF()));
    if (f.pixelSize() > 0) return points_from_pixels(f.pixelSize());
    return 0;
}

FontStyle style_of(const QFont& f) { return {f.bold(), f.italic(), f.underline(), f.strikeOut()}; }

void set_font(chart::ChartFont& f, int size, const QColor& colour, const FontStyle& style)
{
    f.point_size = size;
    f.pixel_size = 0;
    f.colour = colour;
    f.bold = style.bold;
    f.italic = style.italic;
    f.underline = style.underline;
    f.strikeout = style.strikeout;
}

}  // namespace

void reset_chart_settings()
{
    title_font_size = 0;
    title_font_color = Qt::black;
    title_font_style = {};
    axis_font_size = 10;
    axis_font_color = Qt::black;
    axis_font_style = {};
    point_style = 0;
    scatter_point_style = 0;
}

int points_from_pixels(int pixels)
{
    const double dpi = screen_dpi();
    return static_cast<int>(std::lround(pixels * 72.0 / (dpi > 0 ? dpi : 96.0)));
}

ui::FontDialogState design_font_dialog(const QString& family, int pixel_height)
{
    ui::FontDialogState s;
    s.font = QFont(family);
    s.font.setPointSize(points_from_pixels(pixel_height));
    s.color = QApplication::palette().color(QPalette::WindowText);
    return s;
}

void take_title_font(const ui::FontDialogState& dialog)
{
    title_font_size = point_size_of(dialog.font);
    title_font_color = dialog.color;
    title_font_style = style_of(dialog.font);
}

void take_axis_font(const ui::FontDialogState& dialog)
{
    axis_font_size = point_size_of(dialog.font);
    axis_font_color = dialog.color;
    axis_font_style = style_of(dialog.font);
}

void apply_title_font(chart::Chart& c)
{
    chart::ChartFont f = c.title_font();
    set_font(f, title_font_size, title_font_color, title_font_style);
    c.set_title_font(f);
}

void apply_axis_fonts(chart::Chart& c)
{
    chart::ChartFont bottom = c.bottom_axis_font();
    set_font(bottom, axis_font_size, axis_font_color, axis_font_style);
    c.set_bottom_axis_font(bottom);
    chart::ChartFont left = c.left_axis_font();
    set_font(left, axis_font_size, axis_font_color, axis_font_style);
    c.set_left_axis_font(left);
}

}  // namespace vantelo::charts
