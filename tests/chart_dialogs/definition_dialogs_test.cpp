// The five chart definition dialogs: variables from the table's fields, 确定 drawing one series
// per variable in a new chart window, the fonts, the point markers and the errors.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPalette>
#include <functional>
#include <memory>

#include "charts/Area_def_frm1.h"
#include "charts/Bar_def_frm1.h"
#include "charts/Horiz_def_frm1.h"
#include "charts/Line_def_frm1.h"
#include "charts/Piont_def_frm1.h"
#include "charts/scatter_Frm1.h"
#include "dialog_fixture.h"
#include "platform/chart/chart_layout.h"
#include "platform/chart/chart_output.h"
#include "platform/ui/spin_edit.h"
#include "tests/common/widget_events.h"

using namespace vantelo;
using namespace vantelo::charts;
using namespace chart_dialog_tests;
using chart::SeriesKind;

namespace {

class DefinitionDialog : public DialogTest {
public:
    ChartTable data{three_rows()};

    template <class W>
    std::unique_ptr<W> open_dialog()
    {
        auto w = std::make_unique<W>();
        w->fill_fields(data.field_names());
        set_radio_index(w->RadioGroup1, 0);
        if constexpr (requires { &W::RadioGroup2; }) set_radio_index(w->RadioGroup2, 0);
        return w;
    }
};

TEST_F(DefinitionDialog, NumericFieldsAddedTwiceGiveTwoSeriesEachFilledFromTheirColumns)
{
    auto d = open_dialog<TLine_def_frm>();
    EXPECT_EQ(items(d->ListBox1), data.field_names());
    select(d->ListBox1, {"男性", "名称", "女性"});
    d->Button4->click();
    EXPECT_EQ(items(d->ListBox2), (QStringList{"男性", "女性"}));
    d->Button4->click();
    EXPECT_EQ(items(d->ListBox2), (QStringList{"男性", "女性", "男性", "女性"}));
    EXPECT_EQ(d->ListBox1->selectedItems().size(), 3);  // the field list is left as it was

    d->BitBtn2->click();
    EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].modal);
    EXPECT_EQ(shown[0].window, Graph);
    EXPECT_EQ(shown[0].window->parentWidget(), nullptr);  // owned by the application
    chart::Chart& c = only_chart();
    ASSERT_EQ(c.series_count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c.series(i).kind(), SeriesKind::Line);
        EXPECT_EQ(c.series(i).title(), i % 2 == 0 ? "男性" : "女性");
        EXPECT_EQ(values(c.series(i)), i % 2 == 0 ? (std::vector<double>{3, 5, 2}) : (std::vector<double>{50, 50, 60}));
    }
    // The dialog stays open and draws again; "<<<" empties the whole list.
    d->Button5->click();
    EXPECT_TRUE(items(d->ListBox2).isEmpty());
}

TEST_F(DefinitionDialog, OnlySmallIntegerIntegerFloatCurrencyAndLargeIntegerFieldsAreVariables)
{
    auto d = open_dialog<TLine_def_frm>();
    select(d->ListBox1, data.field_names());
    d->Button4->click();
    EXPECT_EQ(items(d->ListBox2), (QStringList{"年龄", "男性", "女性", "收入", "缺失"}));
    EXPECT_TRUE(services.messages.empty());
}

struct TwinCase {
    const char* name;
    std::function<std::unique_ptr<ChartDefinitionDialog>(DefinitionDialog&)> open;
    SeriesKind kind;
};

TEST_F(DefinitionDialog, EachDialogDrawsItsSeriesKindWithItsOptions)
{
    const TwinCase cases[] = {
        {"line", [](DefinitionDialog& t) { return t.open_dialog<TLine_def_frm>(); }, SeriesKind::Line},
        {"bar", [](DefinitionDialog& t) { return t.open_dialog<TBar_def_frm>(); }, SeriesKind::Bar},
        {"horizontal bar", [](DefinitionDialog& t) { return t.open_dialog<THoriz_def_frm>(); }, SeriesKind::HorizBar},
        {"point", [](DefinitionDialog& t) { return t.open_dialog<TPoint_def_frm>(); }, SeriesKind::Point},
        {"area", [](DefinitionDialog& t) { return t.open_dialog<TArea_def_frm>(); }, SeriesKind::Area},
    };
    for (const TwinCase& tc : cases) {
        SCOPED_TRACE(tc.name);
        for (int item : {0, 1}) {
            shown.clear();
            auto d = tc.open(*this);
            select(d->ListBox1, {"男性"});
            d->Button4->click();
            set_radio_index(d->RadioGroup1, item);
            d->Edit1->setText("标题");
            d->Edit2->setText("年龄");
            d->Edit3->setText("人数");
            d->BitBtn2->click();
            chart::Chart& c = only_chart();
            EXPECT_EQ(c.view3d(), item == 0);
            EXPECT_EQ(c.title_lines(), QStringList{"标题"});
            EXPECT_EQ(c.bottom_axis_title(), "年龄");
            EXPECT_EQ(c.left_axis_title(), "人数");
            ASSERT_EQ(c.series_count(), 1);
            EXPECT_EQ(c.series(0).kind(), tc.kind);
            EXPECT_EQ(values(c.series(0)), (std::vector<double>{3, 5, 2}));
            EXPECT_EQ(c.series(0).point(2).x, 2);
        }
    }
}

TEST_F(DefinitionDialog, BarMarksAndCombinationFollowTheControls)
{
    const chart::BarCombination bars[] = {chart::mbNone, chart::mbSide, chart::mbStacked, chart::mbStacked100};
    for (bool horizontal : {false, true}) {
        for (int item = 0; item < 4; ++item) {
            for (bool marks : {false, true}) {
                shown.clear();
                std::unique_ptr<ChartDefinitionDialog> d;
                QCheckBox* check = nullptr;
                QGroupBox* group = nullptr;
                if (horizontal) {
                    auto h = open_dialog<THoriz_def_frm>();
                    check = h->CheckBox1;
                    group = h->RadioGroup2;
                    d = std::move(h);
                } else {
                    auto b = open_dialog<TBar_def_frm>();
                    check = b->CheckBox1;
                    group = b->RadioGroup2;
                    d = std::move(b);
                }
                select(d->ListBox1, {"男性", "女性"});
                d->Button4->click();
                check->setChecked(marks);
                set_radio_index(group, item);
                d->BitBtn2->click();
                chart::Chart& c = only_chart();
                ASSERT_EQ(c.series_count(), 2);
                for (int s = 0; s < 2; ++s) {
                    EXPECT_EQ(c.series(s).bar_combination(), bars[item]) << horizontal << item;
                    EXPECT_EQ(c.series(s).marks_visible(), marks);
                }
            }
        }
    }
}

TEST_F(DefinitionDialog, AreaCombinationFollowsItsGroup)
{
    const chart::AreaCombination areas[] = {chart::maNone, chart::maStacked, chart::maStacked100};
    for (int item = 0; item < 3; ++item) {
        shown.clear();
        auto d = open_dialog<TArea_def_frm>();
        select(d->ListBox1, {"男性"});
        d->Button4->click();
        set_radio_index(d->RadioGroup2, item);
        d->BitBtn2->click();
        EXPECT_EQ(only_chart().series(0).area_combination(), areas[item]);
    }
}

TEST_F(DefinitionDialog, HorizontalBarsHaveTheFieldAsLengthsAtPositionsZeroOneTwo)
{
    auto d = open_dialog<THoriz_def_frm>();
    select(d->ListBox1, {"男性"});
    d->Button4->click();
    set_radio_index(d->RadioGroup1, 1);
    d->BitBtn2->click();
    chart::Chart& c = only_chart();
    const chart::Series& s = c.series(0);
    ASSERT_EQ(s.count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s.point(i).x, i);
    EXPECT_EQ(values(s), (std::vector<double>{3, 5, 2}));

    // Drawn: bar i runs to the right, its length in proportion to the value, in the series colour.
    const QSize size(600, 400);
    const chart::ChartLayout l = chart::layout_chart(c, size);
    const QImage img = chart::render_chart(c, size);
    ASSERT_TRUE(l.horizontal);
    const auto& bars = l.series[0].bars;
    ASSERT_EQ(bars.size(), 3u);
    for (const auto& b : bars) {
        const QPoint centre = b.front.center().toPoint();
        EXPECT_EQ(img.pixelColor(centre).rgb(), s.drawn_colour(b.point).rgb()) << b.point;
    }
    EXPECT_NEAR(bars[1].front.width() / bars[0].front.width(), 5.0 / 3.0, 0.05);
    EXPECT_NEAR(bars[2].front.width() / bars[0].front.width(), 2.0 / 3.0, 0.05);
}

TEST_F(DefinitionDialog, FontsComeFromTheProgramWideSettings)
{
    auto d = open_dialog<TLine_def_frm>();
    d->BitBtn2->click();
    {
        chart::Chart& c = only_chart();
        EXPECT_EQ(c.title_font().point_size, 0);  // the chart's default height until a choice
        EXPECT_EQ(c.bottom_axis_font().point_size, 10);
        EXPECT_EQ(c.left_axis_font().point_size, 10);
    }
    const QString family_before = Graph->chart().title_font().family;

    // 20 points, red, bold for the title.
    ui::FontDialogState chosen;
    chosen.font = QFont("Serif");
    chosen.font.setPointSize(20);
    chosen.font.setBold(true);
    chosen.color = QColor(255, 0, 0);
    services.font_answers.push_back(chosen);
    d->BitBtn3->click();
    EXPECT_EQ(title_font_size, 20);
    EXPECT_EQ(title_font_color, QColor(255, 0, 0));
    EXPECT_EQ(title_font_style, (FontStyle{true, false, false, false}));
    // The axis button copies the font the dialog holds now: its last choice.
    d->BitBtn4->click();
    EXPECT_EQ(axis_font_size, 20);

    shown.clear();
    d->BitBtn2->click();
    chart::Chart& c = only_chart();
    EXPECT_EQ(c.title_font().point_size, 20);
    EXPECT_EQ(c.title_font().colour, QColor(255, 0, 0));
    EXPECT_TRUE(c.title_font().bold);
    EXPECT_FALSE(c.title_font().italic);
    EXPECT_EQ(c.title_font().family, family_before);  // the family is not kept
    EXPECT_EQ(c.left_axis_font().point_size, 20);

    // A new dialog's font dialog holds the design font: OK on it gives 13 pixels, that is 10
    // points at 96 dpi, window-text colour, no style.
    auto fresh = open_dialog<TBar_def_frm>();
    fresh->BitBtn3->click();
    EXPECT_EQ(title_font_size, points_from_pixels(13));
    EXPECT_EQ(title_font_color, QApplication::palette().color(QPalette::WindowText));
    EXPECT_EQ(title_font_style, FontStyle{});
}

// A Cancel in the font dialog of a 主标题 or 坐标轴 button leaves every chart font setting as
// it was, in a new dialog (not its design font) and after an earlier OK in the same dialog.
TEST_F(DefinitionDialog, CancelledFontDialogChangesNoFontSetting)
{
    struct Settings {
        int title_size;
        QColor title_colour;
        FontStyle title_style;
        int axis_size;
        QColor axis_colour;
        FontStyle axis_style;
        bool operator==(const Settings&) const = default;
    };
    const auto settings = [] {
        return Settings{title_font_size, title_font_color, title_font_style,
                        axis_font_size,  axis_font_color,  axis_font_style};
    };
    ui::FontDialogState chosen;
    chosen.font = QFont("Serif");
    chosen.font.setPointSize(24);
    chosen.font.setItalic(true);
    chosen.color = QColor(0, 0, 255);

    struct Case {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> make;
        std::function<void(QDialog*)> title, axis;
    } cases[] = {
        {"line dialog", [this] { return std::unique_ptr<QDialog>(open_dialog<TLine_def_frm>()); },
         [](QDialog* d) { static_cast<TLine_def_frm*>(d)->BitBtn3->click(); },
         [](QDialog* d) { static_cast<TLine_def_frm*>(d)->BitBtn4->click(); }},
        {"scatter dialog", [] { return std::unique_ptr<QDialog>(std::make_unique<Tscatter_Frm>()); },
         [](QDialog* d) { static_cast<Tscatter_Frm*>(d)->BitBtn3->click(); },
         [](QDialog* d) { static_cast<Tscatter_Frm*>(d)->BitBtn4->click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset_chart_settings();
        title_font_size = 30;
        title_font_color = QColor(0, 128, 0);
        title_font_style = FontStyle{false, false, true, false};
        axis_font_size = 31;
        axis_font_color = QColor(128, 0, 0);
        const Settings start = settings();
        auto d = c.make();
        for (const auto& button : {c.title, c.axis}) {
            services.font_answers.push_back(std::nullopt);
            button(d.get());
            EXPECT_EQ(settings(), start);
        }
        // OK for the title, then a Cancel on either button keeps what that OK set.
        services.font_answers.push_back(chosen);
        c.title(d.get());
        EXPECT_EQ(title_font_size, 24);
        const Settings after_ok = settings();
        EXPECT_EQ(after_ok.axis_size, 31);
        for (const auto& button : {c.title, c.axis}) {
            services.font_answers.push_back(std::nullopt);
            button(d.get());
            EXPECT_EQ(settings(), after_ok);
        }
        EXPECT_TRUE(services.font_answers.empty());
    }
    reset_chart_settings();
}

TEST(ChartFontSettings, PixelsToPointsFollowTheScreenResolution)
{
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    EXPECT_EQ(points_from_pixels(13), static_cast<int>(std::lround(13 * 72.0 / dpi)));
    if (dpi == 96) {
        EXPECT_EQ(points_from_pixels(13), 10);
        EXPECT_EQ(points_from_pixels(11), 8);
    }
}

TEST_F(DefinitionDialog, PointShapeIsProgramWideWhileANewDialogShowsRectangle)
{
    auto first = open_dialog<TPoint_def_frm>();
    EXPECT_EQ(first->ComboBox2->currentText(), "矩形");
    EXPECT_EQ(first->ComboBox2->currentIndex(), -1);
    test_events::pick_text(first->ComboBox2, "星形");
    EXPECT_EQ(point_style, 6);
    first.reset();

    auto second = open_dialog<TPoint_def_frm>();
    EXPECT_EQ(second->ComboBox2->currentText(), "矩形");
    EXPECT_EQ(second->ComboBox2->currentIndex(), -1);
    select(second->ListBox1, {"女性"});
    second->Button4->click();
    second->BitBtn2->click();
    EXPECT_EQ(only_chart().series(0).pointer_style(), chart::psStar);

    // Text typed into the box chooses no entry: shape 0.
    second->ComboBox2->setEditText("abc");
    EXPECT_EQ(point_style, 0);
}

TEST_F(DefinitionDialog, PointSizeAsTypedAndBelowOneAnErrorWithoutAWindow)
{
    struct Case {
        const char* typed;
        int size;  // 0: the error
    } cases[] = {{"4", 4}, {"abc", 1}, {"50", 50}, {"2147483647", 2147483647}, {"0", 0}, {"-3", 0}};
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.typed);
        shown.clear();
        services.clear();
        auto d = open_dialog<TPoint_def_frm>();
        select(d->ListBox1, {"男性", "女性"});
        d->Button4->click();
        d->SpinEdit1->set_text(tc.typed);
        d->BitBtn2->click();
        if (tc.size == 0) {
            EXPECT_TRUE(shown.empty());
            ASSERT_EQ(services.messages.size(), 1u);
            EXPECT_EQ(services.messages[0].kind, ui::ScriptedServices::Message::Error);
            EXPECT_EQ(services.messages[0].text, "Pointer size must be greater than zero");
            // the series were attached before the size failed
            ASSERT_NE(Graph, nullptr);
            EXPECT_EQ(Graph->chart().series_count(), 1);
        } else {
            EXPECT_TRUE(services.messages.empty());
            const chart::Chart& c = only_chart();
            ASSERT_EQ(c.series_count(), 2);
            EXPECT_EQ(c.series(1).pointer_width(), tc.size);
            EXPECT_EQ(c.series(1).pointer_height(), tc.size);
            // Drawn at any size, the largest too, without the marker geometry overflowing.
            EXPECT_FALSE(chart::render_chart(c, QSize(300, 200)).isNull());
        }
    }
}

TEST_F(DefinitionDialog, NoVariablesDrawAnEmptyChartAndAnEmptyTableSeriesWithoutPoints)
{
    auto d = open_dialog<TBar_def_frm>();
    d->BitBtn2->click();
    expect_empty_series(0);

    ChartTable empty({});
    shown.clear();
    auto e = std::make_unique<TArea_def_frm>();
    e->fill_fields(empty.field_names());
    set_radio_index(e->RadioGroup1, 0);
    set_radio_index(e->RadioGroup2, 0);
    select(e->ListBox1, {"男性", "女性"});
    e->Button4->click();
    e->BitBtn2->click();
    expect_empty_series(2);
}

}  // namespace
