// The urban/rural result viewer: the 30 entries, their text layouts and the three pyramids'
// frames through the pause seam.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <sstream>

#include "charts/Graph_1.h"
#include "platform/chart/chart.h"
#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "projection/engine/workspace.h"
#include "projection/pop_data_resultFrm1.h"
#include "tests/common/widget_events.h"
#include "urban_rural/engine/urban_workspace.h"
#include "urban_rural/multi_pop_Frm1.h"
#include "urban_rural/multi_result_Frm1.h"

using namespace vantelo;
using namespace vantelo::projection;
using namespace vantelo::urban_rural;
using Lines = std::vector<std::string>;

namespace {

// Both parts as a run of three years from 1990 to 1993 over three ages leaves them.
struct ViewerFixture {
    ui::ScopedScriptedServices services;
    Tmulti_pop_Frm form;
    Tmulti_result_Frm viewer;
    std::vector<Lines> reports;
    // Per pause: the chart's title and the male bars of the frame.
    std::vector<QString> frame_titles;

    ViewerFixture()
    {
        reset_projection_workspace();
        reset_urban_workspace();
        multi_pop_Frm = &form;
        form.findChild<QSpinBox*>("SpinEdit17")->setValue(1993);
        ProjectionWorkspace& r = projection_workspace();
        ProjectionWorkspace& u = urban_workspace().urban;
        r.age_group_count = 3;
        r.proj_year_count = 3;
        r.res_total_pop = {600, 610, 620};
        r.res_male_pop = {300, 305, 310};
        r.res_female_pop = {300, 305, 310};
        r.res_pop_0_14 = {150, 151, 152};
        r.res_pop_working_age = {300, 301, 302};
        r.res_pop_elderly = {150, 158, 166};
        u.res_total_pop = {400, 405, 0.5};
        u.res_male_pop = {200, 202, 0.25};
        u.res_female_pop = {200, 203, 0.25};
        u.res_pop_0_14 = {50, 51, 0.5};
        u.res_pop_working_age = {250, 251, 0};
        u.res_pop_elderly = {100, 103, 0};
        r.pop_male = {10.5, 20, 30};
        r.pop_female = {11, 21, 31};
        u.pop_male = {1, 2.5, 3};
        u.pop_female = {0.5, 0, 1};
        auto pyramid = [](double m) { return k_grid{{-m, -m, -m}, {-m, -m, -m}, {-m, -m, -m}}; };
        r.res_pyramid_male = pyramid(0.1);
        r.res_pyramid_female = pyramid(-0.2);
        u.res_pyramid_male = pyramid(0.3);
        u.res_pyramid_female = pyramid(-0.3);
        urban_workspace().res_all_pyramid_male = pyramid(0.15);
        urban_workspace().res_all_pyramid_female = pyramid(-0.25);
        ui::set_window_runner([this](QWidget* d, bool) {
            if (auto* t = qobject_cast<Tpop_data_resultForm1*>(d)) reports.push_back(t->lines());
            return 0;
        });
        services.on_pause = [this](int) {
            frame_titles.push_back(charts::Graph ? charts::Graph->chart().title_lines().join("") : QString());
        };
    }
    ~ViewerFixture()
    {
        ui::set_window_runner({});
        multi_pop_Frm = nullptr;
    }
    void choose(int k) { test_events::pick(viewer.ComboBox1(), k); }
    void show_button() { viewer.BitBtn2()->click(); }
};

}  // namespace

TEST(UrbanViewer, StartsWithTheWholeRegionTotal)
{
    ViewerFixture f;
    EXPECT_EQ(f.viewer.windowTitle(), "预测结果");
    ASSERT_EQ(f.viewer.ComboBox1()->count(), 30);
    EXPECT_EQ(f.viewer.ComboBox1()->itemText(26), "城市老年人口比重");
    EXPECT_EQ(f.viewer.ComboBox1()->itemText(29), "城市人口年龄结构");
    EXPECT_EQ(f.viewer.ComboBox1()->currentIndex(), -1);
    EXPECT_EQ(f.viewer.ComboBox1()->currentText(), "总人口数");
    charts::pyramid_year_cursor = 7;
    f.show_button();
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(f.reports[0], (Lines{"", "总人口数", "1991   1000", "1992   1015", "1993   620.5"}));
    EXPECT_EQ(charts::pyramid_year_cursor, 7);  // left alone
}

TEST(UrbanViewer, TextLayoutsOfTheIndicators)
{
    ViewerFixture f;
    struct Case {
        int k;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {6, {"", "0--14岁人口比重", "1991   0.2", "1992   0.199014778325123", "1993   0.24576954069299"}},
        {13, {"", "农村15--59岁人口数", "1991   300", "1992   301", "1993   302"}},
        {20, {"", "城市女性总人口数", "1991   200", "1992   203", "1993   0.25"}},
        {26, {"", "城市老年人口比重", "1991   0.25", "1992   0.254320987654321", "1993   0"}},
        {27, {"", "总人口年龄结构", "1993年 年龄结构", "年龄  男性        女性", "0  12   12", "1  22   21", "2  33   32"}},
        {28, {"", "农村人口年龄结构", "1993年 年龄结构", "年龄  男性        女性", "0  10   11", "1  20   21", "2  30   31"}},
        {29, {"", "城市人口年龄结构", "1993年 年龄结构", "年龄  男性        女性", "0  1   0", "1  2   0", "2  3   1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k);
        f.reports.clear();
        f.choose(c.k);
        f.show_button();
        ASSERT_EQ(f.reports.size(), 1u);
        EXPECT_EQ(f.reports[0], c.expected);
    }
}

// Every yearly indicator's 1991 line: the whole region adds the two parts' 1991 values, the
// shares divide the group by the total of the same region.
TEST(UrbanViewer, EveryYearlyIndicatorOfTheFirstYear)
{
    ViewerFixture f;
    // 1991 of the fixture: total, male, female, 0..14, 15..59, 60+ of each part
    const double rural[] = {600, 300, 300, 150, 300, 150};
    const double urban[] = {400, 200, 200, 50, 250, 100};
    for (int k = 0; k < 27; ++k) {
        SCOPED_TRACE(k);
        const int region = k / 9, j = k % 9;
        auto value = [&](int i) {
            return region == 0 ? rural[i] + urban[i] : region == 1 ? rural[i] : urban[i];
        };
        const double v = j < 6 ? value(j) : value(j - 3) / value(0);
        std::ostringstream text;
        text.precision(15);
        text << v;
        f.reports.clear();
        f.choose(k);
        f.show_button();
        ASSERT_EQ(f.reports.size(), 1u);
        ASSERT_EQ(f.reports[0].size(), 5u);
        EXPECT_EQ(f.reports[0][1], f.viewer.ComboBox1()->itemText(k).toStdString());
        EXPECT_EQ(f.reports[0][2], "1991   " + text.str());
    }
}

TEST(UrbanViewer, AShareOfAnEmptyPartEndsTheRequest)
{
    ViewerFixture f;
    urban_workspace().urban.res_total_pop = {400, 0, 1};
    f.choose(24);
    f.show_button();
    EXPECT_TRUE(f.reports.empty());
    EXPECT_EQ(f.services.message_texts(), QStringList{"Floating point division by zero"});
}

TEST(UrbanViewer, PyramidsStepThroughTheYearsWithoutABlank)
{
    struct Case {
        int k;
        const char* title;
        double male;
    };
    for (const Case& c : {Case{27, "总人口年龄结构金字塔", -0.15}, Case{28, "农村人口年龄结构金字塔", -0.1},
                          Case{29, "城市人口年龄结构金字塔", -0.3}}) {
        SCOPED_TRACE(c.k);
        ViewerFixture f;
        f.viewer.RadioButton1()->setChecked(true);
        charts::pyramid_year_cursor = 5;
        f.choose(c.k);
        f.show_button();
        EXPECT_EQ(f.services.pauses, (std::vector<int>{400, 400, 400}));
        const QString t = QString::fromUtf8(c.title);
        EXPECT_EQ(f.frame_titles, (std::vector<QString>{"1991" + t, "1992" + t, "1993" + t}));
        charts::TGraph* g = charts::Graph;
        ASSERT_TRUE(g);
        EXPECT_EQ(g->parent(), &f.viewer);
        EXPECT_EQ(g->chart().title_lines().join(""), "1993" + t);  // the last year stays
        EXPECT_EQ(g->chart().title_font().point_size, 14);
        EXPECT_FALSE(g->Button1->isVisibleTo(g));
        EXPECT_FALSE(g->Button2->isVisibleTo(g));
        EXPECT_FALSE(g->chart().view3d());
        EXPECT_EQ(charts::pyramid_year_cursor, 5);
        EXPECT_TRUE(f.reports.empty());
    }
}

TEST(UrbanViewer, BarsAndLinesOfAWholeRegionSeries)
{
    ViewerFixture f;
    f.viewer.RadioButton15()->setChecked(true);
    f.choose(1);
    f.show_button();
    ASSERT_TRUE(charts::Graph);
    EXPECT_TRUE(charts::Graph->chart().view3d());
    EXPECT_EQ(charts::Graph->chart().title_lines().join(""), "男性总人口数");
    EXPECT_EQ(f.services.pauses, (std::vector<int>{400, 400, 400}));
    f.viewer.RadioButton1()->setChecked(true);
    f.show_button();
    EXPECT_FALSE(charts::Graph->chart().view3d());
    EXPECT_EQ(f.services.pauses.size(), 6u);
}

TEST(UrbanViewer, NoYearsNoChartWindow)
{
    ViewerFixture f;
    projection_workspace().proj_year_count = 0;
    charts::Graph = nullptr;
    f.viewer.RadioButton1()->setChecked(true);
    f.show_button();
    EXPECT_EQ(charts::Graph, nullptr);
    f.choose(28);
    f.show_button();
    EXPECT_EQ(charts::Graph, nullptr);
    EXPECT_EQ(f.services.message_texts().size(), 1);  // the range error
}

TEST(UrbanViewer, CancelOnlyCloses)
{
    ViewerFixture f;
    charts::pyramid_year_cursor = 3;
    f.viewer.show();
    f.viewer.BitBtn1()->click();
    EXPECT_FALSE(f.viewer.isVisible());
    EXPECT_EQ(f.viewer.result(), QDialog::Rejected);
    EXPECT_EQ(charts::pyramid_year_cursor, 3);
}
