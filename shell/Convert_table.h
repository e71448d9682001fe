#pragma once
// 数据管理 > 格式转换: copies the current table into a new file of another format (ASCII, dBASE,
// FoxPro, Paradox). The current table stays open and current; the copy is not opened.
#include <QDialog>
#include <QPointer>
#include <memory>

#include "platform/ui/services.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace Ui {
class Tconvert_table_frm;
}

namespace vantelo::shell {

class Tconvert_table_frm : public QDialog {
    Q_OBJECT
public:
    explicit Tconvert_table_frm(QWidget* owner);
    ~Tconvert_table_frm() override;

    void Button1Click();  // 确认
    void Button2Click();  // 取消

    QLineEdit* Edit1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    ui::FileDialogState SaveDialog1;

private:
    std::unique_ptr<Ui::Tconvert_table_frm> ui_;
};

extern QPointer<Tconvert_table_frm> convert_table_frm;

// Registers 数据管理 > 格式转换 with the main window.
void register_convert_table();

}  // namespace vantelo::shell
