#pragma once
// 年龄结构金子塔: a male and a female population field, one record per age in record order,
// drawn as shares of their joint total in a horizontal-bar pyramid, males to the left.
#include <QDialog>
#include <memory>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace Ui {
class TAge_stru_frm;
}

namespace vantelo::charts {

class TAge_stru_frm : public QDialog {
    Q_OBJECT
public:
    explicit TAge_stru_frm(QWidget* parent = nullptr);
    ~TAge_stru_frm() override;

    // Fills ListBox1 with the field names of the current table.
    void fill_fields(const QStringList& names);

    // Handlers.
    void Button4Click();  // ">>>" to the male field, if numeric
    void Button5Click();  // ">>>" to the female field, if numeric
    void BitBtn2Click();  // 确定
    void BitBtn1Click();  // 取消

    QLineEdit* Edit1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button4 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button5 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

private:
    void copy_numeric_item(QLineEdit* box);

    std::unique_ptr<Ui::TAge_stru_frm> ui_;
};

// The newest pyramid dialog.
extern TAge_stru_frm* Age_stru_frm;

}  // namespace vantelo::charts
