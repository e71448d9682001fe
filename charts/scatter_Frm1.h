#pragma once
// 散点图: one field against another as a point series, each point optionally labelled with a
// third field, in a new chart window without a legend.
#include <QDialog>
#include <memory>

#include "platform/ui/services.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vantelo::ui {
class SpinEdit;
}
namespace Ui {
class Tscatter_Frm;
}

namespace vantelo::charts {

class Tscatter_Frm : public QDialog {
    Q_OBJECT
public:
    explicit Tscatter_Frm(QWidget* parent = nullptr);
    ~Tscatter_Frm() override;

    // Fills ListBox1 with the field names of the current table.
    void fill_fields(const QStringList& names);

    // Handlers.
    void Button4Click();  // ">>>" to the Y field
    void Button5Click();  // ">>>" to the X field
    void Button1Click();  // ">>>" to the label field
    void BitBtn3Click();  // 主标题 font
    void BitBtn4Click();  // 坐标轴 font
    void ComboBox2Change();
    void BitBtn2Click();  // 确定
    void BitBtn1Click();  // 取消

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button4 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QPushButton* Button5 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QPushButton* Button1 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    ui::SpinEdit* SpinEdit1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    ui::FontDialogState FontDialog1;

private:
    std::unique_ptr<Ui::Tscatter_Frm> ui_;
};

// The newest scatter dialog.
extern Tscatter_Frm* scatter_Frm;

}  // namespace vantelo::charts
