// Draws a few sample charts to PNG files for a visual check: render_samples <folder>.
#include <cmath>

#include <QApplication>
#include <QDir>
#include <QPrinter>

#include "platform/chart/chart.h"
#include "platform/chart/chart_output.h"

using namespace vantelo::chart;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();

    {  // 3-D bars, as the chart window's design has them
        Chart c;
        c.set_margins(5, 5, 5, 5);
        c.set_rotation(331);
        c.set_elevation(353);
        c.set_zoom(98);
        c.set_wall_clear(WallKind::Back, true);
        c.set_wall_colour(WallKind::Left, Qt::white);
        c.set_title_text("总人口数");
        ChartFont f;
        f.point_size = 18;
        c.set_title_font(f);
        c.set_legend_visible(false);
        Series& s = c.add_series(SeriesKind::Bar);
        s.set_marks_visible(false);
        for (int i = 0; i < 10; ++i) s.add(1000 + 80 * i + 30 * std::sin(i), QString::number(2001 + i), color_from_bgr(0x0000FF));
        render_chart(c, QSize(600, 400)).save(dir + "/chart_bar3d.png");
        c.set_orthogonal(false);
        render_chart(c, QSize(600, 400)).save(dir + "/chart_bar3d_rot.png");
    }
    {  // 2-D line turning red
        Chart c;
        c.set_view3d(false);
        c.set_legend_visible(false);
        c.set_title_text("人口增长率");
        c.set_bottom_axis_title("年份");
        c.set_left_axis_title("增长率");
        Series& s = c.add_series(SeriesKind::Line);
        s.set_pen_colour(QColor(192, 192, 192));
        for (int i = 0; i < 20; ++i) s.add(0.01 * std::cos(i / 3.0), QString::number(2001 + i), QColor(192, 192, 192));
        s.set_color_each_point(true);
        s.set_colour(Qt::red);
        for (int i = 0; i < 12; ++i) s.set_point_colour(i, Qt::red);
        render_chart(c, QSize(600, 400)).save(dir + "/chart_line2d.png");
    }
    {  // age pyramid
        Chart c;
        c.set_view3d(false);
        c.set_title_text("2005 年龄结构金字塔");
        ChartFont f;
        f.point_size = 18;
        c.set_title_font(f);
        Series& m = c.add_series(SeriesKind::HorizBar);
        m.set_title("男性");
        m.set_colour(color_from_bgr(0xFF0000));
        m.set_bar_combination(mbNone);
        m.set_marks_visible(false);
        Series& w = c.add_series(SeriesKind::HorizBar);
        w.set_title("女性");
        w.set_colour(color_from_bgr(0x0000FF));
        w.set_bar_combination(mbNone);
        w.set_marks_visible(false);
        for (int x = 0; x < 81; ++x) {
            const double share = 0.012 * std::exp(-x / 45.0);
            m.add(-share * 1.02, QString::number(x), color_from_bgr(0xFF0000));
            w.add(share * (1 + x / 300.0), QString::number(x), color_from_bgr(0x0000FF));
        }
        render_chart(c, QSize(800, 600)).save(dir + "/chart_pyramid.png");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir + "/chart_pyramid.pdf");
        print_chart_landscape(c, QSize(800, 600), printer);
    }
    {  // the splash decoration
        Chart c;
        c.set_gradient_start(QColor(0, 255, 255));
        c.set_gradient_end(QColor(0, 0, 255));
        c.set_gradient_visible(true);
        c.set_wall_colour(WallKind::Back, QColor(0, 0, 255));
        c.set_wall_clear(WallKind::Left, true);
        c.set_wall_clear(WallKind::Bottom, true);
        c.set_bevel_inner(BevelStyle::Raised);
        c.set_bevel_width(3);
        c.set_legend_visible(false);
        c.set_title_text("Vantelo");
        ChartFont f;
        f.family = "隶书";
        f.pixel_size = 56;
        f.bold = true;
        f.colour = QColor(255, 255, 0);
        c.set_title_font(f);
        c.set_title_frame(true, 3);
        Series& pts = c.add_series(SeriesKind::Point);
        pts.set_colour(Qt::red);
        pts.set_pointer_style(psCircle);
        Series& bars = c.add_series(SeriesKind::Bar);
        bars.set_colour(QColor(0, 128, 0));
        bars.set_marks_visible(false);
        Series& line = c.add_series(SeriesKind::Line);
        line.set_colour(QColor(255, 255, 0));
        for (int i = 0; i < 21; ++i) {
            pts.add(std::sin((i * 37 % 100) / 100.0) * 6.0, " ");
            bars.add(std::sin((i * 53 % 100) / 100.0) * 1.5, " ", color_from_bgr(0xFF0000));
            line.add(std::sin((i * 71 % 100) / 100.0) * 2.0, " ", color_from_bgr(0xFFFFFF));
        }
        render_chart(c, QSize(529, 337)).save(dir + "/chart_splash.png");
    }
    {  // survival curve: 3-D line, blue points, red pen and area colour, axis titles
        Chart c;
        c.set_title_text("存活曲线图");
        c.set_bottom_axis_title("年龄");
        c.set_left_axis_title("存活概率(lx)");
        Series& s = c.add_series(SeriesKind::Line);
        s.set_title("存活曲线");
        s.set_colour(color_from_bgr(0x0000FF));
        s.set_pen_colour(color_from_bgr(0x0000FF));
        s.set_area_colour(color_from_bgr(0x0000FF));
        for (int k = 0; k < 19; ++k) s.add(std::exp(-std::pow(k / 14.0, 4)), " ", color_from_bgr(0xFF0000));
        s.set_label(0, "0");
        s.set_label(1, "4");
        for (int k = 2; k < 19; ++k) s.set_label(k, QString::number(5 * k - 1));
        render_chart(c, QSize(600, 400)).save(dir + "/chart_survival3d.png");
    }
    {  // stacked areas and a point chart with every shape, 3-D
        Chart c;
        c.set_title_text("面积图");
        for (int k = 0; k < 2; ++k) {
            Series& s = c.add_series(SeriesKind::Area);
            s.set_title(k ? "女" : "男");
            s.set_area_combination(maStacked);
            for (int i = 0; i < 10; ++i) s.add(2 + std::sin(i * 0.7 + k));
        }
        render_chart(c, QSize(600, 400)).save(dir + "/chart_area3d.png");
        Chart p;
        p.set_title_text("点状图");
        for (int k = 0; k < 9; ++k) {
            Series& s = p.add_series(SeriesKind::Point);
            s.set_title(QString::number(k));
            s.set_pointer_style(k);
            s.set_pointer_size(5, 5);
            for (int i = 0; i < 6; ++i) s.add(k + 0.3 * std::sin(i + k));
        }
        p.series(0).set_marks_visible(true);
        render_chart(p, QSize(600, 400)).save(dir + "/chart_points3d.png");
    }
    {  // 3-D horizontal bars, thick walls, turned by the adjustment dialog's bars
        Chart c;
        c.set_title_text("水平直方图");
        c.set_wall_size(WallKind::Left, 6);
        c.set_wall_size(WallKind::Bottom, 6);
        c.set_wall_size(WallKind::Back, 6);
        c.set_wall_colour(WallKind::Bottom, QColor(200, 200, 255));
        for (int k = 0; k < 2; ++k) {
            Series& s = c.add_series(SeriesKind::HorizBar);
            s.set_title(k ? "B" : "A");
            for (int i = 0; i < 5; ++i) s.add((k ? -1 : 1) * (3 + std::sin(i + k)));
        }
        render_chart(c, QSize(600, 400)).save(dir + "/chart_hbar3d.png");
        c.set_orthogonal(false);
        c.set_rotation(300);
        c.set_elevation(320);
        c.set_chart3d_percent(60);
        render_chart(c, QSize(600, 400)).save(dir + "/chart_hbar3d_rot.png");
    }
    return 0;
}
