// The data-quality form, the UN age-sex form and their index result window, opened from the
// main window's menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "analysis/Data_quality_frm1.h"
#include "analysis/Index_result1.h"
#include "analysis/UN_sex_age1.h"
#include "analysis_table.h"
#include "platform/ui/modal.h"

using namespace vantelo;

namespace {

struct Shown {
    QStringList lines;
    QString good, acceptable, not_acceptable, title;
};

// Runs a menu command; `on_form` acts on the command's form and every index result window
// shown meanwhile is recorded.
std::vector<Shown> run_command(shell::Tquilta& main, const char* item, const std::function<void(QDialog*)>& on_form)
{
    std::vector<Shown> shown;
    ui::ScopedWindowRunner runner([&](QWidget* w, bool modal) -> int {
        EXPECT_TRUE(modal);
        if (auto* r = qobject_cast<TIndex_Result_frm*>(w)) {
            Shown s;
            auto* list = child<QListWidget>(r, "ListBox1");
            for (int i = 0; i < list->count(); ++i) s.lines << list->item(i)->text();
            s.good = child<QLineEdit>(r, "Edit1")->text();
            s.acceptable = child<QLineEdit>(r, "Edit2")->text();
            s.not_acceptable = child<QLineEdit>(r, "Edit3")->text();
            s.title = r->windowTitle();
            EXPECT_EQ(Index_Result_frm, r);
            shown.push_back(s);
        } else if (auto* f = qobject_cast<QDialog*>(w)) {
            on_form(f);
        }
        return 0;
    });
    main.menu_item(item)->trigger();
    return shown;
}

std::vector<double> flat(int n, double v = 1000) { return std::vector<double>(static_cast<size_t>(n), v); }

}  // namespace

TEST(DataQuality, EachIndexInTheResultWindow)
{
    ui::ScopedScriptedServices services;
    // 90 single ages, twice the people at ages ending in 0 and 5.
    std::vector<double> p = flat(90);
    for (int x = 0; x < 90; x += 5) p[static_cast<size_t>(x)] = 2000;
    AnalysisMain m(services, {{"年龄", flat(90, 1)}, {"人口", p}});
    const auto shown = run_command(*m.main, "N3", [&](QDialog* f) {
        EXPECT_EQ(f->windowTitle(), "Data Quality");
        EXPECT_EQ(f->parent(), nullptr);
        EXPECT_TRUE(child<QRadioButton>(f, "RadioButton1")->isChecked());
        EXPECT_EQ(child<QRadioButton>(f, "RadioButton2")->text(), "Whipple  指数");
        click(f, "BitBtn1");  // no field yet
        pick_field(f, 1);
        EXPECT_EQ(child<QLineEdit>(f, "Edit2")->text(), "人口");
        click(f, "BitBtn1");
        child<QRadioButton>(f, "RadioButton2")->click();
        click(f, "BitBtn1");
        child<QRadioButton>(f, "RadioButton3")->click();
        click(f, "BitBtn1");
        child<QRadioButton>(f, "RadioButton4")->click();
        click(f, "BitBtn1");
        child<QLineEdit>(f, "Edit2")->setText("没有");
        click(f, "BitBtn1");
    });
    EXPECT_EQ(services.message_texts(), QStringList({"Field Not Selected", "Field '没有' not found"}));
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].title, "数据质量评价");
    ASSERT_EQ(shown[0].lines.size(), 86);  // ages 2 to 87
    EXPECT_EQ(shown[0].lines[8], "10  166.67");  // 2000 over the mean 1200 of ages 8-12
    EXPECT_EQ(shown[0].lines[9], "11  83.33");
    EXPECT_EQ(shown[0].good, "Near 100");
    // Whipple: 100 x 8 x 2000 / ((32 x 1000 + 8 x 2000)/5).
    EXPECT_EQ(shown[1].lines, QStringList{"WI  166.67"});
    EXPECT_EQ(shown[1].good, "100-110");
    EXPECT_EQ(shown[1].not_acceptable, ">130");
    EXPECT_EQ(shown[2].lines.size(), 1);
    EXPECT_TRUE(shown[2].lines[0].startsWith("Mayer_index  "));
    EXPECT_EQ(shown[2].acceptable, "5-10");
    // Eighteen groups of 6000: no difference between neighbours.
    EXPECT_EQ(shown[3].lines, QStringList{"ARCerret_Index   "});
    EXPECT_EQ(shown[3].good, "<3");
}

TEST(DataQuality, ShortTablesAreRefusedWithAMessage)
{
    ui::ScopedScriptedServices services;
    AnalysisMain m(services, {{"人口", flat(62)}});
    const auto shown = run_command(*m.main, "N3", [&](QDialog* f) {
        child<QLineEdit>(f, "Edit2")->setText("人口");
        for (const char* radio : {"RadioButton2", "RadioButton3", "RadioButton4"}) {
            child<QRadioButton>(f, radio)->click();
            click(f, "BitBtn1");
        }
    });
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(services.message_texts(), QStringList({"Not Enough Age Groups(<62)", "Not Enough Age Groups(<89)",
                                                     "Not Enough Age Groups(<75)"}));
    for (const auto& msg : services.messages) EXPECT_EQ(msg.kind, ui::ScriptedServices::Message::Information);
}

TEST(UnAgeSex, CommandFormAndIndex)
{
    ui::ScopedScriptedServices services;
    // Three groups: SR = 100, 120, 100 gives 3 x 20; MAR(1) = 120 gives 20.
    AnalysisMain m(services, {{"男性", {100, 120, 100}}, {"女性", {100, 100, 100}}});
    const auto shown = run_command(*m.main, "N4", [&](QDialog* f) {
        EXPECT_EQ(f->windowTitle(), "联合国法");
        EXPECT_EQ(UN_sex_age_frm, f);
        EXPECT_EQ(shell::un_index_mode, 2);
        EXPECT_EQ(child<QLineEdit>(f, "Edit1")->text(), " ");
        click(f, "BitBtn2");  // the blank default names no field
        click(f, "Button1");  // nothing selected yet
        child<QListWidget>(f, "ListBox2")->setCurrentRow(0);
        click(f, "Button1");
        child<QListWidget>(f, "ListBox2")->setCurrentRow(1);
        click(f, "Button2");
        EXPECT_EQ(child<QLineEdit>(f, "Edit1")->text(), "男性");
        EXPECT_EQ(child<QLineEdit>(f, "Edit2")->text(), "女性");
        click(f, "BitBtn2");
    });
    EXPECT_EQ(services.message_texts(), QStringList({"Field ' ' not found", "List index out of bounds (-1)"}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].lines, QStringList{"联合国分性别指数:   80"});
    EXPECT_EQ(shown[0].good, "<20");
    EXPECT_EQ(shown[0].acceptable, "20-40");
    EXPECT_EQ(shown[0].not_acceptable, ">40");
}

TEST(UnAgeSex, TooFewGroupsIsRefused)
{
    ui::ScopedScriptedServices services;
    AnalysisMain m(services, {{"男性", {-1, 5, 5}}, {"女性", {5, 5, 5}}});
    const auto shown = run_command(*m.main, "N4", [&](QDialog* f) {
        child<QLineEdit>(f, "Edit1")->setText("男性");
        child<QLineEdit>(f, "Edit2")->setText("女性");
        click(f, "BitBtn2");
    });
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(services.message_texts(), QStringList{"Not Enough Age Groups(<3)"});
}

TEST(AnalysisCommands, RefusedWithoutAnOpenTable)
{
    ui::ScopedScriptedServices services;
    AnalysisMain m(services, {{"人口", flat(5)}});
    m.main->Close1Click();
    int windows = 0;
    ui::ScopedWindowRunner runner([&](QWidget*, bool) { return ++windows, 0; });
    for (const char* item : {"LifeTable1", "N3", "N4"}) {
        EXPECT_TRUE(m.main->menu_item(item)->isEnabled()) << item;
        m.main->menu_item(item)->trigger();
    }
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(services.message_texts(), QStringList({"没有打开的数据表!请先打开数据表.", "没有打开的数据表!请先打开数据表.",
                                                     "没有打开的数据表!请先打开数据表."}));
}
