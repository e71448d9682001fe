// The file commands, the table check and the shared launch path.
#include <QAction>
#include <QDialog>
#include <QFile>
#include <QToolButton>

#include "shell/dataset_model.h"
#include "shell_test_util.h"

namespace vantelo::shell::testing {
namespace {

// A command window as the launchers see it.
class FakeWindow : public QDialog {
public:
    using QDialog::QDialog;
};

struct Launched {
    QString item;
    FakeWindow* window;
    bool modal;
    int edit_mode_at_creation;
};

class Commands : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        for (const char* item : all_items) {
            QString name = item;
            register_window(name, [this, name](Tquilta& main) -> QWidget* {
                FakeWindow* w = new_window(&main, newest);
                w->setObjectName(name);
                created.push_back({name, w, false, structure_edit_mode});
                return w;
            });
        }
        win->update_launchers();
        ui::set_window_runner([this](QWidget* w, bool modal) {
            for (auto& c : created)
                if (c.window == w) c.modal = modal;
            shown.push_back(w);
            return 0;
        });
    }
    void TearDown() override
    {
        for (const char* item : all_items) register_window(item, {});
        MainWindowTest::TearDown();
    }
    static constexpr const char* all_items[] = {
        "New1", "N8", "Table_info", "Restructure1", "Convert1", "Compute1", "N3", "N4", "LifeTable1", "N7", "N12",
        "Projection1", "N6", "Line1", "Bar1", "HorizBar1", "Point1", "Area1", "Scator1", "AgePyrimider1", "About1",
        "Simulation1"};
    FakeWindow* newest = nullptr;
    std::vector<Launched> created;
    std::vector<QWidget*> shown;
};

// The items whose command needs an open table, with the message shown without one.
const struct {
    const char* item;
    const char* message;
} checked_items[] = {
    {"Table_info", "没有打开的数据表!请先打开数据表."}, {"Restructure1", "没有打开的数据表!"},
    {"Convert1", "没有打开的数据表!请先打开数据表."},   {"Compute1", "没有打开的数据表!请先打开数据表."},
    {"N3", "没有打开的数据表!请先打开数据表."},         {"N4", "没有打开的数据表!请先打开数据表."},
    {"LifeTable1", "没有打开的数据表!请先打开数据表."}, {"N7", "没有打开的数据表!请先打开数据表."},
    {"N12", "没有打开的数据表!请先打开数据表."},        {"Projection1", "没有打开的数据表!请先打开数据表."},
    {"N6", "没有打开的数据表!请先打开数据表."},         {"Line1", "没有打开的数据表!请先打开数据表."},
    {"Bar1", "没有打开的数据表!请先打开数据表."},       {"HorizBar1", "没有打开的数据表!请先打开数据表."},
    {"Point1", "没有打开的数据表!请先打开数据表."},     {"Area1", "没有打开的数据表!请先打开数据表."},
    {"Scator1", "没有打开的数据表!请先打开数据表."},    {"AgePyrimider1", "没有打开的数据表!请先打开数据表."},
};

TEST_F(Commands, EveryTableCommandRefusesWithoutATableAndCreatesNoWindow)
{
    for (const auto& c : checked_items) {
        svc.clear();
        win->menu_item(c.item)->trigger();
        ASSERT_EQ(svc.messages.size(), 1u) << c.item;
        EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Information) << c.item;
        EXPECT_EQ(svc.messages[0].text, QString::fromUtf8(c.message)) << c.item;
    }
    EXPECT_TRUE(created.empty());
    EXPECT_EQ(structure_edit_mode, 0);
}

TEST_F(Commands, RefusedAgainAfterClose)
{
    prepare(path("t.DB"));
    ASSERT_EQ(table_open, 1);
    win->Close1Click();
    EXPECT_EQ(table_open, 0);
    EXPECT_FALSE(win->Table1.active());
    svc.clear();
    win->menu_item("Compute1")->trigger();
    EXPECT_EQ(svc.message_texts(), QStringList{"没有打开的数据表!请先打开数据表."});
    EXPECT_TRUE(created.empty());
}

TEST_F(Commands, CommandsWithoutCheckOpenTheirWindows)
{
    win->menu_item("New1")->trigger();
    win->menu_item("N8")->trigger();
    win->menu_item("About1")->trigger();
    EXPECT_TRUE(svc.messages.empty());
    ASSERT_EQ(created.size(), 3u);
    EXPECT_EQ(created[0].item, "New1");
    EXPECT_EQ(created[0].edit_mode_at_creation, 1);  // set before the window is created
    EXPECT_TRUE(created[0].modal);
    EXPECT_EQ(created[1].item, "N8");
    EXPECT_FALSE(created[1].modal);  // the wizard does not block
    EXPECT_TRUE(created[2].modal);
    EXPECT_EQ(newest, created[2].window);
    for (const auto& c : created) EXPECT_EQ(c.window->parentWidget(), win.get());
}

TEST_F(Commands, LaunchersWithATableCreateANewWindowEachTime)
{
    prepare(path("t.DB"));
    svc.clear();
    for (const auto& c : checked_items) win->menu_item(c.item)->trigger();
    EXPECT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
    ASSERT_EQ(created.size(), std::size(checked_items));
    for (const auto& c : created) EXPECT_TRUE(c.modal) << c.item.toStdString();
    EXPECT_EQ(created[1].item, "Restructure1");
    EXPECT_EQ(created[1].edit_mode_at_creation, 2);
    EXPECT_EQ(un_index_mode, 2);
    win->menu_item("Table_info")->trigger();
    ASSERT_EQ(created.size(), std::size(checked_items) + 1);
    EXPECT_NE(created.back().window, created.front().window);
    EXPECT_EQ(newest, created.back().window);
    EXPECT_EQ(win->field_names(),
              (QStringList{"年龄", "男性人口", "女性人口", "男性死亡率", "女性死亡率", "年龄别生育率"}));
}

TEST_F(Commands, UnboundPlanningWindowIsCreatedBeforeTheCheckAndStaysHidden)
{
    win->Simulation1Click();
    ASSERT_EQ(created.size(), 1u);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(svc.message_texts(), QStringList{"没有打开的数据表!请先打开数据表."});
}

// A Cancel in the 打开 dialog leaves the open table open and current, at the dialog's first
// use and after an earlier 打开.
TEST_F(Commands, CancelledOpenLeavesTheTableOpen)
{
    for (bool earlier_open : {false, true}) {
        SCOPED_TRACE(earlier_open ? "after an earlier open" : "first use");
        win = std::make_unique<Tquilta>();
        QFile::remove(path("t.DB"));
        QFile::remove(path("u.DB"));
        prepare(path("t.DB"));
        if (earlier_open) {
            prepare(path("u.DB"), true);
            open(path("t.DB"));
        }
        svc.clear();
        svc.open_answers.push_back(QString());
        win->Open1Click();
        EXPECT_EQ(svc.open_dialogs, 1);
        EXPECT_TRUE(svc.messages.empty());
        EXPECT_EQ(table_open, 1);
        EXPECT_TRUE(win->Table1.active());
        EXPECT_EQ(QString::fromStdString(win->Table1.table_name()), path("t.DB"));
        EXPECT_EQ(current_table_file, path("t.DB"));
        EXPECT_EQ(win->DataSource1->rowCount(), 81);
        EXPECT_EQ(win->DataSource1->columnCount(), 6);
        win->menu_item("Table_info")->trigger();
        EXPECT_TRUE(svc.messages.empty());
    }
}

TEST_F(Commands, OpenShowsTheTableAndClearsTheDialogName)
{
    prepare(path("a.DB"));
    win->Close1Click();
    open(path("a.DB"));
    EXPECT_EQ(table_open, 1);
    EXPECT_EQ(current_table_file, path("a.DB"));
    EXPECT_EQ(QString::fromStdString(win->Table1.table_name()), path("a.DB"));
    EXPECT_TRUE(win->OpenDialog1.file_name.isEmpty());
    EXPECT_EQ(win->DataSource1->rowCount(), 81);
    EXPECT_EQ(win->DataSource1->columnCount(), 6);
}

TEST_F(Commands, FailedOpenLeavesNoTableOpen)
{
    QFile bad(path("broken.db"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is not a Paradox table");
    bad.close();
    for (const QString& file : {path("missing.db"), path("broken.db")}) {
        prepare(path("ok.DB"));
        win->SaveDialog1.file_name.clear();
        ASSERT_EQ(table_open, 1);
        svc.clear();
        svc.open_answers.push_back(file);
        win->menu_item("Open1")->trigger();  // behind the handler guard, as the user runs it
        ASSERT_EQ(svc.messages.size(), 1u) << file.toStdString();
        EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Error);
        EXPECT_EQ(table_open, 0) << file.toStdString();
        EXPECT_FALSE(win->Table1.active());
        EXPECT_EQ(win->DataSource1->rowCount(), 0);
        svc.clear();
        win->menu_item("Table_info")->trigger();
        EXPECT_EQ(svc.message_texts(), QStringList{"没有打开的数据表!请先打开数据表."});
        EXPECT_TRUE(created.empty());
        QFile::remove(path("ok.DB"));
    }
}

TEST_F(Commands, ToolButtonsRunTheirMenuCommands)
{
    win->findChild<QToolButton*>("ToolButton11")->click();
    EXPECT_EQ(svc.save_dialogs, 1);
    svc.save_answers.push_back(path("u.DB"));
    win->findChild<QToolButton*>("ToolButton12")->click();
    EXPECT_EQ(win->Table1.field_count(), 11);
    win->findChild<QToolButton*>("ToolButton8")->click();
    EXPECT_EQ(table_open, 0);
    svc.open_answers.push_back(path("u.DB"));
    win->findChild<QToolButton*>("ToolButton7")->click();
    EXPECT_EQ(table_open, 1);
    win->findChild<QToolButton*>("ToolButton6")->click();
    win->findChild<QToolButton*>("ToolButton10")->click();
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[0].item, "New1");
    EXPECT_EQ(created[1].item, "N8");
}

TEST_F(Commands, ExitPostsThePendingRecordAndClosesTheMainWindow)
{
    win->show();
    prepare(path("t.DB"));
    win->Table1.first();
    win->Table1.edit();
    win->Table1.field(1).set_as_float(5);
    win->menu_item("Exit1")->trigger();
    EXPECT_FALSE(win->isVisible());
    db::Dataset t;
    t.set_table_name(path("t.DB").toStdString());
    t.open();
    EXPECT_EQ(t.field(1).as_float(), 5.0);
}

TEST_F(Commands, HelpContentsShowsThePageBesideTheStartDirectory)
{
    win->Content1Click();
    EXPECT_EQ(help_file, start_dir + "/VORN.hlp");
    ASSERT_EQ(svc.messages.size(), 1u);
    EXPECT_TRUE(svc.messages[0].text.startsWith("找不到帮助文件：")) << svc.messages[0].text.toStdString();
    EXPECT_TRUE(svc.help_shown.empty());

    QFile page(path("VORN.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><a name=\"contents\"></a>帮助</body></html>");
    page.close();
    svc.clear();
    win->Content1Click();
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_EQ(svc.help_shown, std::vector<QString>{QFileInfo(path("VORN.html")).absoluteFilePath() + "#contents"});

    // A page larger than any help text (a sparse file here) is not handed to the viewer.
    ASSERT_TRUE(page.open(QIODevice::ReadWrite));
    ASSERT_TRUE(page.resize(qint64{2} << 30));
    page.close();
    svc.clear();
    win->Content1Click();
    EXPECT_TRUE(svc.help_shown.empty());
    ASSERT_EQ(svc.messages.size(), 1u);
    EXPECT_EQ(svc.messages[0].text, "帮助文件太大，无法显示：" + QFileInfo(path("VORN.html")).absoluteFilePath());
}

TEST_F(Commands, HelpPageOfTheProgramIsChineseAndNamesEveryMenu)
{
    QFile page(QStringLiteral(VANTELO_HELP_PAGE));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(page.readAll());
    EXPECT_TRUE(text.contains("name=\"contents\""));
    for (const char* word : {"打开", "保存", "关闭", "退出", "单区域", "分城乡", "表结构", "修改表结构", "格式转换",
                             "计算", "年龄结构法", "联合国法", "生命表", "推算年末人口结构", "人口数据标准化",
                             "单区域人口预测", "分城乡人口预测", "线型图", "散点图", "年龄结构图", "关于", "内容"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word;
}

}  // namespace
}  // namespace vantelo::shell::testing
