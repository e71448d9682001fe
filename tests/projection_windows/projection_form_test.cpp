#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "projection/Single_Region_frm1.h"
#include "projection/projection_links.h"
#include "projection/single_region_launcher.h"
#include "projection/string_grid.h"
#include "projection_table.h"
#include "tests/common/widget_events.h"
#include "tests/projection_engine/run_fixture.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

InputRow plain_row(int x)
{
    InputRow r{1000, 1000, 0.01, 0.008, 0};
    if (x == 0) {
        r.male = 1050;
        r.female = 1000;
    }
    if (x >= 20 && x < 50) r.fertility = 0.05;  // TFR 1.5
    return r;
}

// Opens the form the way the menu command does, on a prepared table.
struct FormFixture {
    ui::ScopedScriptedServices services;
    ProjectionTable input;
    std::map<QString, QColor> colours;
    TSingle_Region_frm* form = nullptr;

    explicit FormFixture(int years_before = 0, std::function<InputRow(int)> row = plain_row)
        : input(81, row)
    {
        reset_projection_workspace();
        projection_workspace().proj_year_count = years_before;
        set_main_window_link({&input.table, [this](const QString& f, const QColor& c) { colours[f] = c; }});
        form = new_single_region_form(nullptr, main_table_field_names());
    }
    ~FormFixture()
    {
        set_main_window_link({});
        delete form;
    }
    template <class T>
    T* find(const char* name)
    {
        T* w = form->findChild<T*>(name);
        EXPECT_TRUE(w) << name;
        return w;
    }
    // The user picks a field in a list.
    void choose(const char* box, const QString& field)
    {
        auto* b = find<QComboBox>(box);
        ASSERT_TRUE(test_events::pick_text(b, field)) << field.toStdString();
    }
    QString cell(int grid, int col, int row) { return form->grid(grid)->cell(col, row); }
};

}  // namespace

TEST(ProjectionLauncher, LaysOutTheGridsForTheYearsLeftBefore)
{
    {
        FormFixture f(0);
        ASSERT_TRUE(f.form);
        EXPECT_EQ(f.form->windowTitle(), "人口预测");
        // no projected years yet: the grids hold only their labels
        EXPECT_EQ(f.form->grid(2)->col_count(), 1);
        EXPECT_EQ(f.cell(2, 0, 1), "性别比");
        EXPECT_EQ(f.cell(4, 0, 36), "合计");
        EXPECT_EQ(f.cell(5, 0, 3), "死亡率");
    }
    FormFixture f(10);
    for (int g : {1, 2, 3, 4, 5, 6, 7, 8}) EXPECT_EQ(f.form->grid(g)->col_count(), 11) << g;
    EXPECT_EQ(f.cell(1, 1, 0), "2001");
    EXPECT_EQ(f.cell(1, 10, 0), "2010");
    EXPECT_EQ(f.cell(1, 3, 3), "0.0");
    EXPECT_EQ(f.cell(1, 0, 3), ">=3孩总和生育率");
    EXPECT_EQ(f.cell(6, 0, 1), "15");
    EXPECT_EQ(f.cell(6, 0, 35), "49");
    EXPECT_EQ(f.cell(7, 10, 36), "0.0");
    EXPECT_EQ(f.cell(3, 0, 2), "女性");
}

TEST(ProjectionForm, DefaultsAndLists)
{
    FormFixture f;
    EXPECT_EQ(f.find<QSpinBox>("SpinEdit10")->value(), 2000);
    EXPECT_EQ(f.find<QSpinBox>("SpinEdit11")->value(), 2010);
    EXPECT_TRUE(f.find<QRadioButton>("RadioButton16")->isChecked());
    EXPECT_TRUE(f.find<QRadioButton>("RadioButton7")->isChecked());
    for (const char* n : {"ComboBox8", "ComboBox9", "ComboBox10", "ComboBox11"})
        EXPECT_FALSE(f.find<QComboBox>(n)->isEnabled()) << n;
    auto* list = f.find<QComboBox>("ComboBox2");
    EXPECT_EQ(list->count(), 6);
    EXPECT_EQ(list->currentIndex(), -1);  // filled, no item chosen, no loader run
    EXPECT_TRUE(list->currentText().isEmpty());
    EXPECT_TRUE(f.colours.empty());
    auto* tfr = f.find<QComboBox>("ComboBox1");
    auto* e0 = f.find<QComboBox>("ComboBox7");
    ASSERT_EQ(tfr->count(), 36);
    ASSERT_EQ(e0->count(), 36);
    EXPECT_EQ(tfr->currentText(), "2000年世界平均总和生育率 2.8");
    EXPECT_EQ(tfr->itemText(1), "较发达地区:1.6");
    EXPECT_EQ(tfr->itemText(9), "   中国:1.8");
    EXPECT_EQ(tfr->itemText(30), "北美洲:2.0");
    EXPECT_EQ(e0->itemText(0), "2000年世界平均出生预期寿命:  男:65 女:69");
    EXPECT_EQ(e0->itemText(1), "发达地区:   男:72 女:79");
    EXPECT_EQ(e0->itemText(35), "   新西兰:   男:74 女:80");
    EXPECT_EQ(f.find<QTabWidget>("PageControl1")->count(), 9);
    EXPECT_EQ(f.find<QTabWidget>("PageControl1")->tabText(6), ">=3孩生育模式");
}

TEST(ProjectionForm, LoadersFillTheGridsAndColourTheColumns)
{
    FormFixture f;
    f.choose("ComboBox2", "男性人口");
    f.choose("ComboBox3", "女性人口");
    ProjectionWorkspace& ws = projection_workspace();
    EXPECT_EQ(ws.age_group_count, 81);
    EXPECT_EQ(ws.proj_year_count, 10);
    // 1050 boys per 1000 girls at age 0
    EXPECT_EQ(f.cell(2, 1, 1), "105");
    EXPECT_EQ(f.cell(2, 10, 1), "105");
    EXPECT_EQ(f.cell(2, 10, 0), "2010");
    EXPECT_EQ(f.cell(5, 4, 2), "0.0");
    EXPECT_EQ(f.colours["男性人口"], QColor(255, 0, 0));
    EXPECT_EQ(f.colours["女性人口"], QColor(0, 0, 255));

    f.choose("ComboBox4", "男性死亡率");
    EXPECT_EQ(f.cell(3, 0, 1), "男性");
    EXPECT_EQ(f.cell(3, 5, 1), QString::fromStdString(ws.base_e0_male_text));
    EXPECT_FALSE(ws.base_e0_male_text.empty());
    EXPECT_EQ(f.colours["男性死亡率"], QColor(0, 128, 128));

    f.choose("ComboBox6", "年龄别生育率");
    EXPECT_EQ(f.cell(1, 0, 1), "1孩总和生育率");
    EXPECT_EQ(f.cell(1, 3, 1), "1.5");
    EXPECT_EQ(f.cell(8, 3, 1), "1.5");
    EXPECT_EQ(f.cell(4, 3, 1), "0.0");          // age 15
    EXPECT_EQ(f.cell(4, 3, 6), ".03333333");    // age 20: 0.05 / 1.5, no leading zero
    EXPECT_EQ(f.cell(4, 3, 36), "1");
    EXPECT_TRUE(f.find<QComboBox>("ComboBox10")->isEnabled());
    EXPECT_FALSE(f.find<QComboBox>("ComboBox11")->isEnabled());
    EXPECT_EQ(f.colours["年龄别生育率"], QColor(0, 128, 0));

    // a second kind's field chosen in the same list: the column remembered before turns white
    f.choose("ComboBox2", "女性人口");
    EXPECT_EQ(f.colours["男性人口"], QColor(255, 255, 255));
    EXPECT_EQ(f.colours["女性人口"], QColor(255, 0, 0));
    EXPECT_TRUE(f.services.messages.empty());
}

TEST(ProjectionForm, ABadColumnIsReportedAndKeptWithoutDerivedValues)
{
    FormFixture f(0, [](int x) {
        InputRow r = plain_row(x);
        if (x == 7) r.male = -3;
        return r;
    });
    f.choose("ComboBox2", "男性人口");
    EXPECT_EQ(f.services.message_texts(), QStringList{"数据格式不正确."});
    EXPECT_EQ(projection_workspace().pop_male[7], -3);
    EXPECT_EQ(f.form->grid(2)->col_count(), 1);  // the grid keeps its earlier contents
    EXPECT_EQ(f.colours["男性人口"], QColor(255, 0, 0));  // the colour is set before the check
}

TEST(ProjectionForm, ChangedYearsDisableTheRunUntilTheGridsAreRebuilt)
{
    FormFixture f;
    f.choose("ComboBox2", "男性人口");
    auto* run = f.find<QPushButton>("BitBtn2");
    f.find<QSpinBox>("SpinEdit11")->setValue(2005);
    EXPECT_FALSE(run->isEnabled());
    EXPECT_EQ(projection_workspace().years_changed, 1);
    f.form->SpinEdit11DblClick();
    EXPECT_TRUE(run->isEnabled());
    EXPECT_EQ(projection_workspace().years_changed, 0);
    EXPECT_EQ(projection_workspace().proj_year_count, 5);
    EXPECT_EQ(f.form->grid(2)->col_count(), 6);
    EXPECT_EQ(f.cell(2, 5, 0), "2005");
    // the interpolation boxes are reset to the first and last projected year
    EXPECT_EQ(f.find<QSpinBox>("SpinEdit2")->value(), 2001);
    EXPECT_EQ(f.find<QSpinBox>("SpinEdit3")->value(), 2005);
    EXPECT_EQ(f.find<QSpinBox>("SpinEdit3")->minimum(), 2002);
}

TEST(ProjectionForm, FloatingPopulationAndMortalityOptions)
{
    FormFixture f(10);
    f.find<QRadioButton>("RadioButton20")->click();
    EXPECT_EQ(projection_workspace().with_floating_pop, 1);
    EXPECT_EQ(f.cell(5, 1, 1), "10000");
    EXPECT_EQ(f.cell(5, 10, 2), "0.012");
    EXPECT_EQ(f.cell(5, 10, 3), "0.003");
    f.find<QRadioButton>("RadioButton16")->click();
    EXPECT_EQ(projection_workspace().with_floating_pop, 0);
    EXPECT_EQ(f.cell(5, 10, 1), "0.0");

    f.find<QRadioButton>("RadioButton6")->click();
    EXPECT_TRUE(f.find<QComboBox>("ComboBox8")->isEnabled());
    EXPECT_FALSE(f.find<QRadioButton>("RadioButton7")->isChecked());
    f.find<QRadioButton>("RadioButton7")->click();
    EXPECT_FALSE(f.find<QComboBox>("ComboBox9")->isEnabled());
    EXPECT_FALSE(f.find<QRadioButton>("RadioButton6")->isChecked());
}

TEST(ProjectionForm, InterpolationBoxWritesTheRowAndRefusesBadYears)
{
    FormFixture f(3);
    f.form->grid(2)->set_cell(1, 1, "100");
    f.form->grid(2)->set_cell(3, 1, "106");
    f.find<QSpinBox>("SpinEdit5")->setRange(2000, 2003);
    f.find<QSpinBox>("SpinEdit5")->setValue(2003);
    f.find<QPushButton>("Button2")->click();
    EXPECT_EQ(f.cell(2, 2, 1), "103");
    EXPECT_EQ(f.form->grid(2)->item(1, 2)->text(), "103");  // shown on screen too
    f.find<QSpinBox>("SpinEdit4")->setRange(2000, 2003);
    f.find<QSpinBox>("SpinEdit4")->setValue(2000);
    f.find<QPushButton>("Button2")->click();
    EXPECT_EQ(f.services.message_texts(), QStringList{"插值设定错误！请重新设定。"});
}

TEST(ProjectionForm, CancelWhitensEveryColumnAndCloses)
{
    FormFixture f;
    f.choose("ComboBox2", "男性人口");
    f.form->show();
    f.find<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(f.colours.size(), 6u);
    for (const auto& [name, c] : f.colours) EXPECT_EQ(c, QColor(255, 255, 255)) << name.toStdString();
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_EQ(f.form->result(), QDialog::Rejected);
}

TEST(ProjectionForm, RunRefusesMissingFieldsAndCellsThatAreNotNumbers)
{
    FormFixture f;
    bool viewer = false;
    ui::set_window_runner([&](QWidget*, bool) {
        viewer = true;
        return 0;
    });
    f.choose("ComboBox2", "男性人口");
    f.find<QPushButton>("BitBtn2")->click();
    EXPECT_EQ(f.services.message_texts(), QStringList{"选定原始数据变量不够!"});
    EXPECT_EQ(f.services.messages[0].kind, ui::ScriptedServices::Message::Information);

    f.services.clear();
    f.choose("ComboBox3", "女性人口");
    f.choose("ComboBox4", "男性死亡率");
    f.choose("ComboBox5", "女性死亡率");
    f.choose("ComboBox6", "年龄别生育率");
    f.form->grid(2)->set_cell(3, 1, "abc");
    f.find<QPushButton>("BitBtn2")->click();
    EXPECT_EQ(f.services.message_texts(), QStringList{"'abc' is not a valid floating point value"});
    EXPECT_EQ(f.services.messages[0].kind, ui::ScriptedServices::Message::Error);
    EXPECT_FALSE(viewer);
    EXPECT_EQ(f.form->result(), 0);  // the form stays open
    ui::set_window_runner({});
}

// A Cancel in the pattern dialogs of any pattern grid changes nothing: no cell read, no file
// written, also after an earlier 读入 and 保存 whose name the form's dialogs keep.
TEST(ProjectionForm, CancelledPatternReadOrSaveChangesNothing)
{
    FormFixture f(3);
    const auto bytes = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    struct Case {
        int grid;
        const char* read;
        const char* save;
        void (TSingle_Region_frm::*select)(int, int);
    } cases[] = {
        {4, "Button8", "Button9", &TSingle_Region_frm::StringGrid4SelectCell},
        {6, "Button10", "Button11", &TSingle_Region_frm::StringGrid6SelectCell},
        {7, "Button12", "Button13", &TSingle_Region_frm::StringGrid7SelectCell},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grid);
        const auto path = f.input.dir / ("pattern" + std::to_string(c.grid) + ".txt");
        (f.form->*c.select)(2, 1);
        f.services.clear();
        const QString start = f.cell(c.grid, 2, 1);
        f.services.open_answers.push_back(QString());
        f.find<QPushButton>(c.read)->click();
        f.services.save_answers.push_back(QString());
        f.find<QPushButton>(c.save)->click();
        EXPECT_EQ(f.cell(c.grid, 2, 1), start);
        EXPECT_FALSE(std::filesystem::exists(path));

        f.form->grid(c.grid)->set_cell(2, 1, "0.125");
        f.services.save_answers.push_back(QString::fromStdString(path.string()));
        f.find<QPushButton>(c.save)->click();
        const std::string saved = bytes(path);
        ASSERT_FALSE(saved.empty());
        f.services.open_answers.push_back(QString::fromStdString(path.string()));
        f.find<QPushButton>(c.read)->click();
        EXPECT_EQ(f.cell(c.grid, 2, 1), "0.125");

        f.form->grid(c.grid)->set_cell(2, 1, "0.5");
        f.services.open_answers.push_back(QString());
        f.find<QPushButton>(c.read)->click();
        EXPECT_EQ(f.cell(c.grid, 2, 1), "0.5");
        f.services.save_answers.push_back(QString());
        f.find<QPushButton>(c.save)->click();
        EXPECT_EQ(bytes(path), saved);
        EXPECT_EQ(f.services.open_dialogs, 3);
        EXPECT_EQ(f.services.save_dialogs, 3);
        EXPECT_TRUE(f.services.messages.empty()) << f.services.message_texts().join("|").toStdString();
    }
}

TEST(ProjectionForm, PatternReadIntoTheCurrentColumn)
{
    FormFixture f(3);
    auto path = f.input.dir / "pattern.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << ".05\r\n0.25 rest of the line\r\n";
    }
    f.form->StringGrid4SelectCell(2, 5);
    f.services.open_answers.push_back(QString::fromStdString(path.string()));
    f.find<QPushButton>("Button8")->click();
    EXPECT_EQ(f.cell(4, 2, 1), "0.05");
    EXPECT_EQ(f.cell(4, 2, 2), "0.25");
    EXPECT_EQ(f.cell(4, 2, 3), "0");      // fewer than 35 numbers: 0
    EXPECT_EQ(f.cell(4, 2, 36), "0.0");   // the sum waits for the next interpolation
    EXPECT_EQ(f.cell(4, 1, 1), "0.0");
    EXPECT_EQ(projection_workspace().grid_current_row, 5);
}

namespace {

// Death rates rising with age (Gompertz), higher for men; an open last age 80 and over.
InputRow rising_row(int x)
{
    InputRow r = plain_row(x);
    r.m_male = std::min(1.0, 0.0005 + 0.00005 * std::exp(0.09 * x));
    r.m_female = std::min(1.0, 0.0003 + 0.00003 * std::exp(0.09 * x));
    if (x == 0) r.m_male = 0.025, r.m_female = 0.02;
    return r;
}

}  // namespace

// Targets typed into the life-expectancy grid are met, year by year, as the e(0) of each
// fitted life table, worked out here from the survivors the run stored; the base e0 typed
// again with two decimals is met as typed. A target out of reach ends the run with its message.
TEST(ProjectionForm, LifeExpectancyTargetsAreMetAsEachYearsLifeExpectancy)
{
    struct Case {
        const char* name;
        const char* male_cell;  // typed into year 3 of the male row; the rest: 66.5
        QString message;
    } cases[] = {{"targets in reach", "70.25", ""}, {"a target out of reach", "200", "期望寿命设定超出范围！请重新设定。"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormFixture f(0, rising_row);
        const char* fields[][2] = {{"ComboBox2", "男性人口"},   {"ComboBox3", "女性人口"},
                                   {"ComboBox4", "男性死亡率"}, {"ComboBox5", "女性死亡率"},
                                   {"ComboBox6", "年龄别生育率"}};
        for (const auto& [box, field] : fields) f.choose(box, QString::fromUtf8(field));
        ProjectionWorkspace& ws = projection_workspace();
        const int years = ws.proj_year_count;
        ASSERT_EQ(years, 10);
        char female_text[32];
        std::snprintf(female_text, sizeof female_text, "%.2f", ws.life_exp_female[0]);
        ASSERT_NE(QString(female_text), f.cell(3, 1, 2));
        std::vector<double> male_targets(years, 66.5);
        male_targets[2] = std::stod(c.male_cell);
        for (int col = 1; col <= years; ++col) {
            f.form->grid(3)->set_cell(col, 1, col == 3 ? QString(c.male_cell) : QString("66.5"));
            f.form->grid(3)->set_cell(col, 2, female_text);
        }
        const std::vector<double> a_male = projection::testing::independent_sep_factors(ws.death_rate_male, Sex::male);
        const std::vector<double> a_female = projection::testing::independent_sep_factors(ws.death_rate_female, Sex::female);
        const k_grid base_survivors = ws.lt_survivors_male;
        bool viewer = false;
        ui::set_window_runner([&](QWidget*, bool) {
            viewer = true;
            return 0;
        });
        f.find<QPushButton>("BitBtn2")->click();
        ui::set_window_runner({});

        if (!c.message.isEmpty()) {
            EXPECT_EQ(f.services.message_texts(), QStringList{c.message});
            EXPECT_EQ(f.services.messages[0].kind, ui::ScriptedServices::Message::Information);
            EXPECT_FALSE(viewer);
            EXPECT_EQ(f.form->result(), 0);  // the form stays open
            EXPECT_EQ(ws.lt_survivors_male, base_survivors);
            continue;
        }
        EXPECT_TRUE(f.services.messages.empty()) << f.services.message_texts().join("|").toStdString();
        EXPECT_TRUE(viewer);
        for (int y = 0; y < years; ++y) {
            EXPECT_NEAR(projection::testing::e0_of_column(ws.lt_survivors_male, y, a_male), male_targets[y], 2e-9) << y;
            EXPECT_NEAR(projection::testing::e0_of_column(ws.lt_survivors_female, y, a_female), std::stod(female_text), 2e-9) << y;
        }
    }
}
