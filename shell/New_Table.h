#pragma once
// 文件 > 新建: the structure of a new table, one grid row per field (number, name, type, width),
// types chosen by the type pop-up or a letter key and "Char" widths by the width pop-up or digit
// keys. 创建 checks the names, asks for a file and creates the table with one statement; the new,
// empty table becomes the current table.
#include <QDialog>
#include <QPointer>
#include <memory>

#include "platform/ui/services.h"

class QPushButton;

namespace Ui {
class TNew_Table_Frm;
}

namespace vantelo::shell {

class StructureGrid;

class TNew_Table_Frm : public QDialog {
    Q_OBJECT
public:
    explicit TNew_Table_Frm(QWidget* owner);
    ~TNew_Table_Frm() override;

    void StringGrid1SelectCell(int col, int row);
    void StringGrid1Click();
    void StringGrid1MouseDown(Qt::MouseButton button, QPoint pos);
    void StringGrid1KeyDown(int key);
    bool StringGrid1KeyPress(QChar key);
    void Button2Click();  // 插入字段
    void Button3Click();  // 删除字段
    void Button5Click();  // 创建
    void Button6Click();  // 取消
    // Runs when the user confirms a file name in SaveDialog1.
    void SaveDialog1CanClose();

    StructureGrid* StringGrid1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    ui::FileDialogState SaveDialog1;

private:
    std::unique_ptr<Ui::TNew_Table_Frm> ui_;
};

extern QPointer<TNew_Table_Frm> New_Table_Frm;

// Registers 文件 > 新建 (and its tool button) with the main window.
void register_new_table();

}  // namespace vantelo::shell
