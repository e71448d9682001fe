// 文件 > 新建: the structure grid with its keys and pop-ups, the name check, and the table
// created and made current, read back by independent readers.
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "shell/Data_width.h"
#include "shell/New_Table.h"
#include "shell/Table_info.h"
#include "shell/data_type.h"
#include "shell/structure_grid_view.h"
#include "tests/common/text_fit.h"
#include "tests/db_dbase/independent.h"
#include "tests/db_paradox/pxlib_reader.h"
#include "tools_test_util.h"

namespace vantelo::shell::testing {
namespace {

class NewTable : public ToolsTest {
protected:
    void SetUp() override
    {
        ToolsTest::SetUp();
        win->Query1.on_execute = [this](const std::string& s) { statements.push_back(s); };
        // The pop-ups pick what the test asks for, with the mouse.
        on_show = [this](QWidget* w) {
            if (auto* t = qobject_cast<TData_type_frm*>(w)) {
                QListWidget* list = t->ListBox1;
                QListWidgetItem* item = list->findItems(pick_type, Qt::MatchExactly).value(0);
                ASSERT_NE(item, nullptr);
                list->setCurrentItem(item);
                emit list->itemClicked(item);
            } else if (auto* d = qobject_cast<TData_width_frm*>(w)) {
                auto* edit = d->SpinEdit1->findChild<QLineEdit*>();
                edit->setText(pick_width);
                QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), edit->mapToGlobal(QPointF(2, 2)),
                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(edit, &release);
            }
        };
    }
    TNew_Table_Frm* open_window()
    {
        win->New1Click();
        EXPECT_EQ(structure_edit_mode, 1);
        TNew_Table_Frm* w = last_shown<TNew_Table_Frm>();
        EXPECT_EQ(w, New_Table_Frm.data());
        w->show();
        return w;
    }
    // The three rows of the first acceptance check: a letter key, digit keys and the pop-up.
    void enter_three_rows(TNew_Table_Frm* w)
    {
        StructureGrid* g = w->StringGrid1;
        click_cell(g, 0, 1);
        enter_row(g, 0, "age", 'I');
        key(g, Qt::Key_Down);
        ASSERT_EQ(g->rowCount(), 2);
        EXPECT_EQ(g->currentRow(), 1);
        enter_row(g, 1, "name", 'C', "12");
        key(g, Qt::Key_Down);
        ASSERT_EQ(g->rowCount(), 3);
        set_structure_cell(g, 1, 2, "rate");
        click_cell(g, 2, 2);
        pick_type = "Float";
        click_cell(g, 2, 2, Qt::RightButton);
    }
    // The single-region table made current, its own statement forgotten.
    QString current_table(const QString& name)
    {
        QString p = single_region(name);
        statements.clear();
        return p;
    }
    QString pick_type;
    QString pick_width = "1";
    std::vector<std::string> statements;
};

TEST_F(NewTable, WindowTextsAndStart)
{
    TNew_Table_Frm* w = open_window();
    EXPECT_EQ(w->windowTitle(), "定义数据结构");
    EXPECT_EQ(w->size(), QSize(425, 321));
    QStringList labels;
    for (const char* n : {"Label1", "Label2", "Label3", "Label4"}) labels << w->findChild<QLabel*>(n)->text();
    EXPECT_EQ(labels, (QStringList{"字段号", "字段名", "字段类型", "字段宽度"}));
    EXPECT_EQ(w->Button2->text(), "插入字段");
    EXPECT_EQ(w->Button3->text(), "删除字段");
    EXPECT_EQ(w->Button5->text(), "创建");
    EXPECT_EQ(w->Button6->text(), "取消");
    EXPECT_EQ(w->StringGrid1->rowCount(), 1);
    EXPECT_EQ(w->StringGrid1->columnCount(), 4);
    EXPECT_EQ(w->StringGrid1->columnWidth(2), 90);
    EXPECT_EQ(w->SaveDialog1.filter, "*.db|*.db|*.dbf|*.dbf");
    EXPECT_TRUE(w->SaveDialog1.default_ext.isEmpty());
    EXPECT_EQ(test_text_fit::clipped_texts(w), QStringList{});
    // The tool button does what the menu item does.
    win->ToolButton6Click();
    EXPECT_NE(last_shown<TNew_Table_Frm>(), w);
}

// The number column is the grid's fixed column: the window opens in the first name cell, so
// what the user types at once names the first field; no key or click makes a number current.
TEST_F(NewTable, NameTypedAtOnceNamesTheFirstField)
{
    TNew_Table_Frm* w = open_window();
    StructureGrid* g = w->StringGrid1;
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    EXPECT_EQ(QApplication::focusWidget(), g);
    EXPECT_EQ(g->currentRow(), 0);
    EXPECT_EQ(g->currentColumn(), 1);
    EXPECT_EQ(structure_cell(g, 0, 0), "1");
    for (QChar c : QString("age")) type_char(QApplication::focusWidget(), c);
    key(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(row_texts(g, 0), (QStringList{"1", "age", "", ""}));
    click_cell(g, 0, 2);
    type_char(g, 'i');
    svc.save_answers.push_back(path("typed.db"));
    w->Button5->click();
    ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
    ASSERT_EQ(statements.size(), 1u);
    EXPECT_EQ(statements[0], "Create table \"" + path("typed.db").toStdString() + "\" (age Integer)");
    EXPECT_EQ(win->field_names(), (QStringList{"age"}));

    // Keys and clicks that would reach the number column leave the current cell in column 1.
    key(g, Qt::Key_Down);
    ASSERT_EQ(g->rowCount(), 2);
    const struct {
        const char* what;
        std::function<void()> act;
    } moves[] = {
        {"Left", [&] { key(g, Qt::Key_Left); }},
        {"Home", [&] { key(g, Qt::Key_Home); }},
        {"click on the number", [&] { click_cell(g, 1, 0); }},
        {"right click on the number", [&] { click_cell(g, 1, 0, Qt::RightButton); }},
        {"double click on the number", [&] { QTest::mouseDClick(g->viewport(), Qt::LeftButton, {},
                                                               g->visualRect(g->model()->index(1, 0)).center()); }},
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(m.what);
        g->setCurrentCell(1, 1);
        m.act();
        EXPECT_EQ(g->currentColumn(), 1);
        EXPECT_EQ(QApplication::focusWidget(), g);   // no cell editor opened
    }
    // Tab at the end of the first row goes on to the second row's name (a named row, so that
    // leaving it keeps it).
    set_structure_cell(g, 1, 1, "b");
    g->setCurrentCell(0, 3);
    key(g, Qt::Key_Tab);
    EXPECT_EQ(g->currentRow(), 1);
    EXPECT_EQ(g->currentColumn(), 1);
    // Each number cell is grey and can be neither edited nor selected.
    for (int r = 0; r < g->rowCount(); ++r) {
        QTableWidgetItem* number = g->item(r, 0);
        ASSERT_NE(number, nullptr) << r;
        EXPECT_EQ(number->flags() & (Qt::ItemIsEditable | Qt::ItemIsSelectable | Qt::ItemIsEnabled), Qt::NoItemFlags);
        EXPECT_EQ(number->background().color(), g->palette().button().color());
    }
}

TEST_F(NewTable, CreatesTheTableAndMakesItCurrent)
{
    current_table("before.DB");
    TNew_Table_Frm* w = open_window();
    enter_three_rows(w);
    EXPECT_EQ(grid_rows(w->StringGrid1), (QList<QStringList>{{"1", "age", "Integer", ""},
                                                             {"2", "name", "Char", "12"},
                                                             {"3", "rate", "Float", ""}}));
    const QString file = path("n1.db");
    svc.save_answers.push_back(file);
    w->Button5->click();
    ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
    ASSERT_EQ(statements.size(), 1u);
    EXPECT_EQ(statements[0], "Create table \"" + file.toStdString() + "\" (age Integer,name Char(12),rate Float)");
    EXPECT_EQ(structure_edit_mode, 0);
    EXPECT_EQ(table_open, 1);
    EXPECT_EQ(current_table_file, file);
    EXPECT_EQ(win->Table1.record_count(), 0);
    EXPECT_EQ(win->field_names(), (QStringList{"age", "name", "rate"}));
    EXPECT_FALSE(w->isHidden());   // the window stays open until 取消

    // 表结构 of the new current table.
    win->Table_infoClick();
    auto* info = last_shown<TTable_info_frm>();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(grid_rows(info->StringGrid1), (QList<QStringList>{{"1", "age", "Integer", ""},
                                                                {"2", "name", "Char", "12"},
                                                                {"3", "rate", "Float", ""}}));
    // pxlib's view of the file: a long integer, a 12-byte alpha and a number, no records.
    pxtest::PxTable px = pxtest::px_read(file.toStdString());
    ASSERT_EQ(px.fields.size(), 3u);
    EXPECT_EQ(px.fields[0].name, "age");
    EXPECT_EQ(px.fields[0].type, 0x04);
    EXPECT_EQ(px.fields[1].name, "name");
    EXPECT_EQ(px.fields[1].type, 0x01);
    EXPECT_EQ(px.fields[1].len, 12);
    EXPECT_EQ(px.fields[2].type, 0x06);
    EXPECT_EQ(px.num_records, 0);

    w->Button6->click();
    EXPECT_EQ(w->result(), QDialog::Rejected);
}

TEST_F(NewTable, DbaseTableWithEveryType)
{
    TNew_Table_Frm* w = open_window();
    StructureGrid* g = w->StringGrid1;
    const char* rows[][3] = {{"名称", "c", "8"}, {"人数", "i", ""}, {"比例", "f", ""}, {"是否", "b", ""}, {"日期", "d", ""}};
    for (int r = 0; r < 5; ++r) {
        if (r) key(g, Qt::Key_Down);
        ASSERT_EQ(g->rowCount(), r + 1);
        enter_row(g, r, rows[r][0], QChar(rows[r][1][0]), rows[r][2]);
    }
    const QString file = path("n2.dbf");
    svc.save_answers.push_back(file);
    w->Button5Click();
    ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
    EXPECT_EQ(statements.at(0), "Create table \"" + file.toStdString() +
                                    "\" (名称 Char(8),人数 Integer,比例 Float,是否 Boolean,日期 Date)");
    dbase_test::IndepTable sh = dbase_test::shapelib_read(file.toStdString());
    ASSERT_EQ(sh.fields.size(), 5u);
    EXPECT_EQ(sh.fields[0].name, "名称");
    EXPECT_EQ(sh.fields[0].type, 'C');
    EXPECT_EQ(sh.fields[0].width, 8);
    EXPECT_EQ(sh.fields[1].type, 'N');
    EXPECT_EQ(sh.fields[1].decimals, 0);
    EXPECT_EQ(sh.fields[3].type, 'L');
    EXPECT_EQ(sh.fields[4].type, 'D');
    EXPECT_TRUE(sh.rows.empty());
    dbase_test::IndepTable ogr = dbase_test::ogr_read(file.toStdString());
    ASSERT_EQ(ogr.fields.size(), 5u);
    EXPECT_EQ(ogr.fields[2].name, "比例");
    EXPECT_TRUE(ogr.rows.empty());
    EXPECT_EQ(win->Table1.record_count(), 0);
    EXPECT_EQ(current_table_file, file);
}

TEST_F(NewTable, EqualNamesAreReportedOncePerPair)
{
    TNew_Table_Frm* w = open_window();
    StructureGrid* g = w->StringGrid1;
    g->setRowCount(3);
    for (int r = 0; r < 3; ++r) {
        set_structure_cell(g, 1, r, "a");
        set_structure_cell(g, 2, r, "Integer");
    }
    w->Button5Click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"Field Name Define Error!", "Field Name Define Error!",
                                                "Field Name Define Error!"}));
    EXPECT_EQ(svc.save_dialogs, 0);
    EXPECT_EQ(structure_edit_mode, 0);
    EXPECT_FALSE(w->isHidden());
}

TEST_F(NewTable, NamesDifferingInCaseReachTheEngine)
{
    const QString before = current_table("before.DB");
    TNew_Table_Frm* w = open_window();
    StructureGrid* g = w->StringGrid1;
    g->setRowCount(2);
    set_structure_cell(g, 1, 0, "A");
    set_structure_cell(g, 2, 0, "Integer");
    set_structure_cell(g, 1, 1, "a");
    set_structure_cell(g, 2, 1, "Float");
    svc.save_answers.push_back(path("case.db"));
    w->Button5->click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"Duplicate field name 'a'"}));
    EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Error);
    EXPECT_FALSE(QFileInfo::exists(path("case.db")));
    EXPECT_EQ(current_table_file, before);
    EXPECT_EQ(table_open, 1);
    EXPECT_TRUE(win->Table1.active());
}

TEST_F(NewTable, LetterAndDigitKeys)
{
    TNew_Table_Frm* w = open_window();
    StructureGrid* g = w->StringGrid1;
    click_cell(g, 0, 2);
    type_char(g, 'x');
    EXPECT_EQ(structure_cell(g, 2, 0), "");
    type_char(g, 'd');
    EXPECT_EQ(structure_cell(g, 2, 0), "Date");
    // Digits extend only the width of a "Char" row.
    click_cell(g, 0, 3);
    type_char(g, '5');
    EXPECT_EQ(structure_cell(g, 3, 0), "");
    set_structure_cell(g, 1, 0, "z");
    click_cell(g, 0, 2);
    type_char(g, 'c');
    EXPECT_EQ(structure_cell(g, 2, 0), "Char");
    key(g, Qt::Key_Down);
    EXPECT_EQ(g->rowCount(), 1);   // no width yet
    click_cell(g, 0, 3);
    type_char(g, '5');
    EXPECT_EQ(structure_cell(g, 3, 0), "5");
    key(g, Qt::Key_Down);
    ASSERT_EQ(g->rowCount(), 2);
    EXPECT_EQ(structure_cell(g, 0, 1), "2");
    key(g, Qt::Key_Down);
    EXPECT_EQ(g->rowCount(), 2);   // the new last row is empty
    // Up on an empty last row removes it; a click above it does too.
    key(g, Qt::Key_Up);
    EXPECT_EQ(g->rowCount(), 1);
    key(g, Qt::Key_Down);
    ASSERT_EQ(g->rowCount(), 2);
    click_cell(g, 0, 1);
    EXPECT_EQ(g->rowCount(), 1);
}

TEST_F(NewTable, WidthPopupWritesTheTypedNumberUnclamped)
{
    TNew_Table_Frm* w = open_window();
    StructureGrid* g = w->StringGrid1;
    set_structure_cell(g, 1, 0, "s");
    set_structure_cell(g, 2, 0, "Char");
    click_cell(g, 0, 3);
    pick_width = "300";
    click_cell(g, 0, 3, Qt::RightButton);
    ASSERT_NE(Data_width_frm.data(), nullptr);
    EXPECT_EQ(structure_cell(g, 3, 0), "300");
    pick_width = "";
    click_cell(g, 0, 3, Qt::RightButton);
    EXPECT_EQ(structure_cell(g, 3, 0), "1");
    // No pop-up in the width column of a row of another type; in the name column none either.
    set_structure_cell(g, 2, 0, "Float");
    const auto count = shown.size();
    click_cell(g, 0, 3, Qt::RightButton);
    click_cell(g, 0, 1);
    click_cell(g, 0, 1, Qt::RightButton);
    EXPECT_EQ(shown.size(), count);
    // After 取消 the pop-ups write into no grid.
    click_cell(g, 0, 2);
    w->Button6Click();
    EXPECT_EQ(structure_edit_mode, 0);
    pick_type = "Date";
    click_cell(g, 0, 2, Qt::RightButton);
    EXPECT_EQ(structure_cell(g, 2, 0), "Float");
}

TEST_F(NewTable, ExistingFileIsNeverOverwritten)
{
    const QString existing = current_table("n1.db");
    const QByteArray bytes = file_bytes(existing);
    for (const QString& typed : {existing, path("n1")}) {
        SCOPED_TRACE(typed.toStdString());
        TNew_Table_Frm* w = open_window();
        set_structure_cell(w->StringGrid1, 1, 0, "x");
        set_structure_cell(w->StringGrid1, 2, 0, "Integer");
        svc.clear();
        svc.save_answers.push_back(typed);
        w->Button5Click();
        EXPECT_EQ(svc.message_texts(), (QStringList{" 文件已存在."}));
        EXPECT_TRUE(statements.empty());
        EXPECT_EQ(file_bytes(existing), bytes);
        EXPECT_FALSE(w->isHidden());
        EXPECT_EQ(current_table_file, existing);
    }
    // A cancelled dialog does nothing, even with a name left from before.
    TNew_Table_Frm* w = open_window();
    set_structure_cell(w->StringGrid1, 1, 0, "x");
    set_structure_cell(w->StringGrid1, 2, 0, "Integer");
    svc.clear();
    svc.save_answers.push_back(QString());
    w->Button5Click();
    EXPECT_EQ(svc.save_dialogs, 1);
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_TRUE(statements.empty());
}

// A Cancel after a 创建 in the same window creates nothing and leaves the table made by that
// 创建 current.
TEST_F(NewTable, CancelAfterACreateCreatesNothing)
{
    current_table("before.DB");
    TNew_Table_Frm* w = open_window();
    set_structure_cell(w->StringGrid1, 1, 0, "x");
    set_structure_cell(w->StringGrid1, 2, 0, "Integer");
    const QString first = path("made.db");
    svc.save_answers.push_back(first);
    w->Button5->click();
    ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
    ASSERT_EQ(statements.size(), 1u);
    ASSERT_TRUE(QFileInfo::exists(first));
    set_structure_cell(w->StringGrid1, 1, 0, "y");
    svc.clear();
    svc.save_answers.push_back(QString());
    w->Button5->click();
    EXPECT_EQ(svc.save_dialogs, 1);
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_EQ(statements.size(), 1u);
    EXPECT_EQ(current_table_file, first);
    EXPECT_EQ(win->field_names(), QStringList{"x"});
    EXPECT_EQ(structure_edit_mode, 0);
    EXPECT_FALSE(w->isHidden());
}

TEST_F(NewTable, RowWithoutTypeIsRefusedByTheEngine)
{
    const QString before = current_table("before.DB");
    TNew_Table_Frm* w = open_window();
    StructureGrid* g = w->StringGrid1;
    g->setRowCount(3);
    set_structure_cell(g, 1, 0, "a");
    set_structure_cell(g, 2, 0, "Integer");
    set_structure_cell(g, 1, 1, "b");   // no type
    svc.save_answers.push_back(path("t5.db"));
    w->Button5->click();
    // The empty last row is dropped; the row without a type gives an empty item.
    ASSERT_EQ(statements.size(), 1u);
    EXPECT_EQ(statements[0], "Create table \"" + path("t5.db").toStdString() + "\" (a Integer,)");
    EXPECT_EQ(g->rowCount(), 2);
    ASSERT_EQ(svc.messages.size(), 1u);
    EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Error);
    EXPECT_FALSE(QFileInfo::exists(path("t5.db")));
    EXPECT_EQ(current_table_file, before);
    EXPECT_EQ(table_open, 1);
    EXPECT_TRUE(win->Table1.active());
    EXPECT_EQ(win->Table1.record_count(), 81);
}

TEST_F(NewTable, InsertAndDeleteRows)
{
    TNew_Table_Frm* w = open_window();
    StructureGrid* g = w->StringGrid1;
    set_structure_cell(g, 1, 0, "a");
    click_cell(g, 0, 1);
    w->Button2Click();   // no type: nothing
    EXPECT_EQ(g->rowCount(), 1);
    w->Button3Click();   // the only row stays
    EXPECT_EQ(g->rowCount(), 1);
    EXPECT_EQ(structure_cell(g, 1, 0), "a");
    set_structure_cell(g, 2, 0, "Float");
    w->Button2Click();
    ASSERT_EQ(g->rowCount(), 2);
    EXPECT_EQ(grid_rows(g), (QList<QStringList>{{"1", "", "", ""}, {"2", "a", "Float", ""}}));
    click_cell(g, 1, 1);
    w->Button3Click();
    EXPECT_EQ(grid_rows(g), (QList<QStringList>{{"1", "", "", ""}}));
}

}  // namespace
}  // namespace vantelo::shell::testing
