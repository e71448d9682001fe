#pragma once
// The data-quality form: one field of the current table, the population by single year of age,
// and one of four indices of age reporting; 确定 shows the index in a new index result window.
#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class TData_quality_frm;
}

namespace vantelo {

class TData_quality_frm : public QDialog {
    Q_OBJECT
public:
    explicit TData_quality_frm(QWidget* parent = nullptr);
    ~TData_quality_frm() override;

    // Empties ListBox2 and fills it with the current table's field names; selects the age
    // preference index.
    void fill_field_list(const QStringList& fields);

    void ListBox2Click();
    void BitBtn1Click();  // 确定
    void BitBtn2Click();  // 取消

private:
    std::unique_ptr<Ui::TData_quality_frm> ui_;
};

// The newest data-quality form.
extern TData_quality_frm* Data_quality_frm;

}  // namespace vantelo
