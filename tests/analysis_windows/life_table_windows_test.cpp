// The life-table form and its result window, opened from the main window's menu: the inputs and
// their messages, the grid, the survival chart and the save into a new Paradox table.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "analysis/Life_table_frm1.h"
#include "analysis/Life_table_result1.h"
#include "analysis_table.h"
#include "charts/Graph_1.h"
#include "platform/ui/modal.h"
#include "platform/ui/string_grid.h"
#include "pxlib_reader.h"
#include "tests/db_common/fault_trials.h"

using namespace vantelo;
using Row = std::vector<QString>;

namespace {

Row grid_row(TLife_table_result* r, int row)
{
    Row out;
    for (int c = 0; c < 8; ++c) out.push_back(r->StringGrid1()->cell(c, row));
    return out;
}

// The fields: 死亡率 (0.1, 0.2, 0.5), 人口 and 死亡 giving the same rates.
std::vector<Column> three_ages()
{
    return {{"死亡率", {0.1, 0.2, 0.5}}, {"人口", {1000, 500, 200}}, {"死亡", {100, 100, 100}}};
}

// Runs the life-table command; `on_form` acts on the form, `on_result` on each result window
// and `on_chart` on each chart window, all while they are shown.
struct LifeTableRun {
    std::function<void(TLife_table_frm*)> on_form;
    std::function<void(TLife_table_result*)> on_result;
    std::function<void(charts::TGraph*)> on_chart;
    int results = 0;

    void run(shell::Tquilta& main)
    {
        ui::ScopedWindowRunner runner([this](QWidget* w, bool modal) -> int {
            EXPECT_TRUE(modal);
            if (auto* f = qobject_cast<TLife_table_frm*>(w)) {
                if (on_form) on_form(f);
            } else if (auto* r = qobject_cast<TLife_table_result*>(w)) {
                ++results;
                if (on_result) on_result(r);
            } else if (auto* g = qobject_cast<charts::TGraph*>(w)) {
                if (on_chart) on_chart(g);
            }
            return 0;
        });
        main.menu_item("LifeTable1")->trigger();
    }
};

}  // namespace

TEST(LifeTableForm, OpensWithItsDefaults)
{
    ui::ScopedScriptedServices services;
    AnalysisMain m(services, three_ages());
    LifeTableRun run;
    run.on_form = [&](TLife_table_frm* f) {
        EXPECT_EQ(f->windowTitle(), "生命表");
        EXPECT_EQ(f->parent(), m.main.get());
        EXPECT_EQ(Life_table_frm, f);
        auto* list = child<QListWidget>(f, "ListBox2");
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->text(), "死亡率");
        EXPECT_TRUE(child<QRadioButton>(f, "RadioButton1")->isChecked());
        EXPECT_EQ(child<QRadioButton>(f, "RadioButton1")->text(), "1 Year ");
        EXPECT_TRUE(child<QRadioButton>(f, "RadioButton3")->isChecked());
        EXPECT_TRUE(child<QRadioButton>(f, "RadioButton8")->isChecked());
        EXPECT_FALSE(child<QPushButton>(f, "Button1")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(f, "Button2")->isEnabled());
        EXPECT_TRUE(child<QPushButton>(f, "Button3")->isEnabled());
        EXPECT_EQ(child<QLineEdit>(f, "Edit4")->text(), "0.2");
        EXPECT_EQ(child<QLineEdit>(f, "Edit5")->text(), "1.5");
        EXPECT_EQ(child<QComboBox>(f, "ComboBox1")->currentText(), "Male");

        child<QRadioButton>(f, "RadioButton7")->click();
        EXPECT_TRUE(child<QPushButton>(f, "Button1")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(f, "Button3")->isEnabled());
        child<QRadioButton>(f, "RadioButton8")->click();
        EXPECT_FALSE(child<QPushButton>(f, "Button2")->isEnabled());
        EXPECT_TRUE(child<QPushButton>(f, "Button3")->isEnabled());
    };
    run.run(*m.main);
    ASSERT_TRUE(Life_table_frm);
    EXPECT_TRUE(services.messages.empty());
}

TEST(LifeTableForm, ComputesTheTableIntoTheGrid)
{
    ui::ScopedScriptedServices services;
    AnalysisMain m(services, three_ages());
    std::vector<Row> rows;
    LifeTableRun run;
    run.on_form = [&](TLife_table_frm* f) {
        pick_field(f, 0);
        click(f, "Button3");
        EXPECT_EQ(child<QLineEdit>(f, "Edit6")->text(), "死亡率");
        click(f, "BitBtn1");
        // Death counts give the same rates: 100/1000, 100/500, 100/200.
        child<QRadioButton>(f, "RadioButton7")->click();
        pick_field(f, 1);
        click(f, "Button1");
        pick_field(f, 2);
        click(f, "Button2");
        click(f, "BitBtn1");
    };
    run.on_result = [&](TLife_table_result* r) {
        EXPECT_EQ(r->windowTitle(), "生命表");
        EXPECT_EQ(Life_table_result, r);
        EXPECT_EQ(r->StringGrid1()->row_count(), 4);
        for (int row = 0; row < 4; ++row) rows.push_back(grid_row(r, row));
    };
    run.run(*m.main);
    EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();
    ASSERT_EQ(run.results, 2);
    // Worked by hand: a(0) = 0.2, a(1) = 4a1/4 = 0.375; q = 1 - exp(-m); l(1) = exp(-0.1),
    // l(2) = exp(-0.3); L(0) = 0.2 (1 - l1) + l1; L(1) = 0.375 (l1 - l2) + l2; L(2) = l2/0.5.
    const std::vector<Row> expected = {
        {"年龄组", "Mx", "qx", "lx", "Dx", "Lx", "Tx", "ex"},
        {"0", ".1", ".095163", "1", ".095163", ".92387", "3.207832", "3.21"},
        {"1", ".2", ".181269", ".904837", ".164019", ".802325", "2.283962", "2.52"},
        {"2", ".5", "1", ".740818", ".740818", "1.481636", "1.481636", "2"},
    };
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(rows[static_cast<size_t>(i)], expected[static_cast<size_t>(i % 4)]) << i;
    }
    EXPECT_EQ(life_table_arrays.life_population, (std::vector<double>{1000, 500, 200}));
}

TEST(LifeTableForm, InputMessagesAndErrors)
{
    ui::ScopedScriptedServices services;
    AnalysisMain m(services, three_ages());
    LifeTableRun run;
    run.on_form = [&](TLife_table_frm* f) {
        click(f, "BitBtn1");  // 死亡率 without a field
        child<QRadioButton>(f, "RadioButton7")->click();
        child<QLineEdit>(f, "Edit2")->setText("人口");
        click(f, "BitBtn1");  // deaths missing
        child<QLineEdit>(f, "Edit3")->setText("没有");
        click(f, "BitBtn1");  // no such field
        child<QRadioButton>(f, "RadioButton8")->click();
        child<QLineEdit>(f, "Edit6")->setText("死亡率");
        child<QLineEdit>(f, "Edit4")->setText("abc");
        click(f, "BitBtn1");  // the uniform a0 is not a number
        child<QLineEdit>(f, "Edit4")->setText("0.2");
        child<QRadioButton>(f, "RadioButton5")->click();
        child<QComboBox>(f, "ComboBox1")->setEditText("male");
        click(f, "BitBtn1");  // a sex other than "Male" or "Female": nothing at all
        life_selected_field = 7;
        click(f, "Button3");
    };
    run.run(*m.main);
    EXPECT_EQ(run.results, 0);
    EXPECT_EQ(services.message_texts(),
              QStringList({"Not enough variable selected!", "Not enough variable selected!", "Field '没有' not found",
                           "'abc' is not a valid floating point value", "List index out of bounds (7)"}));
    life_selected_field = 0;
}

// An empty field reads 0, for the rates and for the population and death counts alike; a text
// in a field is still the conversion error.
TEST(LifeTableForm, AnEmptyFieldReadsZero)
{
    ui::ScopedScriptedServices services;
    // 死亡率 empty at age 1; 死亡 empty at age 1, so its rate 0/500 is 0 as well.
    AnalysisMain m(services, {{"死亡率", {0.1, 0.2, 0.5}, {1}}, {"人口", {1000, 500, 200}}, {"死亡", {100, 100, 100}, {1}}});
    std::vector<std::vector<Row>> tables;
    LifeTableRun run;
    run.on_form = [&](TLife_table_frm* f) {
        child<QLineEdit>(f, "Edit6")->setText("死亡率");
        click(f, "BitBtn1");
        child<QRadioButton>(f, "RadioButton7")->click();
        child<QLineEdit>(f, "Edit2")->setText("人口");
        child<QLineEdit>(f, "Edit3")->setText("死亡");
        click(f, "BitBtn1");
    };
    run.on_result = [&](TLife_table_result* r) {
        std::vector<Row> rows;
        for (int row = 0; row < 4; ++row) rows.push_back(grid_row(r, row));
        tables.push_back(rows);
    };
    run.run(*m.main);
    EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();
    ASSERT_EQ(tables.size(), 2u);
    // By hand, with m = 0.1, 0, 0.5 and a(0) = 0.2, a(1) = 0.375: l(1) = l(2) = exp(-0.1);
    // L(0) = 0.2 (1 - l1) + l1 = .923870; L(1) = l1 = .904837; L(2) = l2/0.5 = 1.809675;
    // T(2) = 1.809675, T(1) = 2.714512, T(0) = 3.638382; e = T/l.
    const std::vector<Row> expected = {
        {"年龄组", "Mx", "qx", "lx", "Dx", "Lx", "Tx", "ex"},
        {"0", ".1", ".095163", "1", ".095163", ".92387", "3.638382", "3.64"},
        {"1", "", "", ".904837", "", ".904837", "2.714512", "3"},
        {"2", ".5", "1", ".904837", ".904837", "1.809675", "1.809675", "2"},
    };
    for (const auto& rows : tables) EXPECT_EQ(rows, expected);
    EXPECT_EQ(life_table_arrays.life_population, (std::vector<double>{1000, 500, 200}));
}

TEST(LifeTableForm, ZeroRateInTheLastAgeEndsWithoutAWindow)
{
    ui::ScopedScriptedServices services;
    AnalysisMain m(services, {{"死亡率", {0.1, 0.0}}});
    LifeTableRun run;
    run.on_form = [&](TLife_table_frm* f) {
        child<QLineEdit>(f, "Edit6")->setText("死亡率");
        click(f, "BitBtn1");
    };
    run.run(*m.main);
    EXPECT_EQ(run.results, 0);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "Floating point division by zero");
}

TEST(LifeTableResult, SurvivalChartPointsAndLabels)
{
    ui::ScopedScriptedServices services;
    // Abridged groups 0, 1-4, 5-9, 10-14 at a constant rate.
    AnalysisMain m(services, {{"死亡率", {0.01, 0.01, 0.01, 0.01}}});
    std::vector<std::vector<QString>> labels;
    std::vector<std::vector<double>> values;
    LifeTableRun run;
    run.on_form = [&](TLife_table_frm* f) {
        child<QLineEdit>(f, "Edit6")->setText("死亡率");
        click(f, "BitBtn1");
        child<QRadioButton>(f, "RadioButton2")->click();
        click(f, "BitBtn1");
    };
    run.on_result = [&](TLife_table_result* r) { click(r, "BitBtn3"); };
    run.on_chart = [&](charts::TGraph* g) {
        chart::Chart& c = g->chart();
        EXPECT_EQ(charts::Graph, g);
        EXPECT_EQ(g->parent(), Life_table_result);
        EXPECT_TRUE(c.view3d());
        EXPECT_EQ(c.title_lines(), QStringList{"存活曲线图"});
        EXPECT_EQ(c.bottom_axis_title(), "年龄");
        EXPECT_EQ(c.left_axis_title(), "存活概率(lx)");
        ASSERT_EQ(c.series_count(), 1);
        const chart::Series& s = c.series(0);
        EXPECT_EQ(s.title(), "存活曲线");
        EXPECT_EQ(s.colour(), QColor(255, 0, 0));
        std::vector<QString> l;
        std::vector<double> v;
        for (int i = 0; i < s.count(); ++i) {
            l.push_back(s.point(i).label);
            v.push_back(s.point(i).value);
            EXPECT_EQ(s.point(i).colour, QColor(0, 0, 255));
        }
        labels.push_back(l);
        values.push_back(v);
    };
    run.run(*m.main);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0], (std::vector<QString>{"0", "1", "2", "3"}));
    EXPECT_EQ(labels[1], (std::vector<QString>{"0", "4", "9", "14"}));
    // l at single ages 0..3, then at the first ages of the groups: 0, 1, 5, 10.
    for (int x = 0; x < 4; ++x) EXPECT_NEAR(values[0][static_cast<size_t>(x)], std::exp(-0.01 * x), 1e-15);
    const int first_age[] = {0, 1, 5, 10};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(values[1][static_cast<size_t>(k)], std::exp(-0.01 * first_age[k]), 1e-15);
}

TEST(LifeTableResult, SavesANewParadoxTableAndNeverOverwrites)
{
    ui::ScopedScriptedServices services;
    AnalysisMain m(services, three_ages());
    const QString base = QString::fromStdString(m.dir.file("生命表"));
    const std::string saved = (base + ".db").toStdString();
    // A table the user already has, chosen with its extension in the dialog.
    const QString existing = QString::fromStdString(m.dir.file("existing.db"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a table of ours");
    }
    LifeTableRun run;
    run.on_form = [&](TLife_table_frm* f) {
        child<QLineEdit>(f, "Edit6")->setText("死亡率");
        click(f, "BitBtn1");
    };
    run.on_result = [&](TLife_table_result* r) {
        EXPECT_FALSE(r->SaveDialog1.confirm_overwrite);
        click(r, "BitBtn1");  // cancelled before any name: nothing
        services.save_answers.push_back(base);
        click(r, "BitBtn1");
        services.save_answers.push_back("");
        click(r, "BitBtn1");  // cancelled after that save: nothing, no message
        EXPECT_EQ(services.messages.size(), 1u);
        click(r, "BitBtn1");  // OK on the name the dialog keeps, which now exists
        services.save_answers.push_back(existing);
        click(r, "BitBtn1");
    };
    services.save_answers.push_back("");
    run.run(*m.main);
    EXPECT_EQ(services.save_dialogs, 5);
    for (const auto& msg : services.messages) EXPECT_EQ(msg.kind, ui::ScriptedServices::Message::InformationCancelOnly);
    EXPECT_EQ(services.message_texts(),
              QStringList({"File already Saved!",
                           "File" + QString::fromStdString(saved) + " already exist, Please change another file name!",
                           "File" + existing + " already exist, Please change another file name!"}));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("not a table of ours"));
    }
    EXPECT_FALSE(QFile::exists(existing + ".db"));

    // pxlib reads the saved table: eight text fields of 20, the header row first.
    const pxtest::PxTable t = pxtest::px_read(saved);
    ASSERT_EQ(t.fields.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(t.fields[static_cast<size_t>(i)].name, "field0" + std::to_string(i));
        EXPECT_EQ(t.fields[static_cast<size_t>(i)].len, 20);
    }
    ASSERT_EQ(t.num_records, 4);
    EXPECT_EQ(t.records[0][0].s, "\xc4\xea\xc1\xe4\xd7\xe9");  // 年龄组 in code page 936
    EXPECT_EQ(t.records[0][7].s, "ex");
    EXPECT_EQ(t.records[1][0].s, "0");
    EXPECT_EQ(t.records[1][6].s, "3.207832");
    EXPECT_EQ(t.records[3][2].s, "1");
    EXPECT_EQ(t.records[3][7].s, "2");
}

// A write error at each writing call of 保存: the new table is written whole or not at all, a
// failure leaves no file (the current table untouched), and 保存 to that name then works.
TEST(LifeTableResult, AFailedSaveLeavesNoFileAndTheNextSaveWorks)
{
    ui::ScopedScriptedServices services;
    AnalysisMain m(services, three_ages());
    const QString base = QString::fromStdString(m.dir.file("saved"));
    const std::string saved = (base + ".db").toStdString();
    db::test_common::TrialCounts n;
    LifeTableRun run;
    run.on_form = [&](TLife_table_frm* f) {
        child<QLineEdit>(f, "Edit6")->setText("死亡率");
        click(f, "BitBtn1");
    };
    run.on_result = [&](TLife_table_result* r) {
        auto save = [&]() -> std::string {
            services.messages.clear();
            services.save_answers.push_back(base);
            click(r, "BitBtn1");
            if (services.message_texts() == QStringList{"File already Saved!"}) return "";
            return services.message_texts().join('\n').toStdString();
        };
        db::test_common::FaultTrials t;
        t.folder = m.dir.path().string();
        t.kills = false;  // the engine-level trials kill the same write in a child process
        t.setup = [&] { std::filesystem::remove(saved); };
        t.command = save;
        t.snapshot = [&] { return db::test_common::describe_table_file(saved) + db::test_common::describe_table_file(m.path); };
        t.on_failure = [&](const std::string&) {
            ASSERT_EQ(services.messages.size(), 1u);
            EXPECT_EQ(services.messages[0].kind, ui::ScriptedServices::Message::Error);
            EXPECT_FALSE(std::filesystem::exists(saved));
            EXPECT_EQ(save(), "");  // not "already exist"
            EXPECT_EQ(pxtest::px_read(saved).num_records, 4);
        };
        n = db::test_common::run_fault_trials(t);
    };
    run.run(*m.main);
    EXPECT_EQ(run.results, 1);
    EXPECT_GT(n.reported_failed, 0);
    db::test_common::print_trial_counts("life-table save window", n);
}
