// The splash window's decoration and timer, and the start-up sequence up to the main window.
#include <cmath>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include "platform/core/random.h"
#include "platform/ui/scripted_services.h"
#include "shell/Fenwo_LOGOUnit1.h"
#include "shell/app_state.h"
#include "shell/menu.h"
#include "shell/startup.h"
#include "tests/common/widget_events.h"

using namespace vantelo::shell;
using test_events::click;
using vantelo::chart::SeriesKind;

namespace {

class SplashTest : public ::testing::Test {
protected:
    void TearDown() override { vantelo::set_random_source({}); }
    vantelo::ui::ScopedScriptedServices seam;
};

TEST_F(SplashTest, DecorationDrawsTheNumbersInTurn)
{
    // A scripted generator: 63 numbers in [0, 1), taken point, bar, line, point, ...
    std::vector<double> r;
    for (int k = 0; k < 63; ++k) r.push_back(k / 63.0);
    size_t next = 0;
    vantelo::set_random_source([&] { return r.at(next++); });
    TFenwoLOGO splash;
    EXPECT_EQ(next, 63u);
    const auto& c = splash.Chart1->chart();
    ASSERT_EQ(c.series_count(), 3);
    EXPECT_EQ(c.series(0).kind(), SeriesKind::Point);
    EXPECT_EQ(c.series(1).kind(), SeriesKind::Bar);
    EXPECT_EQ(c.series(2).kind(), SeriesKind::Line);
    const double factor[3] = {6.0, 1.5, 2.0};
    for (int s = 0; s < 3; ++s) {
        SCOPED_TRACE(s);
        ASSERT_EQ(c.series(s).count(), 21);
        for (int i = 0; i < 21; ++i) {
            const auto& p = c.series(s).point(i);
            EXPECT_EQ(p.x, i);
            EXPECT_EQ(p.label, " ");
            EXPECT_NEAR(p.value, std::sin(r[3 * i + s]) * factor[s], 1e-12);
        }
    }
}

TEST_F(SplashTest, DecorationOfTheClockSeededGenerator)
{
    TFenwoLOGO splash;
    const auto& c = splash.Chart1->chart();
    // [0, sin 1) times the factor: 5.0488, 1.2622, 1.6829 (sin 1 = 0.841471).
    const double bound[3] = {6.0 * 0.8414710, 1.5 * 0.8414710, 2.0 * 0.8414710};
    const QColor drawn[3] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(255, 255, 255)};
    for (int s = 0; s < 3; ++s) {
        SCOPED_TRACE(s);
        ASSERT_EQ(c.series(s).count(), 21);
        for (int i = 0; i < 21; ++i) {
            const double v = c.series(s).point(i).value;
            EXPECT_GE(v, 0.0);
            EXPECT_LT(v, bound[s]);
            EXPECT_EQ(c.series(s).drawn_colour(i), drawn[s]);
        }
    }
    // The series keep their own colours: green bars and a yellow line show only where a point
    // has no colour of its own.
    EXPECT_EQ(c.series(1).colour(), QColor(0, 128, 0));
    EXPECT_EQ(c.series(2).colour(), QColor(255, 255, 0));
    EXPECT_FALSE(c.series(0).point(0).colour.has_value());
}

TEST_F(SplashTest, WindowAndChartAsDesigned)
{
    TFenwoLOGO splash;
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.size(), QSize(531, 339));
    EXPECT_EQ(splash.Chart1->size(), QSize(529, 337));
    EXPECT_EQ(splash.Label1->text(), "VORN");
    EXPECT_EQ(splash.Label1->parentWidget(), splash.Chart1);
    EXPECT_EQ(splash.Label1->font().pixelSize(), 96);
    const auto& c = splash.Chart1->chart();
    EXPECT_TRUE(c.gradient().visible);
    EXPECT_EQ(c.gradient().start, QColor(0, 255, 255));
    EXPECT_EQ(c.gradient().end, QColor(0, 0, 255));
    EXPECT_EQ(c.wall(vantelo::chart::WallKind::Back).colour, QColor(0, 0, 255));
    EXPECT_TRUE(c.wall(vantelo::chart::WallKind::Left).clear);
    EXPECT_TRUE(c.wall(vantelo::chart::WallKind::Bottom).clear);
    EXPECT_FALSE(c.legend_visible());
    EXPECT_EQ(c.title_lines(), QStringList{"Vantelo"});
    EXPECT_EQ(c.title_font().pixel_size, 56);
    EXPECT_EQ(c.title_font().colour, QColor(255, 255, 0));
    EXPECT_TRUE(c.title_frame_visible());
    EXPECT_EQ(c.title_frame_width(), 3);
    EXPECT_EQ(c.bevel().inner, vantelo::chart::BevelStyle::Raised);
    EXPECT_EQ(c.bevel().width, 3);
    EXPECT_TRUE(splash.Timer1->isActive());
    EXPECT_EQ(splash.Timer1->interval(), 4000);
}

TEST_F(SplashTest, TimerChartAndLabelEachStopTheGlobalSplashTimer)
{
    struct Case {
        const char* name;
        std::function<void(TFenwoLOGO&)> act;
    };
    const Case cases[] = {
        {"timer tick", [](TFenwoLOGO& s) { s.Timer1Timer(); }},
        {"click on the chart", [](TFenwoLOGO& s) { click(s.Chart1, QPoint(20, 300)); }},
        {"click on the label", [](TFenwoLOGO& s) { click(s.Label1, QPoint(10, 10)); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TFenwoLOGO splash;
        splash.show();
        FenwoLOGO = &splash;
        ASSERT_TRUE(splash.Timer1->isActive());
        k.act(splash);
        EXPECT_FALSE(splash.Timer1->isActive());
        FenwoLOGO = nullptr;
    }
}

class StartUpTest : public SplashTest {
protected:
    // The main window stand-in: records what start-up had done when it was created.
    QWidget* make_main()
    {
        ++main_windows_made;
        splash_alive_at_main = FenwoLOGO != nullptr;
        help_at_main = help_file;
        main = std::make_unique<QWidget>();
        main->setObjectName("quilta");
        return main.get();
    }
    std::unique_ptr<QWidget> main;
    int main_windows_made = 0;
    bool splash_alive_at_main = true;
    QString help_at_main;
};

TEST_F(StartUpTest, AClickEndsTheSplashAtOnceThenTheMainWindowIsCreated)
{
    bool splash_was_visible = false;
    int windows_while_splash = -1;
    QTimer::singleShot(0, [&] {
        ASSERT_NE(FenwoLOGO, nullptr);
        splash_was_visible = FenwoLOGO->isVisible();
        windows_while_splash = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) ++windows_while_splash;
        click(FenwoLOGO->Chart1, QPoint(100, 300));
    });
    QElapsedTimer clock;
    clock.start();
    QWidget* result = start_up([this] { return make_main(); });
    EXPECT_LT(clock.elapsed(), 2000);  // far less than the timer's 4000 ms
    EXPECT_TRUE(splash_was_visible);
    EXPECT_EQ(windows_while_splash, 1);
    EXPECT_EQ(result, main.get());
    EXPECT_EQ(main_windows_made, 1);
    EXPECT_FALSE(splash_alive_at_main);
    EXPECT_EQ(help_at_main, "C:\\VORN_Help\\VORN.HLP");
    EXPECT_EQ(FenwoLOGO, nullptr);
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<TFenwoLOGO*>(w), nullptr);
}

TEST_F(StartUpTest, TheTimerEndsTheWait)
{
    QTimer::singleShot(0, [] { FenwoLOGO->Timer1Timer(); });
    QWidget* result = start_up([this] { return make_main(); });
    EXPECT_EQ(result, main.get());
    EXPECT_EQ(FenwoLOGO, nullptr);
}

TEST_F(StartUpTest, AnErrorFreesTheSplashAndEndsStartUp)
{
    vantelo::set_random_source([]() -> double { throw vantelo::RangeError(); });
    EXPECT_THROW(start_up([this] { return make_main(); }), vantelo::RangeError);
    EXPECT_EQ(FenwoLOGO, nullptr);
    EXPECT_EQ(main_windows_made, 0);
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<TFenwoLOGO*>(w), nullptr);
}

TEST_F(StartUpTest, TheProgramsMainWindowComesAfterTheSplash)
{
    reset_app_state();
    QTimer::singleShot(0, [] { FenwoLOGO->Timer1Timer(); });
    std::unique_ptr<QWidget> made(start_up([] { return new Tquilta; }));
    auto* main_window = qobject_cast<Tquilta*>(made.get());
    ASSERT_NE(main_window, nullptr);
    EXPECT_EQ(quilta, main_window);
    EXPECT_EQ(FenwoLOGO, nullptr);
    EXPECT_EQ(help_file, "C:\\VORN_Help\\VORN.HLP");
    EXPECT_FALSE(main_window->isVisible());  // the message loop shows it
    made.reset();
    reset_app_state();
}

TEST_F(StartUpTest, TheMessageLoopRunsUntilTheMainWindowCloses)
{
    QTimer::singleShot(0, [] { FenwoLOGO->Timer1Timer(); });
    bool shown_in_loop = false;
    QList<QWidget*> windows_in_loop;
    auto* window = new QWidget;  // freed by run_application
    QPointer<QWidget> watch(window);
    const int rc = run_application([&]() -> QWidget* {
        QTimer::singleShot(0, window, [&, window] {
            shown_in_loop = window->isVisible();
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible()) windows_in_loop << w;
            window->close();
        });
        return window;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(shown_in_loop);
    EXPECT_EQ(windows_in_loop, QList<QWidget*>{window});
    EXPECT_TRUE(watch.isNull());
}

TEST_F(StartUpTest, AnErrorInStartUpIsShownAndEndsTheProgram)
{
    vantelo::set_random_source([]() -> double { throw vantelo::RangeError(); });
    EXPECT_EQ(run_application([this] { return make_main(); }), 1);
    EXPECT_EQ(seam.message_texts(), QStringList{"Range check error"});
    EXPECT_EQ(main_windows_made, 0);
}

}  // namespace
