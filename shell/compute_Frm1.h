#pragma once
// 数据管理 > 计算: a field of the current table recomputed over every record as an arithmetic
// combination of two fields (运算), a copy of one (替换) or a transformation of one (变换). The
// window stays open after each computation until 取消.
#include <QDialog>
#include <QPointer>
#include <memory>

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace Ui {
class Tcompute_Frm;
}

namespace vantelo::shell {

class Tcompute_Frm : public QDialog {
    Q_OBJECT
public:
    explicit Tcompute_Frm(QWidget* owner);
    ~Tcompute_Frm() override;

    // Fills the target and operand lists with names, in table order.
    void fill_field_lists(const QStringList& names);

    void ComboBox5Change();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void BitBtn1Click();  // 确认
    void BitBtn2Click();  // 取消

    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QComboBox* ComboBox5 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

private:
    std::unique_ptr<Ui::Tcompute_Frm> ui_;
};

extern QPointer<Tcompute_Frm> compute_Frm;

// Registers 数据管理 > 计算 with the main window.
void register_compute();

}  // namespace vantelo::shell
