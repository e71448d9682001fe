// The chart window: enlarge and reduce, the resize layout, 保存, 打印, 取消, the right-button
// adjustment dialog and the year-stepped age pyramid.
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "charts/Graph_1.h"
#include "charts/View_3D_frm1.h"
#include "platform/chart/chart_layout.h"
#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "tests/common/widget_events.h"

using namespace vantelo::charts;
using vantelo::chart::Chart;
using vantelo::chart::color_from_bgr;
using vantelo::chart::SeriesKind;
using vantelo::ui::ScopedScriptedServices;

namespace {

struct Margins {
    int left, top, right, bottom;
    bool operator==(const Margins&) const = default;
};

Margins margins(const Chart& c) { return {c.margin_left(), c.margin_top(), c.margin_right(), c.margin_bottom()}; }

class ChartWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pyramid_year_cursor = 0;
        set_pyramid_source(nullptr);
        set_chart_printer(nullptr);
        vantelo::ui::set_window_runner([this](QWidget* w, bool modal) {
            EXPECT_TRUE(modal);
            modal_shown.push_back(qobject_cast<QDialog*>(w));
            return static_cast<int>(QDialog::Rejected);
        });
    }
    void TearDown() override
    {
        vantelo::ui::set_window_runner({});
        set_pyramid_source(nullptr);
        set_chart_printer(nullptr);
    }

    // Prints in portrait into a PDF file, as the chart windows' printer.
    void use_pdf_printer(QPrinter& printer, const QString& file)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setOutputFileName(file);
        set_chart_printer(&printer);
    }

    ScopedScriptedServices seam;
    std::vector<QDialog*> modal_shown;
    QTemporaryDir dir;
};

TEST_F(ChartWindowTest, DesignSettingsOfANewWindow)
{
    TGraph w;
    EXPECT_EQ(w.windowTitle(), "Graph");
    EXPECT_EQ(w.size(), QSize(498, 362));
    const Chart& c = w.chart();
    EXPECT_EQ(margins(c), (Margins{5, 5, 5, 5}));
    EXPECT_TRUE(c.view3d());
    EXPECT_TRUE(c.orthogonal());
    EXPECT_EQ(c.rotation(), 331);
    EXPECT_EQ(c.elevation(), 353);
    EXPECT_EQ(c.zoom(), 98);
    EXPECT_EQ(c.chart3d_percent(), 15);
    EXPECT_FALSE(c.gradient().visible);
    EXPECT_EQ(c.gradient().start, QColor(192, 192, 192));
    EXPECT_EQ(c.gradient().end, QColor(0, 128, 255));  // $FF8000
    EXPECT_TRUE(c.wall(vantelo::chart::WallKind::Back).clear);
    EXPECT_EQ(c.title_lines(), QStringList{QString()});
    EXPECT_TRUE(c.legend_visible());
    EXPECT_FALSE(w.Button1->isVisibleTo(&w));
    EXPECT_FALSE(w.Button2->isVisibleTo(&w));
    EXPECT_EQ(w.Button1->text(), "<<<");
    EXPECT_EQ(w.Button2->text(), ">>>|");
    EXPECT_EQ(w.SaveDialog1.default_ext, "bmp");
    EXPECT_EQ(w.SaveDialog1.filter, "BMP|*.bmp");
}

TEST_F(ChartWindowTest, EnlargeAndReduceStepEveryMarginWithoutBound)
{
    TGraph w;
    for (int i = 0; i < 6; ++i) w.BitBtn1->click();
    EXPECT_EQ(margins(w.chart()), (Margins{-1, -1, -1, -1}));
    w.BitBtn2->click();
    w.BitBtn2->click();
    EXPECT_EQ(margins(w.chart()), (Margins{1, 1, 1, 1}));
}

TEST_F(ChartWindowTest, LayoutOnResize)
{
    // Resource widths 48, 48, 61, 53, 46; BitBtn1 left = (CW - 48 - 61 - 53 - 46 - 50) / 2,
    // truncated toward zero.
    struct Case {
        const char* name;
        int cw, ch;
        int b1, b2, b3, b5, b6;
    };
    for (Case k : {Case{"client 600 x 400", 600, 400, 171, 229, 300, 451, 524},
                   Case{"client 201 x 300, odd negative half", 201, 300, -28, 30, 101, 52, 125}}) {
        SCOPED_TRACE(k.name);
        TGraph w;
        w.resize(k.cw, k.ch);
        w.FormResize();
        EXPECT_EQ(w.Panel1->geometry(), QRect(0, 0, k.cw, k.ch));
        EXPECT_EQ(w.DBChart1->size(), QSize(k.cw - 15, k.ch - 50));
        EXPECT_EQ(w.BitBtn1->pos(), QPoint(k.b1, k.ch - 30));
        EXPECT_EQ(w.BitBtn2->pos(), QPoint(k.b2, k.ch - 30));
        EXPECT_EQ(w.BitBtn3->pos(), QPoint(k.b3, k.ch - 30));
        EXPECT_EQ(w.BitBtn5->pos(), QPoint(k.b5, k.ch - 30));
        EXPECT_EQ(w.BitBtn6->pos(), QPoint(k.b6, k.ch - 30));
        EXPECT_EQ(w.Button1->pos(), QPoint(k.cw - 15 - 60, k.ch - 50 - 60));
        EXPECT_EQ(w.Button2->pos(), QPoint(k.cw - 15 - 60, k.ch - 50 - 30));
    }
}

TEST_F(ChartWindowTest, TinyWindowPaintsNothingAndDoesNotFail)
{
    TGraph w;
    w.chart().add_series(SeriesKind::Bar).add(3);
    w.resize(10, 10);
    w.FormResize();
    EXPECT_EQ(w.DBChart1->size(), QSize(0, 0));
    w.show();
    w.DBChart1->repaint();
    EXPECT_TRUE(w.DBChart1->render_to_image().isNull());
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ChartWindowTest, SaveWritesTheChartAsBmpAndACancelWritesNothing)
{
    TGraph w;
    w.resize(400, 300);
    w.FormResize();
    w.chart().set_view3d(false);
    w.chart().add_series(SeriesKind::Bar).add(3, "a", color_from_bgr(0x0000FF));
    const QString base = dir.filePath("out");

    // Cancel before any name: nothing is written.
    seam.save_answers = {QString()};
    w.BitBtn3->click();
    EXPECT_EQ(seam.save_dialogs, 1);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // A name without extension takes the dialog's default one.
    seam.save_answers = {base};
    w.BitBtn3->click();
    const QString file = base + ".bmp";
    ASSERT_TRUE(QFile::exists(file));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(2), QByteArray("BM"));
    f.close();
    QImage first(file, "BMP");
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.size(), w.DBChart1->size());
    EXPECT_EQ(first.convertToFormat(QImage::Format_RGB32), w.DBChart1->render_to_image());
    // The corner is the chart's white panel.
    EXPECT_EQ(first.pixelColor(1, 1), QColor(255, 255, 255));
    // A colour at a point taken from the layout: the red bar's centre.
    const auto layout = w.DBChart1->current_layout();
    ASSERT_EQ(layout.series.size(), 1u);
    ASSERT_EQ(layout.series[0].bars.size(), 1u);
    const QPoint centre = layout.series[0].bars[0].front.center().toPoint();
    EXPECT_EQ(first.pixelColor(centre), QColor(255, 0, 0));

    // A Cancel after a save leaves that file as it was, although the picture has changed; the
    // dialog keeps the name, and OK on it writes the new picture.
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray first_bytes = saved.readAll();
    saved.close();
    for (int i = 0; i < 10; ++i) w.BitBtn1->click();
    ASSERT_NE(w.DBChart1->render_to_image(), first.convertToFormat(QImage::Format_RGB32));
    seam.save_answers = {QString()};
    w.BitBtn3->click();
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), first_bytes);
    saved.close();
    EXPECT_EQ(w.SaveDialog1.file_name, file);
    seam.save_answers.clear();  // OK on the name the dialog holds
    w.BitBtn3->click();
    QImage second(file, "BMP");
    EXPECT_EQ(second.convertToFormat(QImage::Format_RGB32), w.DBChart1->render_to_image());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.bmp"});
    EXPECT_EQ(seam.save_dialogs, 4);
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ChartWindowTest, SaveFailuresShowTheFileErrorAndWriteNothing)
{
    struct Case {
        const char* name;
        QString path;
        QSize client;
    };
    const QString missing_dir = dir.filePath("no such dir/x.bmp");
    const QString zero = dir.filePath("zero.bmp");
    for (const Case& k : {Case{"folder that does not exist", missing_dir, QSize(400, 300)},
                          Case{"chart shrunk to nothing", zero, QSize(10, 10)}}) {
        SCOPED_TRACE(k.name);
        seam.clear();
        TGraph w;
        w.resize(k.client);
        w.FormResize();
        seam.save_answers = {k.path};
        w.BitBtn3->click();
        EXPECT_EQ(seam.message_texts(), QStringList{"Cannot create file " + k.path});
        EXPECT_FALSE(QFile::exists(k.path));
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ChartWindowTest, PrintIsLandscapeAndRestoresTheOrientation)
{
    TGraph w;
    w.resize(400, 300);
    w.FormResize();
    QPrinter printer;
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QString pdf = dir.filePath("print.pdf");
    use_pdf_printer(printer, pdf);

    w.BitBtn5->click();  // OK in the print dialog
    EXPECT_EQ(seam.print_dialogs, 1);
    EXPECT_TRUE(seam.messages.empty());
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    // A4 landscape: 842 x 595 points.
    const QRegularExpressionMatch box =
        QRegularExpression(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])").match(QString::fromLatin1(bytes));
    ASSERT_TRUE(box.hasMatch());
    EXPECT_NEAR(box.captured(1).toDouble(), 842, 0.5);
    EXPECT_NEAR(box.captured(2).toDouble(), 595, 0.5);
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 1);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
}

// A Cancel in the print dialog prints nothing: at the first print of a window, and after an
// earlier print, whose file stays as it was.
TEST_F(ChartWindowTest, PrintCancelledPrintsNothing)
{
    TGraph w;
    w.resize(400, 300);
    w.FormResize();
    QPrinter printer;
    const QString pdf = dir.filePath("print.pdf");
    use_pdf_printer(printer, pdf);

    seam.print_answers = {false};
    w.BitBtn5->click();
    EXPECT_FALSE(QFile::exists(pdf));

    seam.print_answers = {true};
    w.BitBtn5->click();
    ASSERT_TRUE(QFile::exists(pdf));
    // Marks the earlier printout, so that any new one would show.
    {
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("earlier printout");
    }
    seam.print_answers = {false};
    w.BitBtn5->click();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("earlier printout"));
    EXPECT_EQ(seam.print_dialogs, 3);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ChartWindowTest, PrintFailureShowsAnErrorAndRestoresTheOrientation)
{
    TGraph w;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setOutputFileName(dir.filePath("no such dir/print.pdf"));
    set_chart_printer(&printer);
    // Qt may warn about the file it cannot open.
    QtMessageHandler previous = qInstallMessageHandler(nullptr);
    w.BitBtn5->click();
    qInstallMessageHandler(previous);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].kind, vantelo::ui::ScriptedServices::Message::Error);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_FALSE(QFile::exists(dir.filePath("no such dir/print.pdf")));
}

TEST_F(ChartWindowTest, CloseFreesTheSeriesHidesThePyramidButtonsAndKeepsTheWindow)
{
    PyramidArrays src;
    src.base = 2000;
    src.years = 1;
    src.male = {{-0.5}};
    src.female = {{0.5}};
    set_pyramid_source(&src);
    pyramid_year_cursor = 1;
    TGraph w;
    w.Button1->click();
    ASSERT_TRUE(w.isVisible());
    ASSERT_EQ(w.chart().series_count(), 2);
    w.BitBtn6->click();
    EXPECT_EQ(w.chart().series_count(), 0);
    EXPECT_FALSE(w.Button1->isVisibleTo(&w));
    EXPECT_FALSE(w.Button2->isVisibleTo(&w));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

TEST_F(ChartWindowTest, RightButtonOpensTheAdjustmentDialogNonOrthogonal)
{
    TGraph w;
    w.show();
    test_events::press(w.DBChart1, QPoint(50, 50), Qt::LeftButton);
    test_events::release(w.DBChart1, QPoint(50, 50), Qt::LeftButton);
    EXPECT_TRUE(modal_shown.empty());
    EXPECT_TRUE(w.chart().orthogonal());

    test_events::press(w.DBChart1, QPoint(50, 50), Qt::RightButton);
    ASSERT_EQ(modal_shown.size(), 1u);
    auto* dialog = qobject_cast<TView_3d_frm*>(modal_shown[0]);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(View_3d_frm.data(), dialog);
    EXPECT_EQ(dialog->windowTitle(), "图形调整");
    EXPECT_TRUE(dialog->ScrollBar1->isEnabled());
    EXPECT_TRUE(dialog->ScrollBar2->isEnabled());
    EXPECT_FALSE(dialog->CheckBox4->isChecked());
    EXPECT_FALSE(w.chart().orthogonal());

    // It acts on this chart.
    dialog->ScrollBar1Scroll(300);
    EXPECT_EQ(w.chart().rotation(), 300);

    // Each right press makes another dialog.
    test_events::press(w.DBChart1, QPoint(50, 50), Qt::RightButton);
    ASSERT_EQ(modal_shown.size(), 2u);
    EXPECT_NE(modal_shown[1], modal_shown[0]);
}

TEST_F(ChartWindowTest, ChartWindowOwnedByAWindowIsItsChildAndGraphNamesTheNewest)
{
    QDialog viewer;
    auto* first = new TGraph(&viewer);
    EXPECT_EQ(first->parentWidget(), &viewer);
    EXPECT_TRUE(first->isWindow());
    EXPECT_EQ(Graph, first);
    auto* second = new TGraph(&viewer);
    EXPECT_EQ(Graph, second);
    EXPECT_TRUE(first->isHidden() && second->isHidden());  // created hidden
    delete second;
    EXPECT_EQ(Graph, nullptr);
}

// The pyramid frames: what the chart shows at each pause, and after the click.
struct Frame {
    int delay;  // 0: the frame after the click, with no pause
    QString title;
    std::vector<double> male, female;
    bool operator==(const Frame&) const = default;
};

void PrintTo(const Frame& f, std::ostream* os)
{
    *os << "{" << f.delay << ", " << f.title.toStdString() << ", " << f.male.size() << " + " << f.female.size()
        << " bars}";
}

class PyramidTest : public ChartWindowTest {
protected:
    void SetUp() override
    {
        ChartWindowTest::SetUp();
        // Two ages, three years; male shares negative.
        src.base = 2000;
        src.years = 3;
        src.male = {{-0.10, -0.11, -0.12}, {-0.20, -0.21, -0.22}};
        src.female = {{0.30, 0.31, 0.32}, {0.40, 0.41, 0.42}};
        set_pyramid_source(&src);
        seam.on_pause = [this](int ms) {
            EXPECT_TRUE(w.isVisible()) << "a frame must be on screen before its pause";
            frames.push_back(snapshot(ms));
        };
    }

    Frame snapshot(int delay)
    {
        Frame f{delay, w.chart().title_lines().join("\n"), {}, {}};
        if (w.chart().series_count() == 2) {
            for (const auto& p : w.chart().series(0).points()) f.male.push_back(p.value);
            for (const auto& p : w.chart().series(1).points()) f.female.push_back(p.value);
        }
        return f;
    }

    Frame year(int delay, int calendar_year, int j)
    {
        return {delay, QString::number(calendar_year) + " 年龄结构金字塔", {src.male[0][j], src.male[1][j]},
                {src.female[0][j], src.female[1][j]}};
    }

    // Clicks a button and returns the frames it showed, the final one with delay 0.
    std::vector<Frame> click(QPushButton* b)
    {
        frames.clear();
        b->click();
        frames.push_back(snapshot(0));
        return frames;
    }

    PyramidArrays src;
    TGraph w;
    std::vector<Frame> frames;
};

TEST_F(PyramidTest, SetUpBeforeEitherButton)
{
    pyramid_year_cursor = 3;
    w.chart().add_series(SeriesKind::Line).add(1);
    w.Button1->click();
    const Chart& c = w.chart();
    EXPECT_TRUE(w.Button1->isVisible());
    EXPECT_TRUE(w.Button2->isVisible());
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(c.view3d());
    EXPECT_EQ(c.title_font().point_size, 18);
    EXPECT_EQ(c.title_font().colour, QColor(0, 0, 0));
    ASSERT_EQ(c.series_count(), 2);
    struct Expect {
        const char* title;
        QColor colour;
    };
    const Expect expect[] = {{"男性", QColor(0, 0, 255)}, {"女性", QColor(255, 0, 0)}};
    for (int i = 0; i < 2; ++i) {
        const auto& s = c.series(i);
        EXPECT_EQ(s.kind(), SeriesKind::HorizBar);
        EXPECT_EQ(s.title(), QString::fromUtf8(expect[i].title));
        EXPECT_EQ(s.colour(), expect[i].colour);
        EXPECT_EQ(s.bar_combination(), vantelo::chart::mbNone);
        EXPECT_FALSE(s.marks_visible());
        ASSERT_EQ(s.count(), 2);
        EXPECT_EQ(s.point(0).label, "0");
        EXPECT_EQ(s.point(1).label, "1");
        EXPECT_EQ(s.drawn_colour(1), expect[i].colour);
    }
}

TEST_F(PyramidTest, OneYearBackStepsFromTheLastYearAndWraps)
{
    pyramid_year_cursor = 3;  // as the viewer leaves it
    const Frame empty{pyramid_frame_delay, "年龄结构金字塔", {}, {}};
    struct Step {
        int year, j, cursor_after;
    };
    for (Step s : {Step{2003, 2, 2}, Step{2002, 1, 1}, Step{2001, 0, 3}, Step{2003, 2, 2}}) {
        SCOPED_TRACE(s.year);
        EXPECT_EQ(click(w.Button1), (std::vector<Frame>{empty, year(0, s.year, s.j)}));
        EXPECT_EQ(pyramid_year_cursor, s.cursor_after);
    }
}

TEST_F(PyramidTest, ReplayShowsEveryYearThenTheLastAgain)
{
    pyramid_year_cursor = 1;
    EXPECT_EQ(click(w.Button2), (std::vector<Frame>{year(300, 2001, 0), year(300, 2002, 1), year(300, 2003, 2),
                                                    year(0, 2003, 2)}));
    EXPECT_EQ(pyramid_year_cursor, 3);

    src.years = 1;
    EXPECT_EQ(click(w.Button2), (std::vector<Frame>{year(300, 2001, 0), year(0, 2001, 0)}));
    EXPECT_EQ(pyramid_year_cursor, 1);
}

TEST_F(PyramidTest, MaleBarsDrawBlueLeftOfTheFemaleRedBars)
{
    pyramid_year_cursor = 1;
    w.Button1->click();
    const auto layout = w.DBChart1->current_layout();
    const QImage image = w.DBChart1->render_to_image();
    ASSERT_EQ(layout.series.size(), 2u);
    for (int x = 0; x < 2; ++x) {
        const QRectF male = layout.series[0].bars.at(x).front;
        const QRectF female = layout.series[1].bars.at(x).front;
        EXPECT_LE(male.right(), female.left() + 1);
        EXPECT_EQ(image.pixelColor(male.center().toPoint()), QColor(0, 0, 255));
        EXPECT_EQ(image.pixelColor(female.center().toPoint()), QColor(255, 0, 0));
    }
    // Age 1's bars (shares 0.20 and 0.40) are longer than age 0's (0.10 and 0.30).
    EXPECT_GT(layout.series[0].bars[1].front.width(), layout.series[0].bars[0].front.width());
}

TEST_F(PyramidTest, TheButtonsReadTheWorkspaceAtTheClick)
{
    pyramid_year_cursor = 3;
    w.Button1->click();
    src.base = 2010;  // a new projection ran meanwhile
    EXPECT_EQ(click(w.Button1).back(), year(0, 2012, 1));
}

TEST_F(PyramidTest, NoProjectedYearOrACursorOutsideTheYearsIsARangeError)
{
    src.years = 0;
    w.Button2->click();
    EXPECT_EQ(seam.message_texts(), QStringList{"Range check error"});

    seam.clear();
    src.years = 3;
    pyramid_year_cursor = 5;  // left by a longer projection
    w.Button1->click();
    EXPECT_EQ(seam.message_texts(), QStringList{"Range check error"});
    EXPECT_EQ(pyramid_year_cursor, 5);
}

TEST_F(ChartWindowTest, ShowFramePausesThroughTheSeam)
{
    TGraph w;
    w.show_frame(result_frame_delay);
    w.show_frame(0);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(seam.pauses, (std::vector<int>{400}));
}

}  // namespace
