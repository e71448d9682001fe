#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include "platform/chart/chart.h"
#include "platform/chart/chart_layout.h"
#include "platform/chart/chart_output.h"
#include "platform/chart/chart_painter.h"
#include "platform/chart/chart_widget.h"
#include "tests/common/error_text.h"
#include "tests/common/widget_events.h"

using namespace vantelo::chart;
using test_errors::error_text;

namespace {

const QSize kSize(600, 400);

QColor pixel(const QImage& img, QPointF p) { return img.pixelColor(p.toPoint()); }

// A plain 2-D chart: no legend, so bars and probes keep away from it.
void flat(Chart& c)
{
    c.set_view3d(false);
    c.set_legend_visible(false);
}

}  // namespace

TEST(Render, BarCentreShowsThePointsOwnColour)
{
    for (bool three_d : {false, true}) {
        Chart c;
        flat(c);
        c.set_view3d(three_d);
        Series& s = c.add_series(SeriesKind::Bar);
        s.set_colour(QColor(0, 128, 0));
        s.add(3, "", color_from_bgr(0xFF0000));
        s.add(5);
        const ChartLayout l = layout_chart(c, QSizeF(kSize));
        const QImage img = render_chart(c, kSize);
        EXPECT_EQ(pixel(img, l.series[0].bars[0].front.center()), QColor(0, 0, 255)) << three_d;
        EXPECT_EQ(pixel(img, l.series[0].bars[1].front.center()), QColor(0, 128, 0)) << three_d;
    }
}

TEST(Render, PyramidHalves)
{
    Chart c;
    c.set_view3d(false);
    Series& m = c.add_series(SeriesKind::HorizBar);
    Series& f = c.add_series(SeriesKind::HorizBar);
    m.set_title("男性");
    f.set_title("女性");
    for (Series* s : {&m, &f}) {
        s->set_bar_combination(mbNone);
        s->set_marks_visible(false);
    }
    m.set_colour(color_from_bgr(0xFF0000));
    f.set_colour(color_from_bgr(0x0000FF));
    m.add(-0.3, "0", color_from_bgr(0xFF0000));
    m.add(-0.2, "1", color_from_bgr(0xFF0000));
    f.add(0.25, "0", color_from_bgr(0x0000FF));
    f.add(0.25, "1", color_from_bgr(0x0000FF));
    const ChartLayout l = layout_chart(c, QSizeF(kSize));
    const QImage img = render_chart(c, kSize);
    const double zero = l.projection.map(l.value_to_model(0), 0, 0).x();
    for (int i = 0; i < 2; ++i) {
        const QRectF mb = l.series[0].bars[i].front;
        const QRectF fb = l.series[1].bars[i].front;
        EXPECT_LE(mb.right(), zero + 1e-6);
        EXPECT_GE(fb.left(), zero - 1e-6);
        EXPECT_EQ(pixel(img, mb.center()), QColor(0, 0, 255));
        EXPECT_EQ(pixel(img, fb.center()), QColor(255, 0, 0));
    }
}

TEST(Render, LineSegmentTakesItsEndPointsColour)
{
    Chart c;
    flat(c);
    Series& s = c.add_series(SeriesKind::Line);
    s.set_pen_width(7);
    for (int i = 0; i < 4; ++i) s.add(2, "", QColor(192, 192, 192));
    s.set_color_each_point(true);
    s.set_colour(Qt::red);
    s.set_point_colour(2, Qt::red);
    const ChartLayout l = layout_chart(c, QSizeF(kSize));
    const QImage img = render_chart(c, kSize);
    const auto& p = l.series[0].positions;
    EXPECT_EQ(pixel(img, (p[0] + p[1]) / 2), QColor(192, 192, 192));
    EXPECT_EQ(pixel(img, (p[1] + p[2]) / 2), QColor(255, 0, 0));  // segment into point 2
    EXPECT_EQ(pixel(img, (p[2] + p[3]) / 2), QColor(192, 192, 192));
}

TEST(Render, PointMarkerColour)
{
    Chart c;
    flat(c);
    Series& s = c.add_series(SeriesKind::Point);
    s.set_colour(Qt::red);
    s.set_pointer_size(6, 6);
    for (double v : {1.0, 2.0, 3.0, 2.5, 1.0}) s.add(v);
    s.set_point_colour(2, QColor(0, 0, 255));
    const ChartLayout l = layout_chart(c, QSizeF(kSize));
    const QImage img = render_chart(c, kSize);
    EXPECT_EQ(pixel(img, l.series[0].positions[1]), QColor(255, 0, 0));
    EXPECT_EQ(pixel(img, l.series[0].positions[2]), QColor(0, 0, 255));
}

TEST(Render, ViewSettingsChangeThePicture)
{
    Chart c;
    c.set_legend_visible(false);
    Series& s = c.add_series(SeriesKind::Bar);
    s.add(3);
    s.add(5);
    const QImage three_d = render_chart(c, kSize);
    c.set_view3d(false);
    EXPECT_NE(render_chart(c, kSize), three_d);
    c.set_view3d(true);

    c.set_rotation(300);
    const QImage r300 = render_chart(c, kSize);
    c.set_rotation(360);
    EXPECT_EQ(render_chart(c, kSize), r300);  // orthogonal: rotation has no effect
    c.set_orthogonal(false);
    const QImage n360 = render_chart(c, kSize);
    c.set_rotation(300);
    EXPECT_NE(render_chart(c, kSize), n360);

    c.set_orthogonal(true);
    c.set_chart3d_percent(1);
    const QImage d1 = render_chart(c, kSize);
    c.set_chart3d_percent(100);
    EXPECT_NE(render_chart(c, kSize), d1);

    // Gradient colours change nothing while the gradient is not visible.
    const QImage before = render_chart(c, kSize);
    c.set_gradient_start(QColor(192, 192, 192));
    c.set_gradient_end(QColor(0, 0, 128));
    EXPECT_EQ(render_chart(c, kSize), before);
    c.set_gradient_visible(true);
    EXPECT_NE(render_chart(c, kSize), before);
}

TEST(Render, BackWallSolidOrClear)
{
    for (bool three_d : {false, true}) {
        Chart c;
        flat(c);
        c.set_view3d(three_d);
        c.set_panel_colour(QColor(250, 240, 230));
        c.add_series(SeriesKind::Line);
        c.set_wall_colour(WallKind::Back, QColor(0, 0, 255));
        const ChartLayout l = layout_chart(c, QSizeF(kSize));
        // The middle of the back wall, off the grid lines.
        const QPointF centre = l.projection.map(l.model_width / 2, l.model_height / 2, l.depth) + QPointF(3, 3);
        EXPECT_EQ(pixel(render_chart(c, kSize), centre), QColor(0, 0, 255)) << three_d;
        c.set_wall_clear(WallKind::Back, true);
        EXPECT_EQ(pixel(render_chart(c, kSize), centre), QColor(250, 240, 230)) << three_d;
    }
}

TEST(Render, LeftWallColourAndThickness)
{
    Chart c;
    c.set_legend_visible(false);
    c.add_series(SeriesKind::Bar).add(1);
    c.set_wall_colour(WallKind::Left, QColor(0, 255, 0));
    c.set_wall_size(WallKind::Left, 12);
    const ChartLayout l = layout_chart(c, QSizeF(kSize));
    // The slab's front face lies left of the axis, 12 pixels thick.
    const QPointF inside = l.projection.map(-6, l.model_height / 2, 0);
    EXPECT_EQ(pixel(render_chart(c, kSize), inside), QColor(0, 255, 0));
    c.set_wall_clear(WallKind::Left, true);
    EXPECT_EQ(pixel(render_chart(c, kSize), inside), QColor(255, 255, 255));
}

TEST(Render, OddSizesNeverFail)
{
    Chart c;
    Series& s = c.add_series(SeriesKind::Bar);
    s.add(1);
    c.set_margins(-20, -20, -20, -20);
    EXPECT_FALSE(render_chart(c, kSize).isNull());
    c.set_margins(60, 60, 60, 60);  // margins wider than the chart
    EXPECT_FALSE(render_chart(c, kSize).isNull());
    EXPECT_TRUE(render_chart(c, QSize(0, 10)).isNull());
    EXPECT_TRUE(render_chart(c, QSize(-4, -4)).isNull());
    // Painting a zero or negative size draws nothing at all.
    QImage img(50, 50, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    paint_chart(p, c, QSizeF(-10, 30));
    paint_chart(p, c, QSizeF(0, 0));
    p.end();
    EXPECT_EQ(img.pixelColor(25, 25), QColor(Qt::black));
    // A widget shrunk to nothing paints without complaint.
    ChartWidget w;
    w.chart().add_series(SeriesKind::Line).add(1);
    w.resize(0, 0);
    w.repaint();
    EXPECT_TRUE(w.render_to_image().isNull());
}

TEST(Render, ManyPointsOnALine)
{
    Chart c;
    flat(c);
    Series& s = c.add_series(SeriesKind::FastLine);
    s.set_colour(Qt::red);
    for (int i = 0; i < 200000; ++i) s.add(i % 2);
    const QImage img = render_chart(c, kSize);
    const ChartLayout l = layout_chart(c, QSizeF(kSize));
    // Every column of the plot holds the full swing, so the middle of the plot is red.
    EXPECT_EQ(pixel(img, l.front_rect.center() + QPointF(0.5, 0)), QColor(255, 0, 0));
}

TEST(Output, BmpReadsBackAsTheChart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ChartWidget w;
    w.resize(300, 200);
    Series& s = w.chart().add_series(SeriesKind::Bar);
    s.add(3, "", color_from_bgr(0x0000FF));
    const QString path = dir.filePath("out.bmp");
    w.save_bmp(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(2), QByteArray("BM"));
    f.close();
    const QImage back(path);
    ASSERT_EQ(back.size(), QSize(300, 200));
    const QImage expected = w.render_to_image();
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    const QRectF bar = w.current_layout().series[0].bars[0].front;
    EXPECT_EQ(back.pixelColor(bar.center().toPoint()), QColor(255, 0, 0));

    // Saving again over the file replaces it; nothing else is left in the folder.
    w.chart().set_margins(10, 10, 10, 10);
    w.save_bmp(path);
    EXPECT_NE(QImage(path).convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.bmp"});
}

TEST(Output, BmpFailuresRaiseAndLeaveNoFile)
{
    QTemporaryDir dir;
    Chart c;
    c.add_series(SeriesKind::Line).add(1);
    const QString bad = dir.filePath("missing/out.bmp");
    EXPECT_EQ(error_text([&] { save_chart_bmp(c, QSize(100, 100), bad); }), "Cannot create file " + bad.toStdString());
    const QString zero = dir.filePath("zero.bmp");
    EXPECT_EQ(error_text([&] { save_chart_bmp(c, QSize(0, 100), zero); }), "Cannot create file " + zero.toStdString());
    EXPECT_EQ(error_text([&] { save_chart_bmp(c, QSize(100, 100), ""); }), "Cannot create file ");
    // The names every written file must keep to: no control or bidirectional characters.
    const QString escape = dir.filePath(QString::fromUtf8("a\x1B[2Jb.bmp"));
    EXPECT_EQ(error_text([&] { save_chart_bmp(c, QSize(100, 100), escape); }),
              "Invalid file name (control character): " + dir.filePath("a\\x1B[2Jb.bmp").toStdString());
    const QString rtl = dir.filePath(QString::fromUtf8("evil\u202Epmb.exe"));
    EXPECT_EQ(error_text([&] { save_chart_bmp(c, QSize(100, 100), rtl); }),
              "Invalid file name (control character): " + dir.filePath("evil\\xE2\\x80\\xAEpmb.exe").toStdString());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());

    // A failed save leaves an existing file as it was.
    const QString kept = dir.filePath("kept.bmp");
    save_chart_bmp(c, QSize(120, 80), kept);
    const QByteArray before = [&] { QFile f(kept); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    EXPECT_THROW(save_chart_bmp(c, QSize(0, 0), kept), ChartError);
    QFile f(kept);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST(Output, PrintIsLandscapeAndRestoresOrientation)
{
    QTemporaryDir dir;
    Chart c;
    c.add_series(SeriesKind::Bar).add(3);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QString path = dir.filePath("chart.pdf");
    printer.setOutputFileName(path);
    ASSERT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    print_chart_landscape(c, QSize(498, 312), printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    // The page box: A4 landscape, 842 x 595 points.
    const int at = pdf.indexOf("/MediaBox [");
    ASSERT_GE(at, 0);
    const QList<QByteArray> box = pdf.mid(at + 11, pdf.indexOf(']', at) - at - 11).simplified().split(' ');
    ASSERT_EQ(box.size(), 4);
    EXPECT_NEAR(box[2].toDouble(), 842, 0.5);
    EXPECT_NEAR(box[3].toDouble(), 595, 0.5);

    // A printer that cannot start: an error, and the orientation is still restored.
    QPrinter broken;
    broken.setOutputFormat(QPrinter::PdfFormat);
    broken.setOutputFileName(dir.filePath("missing/chart.pdf"));
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});  // Qt warns here
    const std::string err = error_text([&] { print_chart_landscape(c, QSize(100, 100), broken); });
    qInstallMessageHandler(previous);
    EXPECT_EQ(err, "Cannot create file " + dir.filePath("missing/chart.pdf").toStdString());
    EXPECT_EQ(broken.pageLayout().orientation(), QPageLayout::Portrait);
}

TEST(Widget, ReportsMousePresses)
{
    ChartWidget w;
    w.resize(200, 100);
    std::vector<Qt::MouseButton> pressed;
    int clicks = 0;
    QObject::connect(&w, &ChartWidget::mouse_pressed, [&](Qt::MouseButton b, QPoint, Qt::KeyboardModifiers) { pressed.push_back(b); });
    QObject::connect(&w, &ChartWidget::clicked, [&] { ++clicks; });
    for (Qt::MouseButton b : {Qt::RightButton, Qt::LeftButton}) test_events::click(&w, QPoint(50, 50), b);
    EXPECT_EQ(pressed, (std::vector<Qt::MouseButton>{Qt::RightButton, Qt::LeftButton}));
    EXPECT_EQ(clicks, 1);  // only the left button clicks
}

// Random settings within and beyond what the dialogs give: every chart lays out with finite
// geometry and paints without failing.
TEST(Render, RandomSettingsNeverFail)
{
    std::uint32_t seed = 12345;
    const auto next = [&seed](int lo, int hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(hi - lo + 1));
    };
    const SeriesKind kinds[] = {SeriesKind::Line, SeriesKind::FastLine, SeriesKind::Bar,
                                SeriesKind::HorizBar, SeriesKind::Point, SeriesKind::Area};
    QImage img(320, 240, QImage::Format_RGB32);
    for (int round = 0; round < 150; ++round) {
        Chart c;
        c.set_view3d(next(0, 1) == 1);
        c.set_orthogonal(next(0, 1) == 1);
        c.set_rotation(next(200, 400));
        c.set_elevation(next(200, 400));
        c.set_horiz_offset(next(-300, 300));
        c.set_vert_offset(next(-300, 300));
        c.set_chart3d_percent(next(1, 100));
        c.set_zoom(next(-10, 500));
        c.set_margins(next(-60, 60), next(-60, 60), next(-60, 60), next(-60, 60));
        c.set_wall_size(WallKind::Left, next(-5, 200));
        c.set_wall_size(WallKind::Bottom, next(0, 100000));
        c.set_wall_clear(WallKind::Back, next(0, 1) == 1);
        c.set_bevel_inner(BevelStyle::Raised);
        c.set_bevel_width(next(-3, 50));
        c.set_legend_visible(next(0, 1) == 1);
        c.set_title_text(next(0, 1) ? "标题" : "");
        c.set_left_axis_title(next(0, 1) ? "纵坐标" : "");
        const int series = next(0, 4);
        for (int s = 0; s < series; ++s) {
            Series& ser = c.add_series(kinds[next(0, 5)]);
            ser.set_bar_combination(static_cast<BarCombination>(next(0, 3)));
            ser.set_area_combination(static_cast<AreaCombination>(next(0, 2)));
            ser.set_marks_visible(next(0, 3) == 0);
            ser.set_pointer_visible(true);
            ser.set_pointer_size(next(1, 100000), next(1, 50));
            ser.set_pointer_style(next(0, 8));
            ser.set_pen_width(next(0, 20));
            const int n = next(0, 30);
            for (int i = 0; i < n; ++i) ser.add(next(-1000, 1000) / 7.0, next(0, 1) ? QString::number(i) : QString());
        }
        const QSizeF size(next(-20, 320), next(-20, 240));
        const ChartLayout l = layout_chart(c, size);
        for (const SeriesGeometry& g : l.series) {
            for (const QPointF& q : g.positions) ASSERT_TRUE(std::isfinite(q.x()) && std::isfinite(q.y())) << round;
            for (const BarGeometry& b : g.bars)
                for (const QPolygonF& f : b.faces)
                    for (const QPointF& q : f) ASSERT_TRUE(std::isfinite(q.x()) && std::isfinite(q.y())) << round;
        }
        QPainter p(&img);
        paint_chart(p, c, l);
        p.end();
    }
}

TEST(Output, ZeroSizePrintGivesAnEmptyPage)
{
    QTemporaryDir dir;
    Chart c;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("empty.pdf"));
    print_chart_landscape(c, QSize(0, 0), printer);
    EXPECT_TRUE(QFile::exists(dir.filePath("empty.pdf")));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
}
