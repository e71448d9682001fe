// Renders the splash, a 3-D bar chart, a 2-D line chart and an age pyramid in the chart window
// to PNG files in the folder given as the first argument, for a look at them.
#include <cmath>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>

#include "charts/Graph_1.h"
#include "charts/View_3D_frm1.h"
#include "platform/ui/scripted_services.h"
#include "shell/Fenwo_LOGOUnit1.h"

using namespace vantelo;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    ui::ScopedScriptedServices seam;

    shell::TFenwoLOGO splash;
    shell::FenwoLOGO = &splash;
    splash.show();
    splash.grab().save(out.filePath("splash.png"));
    shell::FenwoLOGO = nullptr;

    {
        charts::TGraph w;
        w.resize(700, 500);
        w.show();
        auto& c = w.chart();
        c.set_title_text(QStringLiteral("总人口数"));
        auto& bars = c.add_series(chart::SeriesKind::Bar);
        bars.set_marks_visible(false);
        c.set_legend_visible(false);
        for (int i = 0; i < 10; ++i) bars.add(100 + 10 * i + 5 * std::sin(i), QString::number(2001 + i), chart::color_from_bgr(0x0000FF));
        w.grab().save(out.filePath("bar3d.png"));
        charts::TView_3d_frm dialog(w.DBChart1, &w);
        dialog.show();
        dialog.grab().save(out.filePath("adjust_3d.png"));
        dialog.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(0);
        dialog.grab().save(out.filePath("adjust_walls.png"));
    }
    {
        charts::TGraph w;
        w.resize(700, 500);
        w.show();
        auto& c = w.chart();
        c.set_view3d(false);
        c.set_legend_visible(false);
        c.set_title_text(QStringLiteral("男性总人口数"));
        auto& line = c.add_series(chart::SeriesKind::Line);
        line.set_pen_colour(chart::color_from_bgr(0xC0C0C0));
        for (int i = 0; i < 20; ++i) line.add(50 + 3 * i - 0.1 * i * i, QString::number(2001 + i), chart::color_from_bgr(0x0000FF));
        w.grab().save(out.filePath("line2d.png"));
    }
    {
        charts::PyramidArrays src;
        src.base = 2000;
        src.years = 2;
        for (int x = 0; x < 81; ++x) {
            const double share = 0.012 * std::exp(-x / 40.0);
            src.male.push_back({-share, -share * 0.98});
            src.female.push_back({share * 0.97, share});
        }
        charts::set_pyramid_source(&src);
        charts::pyramid_year_cursor = 2;
        charts::TGraph w;
        w.Button1->click();
        w.grab().save(out.filePath("pyramid.png"));
        charts::set_pyramid_source(nullptr);
    }
    return 0;
}
