// Data preparation: the empty single-region and urban/rural input tables.
#include <QFileInfo>

#include "platform/db/dbase.h"
#include "shell/dataset_model.h"
#include "shell_test_util.h"

namespace vantelo::shell::testing {
namespace {

using DataPreparation = MainWindowTest;

const std::vector<std::string> single_names = {"年龄", "男性人口", "女性人口", "男性死亡率", "女性死亡率", "年龄别生育率"};
const std::vector<std::string> urban_rural_names = {
    "年龄",         "农村男性人口", "农村女性人口", "农村男性死亡率", "农村女性死亡率", "农村年龄别生育率",
    "城镇男性人口", "城镇女性人口", "城镇男性死亡率", "城镇女性死亡率", "城镇年龄别生育率"};

// Reads the file again with a dataset of its own and checks the layout and the values.
void expect_input_table(const QString& file, const std::vector<std::string>& names, bool dbase)
{
    db::Dataset t;
    t.set_table_name(file.toStdString());
    t.open();
    ASSERT_EQ(t.field_count(), static_cast<int>(names.size()));
    for (int i = 0; i < t.field_count(); ++i) {
        // dBASE keeps at most 10 bytes of a name.
        std::string expected = dbase ? db::dbase_stored_name(names[i]) : names[i];
        EXPECT_EQ(t.field_def(i).name, expected) << i;
        EXPECT_EQ(t.field_def(i).type, i == 0 ? (dbase ? t.field_def(0).type : db::FieldType::Integer)
                                              : db::FieldType::Float)
            << i;
    }
    ASSERT_EQ(t.record_count(), 81);
    int k = 0;
    for (t.first(); !t.eof(); t.next(), ++k) {
        EXPECT_EQ(t.field(0).as_float(), k);
        for (int j = 1; j < t.field_count(); ++j) EXPECT_EQ(t.field(j).as_float(), 0.0) << k << "," << j;
    }
    EXPECT_EQ(k, 81);
}

TEST_F(DataPreparation, CreatesTheLayoutsInBothFormats)
{
    const struct {
        const char* file;
        bool urban_rural;
        bool dbase;
    } cases[] = {
        {"single.DB", false, false},
        {"single.dbf", false, true},
        {"urban_rural.DB", true, false},
        {"urban_rural.dbf", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<std::string> statements;
        win->Query1.on_execute = [&](const std::string& s) { statements.push_back(s); };
        prepare(path(c.file), c.urban_rural);
        ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
        const std::string& fields = c.urban_rural ? urban_rural_fields : single_region_fields;
        ASSERT_EQ(statements.size(), 1u);
        EXPECT_EQ(statements[0], "Create table \"" + path(c.file).toStdString() + "\" " + fields);
        EXPECT_EQ(table_open, 1);
        EXPECT_EQ(current_table_file, path(c.file));
        EXPECT_TRUE(win->Table1.active());
        EXPECT_EQ(win->DataSource1->rowCount(), 81);
        EXPECT_EQ(win->DataSource1->columnCount(), c.urban_rural ? 11 : 6);
        EXPECT_EQ(win->DataSource1->index(80, 0).data().toString(), "80");
        EXPECT_EQ(win->DataSource1->index(80, 1).data().toString(), "0");
        expect_input_table(path(c.file), c.urban_rural ? urban_rural_names : single_names, c.dbase);
        win->SaveDialog1.file_name.clear();
    }
}

TEST_F(DataPreparation, ExistingFileIsNeitherCreatedNorOverwritten)
{
    prepare(path("p1.DB"));
    ASSERT_EQ(table_open, 1);
    QByteArray before = file_bytes(path("p1.DB"));
    ASSERT_FALSE(before.isEmpty());
    current_table_file = "unchanged";
    std::vector<std::string> statements;
    win->Query1.on_execute = [&](const std::string& s) { statements.push_back(s); };
    prepare(path("p1.DB"), true);
    EXPECT_EQ(svc.message_texts(), QStringList{" 文件已存在，请输入新文件名."});
    EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Information);
    EXPECT_TRUE(statements.empty());
    EXPECT_EQ(file_bytes(path("p1.DB")), before);
    EXPECT_EQ(table_open, 0);
    EXPECT_FALSE(win->Table1.active());
    EXPECT_EQ(current_table_file, "unchanged");
}

// A Cancel leaves the open table open and shown, creates nothing and says nothing: at the
// dialog's first use, and after an earlier preparation whose name the dialog still holds.
TEST_F(DataPreparation, CancelledDialogLeavesTheOpenTableOpen)
{
    struct Case {
        const char* name;
        bool earlier_preparation;
        bool urban_rural;
    } cases[] = {
        {"first use", false, false},
        {"after an earlier preparation", true, false},
        {"urban/rural after an earlier preparation", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path("p1.DB"));
        QFile::remove(path("open.DB"));
        // The table open before the command, prepared in a main window of its own.
        win.reset();
        {
            Tquilta other;
            svc.save_answers.push_back(path("open.DB"));
            other.N11Click();
        }
        win = std::make_unique<Tquilta>();
        if (c.earlier_preparation) prepare(path("p1.DB"));
        win->Close1Click();
        open(path("open.DB"));
        ASSERT_EQ(table_open, 1);
        const QByteArray before = file_bytes(path("open.DB"));
        svc.clear();
        std::vector<std::string> statements;
        win->Query1.on_execute = [&](const std::string& s) { statements.push_back(s); };
        svc.save_answers.push_back(QString());
        if (c.urban_rural) win->N11Click();
        else win->N10Click();
        EXPECT_EQ(svc.save_dialogs, 1);
        EXPECT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
        EXPECT_TRUE(statements.empty());
        EXPECT_EQ(table_open, 1);
        EXPECT_TRUE(win->Table1.active());
        EXPECT_EQ(QString::fromStdString(win->Table1.table_name()), path("open.DB"));
        EXPECT_EQ(current_table_file, path("open.DB"));
        EXPECT_EQ(win->DataSource1->rowCount(), 81);
        EXPECT_EQ(win->DataSource1->columnCount(), 11);
        EXPECT_EQ(file_bytes(path("open.DB")), before);
        EXPECT_EQ(QFileInfo::exists(path("p1.DB")), c.earlier_preparation);
    }
}

TEST_F(DataPreparation, DialogRemembersTheLastNameSoOkOnItMeetsTheExistingFile)
{
    prepare(path("p1.DB"));
    svc.clear();
    win->N11Click();  // OK: the dialog still holds p1.DB
    EXPECT_EQ(svc.message_texts(), QStringList{" 文件已存在，请输入新文件名."});
    EXPECT_EQ(table_open, 0);
}

TEST_F(DataPreparation, EngineErrorLeavesNoTableOpen)
{
    svc.save_answers.push_back(path("no_such_dir/p.DB"));
    win->menu_item("N10")->trigger();
    ASSERT_EQ(svc.messages.size(), 1u);
    EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Error);
    EXPECT_EQ(table_open, 0);
    EXPECT_FALSE(win->Table1.active());
    EXPECT_FALSE(QFileInfo::exists(path("no_such_dir/p.DB")));
}

}  // namespace
}  // namespace vantelo::shell::testing
