// The urban/rural form: the menu command's layout, the ten loaders, the interpolation boxes, the
// year span and its rebuild, and the run's messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "projection/engine/workspace.h"
#include "projection/projection_links.h"
#include "projection/string_grid.h"
#include "tests/common/widget_events.h"
#include "tests/projection_engine/run_fixture.h"
#include "urban_rural/engine/urban_workspace.h"
#include "urban_rural/multi_pop_Frm1.h"
#include "urban_rural/multi_pop_launcher.h"
#include "urban_table.h"

using namespace vantelo;
using namespace vantelo::projection;
using namespace vantelo::urban_rural;

namespace {

const QStringList fields = {"年龄", "农村男性人口", "农村女性人口", "农村男性死亡率", "农村女性死亡率",
                            "农村年龄别生育率", "城镇男性人口", "城镇女性人口", "城镇男性死亡率",
                            "城镇女性死亡率", "城镇年龄别生育率"};

struct FormFixture {
    ui::ScopedScriptedServices services;
    UrbanTable input;
    QWidget owner;
    Tmulti_pop_Frm* form = nullptr;

    explicit FormFixture(const std::function<UrbanRow(int)>& row = flat_row, int ages = 81) : input(ages, row)
    {
        reset_projection_workspace();
        reset_urban_workspace();
        set_main_window_link({&input.table, {}});
        form = new_multi_pop_form(&owner, fields);
    }
    ~FormFixture()
    {
        ui::set_window_runner({});
        set_main_window_link({});
        multi_pop_Frm = nullptr;
    }
    StringGrid* grid(int n) { return form->grid(n); }
    template <class W>
    W* child(const char* name) { return form->findChild<W*>(name); }
    void choose(const char* box, const char* field)
    {
        ASSERT_TRUE(test_events::pick_text(child<QComboBox>(box), QString::fromUtf8(field))) << box;
    }
    void choose_all() { choose_all_fields(form); }
    QStringList row(int g, int r, int from = 1, int to = 10)
    {
        QStringList out;
        for (int c = from; c <= to; ++c) out << grid(g)->cell(c, r);
        return out;
    }
};

QStringList repeated(const QString& text, int n = 10)
{
    QStringList out;
    for (int i = 0; i < n; ++i) out << text;
    return out;
}

}  // namespace

TEST(UrbanForm, MenuCommandLaysOutTheGrids)
{
    FormFixture f;
    EXPECT_EQ(multi_pop_Frm, f.form);
    EXPECT_EQ(f.form->windowTitle(), "城乡人口预测");
    EXPECT_EQ(f.form->parent(), &f.owner);
    EXPECT_EQ(f.form->base_year(), 1990);
    EXPECT_EQ(f.form->end_year(), 2000);
    EXPECT_EQ(projection_workspace().proj_year_count, 10);
    const QStringList pages = {"基础数据", "总和生育率", "死亡参数", "性别参数", "农村生育模式", "城市生育模式",
                               "城镇化规模", "城镇化模式"};
    auto* tabs = f.child<QTabWidget>("PageControl1");
    ASSERT_EQ(tabs->count(), pages.size());
    for (int i = 0; i < tabs->count(); ++i) EXPECT_EQ(tabs->tabText(i), pages[i]);

    EXPECT_EQ(f.grid(1)->col_count(), 11);
    EXPECT_EQ(f.grid(1)->cell(1, 0), "1991");
    EXPECT_EQ(f.grid(1)->cell(10, 0), "2000");
    EXPECT_EQ(f.grid(1)->cell(0, 2), "城市");
    EXPECT_EQ(f.row(1, 1), repeated("0.0"));
    EXPECT_EQ(f.grid(3)->cell(0, 4), "城市女性");
    EXPECT_EQ(f.row(3, 4), repeated("0.0"));
    EXPECT_EQ(f.grid(4)->cell(0, 1), "15");
    EXPECT_EQ(f.grid(4)->cell(0, 36), "合计");
    EXPECT_EQ(f.grid(8)->cell(0, 2), "女性");
    for (int g : {6, 7}) {
        EXPECT_EQ(f.grid(g)->row_count(), 103);
        EXPECT_EQ(f.grid(g)->col_count(), 11);
        EXPECT_EQ(f.grid(g)->cell(0, 1), "0");
        EXPECT_EQ(f.grid(g)->cell(0, 101), "100");
        EXPECT_EQ(f.grid(g)->cell(0, 102), "合计");
        EXPECT_EQ(f.row(g, 102), repeated("0.0"));
        EXPECT_EQ(f.grid(g)->cell(10, 0), "2000");
    }
    EXPECT_EQ(f.child<QSpinBox>("SpinEdit2")->value(), 1991);
    EXPECT_EQ(f.child<QSpinBox>("SpinEdit15")->value(), 2000);
    EXPECT_TRUE(f.child<QPushButton>("BitBtn2")->isEnabled());
    // the migration-pattern box offers copy and linear only
    EXPECT_EQ(f.form->findChild<QRadioButton*>("RadioButton22"), nullptr);
    EXPECT_EQ(f.child<QComboBox>("ComboBox7")->currentText(), "男性");
}

TEST(UrbanForm, LoadersFillTheirPartAndTheirRows)
{
    FormFixture f([](int x) {
        UrbanRow r = flat_row(x);
        if (x == 0) r.urban_male = 1053;
        return r;
    });
    f.choose_all();
    EXPECT_TRUE(f.services.messages.empty()) << f.services.message_texts().join("|").toStdString();
    EXPECT_EQ(f.row(2, 1), repeated("100"));
    EXPECT_EQ(f.row(2, 2), repeated("105.3"));
    EXPECT_EQ(f.grid(2)->cell(0, 1), "农村");
    EXPECT_EQ(f.row(3, 1), repeated("56.8626"));
    EXPECT_EQ(f.row(3, 2), repeated("56.8618"));
    EXPECT_EQ(f.grid(3)->cell(0, 3), "城市男性");
    EXPECT_EQ(projection_workspace().base_e0_male_text, "56.8626");
    EXPECT_EQ(urban_workspace().urban.base_e0_female_text, "56.8618");
    EXPECT_EQ(f.row(1, 1), repeated("2"));
    EXPECT_EQ(f.row(1, 2), repeated("2"));
    for (int g : {4, 5}) {
        EXPECT_EQ(f.grid(g)->cell(3, 5), "0.0");     // age 19
        EXPECT_EQ(f.grid(g)->cell(3, 6), ".0625");   // age 20
        EXPECT_EQ(f.grid(g)->cell(3, 21), ".0625");  // age 35
        EXPECT_EQ(f.grid(g)->cell(3, 22), "0.0");
        EXPECT_EQ(f.grid(g)->cell(10, 36), "1");
    }
    // The parts keep their own populations and share N and Y.
    EXPECT_EQ(urban_workspace().urban.pop_male[0], 1053);
    EXPECT_EQ(projection_workspace().pop_male[0], 1000);
    EXPECT_EQ(projection_workspace().age_group_count, 81);
    EXPECT_EQ(urban_workspace().urban.age_group_count, 81);
}

TEST(UrbanForm, LoaderRefusalsLeaveTheirRows)
{
    FormFixture f([](int x) {
        UrbanRow r = flat_row(x);
        if (x == 0) r.rural_female = 0;
        if (x == 40) r.urban_m_male = 0;
        return r;
    });
    f.choose("ComboBox2", "农村男性人口");
    f.choose("ComboBox3", "农村女性人口");
    EXPECT_EQ(f.row(2, 1), repeated(""));  // no women at age 0: no sex ratio
    f.choose("ComboBox11", "城镇男性死亡率");
    EXPECT_EQ(f.services.message_texts(), QStringList{"数据格式不正确."});
    EXPECT_EQ(f.row(3, 3), repeated("0.0"));
    // a field name typed letter by letter runs the loader at every change
    f.services.clear();
    QLineEdit* edit = f.child<QComboBox>("ComboBox4")->lineEdit();
    for (const QString& t : {QString("农"), QString("农村")}) {
        edit->setText(t);
        emit edit->textEdited(t);
    }
    EXPECT_EQ(f.services.messages.size(), 2u);
}

TEST(UrbanForm, InterpolationBoxes)
{
    FormFixture f;
    // one-row box on the row last selected
    f.grid(1)->set_cell(1, 1, "1.8");
    f.grid(1)->set_cell(10, 1, "2.7");
    f.form->StringGrid1SelectCell(3, 1);
    f.child<QPushButton>("Button1")->click();
    EXPECT_EQ(f.row(1, 1), (QStringList{"1.8", "1.9", "2", "2.1", "2.2", "2.3", "2.4", "2.5", "2.6", "2.7"}));
    f.child<QRadioButton>("RadioButton10")->setChecked(true);
    f.child<QPushButton>("Button1")->click();
    EXPECT_EQ(f.grid(1)->cell(2, 1), "1.88294745355779");
    EXPECT_EQ(f.grid(1)->cell(3, 1), "1.96971728492208");
    EXPECT_EQ(f.grid(1)->cell(10, 1), "2.7");
    f.child<QSpinBox>("SpinEdit2")->setMinimum(1990);
    f.child<QSpinBox>("SpinEdit2")->setValue(1990);
    f.child<QPushButton>("Button1")->click();
    EXPECT_EQ(f.services.message_texts(), QStringList{"插值设定错误！请重新设定。"});

    // copy writes the end column too; the migrant grid shares the selected row
    f.grid(8)->set_cell(2, 2, "100");
    f.child<QSpinBox>("SpinEdit12")->setValue(1992);
    f.child<QSpinBox>("SpinEdit13")->setValue(1995);
    f.child<QRadioButton>("RadioButton20")->setChecked(true);
    f.form->StringGrid1SelectCell(1, 2);
    f.child<QPushButton>("Button6")->click();
    EXPECT_EQ(f.row(8, 2, 1, 6), (QStringList{"0.0", "100", "100", "100", "100", "0.0"}));

    // a row the grid lacks reads empty
    f.services.clear();
    f.form->StringGrid3SelectCell(1, 4);
    f.grid(1)->set_col_count(11);
    f.child<QSpinBox>("SpinEdit2")->setValue(1991);
    f.child<QRadioButton>("RadioButton9")->setChecked(true);
    f.child<QPushButton>("Button1")->click();
    EXPECT_EQ(f.services.message_texts(), QStringList{"'' is not a valid floating point value"});
}

TEST(UrbanForm, PatternTotalsEveryColumnShareTotalsOnlyTheInterpolatedOnes)
{
    FormFixture f;
    f.choose("ComboBox6", "农村年龄别生育率");
    f.grid(4)->set_cell(10, 6, ".1625");  // ages 20 of 2000: the 1991 share + 0.1
    f.child<QSpinBox>("SpinEdit8")->setValue(1995);
    f.child<QPushButton>("Button4")->click();
    EXPECT_EQ(f.grid(4)->cell(7, 6), "0.1025");  // interpolated cells: general format
    EXPECT_EQ(f.grid(4)->cell(10, 36), "1.1");
    EXPECT_EQ(f.grid(4)->cell(7, 36), "1.04");
    EXPECT_EQ(f.grid(4)->cell(1, 36), "1");  // outside the range, summed again

    // typed into the sex list (no item): the male grid
    auto* sex = f.child<QComboBox>("ComboBox7");
    sex->setCurrentIndex(-1);
    for (int r = 1; r <= 101; ++r) f.grid(6)->set_cell(2, r, r <= 80 ? "0.0125" : "0");
    f.child<QSpinBox>("SpinEdit14")->setValue(1992);
    f.child<QSpinBox>("SpinEdit15")->setValue(1994);
    f.child<QRadioButton>("RadioButton23")->setChecked(true);
    f.child<QPushButton>("Button7")->click();
    EXPECT_TRUE(f.services.messages.empty()) << f.services.message_texts().join("|").toStdString();
    EXPECT_EQ(f.grid(6)->cell(4, 80), "0.0125");
    EXPECT_EQ(f.grid(6)->cell(4, 102), "1");
    EXPECT_EQ(f.grid(6)->cell(5, 102), "0.0");  // outside s..e: left as it was
    EXPECT_EQ(f.grid(7)->cell(4, 80), "0.0");
    sex->setCurrentIndex(1);
    f.grid(7)->set_cell(2, 1, "1");
    f.child<QPushButton>("Button7")->click();
    EXPECT_EQ(f.grid(7)->cell(3, 1), "1");
}

// Text typed into the sex list of the migration-share box leaves no item chosen, so 插值 works
// on the male grid whatever item was chosen before; choosing an item again picks its grid.
TEST(UrbanForm, TypedSexListTextChoosesNoItem)
{
    FormFixture f;
    auto* sex = f.child<QComboBox>("ComboBox7");
    f.child<QSpinBox>("SpinEdit14")->setValue(1992);
    f.child<QSpinBox>("SpinEdit15")->setValue(1994);
    f.child<QRadioButton>("RadioButton23")->setChecked(true);  // 复制
    auto copy_from_column_2 = [&](const char* male, const char* female) {
        f.grid(6)->set_cell(2, 1, male);
        f.grid(7)->set_cell(2, 1, female);
        f.child<QPushButton>("Button7")->click();
        EXPECT_TRUE(f.services.messages.empty()) << f.services.message_texts().join("|").toStdString();
    };
    struct Case {
        const char* name;
        std::function<void()> act;
        int grid;  // the grid 插值 wrote
    };
    const std::vector<Case> cases = {
        {"女性 chosen", [&] { test_events::pick(sex, 1); }, 7},
        {"a letter typed after 女性",
         [&] {
             test_events::pick(sex, 1);
             sex->lineEdit()->setFocus();
             sex->lineEdit()->end(false);
             QTest::keyClicks(sex->lineEdit(), "x");
         },
         6},
        {"the text cleared and 女 typed",
         [&] {
             test_events::pick(sex, 1);
             sex->lineEdit()->selectAll();
             QTest::keyClick(sex->lineEdit(), Qt::Key_Backspace);
             // Chinese text arrives through the input method.
             QInputMethodEvent typed;
             typed.setCommitString(QStringLiteral("女"));
             QApplication::sendEvent(sex->lineEdit(), &typed);
             EXPECT_EQ(sex->currentText(), "女");
         },
         6},
        {"女性 chosen again after typing",
         [&] {
             QTest::keyClicks(sex->lineEdit(), "y");
             test_events::pick(sex, 1);
         },
         7},
    };
    int mark = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.act();
        const QString male = QString::number(mark), female = QString::number(mark + 1);
        copy_from_column_2(qPrintable(male), qPrintable(female));
        EXPECT_EQ(f.grid(6)->cell(4, 1), c.grid == 6 ? male : QString("0.0"));
        EXPECT_EQ(f.grid(7)->cell(4, 1), c.grid == 7 ? female : QString("0.0"));
        // Back to the layout's cells for the next case.
        for (int g : {6, 7})
            for (int col = 2; col <= 4; ++col) f.grid(g)->set_cell(col, 1, "0.0");
        mark += 2;
    }
}

TEST(UrbanForm, YearSpanChangeDisablesTheRunUntilTheGridsAreRebuilt)
{
    FormFixture f;
    f.choose_all();
    f.grid(1)->set_cell(2, 1, "1.5");
    f.grid(8)->set_cell(2, 1, "100");
    f.child<QSpinBox>("SpinEdit5")->setValue(1995);
    auto* run = f.child<QPushButton>("BitBtn2");
    f.child<QSpinBox>("SpinEdit17")->setValue(2003);
    EXPECT_FALSE(run->isEnabled());
    EXPECT_EQ(projection_workspace().years_changed, 1);
    // a new form starts enabled whatever the flag
    {
        QWidget other;
        Tmulti_pop_Frm* second = new_multi_pop_form(&other, fields);
        EXPECT_TRUE(second->findChild<QPushButton*>("BitBtn2")->isEnabled());
    }
    multi_pop_Frm = f.form;
    f.child<QTabWidget>("PageControl1")->setCurrentIndex(6);
    EXPECT_TRUE(run->isEnabled());
    EXPECT_EQ(projection_workspace().years_changed, 0);
    EXPECT_EQ(projection_workspace().proj_year_count, 13);
    EXPECT_EQ(f.grid(8)->col_count(), 14);
    EXPECT_EQ(f.row(8, 1, 1, 13), repeated("0", 13));
    EXPECT_EQ(f.row(6, 102, 1, 13), repeated("0", 13));
    EXPECT_EQ(f.row(1, 1, 1, 13), repeated("2", 13));  // the loaders write the TFR back
    EXPECT_EQ(f.grid(3)->cell(13, 0), "2003");
    EXPECT_EQ(f.child<QSpinBox>("SpinEdit5")->value(), 2003);
    EXPECT_EQ(f.child<QSpinBox>("SpinEdit4")->value(), 1991);
    EXPECT_EQ(f.child<QSpinBox>("SpinEdit4")->minimum(), 1990);
    EXPECT_EQ(f.child<QSpinBox>("SpinEdit5")->minimum(), 1992);
}

// An end year before the base year: the loaders and the rebuild end with the range error
// before anything is sized or read.
TEST(UrbanForm, NegativeSpanIsARangeErrorBeforeAnythingChanges)
{
    FormFixture f;
    f.choose("ComboBox2", "农村男性人口");
    const k_ar before = projection_workspace().pop_male;
    f.child<QSpinBox>("SpinEdit17")->setValue(1985);
    f.services.clear();
    f.choose("ComboBox1", "城镇男性人口");
    ui::guarded(f.form, [&] { f.form->SpinEdit17DblClick(); });
    EXPECT_EQ(f.services.message_texts(), (QStringList{"Range check error", "Range check error"}));
    EXPECT_EQ(projection_workspace().pop_male, before);
    EXPECT_TRUE(urban_workspace().urban.pop_male.empty());
    EXPECT_EQ(projection_workspace().proj_year_count, 10);
}

TEST(UrbanForm, RunRefusesMissingFieldsAndChangesNothing)
{
    FormFixture f;
    f.choose_all();
    f.child<QComboBox>("ComboBox13")->setEditText("");
    const k_ar before = urban_workspace().urban.pop_male;
    f.form->BitBtn2Click();
    EXPECT_EQ(f.services.message_texts(), QStringList{"选定原始数据变量不够!"});
    EXPECT_EQ(urban_workspace().urban.pop_male, before);
    EXPECT_EQ(f.form->result(), 0);
}

TEST(UrbanForm, CancelOnlyCloses)
{
    FormFixture f;
    f.form->show();
    f.child<QPushButton>("BitBtn1")->click();
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_EQ(f.form->result(), QDialog::Rejected);
}

// The four life-expectancy rows (rural and urban, men and women) typed with targets: the run
// meets each year's target as the e(0) of the part's fitted life table, worked out here from
// the survivors the run stored; the base e0 typed again with two decimals is met as typed. A
// target out of reach ends the run with its message and opens no viewer.
TEST(UrbanForm, LifeExpectancyTargetsOfBothPartsAreMetAsEachYearsLifeExpectancy)
{
    struct Case {
        const char* name;
        const char* urban_female_cell;  // year 5 of row 4; the rest of the row: 62
        QString message;
    } cases[] = {{"targets in reach", "58.75", ""}, {"a target out of reach", "90", "期望寿命设定超出范围！请重新设定。"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormFixture f;
        f.choose_all();
        ProjectionWorkspace& rural = projection_workspace();
        ProjectionWorkspace& urban = urban_workspace().urban;
        const int years = rural.proj_year_count;
        ASSERT_EQ(years, 10);
        char rural_female[32];
        std::snprintf(rural_female, sizeof rural_female, "%.2f", rural.life_exp_female[0]);
        ASSERT_NE(QString(rural_female), f.grid(3)->cell(1, 2));
        struct Row {
            ProjectionWorkspace* part;
            Sex sex;
            std::vector<QString> cells;
        };
        std::vector<Row> rows = {{&rural, Sex::male, std::vector<QString>(years, "60")},
                                 {&rural, Sex::female, std::vector<QString>(years, rural_female)},
                                 {&urban, Sex::male, std::vector<QString>(years, "50")},
                                 {&urban, Sex::female, std::vector<QString>(years, "62")}};
        rows[0].cells[6] = "55.5";
        rows[3].cells[4] = c.urban_female_cell;
        std::vector<std::vector<double>> seps;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (int col = 1; col <= years; ++col) f.grid(3)->set_cell(col, static_cast<int>(r) + 1, rows[r].cells[col - 1]);
            seps.push_back(projection::testing::independent_sep_factors(rows[r].part->life_table(rows[r].sex).death_rate,
                                                                        rows[r].sex));
        }
        bool viewer = false;
        ui::set_window_runner([&](QWidget*, bool) {
            viewer = true;
            return 0;
        });
        f.child<QPushButton>("BitBtn2")->click();
        ui::set_window_runner({});

        if (!c.message.isEmpty()) {
            EXPECT_EQ(f.services.message_texts(), QStringList{c.message});
            EXPECT_FALSE(viewer);
            EXPECT_EQ(f.form->result(), 0);
            continue;
        }
        EXPECT_TRUE(f.services.messages.empty()) << f.services.message_texts().join("|").toStdString();
        EXPECT_TRUE(viewer);
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (int y = 0; y < years; ++y)
                EXPECT_NEAR(projection::testing::e0_of_column(rows[r].part->life_table(rows[r].sex).lt_survivors, y, seps[r]),
                            rows[r].cells[y].toDouble(), 2e-9)
                    << "row " << r + 1 << " year " << y;
    }
}
