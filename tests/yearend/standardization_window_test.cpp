// 人口数据标准化 from the menu: both tabs write their columns (Paradox and dBASE, read back by
// the program and by independent readers), the window stays open for more; refused inputs and
// a refused column statement leave the table open.
#include "analysis/standardization_Frm1.h"
#include "window_fixture.h"
#include "tests/projection_windows/projection_table.h"

#include <QTabWidget>

using namespace vantelo;

namespace {

constexpr int ages = 81;

// People falling with age, at odd counts so that the shares are not round.
InputRow structure_row(int x) { return {12345.0 - 101 * x, 11987.0 - 97 * x + (x % 3), 0.01, 0.01, 0}; }

using Form = Tstandardization_Frm;

class StandardizationWindow : public CommandWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(StandardizationWindow, BothTabsWriteColumnsSummingToTheTotal)
{
    ProjectionTable input(ages, structure_row, "input", GetParam());
    input.table.close();
    open(input.path);
    EXPECT_TRUE(main->menu_item("N12")->isEnabled());
    const bool shown = run<Form>(&shell::Tquilta::N12Click, [&](Form* f) {
        EXPECT_EQ(f->windowTitle(), "人口数据标准化");
        EXPECT_EQ(f->findChild<QTabWidget*>("PageControl1")->currentIndex(), 0);
        EXPECT_EQ(edit(f, "Edit7")->text(), "10000000");
        EXPECT_EQ(list(f, "ComboBox10")->count(), 6);
        choose(list(f, "ComboBox4"), "男性人口");
        choose(list(f, "ComboBox5"), "女性人口");
        button(f, "Button3")->click();
        // Tab 2: the rural lists load the same arrays; the urban structure is the reverse.
        choose(list(f, "ComboBox2"), "男性人口");
        choose(list(f, "ComboBox3"), "女性人口");
        choose(list(f, "ComboBox1"), "女性人口");
        choose(list(f, "ComboBox10"), "男性人口");
        edit(f, "Edit8")->setText("1000");
        button(f, "Button1")->click();
    });
    EXPECT_TRUE(shown);  // the window stays open after 确定
    EXPECT_TRUE(svc.messages.empty()) << (svc.messages.empty() ? "" : svc.messages[0].text.toStdString());
    EXPECT_EQ(shell::table_open, 1);
    // the new columns follow the table's six fields (dBASE keeps ten bytes of 年龄别生育率)
    EXPECT_EQ(shell::main_table_field_names().mid(6),
              (QStringList{"Smale01", "Sfemale01", "Rmale01", "Rfemale01", "Umale01", "Ufemale01"}));
    EXPECT_EQ(shell::main_table_field_count(), 12);

    long double s = 0;
    for (int x = 0; x < ages; ++x) s += static_cast<long double>(structure_row(x).male) + structure_row(x).female;
    struct Column {
        const char* name;
        double total;
        long double joint;
        std::function<double(int)> people;
    };
    auto male = [](int x) { return structure_row(x).male; };
    auto female = [](int x) { return structure_row(x).female; };
    const Column columns[] = {{"Smale01", 1e7, s, male}, {"Sfemale01", 1e7, s, female}, {"Rmale01", 1000, 2 * s, male},
                              {"Rfemale01", 1000, 2 * s, female}, {"Umale01", 1000, 2 * s, female},
                              {"Ufemale01", 1000, 2 * s, male}};
    long double sum_tab1 = 0, sum_tab2 = 0;
    for (const Column& c : columns) {
        SCOPED_TRACE(c.name);
        const std::vector<double> v = shell::main_table_column(c.name);
        const auto indep = independent_column(input.path, c.name);
        ASSERT_EQ(v.size(), static_cast<size_t>(ages));
        ASSERT_EQ(indep.size(), static_cast<size_t>(ages));
        for (int x = 0; x < ages; ++x) {
            const double exact = static_cast<double>(c.people(x) / c.joint * c.total);
            EXPECT_NEAR(v[x], exact, 0.5 + 1e-6) << x;
            EXPECT_EQ(v[x], std::nearbyint(v[x])) << x;
            EXPECT_EQ(indep[x], v[x]) << x;
            (c.total == 1e7 ? sum_tab1 : sum_tab2) += v[x];
        }
    }
    EXPECT_NEAR(static_cast<double>(sum_tab1), 1e7, ages);  // each whole person within a half
    EXPECT_NEAR(static_cast<double>(sum_tab2), 1000, 2 * ages);
    // The arrays keep the unrounded numbers.
    const auto& urban = urban_rural::urban_workspace().urban;
    EXPECT_NEAR(urban.pop_male[0], structure_row(0).female / (2 * s) * 1000, 1e-9);
}

// A write error at each writing call of 确定 on either tab: the table gets all the tab's columns,
// complete, or stays as it was with a message that no column was added.
TEST_P(StandardizationWindow, AFailedWriteAddsNoColumn)
{
    ProjectionTable input(ages, structure_row, "input", GetParam());
    input.table.close();
    const struct {
        const char* tab;
        std::function<void(Form*)> script;
    } tabs[] = {
        {"by age",
         [](Form* f) {
             choose(list(f, "ComboBox4"), "男性人口");
             choose(list(f, "ComboBox5"), "女性人口");
             button(f, "Button3")->click();
         }},
        {"rural and urban",
         [](Form* f) {
             choose(list(f, "ComboBox2"), "男性人口");
             choose(list(f, "ComboBox3"), "女性人口");
             choose(list(f, "ComboBox1"), "女性人口");
             choose(list(f, "ComboBox10"), "男性人口");
             button(f, "Button1")->click();
         }},
    };
    for (const auto& tab : tabs) {
        SCOPED_TRACE(tab.tab);
        const auto n = result_column_trials(input.path, [&] { run<Form>(&shell::Tquilta::N12Click, tab.script); });
        EXPECT_GT(n.reported_failed, 0);
        db::test_common::print_trial_counts(std::string("standardisation window, ") + tab.tab + ", " + GetParam(), n);
    }
}

INSTANTIATE_TEST_SUITE_P(BothFormats, StandardizationWindow, ::testing::Values(".db", ".dbf"),
                         [](const auto& info) { return std::string(info.index == 0 ? "Paradox" : "dBASE"); });

using StandardizationRefusals = CommandWindowTest;

TEST_F(StandardizationRefusals, Messages)
{
    struct Case {
        const char* name;
        std::function<void(Form*)> script;
        std::string message;
    };
    auto tab1 = [](Form* f) {
        choose(list(f, "ComboBox4"), "男性人口");
        choose(list(f, "ComboBox5"), "女性人口");
    };
    const std::vector<Case> cases = {
        {"a list of the tab empty", [](Form* f) { choose(list(f, "ComboBox4"), "男性人口"); }, "选定原始数据变量不够!"},
        {"tab 2 with tab 1's lists", [&](Form* f) { tab1(f); f->Button1Click(); }, "选定原始数据变量不够!"},
        {"total empty", [&](Form* f) { tab1(f); edit(f, "Edit7")->setText(""); }, "总人口数据不正确."},
        {"total not a number", [&](Form* f) { tab1(f); edit(f, "Edit7")->setText("一千万"); },
         "'一千万' is not a valid floating point value"},
        {"a name that is a field", [&](Form* f) { tab1(f); edit(f, "Edit6")->setText("女性人口"); },
         "女性人口变量已存在，请输入新的变量名."},
    };
    ProjectionTable input(ages, structure_row, "input", ".db");
    input.table.close();
    open(input.path);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        svc.messages.clear();
        const bool shown = run<Form>(&shell::Tquilta::N12Click, [&](Form* f) {
            c.script(f);
            if (std::string(c.name) != "tab 2 with tab 1's lists") button(f, "Button3")->click();
        });
        EXPECT_TRUE(shown);
        EXPECT_EQ(messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(shell::main_table_field_count(), 6);
    }
}

// A column statement the engine refuses: the table is open again before the error is shown,
// and no column is added, not even those before it.
TEST_F(StandardizationRefusals, RefusedStatementLeavesTheTableOpen)
{
    ProjectionTable input(ages, structure_row, "input", ".db");
    input.table.close();
    open(input.path);
    run<Form>(&shell::Tquilta::N12Click, [&](Form* f) {
        choose(list(f, "ComboBox4"), "男性人口");
        choose(list(f, "ComboBox5"), "女性人口");
        edit(f, "Edit5")->setText("S1");
        edit(f, "Edit6")->setText("S1");  // the boxes are not compared with each other
        button(f, "Button3")->click();
    });
    ASSERT_EQ(svc.messages.size(), 1u);
    EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Error);
    EXPECT_EQ(svc.messages[0].text, "新变量未能写入表中: Duplicate field name 'S1'\n没有添加任何变量.");
    EXPECT_TRUE(main->Table1.active());
    EXPECT_EQ(shell::table_open, 1);
    EXPECT_EQ(shell::main_table_field_count(), 6);
}

}  // namespace
