// The chart adjustment dialog: start values, scroll events, wall pages and the shared
// wall-size counters, the orthogonal box and the colour dialogs.
#include <functional>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

#include "charts/Graph_1.h"
#include "charts/View_3D_frm1.h"
#include "platform/ui/scripted_services.h"
#include "tests/common/widget_events.h"

using namespace vantelo::charts;
using vantelo::chart::Chart;
using vantelo::chart::WallKind;
using vantelo::ui::ScopedScriptedServices;

namespace {

class AdjustmentDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        left_wall_size = bottom_wall_size = back_wall_size = 0;
        chart_pick_color = Qt::black;
        graph.show();
        dialog = new TView_3d_frm(graph.DBChart1, &graph);
        dialog->show();
    }

    Chart& chart() { return graph.chart(); }
    QToolButton* arrow(const char* name) { return dialog->findChild<QToolButton*>(name); }

    ScopedScriptedServices seam;
    TGraph graph;
    TView_3d_frm* dialog = nullptr;
};

TEST_F(AdjustmentDialogTest, ShowsItsDesignValuesNotTheChart)
{
    EXPECT_EQ(dialog->size(), QSize(293, 228));
    auto* pages = dialog->findChild<QTabWidget*>("PageControl1");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->tabText(pages->currentIndex()), "三维");
    struct Bar {
        QScrollBar* bar;
        QLabel* label;
        int min, max, pos;
        const char* text;
    };
    for (Bar b : {Bar{dialog->ScrollBar1, dialog->Label7, 270, 360, 360, "360"},
                  Bar{dialog->ScrollBar2, dialog->Label8, 270, 360, 360, "360"},
                  Bar{dialog->ScrollBar3, dialog->Label11, -100, 100, 0, "0"},
                  Bar{dialog->ScrollBar4, dialog->Label12, -100, 100, 0, "0"},
                  Bar{dialog->ScrollBar5, dialog->Label14, 1, 100, 1, "100"},
                  Bar{dialog->ScrollBar6, dialog->Label16, -1, 1, 0, "0"},
                  Bar{dialog->ScrollBar7, dialog->Label18, -1, 1, 0, "0"},
                  Bar{dialog->ScrollBar8, dialog->Label19, -1, 1, 0, "0"}}) {
        SCOPED_TRACE(b.bar->objectName().toStdString());
        EXPECT_EQ(b.bar->minimum(), b.min);
        EXPECT_EQ(b.bar->maximum(), b.max);
        EXPECT_EQ(b.bar->value(), b.pos);
        EXPECT_EQ(b.label->text(), b.text);
    }
    EXPECT_FALSE(dialog->CheckBox1->isChecked());
    EXPECT_FALSE(dialog->CheckBox2->isChecked());
    EXPECT_TRUE(dialog->CheckBox3->isChecked());
    EXPECT_FALSE(dialog->CheckBox4->isChecked());
    for (QLineEdit* e : {dialog->Edit1, dialog->Edit3, dialog->Edit4}) EXPECT_EQ(e->text(), "0");
    EXPECT_EQ(dialog->Shape1->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_EQ(dialog->Shape2->palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_EQ(dialog->Shape4->palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_EQ(dialog->Shape5->palette().color(QPalette::Window), QColor(0, 0, 128));
    // Opening changed nothing of the chart.
    EXPECT_EQ(chart().rotation(), 331);
    EXPECT_EQ(chart().chart3d_percent(), 15);
}

TEST_F(AdjustmentDialogTest, ZoomBarActsOnEveryScrollEventOfAnArrowClick)
{
    // An arrow click is a line step and an end of scroll: two events.
    test_events::click_arrow(dialog->ScrollBar6, true);
    EXPECT_EQ(dialog->Label16->text(), "1");
    EXPECT_EQ(chart().margin_left(), 3);
    EXPECT_EQ(chart().margin_top(), 3);
    EXPECT_EQ(chart().margin_right(), 3);
    EXPECT_EQ(chart().margin_bottom(), 3);
    // At the end of the bar a click still reports both events.
    test_events::click_arrow(dialog->ScrollBar6, true);
    EXPECT_EQ(chart().margin_left(), 1);
    test_events::click_arrow(dialog->ScrollBar6, false);
    EXPECT_EQ(dialog->Label16->text(), "0");
    EXPECT_EQ(chart().margin_left(), 1);
    test_events::click_arrow(dialog->ScrollBar6, false);
    EXPECT_EQ(dialog->Label16->text(), "-1");
    EXPECT_EQ(chart().margin_bottom(), 3);
}

TEST_F(AdjustmentDialogTest, DraggingReportsEachMoveThenThePositionAndTheEnd)
{
    dialog->ScrollBar6->setSliderDown(true);
    dialog->ScrollBar6->setSliderPosition(1);  // one move
    EXPECT_EQ(dialog->Label16->text(), "1");
    EXPECT_EQ(chart().margin_left(), 4);
    dialog->ScrollBar6->setSliderDown(false);  // the final position and the end of the scroll
    EXPECT_EQ(chart().margin_left(), 2);
    EXPECT_EQ(chart().margin_bottom(), 2);
}

TEST_F(AdjustmentDialogTest, DepthBarStepsByTenAndStaysInRange)
{
    test_events::click_arrow(dialog->ScrollBar5, true);
    EXPECT_EQ(chart().chart3d_percent(), 11);
    EXPECT_EQ(dialog->Label14->text(), "11");
    for (int i = 0; i < 10; ++i) test_events::click_arrow(dialog->ScrollBar5, true);
    EXPECT_EQ(chart().chart3d_percent(), 100);
    EXPECT_EQ(dialog->Label14->text(), "100");
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(AdjustmentDialogTest, RotationElevationOffsetsAndSize)
{
    // At its maximum already, a click still sets the rotation to the bar's position.
    test_events::click_arrow(dialog->ScrollBar1, true);
    EXPECT_EQ(chart().rotation(), 360);
    test_events::click_arrow(dialog->ScrollBar2, false);
    EXPECT_EQ(chart().elevation(), 359);
    EXPECT_EQ(dialog->Label8->text(), "359");
    test_events::click_arrow(dialog->ScrollBar3, true);
    EXPECT_EQ(chart().horiz_offset(), 1);
    test_events::click_arrow(dialog->ScrollBar4, false);
    EXPECT_EQ(chart().vert_offset(), -1);
    EXPECT_EQ(dialog->Label12->text(), "-1");

    const QSize before = graph.DBChart1->size();
    test_events::click_arrow(dialog->ScrollBar7, true);
    EXPECT_EQ(graph.DBChart1->size(), before + QSize(2, 0));
    test_events::click_arrow(dialog->ScrollBar8, false);
    EXPECT_EQ(graph.DBChart1->size(), before + QSize(2, -2));
}

TEST_F(AdjustmentDialogTest, WallSizesFollowTheSharedCounters)
{
    QToolButton* up = arrow("UpDown1Up");
    QToolButton* down = arrow("UpDown1Down");
    ASSERT_TRUE(up && down);
    down->click();  // cannot move below 0
    EXPECT_EQ(dialog->Edit1->text(), "0");
    EXPECT_EQ(left_wall_size, 0);
    up->click();
    up->click();
    EXPECT_EQ(dialog->Edit1->text(), "2");
    EXPECT_EQ(chart().wall(WallKind::Left).size, 2);
    down->click();
    EXPECT_EQ(left_wall_size, 1);
    up->click();
    EXPECT_EQ(left_wall_size, 2);

    // A later dialog starts at "0" but steps the shared counter.
    auto* second = new TView_3d_frm(graph.DBChart1, &graph);
    EXPECT_EQ(second->Edit1->text(), "0");
    second->findChild<QToolButton*>("UpDown1Up")->click();
    EXPECT_EQ(second->Edit1->text(), "3");
    EXPECT_EQ(chart().wall(WallKind::Left).size, 3);
    // Its down arrow can take it back only as far as it went up.
    second->findChild<QToolButton*>("UpDown1Down")->click();
    second->findChild<QToolButton*>("UpDown1Down")->click();
    EXPECT_EQ(left_wall_size, 2);

    // The up-down stops at 100 within one dialog.
    for (int i = 0; i < 101; ++i) arrow("UpDown3Up")->click();
    EXPECT_EQ(dialog->updown_position(3), 100);
    EXPECT_EQ(back_wall_size, 100);
    EXPECT_EQ(dialog->Edit4->text(), "100");
    arrow("UpDown2Up")->click();
    EXPECT_EQ(chart().wall(WallKind::Bottom).size, 1);
    EXPECT_EQ(dialog->Edit3->text(), "1");
}

TEST_F(AdjustmentDialogTest, TransparencyBoxesActOnClicksOnly)
{
    dialog->CheckBox1->click();
    EXPECT_TRUE(chart().wall(WallKind::Left).clear);
    dialog->CheckBox1->click();
    EXPECT_FALSE(chart().wall(WallKind::Left).clear);
    dialog->CheckBox3->click();  // starts checked: the click makes the back wall solid
    EXPECT_FALSE(chart().wall(WallKind::Back).clear);
    dialog->CheckBox2->setChecked(true);  // not a click
    EXPECT_FALSE(chart().wall(WallKind::Bottom).clear);
}

TEST_F(AdjustmentDialogTest, OrthogonalBoxTogglesTheChartAndTheRotationBars)
{
    chart().set_orthogonal(false);
    dialog->CheckBox4->click();
    EXPECT_TRUE(chart().orthogonal());
    EXPECT_FALSE(dialog->ScrollBar1->isEnabled());
    EXPECT_FALSE(dialog->ScrollBar2->isEnabled());
    dialog->CheckBox4->click();
    EXPECT_FALSE(chart().orthogonal());
    EXPECT_TRUE(dialog->ScrollBar1->isEnabled());
    EXPECT_TRUE(dialog->ScrollBar2->isEnabled());
}

// What the five colour pickers show and set, with the colour taken last.
struct ColourState {
    QColor walls[3], gradient_start, gradient_end, shapes[5], picked;
    bool operator==(const ColourState&) const = default;
};

TEST_F(AdjustmentDialogTest, ColourDialogOkAppliesItsColourAndCancelChangesNothing)
{
    const auto state = [&] {
        ColourState c;
        for (WallKind k : {WallKind::Left, WallKind::Bottom, WallKind::Back})
            c.walls[static_cast<int>(k)] = chart().wall(k).colour;
        c.gradient_start = chart().gradient().start;
        c.gradient_end = chart().gradient().end;
        QFrame* shapes[] = {dialog->Shape1, dialog->Shape2, dialog->Shape3, dialog->Shape4, dialog->Shape5};
        for (int i = 0; i < 5; ++i) c.shapes[i] = shapes[i]->palette().color(QPalette::Window);
        c.picked = chart_pick_color;
        return c;
    };
    struct Picker {
        const char* name;
        std::function<void()> open;
    } pickers[] = {
        {"Left Wall", [&] { dialog->findChild<QPushButton*>("BitBtn3")->click(); }},
        {"Bottom Wall", [&] { dialog->findChild<QPushButton*>("BitBtn6")->click(); }},
        {"Back Wall", [&] { dialog->findChild<QPushButton*>("BitBtn9")->click(); }},
        {"gradient start", [&] { test_events::click(dialog->Shape4, QPoint(5, 5)); }},
        {"gradient end", [&] { test_events::click(dialog->Shape5, QPoint(5, 5)); }},
    };
    // A Cancel on every picker in turn changes nothing, the colour last taken included.
    const auto cancel_each = [&] {
        chart_pick_color = Qt::green;
        for (const Picker& p : pickers) {
            SCOPED_TRACE(p.name);
            const ColourState before = state();
            seam.colour_answers = {QColor()};
            p.open();
            EXPECT_EQ(state(), before);
            EXPECT_TRUE(seam.colour_answers.empty());
        }
    };
    // A Cancel in a new dialog paints nothing black.
    cancel_each();
    // OK on a new dialog's colour: black.
    dialog->findChild<QPushButton*>("BitBtn3")->click();
    EXPECT_EQ(chart().wall(WallKind::Left).colour, QColor(0, 0, 0));
    EXPECT_EQ(chart_pick_color, QColor(0, 0, 0));
    EXPECT_EQ(dialog->Shape1->palette().color(QPalette::Window), QColor(0, 0, 0));

    seam.colour_answers = {QColor(255, 0, 0)};
    dialog->findChild<QPushButton*>("BitBtn6")->click();
    EXPECT_EQ(chart().wall(WallKind::Bottom).colour, QColor(255, 0, 0));
    EXPECT_EQ(chart_pick_color, QColor(255, 0, 0));
    // After that OK a Cancel still changes nothing, on the same picker or another.
    cancel_each();
    EXPECT_EQ(chart().wall(WallKind::Bottom).colour, QColor(255, 0, 0));
    EXPECT_NE(chart().wall(WallKind::Back).colour, QColor(255, 0, 0));
    // OK again takes the colour chosen last in this dialog.
    dialog->findChild<QPushButton*>("BitBtn9")->click();
    EXPECT_EQ(chart().wall(WallKind::Back).colour, QColor(255, 0, 0));
    EXPECT_EQ(dialog->Shape3->palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST_F(AdjustmentDialogTest, GradientShapesSetTheInvisibleGradient)
{
    const QImage before = graph.DBChart1->render_to_image();
    seam.colour_answers = {QColor(0, 255, 0), QColor(0, 0, 255)};
    test_events::click(dialog->Shape4, QPoint(5, 5));
    test_events::click(dialog->Shape5, QPoint(5, 5));
    EXPECT_EQ(chart().gradient().start, QColor(0, 255, 0));
    EXPECT_EQ(chart().gradient().end, QColor(0, 0, 255));
    EXPECT_FALSE(chart().gradient().visible);
    EXPECT_EQ(dialog->Shape5->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(graph.DBChart1->render_to_image(), before);
}

TEST_F(AdjustmentDialogTest, CancelClosesAndUndoesNothing)
{
    test_events::click_arrow(dialog->ScrollBar5, true);
    dialog->findChild<QPushButton*>("BitBtn2")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(chart().chart3d_percent(), 11);
}

}  // namespace
