// The commands as the user runs them, from the main window's menu with scripted dialogs, each
// run in a forked child that makes its own offscreen application: a write error and a kill at
// each writing call of 计算, 推算年末人口结构, 人口数据标准化 (both tabs) and the life-table save,
// on Paradox and dBASE tables. Afterwards every file is as before or as after the command, a
// failure has changed nothing and says so, and no temporary file is left.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "analysis/Life_table_frm1.h"
#include "analysis/Life_table_result1.h"
#include "analysis/analysis_launchers.h"
#include "analysis/pop_stru_end_Frm1.h"
#include "analysis/result_column_launchers.h"
#include "analysis/standardization_Frm1.h"
#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "projection/engine/workspace.h"
#include "shell/app_state.h"
#include "shell/compute_Frm1.h"
#include "shell/menu.h"
#include "shell/result_columns.h"
#include "shell/table_tools.h"
#include "tests/common/widget_events.h"
#include "tests/write_trials/trial_tables.h"
#include "tests/yearend/stationary_population.h"
#include "urban_rural/engine/urban_workspace.h"

namespace vantelo::db::test_common {
namespace {

constexpr int ages = yearend_reference::stationary_ages;
constexpr double male_births = yearend_reference::stationary_male_births;
constexpr double female_births = yearend_reference::stationary_female_births;
using yearend_reference::stationary_row;

QString total_text() { return QString::number(static_cast<double>(yearend_reference::stationary_total()), 'f', 4); }

template <class W>
W* child_of(QWidget* w, const char* name)
{
    W* c = w->findChild<W*>(name);
    if (!c) throw std::runtime_error(std::string("no ") + name);
    return c;
}

void choose(QWidget* w, const char* box, const QString& text)
{
    auto* b = child_of<QComboBox>(w, box);
    const int i = b->findText(text);
    if (i < 0) throw std::runtime_error("no item " + text.toStdString());
    test_events::pick(b, i);
}

// The program in this (child) process: its application, scripted dialogs, the main window with
// every command registered and the table opened through File > 打开.
struct ChildProgram {
    ui::ScopedScriptedServices svc;
    std::unique_ptr<shell::Tquilta> main;

    explicit ChildProgram(const std::string& table)
    {
        static int argc = 1;
        static char arg0[] = "write-trials";
        static char* argv[] = {arg0, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QApplication* app = new QApplication(argc, argv);
        (void)app;
        projection::reset_projection_workspace();
        urban_rural::reset_urban_workspace();
        shell::reset_app_state();
        analysis::register_year_end_and_standardization();
        analysis::register_analysis_windows();
        shell::register_table_tools();
        main = std::make_unique<shell::Tquilta>();
        main->update_launchers();
        svc.open_answers.push_back(QString::fromStdString(table));
        main->Open1Click();
        if (!main->Table1.active()) throw std::runtime_error("the table did not open");
    }
    ~ChildProgram() { ui::set_window_runner({}); }

    // Runs a command; script acts on each window it shows, while shown.
    std::string run(void (shell::Tquilta::*command)(), const std::function<void(QWidget*)>& script)
    {
        ui::set_window_runner([&](QWidget* w, bool) -> int {
            w->show();
            script(w);
            w->hide();
            return 0;
        });
        ((*main).*command)();
        return svc.message_texts().join('\n').toStdString();
    }
};

struct WindowCommand {
    const char* name;
    std::function<std::string(ChildProgram&)> run;   // "" when it reported success
    bool adds_columns = false;
    bool saves_life_table = false;
};

std::vector<WindowCommand> commands()
{
    return {
        {"计算",
         [](ChildProgram& p) {
             return p.run(&shell::Tquilta::Compute1Click, [](QWidget* w) {
                 choose(w, "ComboBox1", "男性人口");
                 choose(w, "ComboBox2", "年龄");
                 choose(w, "ComboBox3", "*");
                 choose(w, "ComboBox4", "年龄");
                 child_of<QPushButton>(w, "BitBtn1")->click();
             });
         }},
        {"推算年末人口结构",
         [](ChildProgram& p) {
             return p.run(&shell::Tquilta::N7Click, [](QWidget* w) {
                 choose(w, "ComboBox2", "男性人口");
                 choose(w, "ComboBox3", "女性人口");
                 choose(w, "ComboBox4", "男性死亡率");
                 choose(w, "ComboBox5", "女性死亡率");
                 child_of<QLineEdit>(w, "Edit1")->setText(total_text());
                 child_of<QLineEdit>(w, "Edit2")->setText(QString::number(male_births));
                 child_of<QLineEdit>(w, "Edit3")->setText(QString::number(female_births));
                 child_of<QPushButton>(w, "BitBtn2")->click();
             });
         },
         true},
        {"人口数据标准化, 按年龄结构",
         [](ChildProgram& p) {
             return p.run(&shell::Tquilta::N12Click, [](QWidget* w) {
                 choose(w, "ComboBox4", "男性人口");
                 choose(w, "ComboBox5", "女性人口");
                 child_of<QPushButton>(w, "Button3")->click();
             });
         },
         true},
        {"人口数据标准化, 分城乡分年龄结构",
         [](ChildProgram& p) {
             return p.run(&shell::Tquilta::N12Click, [](QWidget* w) {
                 choose(w, "ComboBox2", "男性人口");
                 choose(w, "ComboBox3", "女性人口");
                 choose(w, "ComboBox1", "女性人口");
                 choose(w, "ComboBox10", "男性人口");
                 child_of<QPushButton>(w, "Button1")->click();
             });
         },
         true},
        {"生命表 保存",
         [](ChildProgram& p) {
             p.svc.save_answers.push_back("saved");
             ui::set_window_runner([&](QWidget* w, bool) -> int {
                 w->show();
                 if (qobject_cast<TLife_table_frm*>(w)) {
                     child_of<QLineEdit>(w, "Edit6")->setText("男性死亡率");
                     child_of<QPushButton>(w, "BitBtn1")->click();
                 } else if (qobject_cast<TLife_table_result*>(w)) {
                     child_of<QPushButton>(w, "BitBtn1")->click();
                 }
                 w->hide();
                 return 0;
             });
             p.main->menu_item("LifeTable1")->trigger();
             const std::string reported = p.svc.message_texts().join('\n').toStdString();
             return reported == "File already Saved!" ? std::string() : reported;
         },
         false, true},
    };
}

class WindowTrials : public ::testing::TestWithParam<const char*> {};

TEST_P(WindowTrials, EveryCommandIsWholeOrNothing)
{
    ProjectionTable input(ages, stationary_row, "input", GetParam());
    input.table.close();
    const std::string folder = input.dir.string();
    const std::vector<unsigned char> original = file_bytes(input.path);
    const std::string saved = folder + "/saved.db";
    for (const WindowCommand& c : commands()) {
        SCOPED_TRACE(c.name);
        FaultTrials t;
        t.folder = folder;
        t.in_child = true;
        t.setup = [&] {
            write_file_atomically(input.path, original);
            std::filesystem::remove(saved);
        };
        t.command = [&]() -> std::string {
            // The program runs in the folder of its tables, as the user starts it there.
            std::filesystem::current_path(folder);
            ChildProgram program(input.path);
            return c.run(program);
        };
        t.snapshot = [&] { return describe_table_file(input.path) + describe_table_file(saved); };
        t.on_failure = [&](const std::string& reported) {
            if (c.adds_columns) {
                EXPECT_EQ(reported.rfind("新变量未能写入表中: ", 0), 0u) << reported;
                EXPECT_NE(reported.find(shell::no_column_added_text), std::string::npos) << reported;
            }
        };
        const TrialCounts n = run_fault_trials(t);
        EXPECT_GT(n.reported_failed, 0);
        print_trial_counts(std::string("window ") + c.name + ", " + GetParam(), n);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, WindowTrials, ::testing::Values(".db", ".dbf"),
                         [](const auto& info) { return std::string(info.index == 0 ? "Paradox" : "DBase"); });

}  // namespace
}  // namespace vantelo::db::test_common
