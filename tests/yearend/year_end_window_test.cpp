// 推算年末人口结构 from the menu: fields chosen, totals typed, 运算; the two new columns in a
// Paradox and a dBASE table, read back by the program and by independent readers; the
// messages of refused inputs, after which the window stays open and the table unchanged.
#include "analysis/pop_stru_end_Frm1.h"
#include "stationary_population.h"
#include "window_fixture.h"
#include "tests/projection_windows/projection_table.h"

using namespace vantelo;

namespace {

constexpr int ages = yearend_reference::stationary_ages;
constexpr double male_births = yearend_reference::stationary_male_births;
constexpr double female_births = yearend_reference::stationary_female_births;
using yearend_reference::stationary_row;
using yearend_reference::stationary_total;

QString text(long double v) { return QString::number(static_cast<double>(v), 'f', 4); }

using Form = Tpop_stru_end_Frm;

void choose_all(Form* f)
{
    choose(list(f, "ComboBox2"), "男性人口");
    choose(list(f, "ComboBox3"), "女性人口");
    choose(list(f, "ComboBox4"), "男性死亡率");
    choose(list(f, "ComboBox5"), "女性死亡率");
}

class YearEndWindow : public CommandWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(YearEndWindow, StationaryPopulationWrittenAsTwoColumns)
{
    ProjectionTable input(ages, stationary_row, "input", GetParam());
    input.table.close();
    open(input.path);
    EXPECT_TRUE(main->menu_item("N7")->isEnabled());
    const bool shown = run<Form>(&shell::Tquilta::N7Click, [&](Form* f) {
        EXPECT_EQ(f->windowTitle(), "推算年末人口数");
        EXPECT_EQ(edit(f, "Edit1")->text(), "0.0");
        EXPECT_EQ(edit(f, "Edit4")->text(), "Tcm01");
        EXPECT_EQ(edit(f, "Edit5")->text(), "Tcf01");
        EXPECT_EQ(list(f, "ComboBox4")->count(), 6);
        EXPECT_TRUE(list(f, "ComboBox4")->currentText().isEmpty());
        choose_all(f);
        edit(f, "Edit1")->setText(text(stationary_total()));
        edit(f, "Edit2")->setText(text(male_births));
        edit(f, "Edit3")->setText(text(female_births));
        button(f, "BitBtn2")->click();
    });
    EXPECT_FALSE(shown);  // closed after the columns are written
    EXPECT_TRUE(svc.messages.empty()) << (svc.messages.empty() ? "" : svc.messages[0].text.toStdString());
    EXPECT_EQ(shell::table_open, 1);
    ASSERT_TRUE(main->Table1.active());
    // the new columns follow the table's six fields (dBASE keeps ten bytes of 年龄别生育率)
    EXPECT_EQ(shell::main_table_field_names().mid(6), (QStringList{"Tcm01", "Tcf01"}));
    EXPECT_EQ(shell::main_table_field_count(), 8);

    projection::ProjectionWorkspace& ws = projection::projection_workspace();
    const std::string quoted = "\"" + input.path + "\"";
    EXPECT_EQ(ws.alter_sql_1, "alter table " + quoted + " Add Tcm01 Float");
    EXPECT_EQ(ws.alter_sql_2, "alter table " + quoted + " Add Tcf01 Float");

    const std::vector<double> m = shell::main_table_column("Tcm01"), f = shell::main_table_column("Tcf01");
    const auto im = independent_column(input.path, "Tcm01"), jf = independent_column(input.path, "Tcf01");
    ASSERT_EQ(m.size(), static_cast<size_t>(ages));
    ASSERT_EQ(im.size(), static_cast<size_t>(ages));
    ASSERT_EQ(jf.size(), static_cast<size_t>(ages));
    for (int x = 0; x < ages; ++x) {
        const InputRow r = stationary_row(x);
        EXPECT_NEAR(m[x], r.male, 0.5 + 1e-6) << x;  // the stationary population, whole persons
        EXPECT_NEAR(f[x], r.female, 0.5 + 1e-6) << x;
        EXPECT_EQ(m[x], std::nearbyint(m[x]));
        EXPECT_EQ(im[x], m[x]) << x;
        EXPECT_EQ(jf[x], f[x]) << x;
        EXPECT_EQ(ws.next_pop_male[x], m[x]);
    }
}

// A write error at each writing call of 运算: the table gets both columns, complete, or stays
// as it was with a message that no column was added.
TEST_P(YearEndWindow, AFailedWriteAddsNoColumn)
{
    ProjectionTable input(ages, stationary_row, "input", GetParam());
    input.table.close();
    const auto n = result_column_trials(input.path, [&] {
        run<Form>(&shell::Tquilta::N7Click, [&](Form* f) {
            choose_all(f);
            edit(f, "Edit1")->setText(text(stationary_total()));
            edit(f, "Edit2")->setText(text(male_births));
            edit(f, "Edit3")->setText(text(female_births));
            button(f, "BitBtn2")->click();
        });
    });
    EXPECT_GT(n.reported_failed, 0);
    db::test_common::print_trial_counts(std::string("year-end window, ") + GetParam(), n);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, YearEndWindow, ::testing::Values(".db", ".dbf"),
                         [](const auto& info) { return std::string(info.index == 0 ? "Paradox" : "dBASE"); });

using YearEndRefusals = CommandWindowTest;

TEST_F(YearEndRefusals, MessagesLeaveTheWindowOpenAndTheTableAsItWas)
{
    struct Case {
        const char* name;
        std::function<void(Form*)> script;
        std::string message;
    };
    const long double natural = stationary_total();
    const std::vector<Case> cases = {
        {"a field not chosen", [](Form* f) {
             choose(list(f, "ComboBox2"), "男性人口");
             choose(list(f, "ComboBox3"), "女性人口");
             choose(list(f, "ComboBox4"), "男性死亡率");
         }, "选定原始数据变量不够!"},
        {"the default texts", [](Form* f) { choose_all(f); }, "数据逻辑错误!"},
        {"a name that is a field", [&](Form* f) {
             choose_all(f);
             edit(f, "Edit1")->setText(text(natural));
             edit(f, "Edit2")->setText(text(male_births));
             edit(f, "Edit3")->setText(text(female_births));
             edit(f, "Edit5")->setText("女性人口");
         }, "女性人口变量已存在，请输入新的变量名."},
        {"a total out of reach", [&](Form* f) {
             choose_all(f);
             edit(f, "Edit1")->setText(text(natural * 0.6L));
             edit(f, "Edit2")->setText(text(male_births));
             edit(f, "Edit3")->setText(text(female_births));
         }, "数据逻辑错误!!!请检查数据!"},
    };
    ProjectionTable input(ages, stationary_row, "input", ".db");
    input.table.close();
    open(input.path);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        svc.messages.clear();
        const bool shown = run<Form>(&shell::Tquilta::N7Click, [&](Form* f) {
            c.script(f);
            button(f, "BitBtn2")->click();
        });
        EXPECT_TRUE(shown);
        EXPECT_EQ(messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(shell::main_table_field_count(), 6);
        EXPECT_TRUE(main->Table1.active());
    }
}

// A death rate of 0 at the last age stops the loader with the division error; 运算 then refuses
// the half-built life table instead of using it.
TEST_F(YearEndRefusals, IncompleteLifeTableIsNotUsed)
{
    ProjectionTable input(ages, [](int x) {
        InputRow r = stationary_row(x);
        if (x == ages - 1) r.m_female = 0;
        return r;
    }, "input", ".db");
    input.table.close();
    open(input.path);
    const bool shown = run<Form>(&shell::Tquilta::N7Click, [&](Form* f) {
        choose_all(f);
        edit(f, "Edit1")->setText(text(stationary_total()));
        edit(f, "Edit2")->setText(text(male_births));
        edit(f, "Edit3")->setText(text(female_births));
        button(f, "BitBtn2")->click();
    });
    EXPECT_TRUE(shown);
    ASSERT_EQ(svc.messages.size(), 2u);
    EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Error);
    EXPECT_EQ(svc.messages[0].text, "Floating point division by zero");
    EXPECT_EQ(svc.messages[1].kind, ui::ScriptedServices::Message::Information);
    EXPECT_EQ(svc.messages[1].text, "女性年龄别死亡率数据格式不正确.");
    EXPECT_EQ(shell::main_table_field_count(), 6);
}

TEST_F(YearEndRefusals, CancelClosesAndChangesNothing)
{
    ProjectionTable input(ages, stationary_row, "input", ".db");
    input.table.close();
    open(input.path);
    const bool shown = run<Form>(&shell::Tquilta::N7Click, [&](Form* f) { button(f, "BitBtn1")->click(); });
    EXPECT_FALSE(shown);
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_EQ(shell::main_table_field_count(), 6);
}

}  // namespace
