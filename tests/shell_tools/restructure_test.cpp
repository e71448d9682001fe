// 数据管理 > 修改表结构: the grid of the current table's fields edited with the keys and applied as
// add and drop statements, checked through the engine and independent readers.
#include <QLabel>
#include <QPushButton>

#include "platform/db/dbase.h"
#include "shell/Table_Restructure.h"
#include "shell/Table_info.h"
#include "shell/structure_grid_view.h"
#include "tests/common/text_fit.h"
#include "tests/db_dbase/independent.h"
#include "tests/db_paradox/pxlib_reader.h"
#include "tools_test_util.h"

namespace vantelo::shell::testing {
namespace {

class Restructure : public ToolsTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        ToolsTest::SetUp();
        file = single_region(QString("single") + GetParam());
        win->Query1.on_execute = [this](const std::string& s) { statements.push_back(s); };
    }
    TTable_Restructure_Frm* open_window()
    {
        win->Restructure1Click();
        auto* w = last_shown<TTable_Restructure_Frm>();
        EXPECT_NE(w, nullptr);
        EXPECT_EQ(structure_edit_mode, 2);
        w->show();
        return w;
    }
    bool dbase() const { return std::string(GetParam()) == ".dbf"; }
    // The name a field is stored under in this format.
    std::string stored(const std::string& name) const { return dbase() ? db::dbase_stored_name(name) : name; }
    QStringList structure_display()
    {
        win->Table_infoClick();
        QStringList out;
        auto* info = last_shown<TTable_info_frm>();
        for (const QStringList& row : grid_rows(info->StringGrid1)) out << row.join(' ').trimmed();
        return out;
    }
    std::string alter(const std::string& rest) const { return "alter table \"" + file.toStdString() + "\" " + rest; }

    QString file;
    std::vector<std::string> statements;
};

TEST_P(Restructure, AddsTwoFieldsThenDropsOne)
{
    TTable_Restructure_Frm* w = open_window();
    EXPECT_EQ(w->windowTitle(), "表结构修改");
    EXPECT_EQ(w->findChild<QLabel*>("Label4")->text(), "字段号宽度");
    EXPECT_EQ(w->StringGrid1->toolTip(), "Use Arrow or Del Button to add or delete fields.");
    EXPECT_EQ(w->Button5->text(), "确认");
    EXPECT_EQ(test_text_fit::clipped_texts(w), QStringList{});
    EXPECT_EQ(old_field_count, 6);
    ASSERT_EQ(old_structure.size(), 6u);
    EXPECT_EQ(old_structure[5].FieldName, stored("年龄别生育率"));
    StructureGrid* g = w->StringGrid1;
    EXPECT_FALSE(g->editing());

    click_cell(g, 5, 1);
    key(g, Qt::Key_Delete);
    ASSERT_EQ(g->rowCount(), 5);
    click_cell(g, 4, 1);
    key(g, Qt::Key_Down);
    EXPECT_TRUE(g->editing());
    ASSERT_EQ(g->rowCount(), 6);
    EXPECT_EQ(g->currentRow(), 5);
    enter_row(g, 5, "备注", 'C', "12");
    key(g, Qt::Key_Down);
    ASSERT_EQ(g->rowCount(), 7);
    enter_row(g, 6, "权重", 'F');
    EXPECT_EQ(structure_cell(g, 0, 6), "7");

    w->Button5->click();
    ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
    EXPECT_EQ(statements, (std::vector<std::string>{alter("add 备注 Char(12)"), alter("add 权重 Float"),
                                                    alter("drop " + stored("年龄别生育率"))}));
    EXPECT_EQ(add_field_list, (std::vector<std::string>{"备注 Char(12)", "权重 Float"}));
    EXPECT_EQ(structure_edit_mode, 0);
    EXPECT_TRUE(w->isHidden());
    EXPECT_EQ(w->result(), QDialog::Rejected);
    ASSERT_TRUE(win->Table1.active());
    EXPECT_EQ(table_open, 1);

    const QString age = dbase() ? "Integer" : "Integer";
    EXPECT_EQ(structure_display(), (QStringList{"1 年龄 " + age, "2 男性人口 Float", "3 女性人口 Float",
                                                "4 男性死亡率 Float", "5 女性死亡率 Float", "6 备注 Char 12",
                                                "7 权重 Float"}));
    // The records, through the engine: 81, ages in order, the new fields empty.
    db::Dataset& t = win->Table1;
    ASSERT_EQ(t.record_count(), 81);
    int k = 0;
    for (t.first(); !t.eof(); t.next(), ++k) {
        EXPECT_EQ(t.field_by_name("年龄").as_float(), k);
        EXPECT_EQ(t.field_by_name("权重").as_float(), 0);
        EXPECT_TRUE(t.field_by_name("备注").is_null());
    }
    // And through an independent reader.
    if (!dbase()) {
        pxtest::PxTable px = pxtest::px_read(file.toStdString());
        ASSERT_EQ(px.fields.size(), 7u);
        EXPECT_EQ(dbase_test::to_utf8(px.fields[5].name), "备注");
        EXPECT_EQ(px.fields[5].len, 12);
        EXPECT_EQ(dbase_test::to_utf8(px.fields[6].name), "权重");
        ASSERT_EQ(px.records.size(), 81u);
        for (int r = 0; r < 81; ++r) {
            EXPECT_EQ(px.records[r][0].l, r);
            EXPECT_TRUE(px.records[r][5].null);
            EXPECT_EQ(px.records[r][6].d, 0.0);   // a blank number reads 0
        }
    } else {
        dbase_test::IndepTable ogr = dbase_test::ogr_read(file.toStdString());
        ASSERT_EQ(ogr.fields.size(), 7u);
        EXPECT_EQ(ogr.fields[5].name, "备注");
        EXPECT_EQ(ogr.fields[6].name, "权重");
        ASSERT_EQ(ogr.rows.size(), 81u);
        for (int r = 0; r < 81; ++r) {
            EXPECT_EQ(ogr.rows[r][0].value_or("?"), std::to_string(r));
            EXPECT_FALSE(ogr.rows[r][5].has_value());
        }
    }
}

TEST_P(Restructure, UnchangedGridRunsNothing)
{
    const QByteArray before = file_bytes(file);
    TTable_Restructure_Frm* w = open_window();
    w->Button5->click();
    EXPECT_TRUE(statements.empty());
    EXPECT_TRUE(w->isHidden());
    EXPECT_EQ(file_bytes(file), before);
    // A changed type of a field that keeps its name is not applied either.
    w = open_window();
    set_structure_cell(w->StringGrid1, 2, 1, "Char");
    set_structure_cell(w->StringGrid1, 3, 1, "12");
    w->Button5->click();
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_TRUE(statements.empty());
    EXPECT_EQ(file_bytes(file), before);
    // 取消 changes nothing.
    w = open_window();
    set_structure_cell(w->StringGrid1, 1, 1, "别名");
    w->Button6->click();
    EXPECT_EQ(structure_edit_mode, 0);
    EXPECT_TRUE(statements.empty());
}

TEST_P(Restructure, RenameAddsAnEmptyFieldAndDropsTheOld)
{
    // Some data in 女性人口 first, to see it go.
    db::Dataset& t = win->Table1;
    t.first();
    t.edit();
    t.field_by_name("女性人口").set_as_float(123);
    t.post();
    TTable_Restructure_Frm* w = open_window();
    set_structure_cell(w->StringGrid1, 1, 2, "女性人口2");
    w->Button5->click();
    EXPECT_EQ(statements, (std::vector<std::string>{alter("add 女性人口2 Float"), alter("drop 女性人口")}));
    EXPECT_EQ(win->field_names().last(), "女性人口2");
    EXPECT_FALSE(win->field_names().contains("女性人口"));
    t.first();
    EXPECT_TRUE(t.field_by_name("女性人口2").is_null());
}

TEST_P(Restructure, CharRowWithoutWidthChangesNothing)
{
    const QByteArray before = file_bytes(file);
    TTable_Restructure_Frm* w = open_window();
    StructureGrid* g = w->StringGrid1;
    g->setRowCount(7);
    set_structure_cell(g, 1, 6, "备注");
    set_structure_cell(g, 2, 6, "Char");
    w->Button5->click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"'' is not a valid integer value"}));
    EXPECT_TRUE(statements.empty());
    EXPECT_FALSE(w->isHidden());
    EXPECT_EQ(file_bytes(file), before);
}

TEST_P(Restructure, EngineErrorLeavesTheTableOpen)
{
    TTable_Restructure_Frm* w = open_window();
    StructureGrid* g = w->StringGrid1;
    g->setRowCount(8);
    set_structure_cell(g, 1, 6, "x");
    set_structure_cell(g, 2, 6, "Float");
    set_structure_cell(g, 1, 7, "X");   // the engine knows no difference of case
    set_structure_cell(g, 2, 7, "Float");
    click_cell(g, 0, 1);
    key(g, Qt::Key_Delete);   // 年龄 would be dropped after the additions
    w->Button5->click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"Duplicate field name 'X'"}));
    EXPECT_EQ(statements.size(), 2u);
    // The first addition stays; the table is open again and current; the window stays open.
    EXPECT_TRUE(win->Table1.active());
    EXPECT_EQ(table_open, 1);
    EXPECT_EQ(win->field_names().size(), 7);
    EXPECT_EQ(win->field_names().first(), "年龄");
    EXPECT_EQ(win->Table1.record_count(), 81);
    EXPECT_FALSE(w->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Formats, Restructure, ::testing::Values(".DB", ".dbf"),
                         [](const auto& info) { return std::string(info.param) == ".DB" ? "Paradox" : "dBASE"; });

class RestructureKeys : public ToolsTest {};

TEST_F(RestructureKeys, DelOnTheOnlyRowAndNoTable)
{
    win->Restructure1Click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"没有打开的数据表!"}));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(structure_edit_mode, 0);
    svc.clear();
    db::execute_statement("Create table \"" + path("one.db").toStdString() + "\" (年龄 integer)");
    open(path("one.db"));
    win->Restructure1Click();
    auto* w = last_shown<TTable_Restructure_Frm>();
    ASSERT_NE(w, nullptr);
    w->show();
    click_cell(w->StringGrid1, 0, 1);
    key(w->StringGrid1, Qt::Key_Delete);
    EXPECT_EQ(grid_rows(w->StringGrid1), (QList<QStringList>{{"1", "年龄", "Integer", ""}}));
    // Up on the last row turns editing off and keeps a named row.
    key(w->StringGrid1, Qt::Key_Down);
    key(w->StringGrid1, Qt::Key_Up);
    EXPECT_FALSE(w->StringGrid1->editing());
    EXPECT_EQ(w->StringGrid1->rowCount(), 1);
}

// The restructure grid shares the new-table grid's fixed number column: the current cell starts
// in the first field's name and never enters the numbers.
TEST_F(RestructureKeys, NumbersAreTheFixedColumn)
{
    single_region("p.DB");
    win->Restructure1Click();
    auto* w = last_shown<TTable_Restructure_Frm>();
    ASSERT_NE(w, nullptr);
    w->show();
    StructureGrid* g = w->StringGrid1;
    ASSERT_EQ(g->rowCount(), 6);
    EXPECT_EQ(g->currentRow(), 0);
    EXPECT_EQ(g->currentColumn(), 1);
    key(g, Qt::Key_Left);
    click_cell(g, 3, 0);
    EXPECT_EQ(g->currentRow(), 0);
    EXPECT_EQ(g->currentColumn(), 1);
    for (int r = 0; r < g->rowCount(); ++r) {
        EXPECT_EQ(structure_cell(g, 0, r), QString::number(r + 1));
        EXPECT_EQ(g->item(r, 0)->flags() & (Qt::ItemIsEditable | Qt::ItemIsSelectable | Qt::ItemIsEnabled),
                  Qt::NoItemFlags);
    }
    // A row added with Down gets its fixed number cell too.
    g->setCurrentCell(5, 1);
    key(g, Qt::Key_Down);
    ASSERT_EQ(g->rowCount(), 7);
    ASSERT_NE(g->item(6, 0), nullptr);
    EXPECT_EQ(g->item(6, 0)->text(), "7");
    EXPECT_FALSE(g->item(6, 0)->flags() & Qt::ItemIsEditable);
}

}  // namespace
}  // namespace vantelo::shell::testing
