#pragma once
// 数据管理 > 修改表结构: the current table's structure in a grid; rows added for new fields and
// rows deleted for fields to drop. 确认 compares the grid with the structure the window opened
// with, by field name, and changes the table with one statement per added and per dropped
// field, all additions first.
#include <QDialog>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

class QPushButton;

namespace Ui {
class TTable_Restructure_Frm;
}

namespace vantelo::shell {

class StructureGrid;

// The field definitions to add and the names to drop, as the last 确认 built them.
extern std::vector<std::string> add_field_list;
extern std::vector<std::string> drop_field_list;

class TTable_Restructure_Frm : public QDialog {
    Q_OBJECT
public:
    explicit TTable_Restructure_Frm(QWidget* owner);
    ~TTable_Restructure_Frm() override;

    void StringGrid1Click();
    void StringGrid1MouseDown(Qt::MouseButton button, QPoint pos);
    void StringGrid1KeyDown(int key);
    bool StringGrid1KeyPress(QChar key);
    void Button5Click();  // 确认
    void Button6Click();  // 取消

    StructureGrid* StringGrid1 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;

private:
    // Runs one statement on the current table with Table1 closed, and opens Table1 again,
    // also when the statement fails.
    void run_on_current_table(const std::string& statement);

    std::unique_ptr<Ui::TTable_Restructure_Frm> ui_;
};

extern QPointer<TTable_Restructure_Frm> Table_Restructure_Frm;

// Registers 数据管理 > 修改表结构 with the main window.
void register_table_restructure();

}  // namespace vantelo::shell
