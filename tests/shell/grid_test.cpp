// Editing the current table in the main grid, as a user types into it.
#include <QLineEdit>
#include <fstream>
#include <functional>
#include <set>
#include <QTest>
#include <QTextBrowser>

#include "platform/db/paradox.h"
#include "platform/ui/help_viewer.h"
#include <QToolButton>

#include <QComboBox>
#include <QRadioButton>

#include "shell/Convert_table.h"
#include "shell/Table_Restructure.h"
#include "shell/compute_Frm1.h"
#include "shell/dataset_model.h"
#include "shell/db_grid.h"
#include "shell/db_navigator.h"
#include "shell/main_table.h"
#include "shell/result_columns.h"
#include "shell/structure_grid.h"
#include "shell/structure_grid_view.h"
#include "shell/table_tools.h"
#include "shell_test_util.h"

namespace vantelo::shell::testing {
namespace {

class Grid : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        win->show();
        prepare(path("t.DB"));
        ASSERT_EQ(table_open, 1);
    }
    // Starts the cell editor on (row, col) and types the text, leaving the editor open.
    void type_into(int row, int col, const QString& text)
    {
        DBGrid* g = win->DBGrid1;
        QModelIndex idx = g->model()->index(row, col);
        g->setCurrentIndex(idx);
        g->edit(idx);
        auto* editor = qobject_cast<QLineEdit*>(g->indexWidget(idx));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        ASSERT_TRUE(g->editing());
    }
    void reopen()
    {
        win->Close1Click();
        open(path("t.DB"));
        ASSERT_EQ(table_open, 1);
    }
    QString shown(int row, int col) { return win->DataSource1->index(row, col).data().toString(); }
};

TEST_F(Grid, ValueTypedThenRowLeftIsKeptAfterCloseAndReopen)
{
    type_into(5, 1, "123");
    win->DBGrid1->setCurrentIndex(win->DataSource1->index(6, 1));  // the user moves to the next row
    EXPECT_EQ(win->Table1.rec_no(), 6);
    EXPECT_FALSE(win->Table1.modified());
    reopen();
    EXPECT_EQ(shown(5, 1), "123");
    EXPECT_EQ(win->Table1.value_at(5, 1), db::Value(123.0));
    EXPECT_TRUE(svc.messages.empty());
}

TEST_F(Grid, SaveWithTheCellEditorStillOpenKeepsTheValue)
{
    type_into(7, 1, "456");
    win->findChild<QToolButton*>("ToolButton9")->click();
    EXPECT_FALSE(win->DBGrid1->editing());
    EXPECT_EQ(win->Table1.state(), db::Dataset::State::Browse);
    reopen();
    EXPECT_EQ(shown(7, 1), "456");
}

// A value typed and confirmed is posted before the table is closed, another one opened, data
// preparation started or the program left.
TEST_F(Grid, TypedValueIsPostedBeforeTheTableGoes)
{
    struct Case {
        const char* name;
        std::function<void()> command;
    } cases[] = {
        {"关闭", [this] { win->Close1Click(); }},
        {"打开", [this] { svc.open_answers.push_back(path("t.DB")); win->Open1Click(); }},
        {"打开, cancelled", [this] { svc.open_answers.push_back(QString()); win->Open1Click(); }},
        {"数据准备", [this] { svc.save_answers.push_back(path("other.DB")); win->N10Click(); }},
        {"退出", [this] { win->menu_item("Exit1")->trigger(); }},
    };
    int row = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!win->isVisible()) win->show();
        open(path("t.DB"));
        type_into(row, 2, QString::number(700 + row));
        c.command();
        EXPECT_FALSE(win->DBGrid1->editing());
        db::Dataset t;
        t.set_table_name(path("t.DB").toStdString());
        t.open();
        EXPECT_EQ(t.value_at(row, 2), db::Value(700.0 + row));
        EXPECT_TRUE(svc.messages.empty());
        ++row;
    }
}

// A post that fails is shown, and the table stays open with the edit.
TEST_F(Grid, FailedPostBeforeCloseKeepsTheTableOpen)
{
    type_into(3, 2, "789");
    // Another program empties the file: the post is refused.
    std::ofstream(path("t.DB").toStdString(), std::ios::trunc | std::ios::binary).close();
    win->menu_item("Close1")->trigger();
    EXPECT_EQ(table_open, 1);
    EXPECT_TRUE(win->Table1.active());
    EXPECT_TRUE(win->Table1.modified());
    ASSERT_EQ(svc.messages.size(), 1u);
    win->close();
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(svc.messages.size(), 2u);
}

TEST_F(Grid, LaunchedCommandSeesTheValueJustTyped)
{
    double seen = -1;
    register_window("Table_info", [&](Tquilta& main) -> QWidget* {
        seen = main.Table1.field_by_name("女性人口").as_float();
        return nullptr;
    });
    type_into(0, 2, "42.5");
    win->Table_infoClick();
    EXPECT_EQ(seen, 42.5);
    register_window("Table_info", {});
}

// What Qt says about the grid's editors while a test runs.
QStringList editor_warnings;
void note_editor_warning(QtMsgType, const QMessageLogContext&, const QString& text)
{
    if (text.contains(QLatin1String("editor"))) editor_warnings << text;
}
struct EditorWarnings {
    EditorWarnings()
    {
        editor_warnings.clear();
        qInstallMessageHandler(note_editor_warning);
    }
    ~EditorWarnings() { qInstallMessageHandler(nullptr); }
};

db::Value file_value(const QString& file, int row, int col)
{
    db::Dataset t;
    t.set_table_name(file.toStdString());
    t.open();
    return t.value_at(row, col);
}

// A value still being typed (the cell editor open) when a command window opens is written to the
// table first, so the command computes with it, rewrites the table with it, or copies it.
TEST_F(Grid, ValueBeingTypedIsWrittenBeforeACommandWindowRewritesTheTable)
{
    register_table_tools();
    // The result-column windows add their columns through the shared writer; these stand-ins
    // add the column 男性人口 as it reads then.
    for (const char* item : {"N7", "N12"})
        register_window(item, [item](Tquilta& main) -> QWidget* {
            auto* w = new QDialog(&main);
            w->setObjectName(item);
            return w;
        });
    win->update_launchers();
    struct Case {
        const char* item;
        std::function<void(QWidget*)> run;           // what the user does in the window
        std::function<void(const QString&)> check;   // the command's own result, for the typed value
    } cases[] = {
        {"Compute1",
         [](QWidget* w) {
             auto* c = qobject_cast<Tcompute_Frm*>(w);
             c->RadioButton2->click();
             c->ComboBox1->setCurrentText("女性人口");
             c->ComboBox2->setCurrentText("男性人口");
             c->BitBtn1Click();
         },
         [](const QString& file) { EXPECT_EQ(file_value(file, 4, 2), db::Value(904.0)); }},
        {"N7", [](QWidget*) { add_result_columns({{"年末", main_table_column("男性人口")}}); },
         [](const QString& file) { EXPECT_EQ(file_value(file, 4, 6), db::Value(904.0)); }},
        {"N12", [](QWidget*) { add_result_columns({{"标准", main_table_column("男性人口")}}); },
         [](const QString& file) { EXPECT_EQ(file_value(file, 4, 6), db::Value(904.0)); }},
        {"Restructure1",
         [](QWidget* w) {
             auto* r = qobject_cast<TTable_Restructure_Frm*>(w);
             StructureGrid* g = r->StringGrid1;
             const int n = g->rowCount();
             g->setRowCount(n + 1);
             set_structure_cell(g, 0, n, QString::number(n + 1));
             set_structure_cell(g, 1, n, "备注");
             set_structure_cell(g, 2, n, "Float");
             r->Button5Click();
         },
         [this](const QString& file) {
             EXPECT_EQ(win->Table1.field_count(), 7);
             EXPECT_EQ(file_value(file, 4, 6), db::Value());
         }},
        {"Convert1",
         [this](QWidget* w) {
             auto* c = qobject_cast<Tconvert_table_frm*>(w);
             c->ComboBox2->setCurrentText("DBase");
             svc.save_answers.push_back(path("copy.dbf"));
             c->Button1Click();
         },
         [this](const QString&) { EXPECT_EQ(file_value(path("copy.dbf"), 4, 1), db::Value(904.0)); }},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        const QString file = path(QStringLiteral("c%1.DB").arg(++n));
        prepare(file);
        ui::ScopedWindowRunner runner([&](QWidget* w, bool) {
            c.run(w);
            return 0;
        });
        EditorWarnings warnings;
        type_into(4, 1, "904");
        win->menu_item(c.item)->trigger();
        EXPECT_FALSE(win->DBGrid1->editing());
        EXPECT_EQ(win->Table1.state(), db::Dataset::State::Browse);
        EXPECT_EQ(file_value(file, 4, 1), db::Value(904.0));
        EXPECT_EQ(file_value(file, 3, 1), db::Value(0.0));
        c.check(file);
        EXPECT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
        EXPECT_TRUE(editor_warnings.empty()) << editor_warnings.join("|").toStdString();
    }
    for (const char* item : {"New1", "Table_info", "Restructure1", "Convert1", "Compute1", "About1", "N7", "N12"})
        register_window(item, {});
}

// A value that cannot be written stops the command before its window opens; the edit stays.
TEST_F(Grid, CommandWindowDoesNotOpenWhenTheValueTypedCannotBeWritten)
{
    bool opened = false;
    register_window("Compute1", [&](Tquilta&) -> QWidget* {
        opened = true;
        return nullptr;
    });
    win->update_launchers();
    type_into(3, 2, "789");
    std::ofstream(path("t.DB").toStdString(), std::ios::trunc | std::ios::binary).close();
    win->menu_item("Compute1")->trigger();
    EXPECT_FALSE(opened);
    EXPECT_EQ(svc.messages.size(), 1u);
    EXPECT_TRUE(win->Table1.modified());
    EXPECT_EQ(shown(3, 2), "789");
    register_window("Compute1", {});
}

// The editor the grid opened is the one committed, even when the current cell is another one by
// then: the value goes to the cell it was typed in, the current cell keeps its own, and Qt has
// nothing to say about foreign editors.
TEST_F(Grid, CommitWritesTheCellTheEditorWasOpenedOn)
{
    const struct {
        const char* name;
        std::function<void()> command;
    } cases[] = {
        {"打开", [this] { svc.open_answers.push_back(path("t.DB")); win->menu_item("Open1")->trigger(); }},
        {"保存", [this] { win->menu_item("Save1")->trigger(); }},
        {"关闭", [this] { win->menu_item("Close1")->trigger(); }},
    };
    int row = 10;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!win->Table1.active()) open(path("t.DB"));
        EditorWarnings warnings;
        DBGrid* g = win->DBGrid1;
        g->setCurrentIndex(g->model()->index(row + 1, 3));
        const QModelIndex cell = g->model()->index(row, 2);
        g->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(g->indexWidget(cell));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QString::number(500 + row));
        c.command();
        EXPECT_FALSE(g->editing());
        EXPECT_EQ(file_value(path("t.DB"), row, 2), db::Value(500.0 + row));
        EXPECT_EQ(file_value(path("t.DB"), row + 1, 3), db::Value(0.0));
        EXPECT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
        EXPECT_TRUE(editor_warnings.empty()) << editor_warnings.join("|").toStdString();
        row += 2;
    }
}

// Writing the value moves the cursor to its record, which posts a record being appended and so
// reloads the whole table: the value still goes to its cell, the appended record is kept, and no
// editor is left behind for Qt to complain about.
TEST_F(Grid, CommitWhileAnotherRecordIsAppendedKeepsBoth)
{
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    EditorWarnings warnings;
    win->DBNavigator1->button("nbInsert")->click();
    win->Table1.field(0).set_as_float(81);
    DBGrid* g = win->DBGrid1;
    ASSERT_EQ(g->currentIndex().row(), 81);
    const QModelIndex cell = g->model()->index(5, 1);
    g->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(g->indexWidget(cell));
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, "77");
    win->menu_item("Save1")->trigger();
    g->setFocus();
    QCoreApplication::processEvents();
    EXPECT_FALSE(g->editing());
    EXPECT_EQ(file_value(path("t.DB"), 5, 1), db::Value(77.0));
    EXPECT_EQ(file_value(path("t.DB"), 81, 0), db::Value(std::int64_t(81)));
    EXPECT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
    EXPECT_TRUE(editor_warnings.empty()) << editor_warnings.join("|").toStdString();
}

TEST_F(Grid, TextThatIsNotANumberIsRefusedAndTheRecordKept)
{
    type_into(2, 1, "12x");
    win->Save1Click();
    EXPECT_EQ(svc.message_texts(), QStringList{"'12x' is not a valid floating point value"});
    reopen();
    EXPECT_EQ(shown(2, 1), "0");
}

TEST_F(Grid, NavigatorMovesTheGridAndPostsOnTheWay)
{
    auto* nav = win->DBNavigator1;
    nav->button("nbLast")->click();
    EXPECT_EQ(win->Table1.rec_no(), 80);
    EXPECT_EQ(win->DBGrid1->currentIndex().row(), 80);
    EXPECT_FALSE(nav->button("nbNext")->isEnabled());
    type_into(80, 5, "0.05");
    EXPECT_TRUE(nav->button("nbPost")->isEnabled());
    nav->button("nbFirst")->click();
    EXPECT_EQ(win->DBGrid1->currentIndex().row(), 0);
    reopen();
    EXPECT_EQ(shown(80, 5), "0.05");
}

TEST_F(Grid, NavigatorDeleteAsksFirstAndRewritesTheFileWithoutTheRecord)
{
    auto* nav = win->DBNavigator1;
    win->DBGrid1->setCurrentIndex(win->DataSource1->index(3, 0));
    ASSERT_EQ(win->Table1.rec_no(), 3);

    svc.question_answers.push_back(false);
    nav->button("nbDelete")->click();
    ASSERT_EQ(svc.messages.size(), 1u);
    EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Question);
    EXPECT_EQ(svc.messages[0].text, QStringLiteral("删除当前记录吗?"));
    EXPECT_EQ(win->Table1.record_count(), 81);

    svc.question_answers.push_back(true);
    nav->button("nbDelete")->click();
    EXPECT_EQ(win->DataSource1->rowCount(), 80);
    reopen();
    // Ages 0, 1, 2, then 4: the record of age 3 is gone and the order kept.
    ASSERT_EQ(win->DataSource1->rowCount(), 80);
    EXPECT_EQ(shown(2, 0), "2");
    EXPECT_EQ(shown(3, 0), "4");
    EXPECT_EQ(shown(79, 0), "80");
}

TEST_F(Grid, AppendedRecordIsShownAndPostedWhenTheRowIsLeft)
{
    win->DBNavigator1->button("nbInsert")->click();
    EXPECT_EQ(win->DataSource1->rowCount(), 82);
    EXPECT_EQ(win->DBGrid1->currentIndex().row(), 81);
    type_into(81, 0, "81");
    win->DBGrid1->setCurrentIndex(win->DataSource1->index(0, 0));
    EXPECT_EQ(win->Table1.record_count(), 82);
    reopen();
    EXPECT_EQ(win->DataSource1->rowCount(), 82);
    EXPECT_EQ(shown(81, 0), "81");
    EXPECT_EQ(shown(81, 1), "");
}

TEST_F(Grid, HelpViewerShowsThePageWithoutBlocking)
{
    ui::show_help_window(win.get(), QStringLiteral(VANTELO_HELP_PAGE), "contents");
    QWidget* viewer = ui::help_window();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    auto* browser = viewer->findChild<QTextBrowser*>("HelpBrowser");
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->source().fragment(), "contents");
    EXPECT_TRUE(browser->toPlainText().contains("数据准备"));
    viewer->close();
}

TEST_F(Grid, ColumnColoursFollowTheFieldThroughReopen)
{
    win->DBGrid1->set_column_color("男性人口", Qt::yellow);
    EXPECT_EQ(win->DataSource1->index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));
    EXPECT_FALSE(win->DataSource1->index(0, 2).data(Qt::BackgroundRole).isValid());
    reopen();
    EXPECT_EQ(win->DataSource1->index(40, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));
    win->DBGrid1->clear_column_colors();
    EXPECT_FALSE(win->DataSource1->index(40, 1).data(Qt::BackgroundRole).isValid());
}

// The grid's link that notes every row whose cells the grid asks for.
class CountingModel : public DatasetModel {
public:
    using DatasetModel::DatasetModel;
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (index.isValid()) rows_read.insert(index.row());
        return DatasetModel::data(index, role);
    }
    mutable std::set<int> rows_read;
};

// A large table costs the grid only the rows it shows: opening it, and going to its last record
// with the navigator, read the cells of the rows on screen and of no other.
TEST(GridOnALargeTable, ReadsOnlyTheRowsOnScreen)
{
    constexpr int records = 50000;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string file = dir.filePath("large.db").toStdString();
    {
        db::FieldDef age, pop;
        age.name = "年龄";
        age.type = db::FieldType::Integer;
        pop.name = "男性人口";
        pop.type = db::FieldType::Float;
        db::TableData t;
        t.fields = db::paradox_fields_from({age, pop});
        for (int i = 0; i < records; ++i) t.records.push_back({std::int64_t(i), i * 0.5});
        db::write_paradox(file, t);
    }

    db::Dataset table;
    CountingModel source(table);
    QWidget window;
    window.resize(640, 480);
    auto* grid = new DBGrid(&window);
    auto* nav = new DBNavigator(&window);
    grid->setGeometry(0, 0, 640, 440);
    nav->setGeometry(0, 440, 640, 40);
    grid->set_data_source(&source);
    nav->set_data_source(&source, grid);
    window.show();

    // The rows read since the last check all lie in the rows the grid shows; returns the first.
    auto expect_only_rows_on_screen = [&] {
        grid->viewport()->grab();
        const int first = grid->rowAt(0);
        const int last = grid->rowAt(grid->viewport()->height() - 1);
        EXPECT_GE(first, 0);
        EXPECT_GE(last, first);
        EXPECT_FALSE(source.rows_read.empty());
        if (!source.rows_read.empty()) {
            EXPECT_GE(*source.rows_read.begin(), first);
            EXPECT_LE(*source.rows_read.rbegin(), last);
        }
        source.rows_read.clear();
        return first;
    };

    table.set_table_name(file);
    table.open();
    ASSERT_EQ(source.rowCount(), records);
    {
        SCOPED_TRACE("opened");
        EXPECT_EQ(expect_only_rows_on_screen(), 0);
    }

    nav->button("nbLast")->click();
    EXPECT_EQ(table.rec_no(), records - 1);
    {
        SCOPED_TRACE("last record");
        EXPECT_GT(expect_only_rows_on_screen(), records - 40);
    }
    EXPECT_EQ(source.index(records - 1, 0).data().toString(), QString::number(records - 1));
    EXPECT_EQ(source.index(records - 1, 1).data().toString(), "24999.5");
}

}  // namespace
}  // namespace vantelo::shell::testing
