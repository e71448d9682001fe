#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <map>

#include "charts/Graph_1.h"
#include "platform/chart/chart.h"
#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "projection/Single_Region_frm1.h"
#include "projection/pop_data_resultFrm1.h"
#include "projection/pop_result_Frm1.h"
#include "projection/projection_links.h"
#include "projection_table.h"
#include "tests/common/widget_events.h"

using namespace vantelo;
using namespace vantelo::projection;
using Lines = std::vector<std::string>;

namespace {

// A workspace as a run of two years from 2000 to 2002 over three ages leaves it.
struct ViewerFixture {
    ui::ScopedScriptedServices services;
    TSingle_Region_frm form;
    Tpop_result_Form1 viewer;
    std::vector<Lines> reports;  // the lines of every text window shown
    std::vector<Tpop_data_resultForm1*> windows;

    ViewerFixture()
    {
        reset_projection_workspace();
        Single_Region_frm = &form;
        form.findChild<QSpinBox*>("SpinEdit11")->setValue(2002);
        ProjectionWorkspace& ws = projection_workspace();
        ws.age_group_count = 3;
        ws.proj_year_count = 2;
        for (k_ar* s : ws.result_series()) s->assign(2, 0.0);
        ws.res_total_pop = {166362, 164684};
        ws.res_births = {2.5, 3.5};
        ws.res_pop_0_14 = {0, 82342};
        ws.res_male_15_64 = {5, 6};
        ws.pop_male = {985.5, 10, 2};
        ws.pop_female = {1000, 11, 3};
        ws.res_parameters.assign(2, year_param_rec{});
        ws.res_pyramid_male = {{-0.2, -0.3}, {-0.2, -0.1}, {-0.1, -0.1}};
        ws.res_pyramid_female = {{0.2, 0.2}, {0.2, 0.2}, {0.1, 0.1}};
        ui::set_window_runner([this](QWidget* d, bool) {
            if (auto* t = qobject_cast<Tpop_data_resultForm1*>(d)) {
                EXPECT_EQ(pop_data_resultForm1, t);  // the newest window is named before it shows
                EXPECT_TRUE(windows.empty() || windows.back() != t);
                windows.push_back(t);
                reports.push_back(t->lines());
            }
            return 0;
        });
    }
    ~ViewerFixture()
    {
        ui::set_window_runner({});
        Single_Region_frm = nullptr;
    }
    QComboBox* box() { return viewer.ComboBox1(); }
    void choose(int k) { test_events::pick(box(), k); }
    void show_button() { viewer.BitBtn2()->click(); }
};

}  // namespace

TEST(ResultViewer, StartsWithTheTotalTextAndNoEntryChosen)
{
    ViewerFixture f;
    EXPECT_EQ(f.viewer.windowTitle(), "预测结果");
    EXPECT_EQ(f.box()->count(), 45);
    EXPECT_EQ(f.box()->currentIndex(), -1);
    EXPECT_EQ(f.box()->currentText(), "总人口数");
    EXPECT_TRUE(f.viewer.RadioButton12()->isChecked());
    f.show_button();
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(f.reports[0], (Lines{"", "总人口数", "2001    166362", "2002    164684"}));
    EXPECT_EQ(charts::pyramid_year_cursor, 2);
}

TEST(ResultViewer, TypedTextHeadsATotalPopulationReport)
{
    ViewerFixture f;
    f.choose(15);
    // the user types into the box
    f.box()->lineEdit()->setText("出生人数x");
    emit f.box()->lineEdit()->textEdited("出生人数x");
    EXPECT_EQ(f.viewer.selected_indicator(), -1);
    EXPECT_EQ(f.box()->count(), 45);  // typed text is never added
    f.show_button();
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(f.reports[0][1], "出生人数x");
    EXPECT_EQ(f.reports[0][2], "2001    166362");
}

TEST(ResultViewer, ChosenEntriesGiveTheirReports)
{
    ViewerFixture f;
    f.choose(15);  // births, rounded half to even
    f.show_button();
    f.choose(21);  // the end year's age structure
    f.show_button();
    f.choose(6);   // share of ages 0-14
    f.show_button();
    ASSERT_EQ(f.reports.size(), 3u);
    EXPECT_EQ(f.reports[0], (Lines{"", "出生人数", "2001    2", "2002    4"}));
    EXPECT_EQ(f.reports[1],
              (Lines{"", "2002年 年龄结构", "年龄  男性        女性", "0  986   1000", "1  10   11", "2  2   3"}));
    EXPECT_EQ(f.reports[2], (Lines{"", "0--14岁人口比重", "2001    0", "2002    0.5"}));
    EXPECT_EQ(pop_data_resultForm1, f.windows.back());  // one window per request
}

TEST(ResultViewer, AShareOfAnEmptyYearEndsTheRequestBeforeAWindowShows)
{
    ViewerFixture f;
    projection_workspace().res_total_pop = {1, 0};
    projection_workspace().res_pop_elderly = {1, 1};
    f.choose(8);
    f.show_button();
    EXPECT_TRUE(f.reports.empty());
    EXPECT_EQ(f.services.message_texts(), QStringList{"Floating point division by zero"});
}

TEST(ResultViewer, ChartModesOpenChildWindows)
{
    ViewerFixture f;
    f.viewer.RadioButton15()->click();
    EXPECT_FALSE(f.viewer.RadioButton12()->isChecked());
    f.choose(15);
    f.show_button();
    charts::TGraph* bars = charts::Graph;
    ASSERT_TRUE(bars);
    EXPECT_EQ(bars->parent(), &f.viewer);
    ASSERT_EQ(bars->chart().series_count(), 1);
    EXPECT_EQ(bars->chart().series(0).count(), 2);
    EXPECT_EQ(bars->chart().series(0).point(0).value, 2.5);  // not rounded
    EXPECT_EQ(bars->chart().series(0).point(1).label, "2002");
    EXPECT_EQ(bars->chart().title_lines().join(""), "出生人数");
    EXPECT_EQ(f.services.pauses, (std::vector<int>{400, 400}));

    // indicators 32 to 35 draw nothing and leave the newest chart window as it was
    f.viewer.RadioButton1()->click();
    for (int k = 32; k <= 35; ++k) {
        f.choose(k);
        f.show_button();
    }
    EXPECT_EQ(charts::Graph, bars);
    EXPECT_EQ(f.services.pauses.size(), 2u);

    // the age structure is a pyramid in both chart modes
    f.choose(21);
    f.show_button();
    ASSERT_NE(charts::Graph, bars);
    EXPECT_EQ(charts::Graph->parent(), &f.viewer);
    EXPECT_TRUE(charts::Graph->Button1->isVisibleTo(charts::Graph));
    EXPECT_EQ(charts::Graph->chart().title_lines().join(""), "2002 年龄结构金字塔");
    EXPECT_EQ(f.services.pauses, (std::vector<int>{400, 400, 300, 300}));
    EXPECT_TRUE(f.reports.empty());
}

TEST(ResultViewer, CancelWhitensTheMainGridAndCloses)
{
    ViewerFixture f;
    ProjectionTable table(3, [](int) { return InputRow{1, 1, 0.1, 0.1, 0}; });
    std::map<QString, QColor> colours;
    set_main_window_link({&table.table, [&](const QString& n, const QColor& c) { colours[n] = c; }});
    f.viewer.show();
    f.viewer.BitBtn1()->click();
    set_main_window_link({});
    EXPECT_EQ(colours.size(), 6u);  // every column of the table, whatever its colour was
    for (const auto& [name, c] : colours) EXPECT_EQ(c, QColor(255, 255, 255)) << name.toStdString();
    EXPECT_FALSE(f.viewer.isVisible());
    EXPECT_EQ(f.viewer.result(), QDialog::Rejected);
}
