// The scatter and the age-pyramid dialogs.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "charts/Age_stru_frm1.h"
#include "charts/Piont_def_frm1.h"
#include "charts/chart_definition_dialog.h"
#include "charts/scatter_Frm1.h"
#include "dialog_fixture.h"
#include "platform/chart/color.h"
#include "platform/ui/spin_edit.h"
#include "tests/common/widget_events.h"

using namespace vantelo;
using namespace vantelo::charts;
using namespace chart_dialog_tests;

namespace {

class ScatterDialog : public DialogTest {
protected:
    ChartTable data{three_rows()};
    std::unique_ptr<Tscatter_Frm> d;

    ScatterDialog()
    {
        d = std::make_unique<Tscatter_Frm>();
        d->fill_fields(data.field_names());
        set_radio_index(d->RadioGroup1, 0);
    }
    // The user clicks the field, then the ">>>" button.
    void choose(const QString& field, QPushButton* button)
    {
        const auto found = d->ListBox1->findItems(field, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        d->ListBox1->setCurrentItem(found[0]);
        button->click();
    }
};

TEST_F(ScatterDialog, OneFieldAgainstAnotherWithoutLegend)
{
    choose("女性", d->Button4);
    choose("男性", d->Button5);
    EXPECT_EQ(d->Edit4->text(), "女性");
    EXPECT_EQ(d->Edit5->text(), "男性");
    d->BitBtn2->click();
    EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();
    chart::Chart& c = only_chart();
    EXPECT_FALSE(c.legend_visible());
    EXPECT_TRUE(c.view3d());
    EXPECT_EQ(Graph->parentWidget(), nullptr);
    ASSERT_EQ(c.series_count(), 1);
    const chart::Series& s = c.series(0);
    EXPECT_EQ(s.kind(), chart::SeriesKind::Point);
    ASSERT_EQ(s.count(), 3);
    const double xs[] = {3, 5, 2}, ys[] = {50, 50, 60};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.point(i).x, xs[i]);
        EXPECT_EQ(s.point(i).value, ys[i]);
    }
    EXPECT_FALSE(s.marks_visible());
    EXPECT_EQ(s.pointer_width(), 4);
}

TEST_F(ScatterDialog, PointsCarryLabelsOnlyWhenShowLabelsIsChecked)
{
    choose("女性", d->Button4);
    choose("男性", d->Button5);
    choose("名称", d->Button1);
    d->BitBtn2->click();
    {
        const chart::Series& s = only_chart().series(0);
        EXPECT_FALSE(s.marks_visible());
        EXPECT_FALSE(s.has_labels());
    }
    shown.clear();
    d->CheckBox1->setChecked(true);
    d->BitBtn2->click();
    const chart::Series& s = only_chart().series(0);
    EXPECT_TRUE(s.marks_visible());
    ASSERT_EQ(s.count(), 3);
    EXPECT_EQ(s.point(0).label, "甲");
    EXPECT_EQ(s.point(1).label, "乙");
    EXPECT_EQ(s.point(2).label, "丙");
}

TEST_F(ScatterDialog, ArrowWithoutCurrentItemIsAListIndexError)
{
    d->Edit4->setText("男性");
    d->ListBox1->setCurrentRow(-1);
    d->Button4->click();
    EXPECT_EQ(services.message_texts(), QStringList{"List index out of bounds (-1)"});
    EXPECT_EQ(d->Edit4->text(), "男性");
}

TEST_F(ScatterDialog, AnyFieldTypeCanBeChosenButATextValueIsAConversionError)
{
    choose("名称", d->Button4);  // no type check
    EXPECT_EQ(d->Edit4->text(), "名称");
    d->BitBtn2->click();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(services.message_texts(), QStringList{"'甲' is not a valid floating point value"});
}

// An empty field reads 0, as in the other charts, whether it gives the values or the positions.
TEST_F(ScatterDialog, AnEmptyFieldReadsZero)
{
    struct Case {
        const char* name;
        const char* y_field;
        const char* x_field;
        double xs[3], ys[3];
    } cases[] = {
        {"values", "缺失", "男性", {3, 5, 2}, {7, 0, 9}},
        {"positions", "女性", "缺失", {7, 0, 9}, {50, 50, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shown.clear();
        choose(c.y_field, d->Button4);  // the middle record is empty
        choose(c.x_field, d->Button5);
        d->BitBtn2->click();
        EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();
        const chart::Series& s = only_chart().series(0);
        ASSERT_EQ(s.count(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(s.point(i).x, c.xs[i]) << i;
            EXPECT_EQ(s.point(i).value, c.ys[i]) << i;
        }
    }
}

TEST_F(ScatterDialog, ShapeAndSizeApartFromThePointDialog)
{
    choose("女性", d->Button4);
    test_events::pick_text(d->ComboBox2, "星形");
    EXPECT_EQ(scatter_point_style, 6);
    EXPECT_EQ(point_style, 0);
    d->SpinEdit1->set_text("7");
    d->BitBtn2->click();
    const chart::Series& s = only_chart().series(0);
    EXPECT_EQ(s.pointer_style(), chart::psStar);
    EXPECT_EQ(s.pointer_width(), 7);

    shown.clear();
    d->SpinEdit1->set_text("0");
    d->BitBtn2->click();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(services.message_texts(), QStringList{"Pointer size must be greater than zero"});
}

class PyramidDialog : public DialogTest {
protected:
    std::unique_ptr<TAge_stru_frm> open(ChartTable& t)
    {
        auto w = std::make_unique<TAge_stru_frm>();
        w->fill_fields(t.field_names());
        return w;
    }
};

TEST_F(PyramidDialog, SharesOfTheJointTotalInTwoHorizontalBarSeries)
{
    ChartTable t({{0, 60, 50, 0, "a", 1}, {1, 40, 50, 0, "b", 1}});
    auto d = open(t);
    d->ListBox1->setCurrentRow(1);  // 男性
    d->Button4->click();
    d->ListBox1->setCurrentRow(2);  // 女性
    d->Button5->click();
    d->Edit1->setText("金字塔");
    title_font_size = 16;
    axis_font_size = 14;
    d->BitBtn2->click();
    EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].modal);
    auto* g = qobject_cast<TGraph*>(shown[0].window.data());
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g, Graph);
    EXPECT_EQ(g->parentWidget(), d.get());  // owned by the dialog
    EXPECT_FALSE(g->windowState() & Qt::WindowMaximized);
    chart::Chart& c = g->chart();
    EXPECT_FALSE(c.view3d());
    EXPECT_TRUE(c.legend_visible());
    EXPECT_EQ(c.title_lines(), QStringList{"金字塔"});
    EXPECT_EQ(c.title_font().point_size, 16);
    EXPECT_NE(c.bottom_axis_font().point_size, 14);  // the axis fonts are left alone
    ASSERT_EQ(c.series_count(), 2);
    const chart::Series& male = c.series(0);
    const chart::Series& female = c.series(1);
    EXPECT_EQ(male.title(), "男性");
    EXPECT_EQ(female.title(), "女性");
    EXPECT_EQ(male.kind(), chart::SeriesKind::HorizBar);
    EXPECT_EQ(male.bar_combination(), chart::mbNone);
    EXPECT_FALSE(male.marks_visible());
    EXPECT_FALSE(female.marks_visible());
    const QColor blue = chart::color_from_bgr(0xFF0000), red = chart::color_from_bgr(0x0000FF);
    // total 200: -60/200, -40/200; 50/200, 50/200; labels are the record numbers
    EXPECT_EQ(values(male), (std::vector<double>{-0.3, -0.2}));
    EXPECT_EQ(values(female), (std::vector<double>{0.25, 0.25}));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(male.point(i).label, QString::number(i));
        EXPECT_EQ(female.point(i).label, QString::number(i));
        EXPECT_EQ(male.drawn_colour(i), blue);
        EXPECT_EQ(female.drawn_colour(i), red);
    }
}

TEST_F(PyramidDialog, ArrowsTakeOnlyNumericFields)
{
    ChartTable t(three_rows());
    auto d = open(t);
    d->Edit2->setText("男性");
    d->ListBox1->setCurrentRow(4);  // 名称, text
    d->Button4->click();
    EXPECT_EQ(d->Edit2->text(), "男性");
    d->ListBox1->setCurrentRow(3);  // 收入, currency
    d->Button4->click();
    EXPECT_EQ(d->Edit2->text(), "收入");
    EXPECT_TRUE(services.messages.empty());
    d->ListBox1->setCurrentRow(-1);
    d->Button5->click();
    EXPECT_EQ(services.message_texts(), QStringList{"List index out of bounds (-1)"});
}

TEST_F(PyramidDialog, BadFieldsEndTheActionBeforeAnyWindow)
{
    struct Case {
        const char* name;
        const char* male;
        const char* female;
        std::vector<Row> rows;
        const char* message;
    } cases[] = {
        {"empty field", "男性", "缺失", three_rows(), "Invalid variant type conversion"},
        {"text that is not a number", "名称", "女性", three_rows(), "Invalid variant type conversion"},
        {"total of zero", "男性", "女性", {{0, 0, 0, 0, "a", 1}, {1, 0, 0, 0, "b", 1}}, "Floating point division by zero"},
        {"unknown field", "男性", "无此", three_rows(), "Field '无此' not found"},
        {"empty box", "", "女性", three_rows(), "Field '' not found"},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        shown.clear();
        services.clear();
        Graph = nullptr;
        ChartTable t(tc.rows);
        auto d = open(t);
        d->Edit2->setText(QString::fromUtf8(tc.male));
        d->Edit3->setText(QString::fromUtf8(tc.female));
        d->BitBtn2->click();
        EXPECT_TRUE(shown.empty());
        EXPECT_EQ(Graph, nullptr);  // no window made
        EXPECT_EQ(services.message_texts(), QStringList{QString::fromUtf8(tc.message)});
    }
}

TEST_F(PyramidDialog, NoRecordsShowAnEmptyChart)
{
    ChartTable t({});
    auto d = open(t);
    d->Edit2->setText("男性");
    d->Edit3->setText("女性");
    d->BitBtn2->click();
    expect_empty_series(2);
}

}  // namespace
