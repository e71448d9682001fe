#pragma once
// The UN age-sex accuracy form: the fields of the male and the female population by age;
// 确定 shows the United Nations age-sex accuracy index in a new index result window.
#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class TUN_sex_age_frm;
}
class QLineEdit;

namespace vantelo {

class TUN_sex_age_frm : public QDialog {
    Q_OBJECT
public:
    explicit TUN_sex_age_frm(QWidget* parent = nullptr);
    ~TUN_sex_age_frm() override;

    // Empties ListBox2 and fills it with the current table's field names.
    void fill_field_list(const QStringList& fields);

    void Button1Click();
    void Button2Click();
    void BitBtn2Click();  // 确定
    void BitBtn1Click();  // 取消

private:
    void copy_current_field(QLineEdit* edit);

    std::unique_ptr<Ui::TUN_sex_age_frm> ui_;
};

// The newest UN age-sex form.
extern TUN_sex_age_frm* UN_sex_age_frm;

}  // namespace vantelo
