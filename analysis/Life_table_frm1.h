#pragma once
// The life-table form: the user names the fields of the current table that hold population and
// deaths or death rates by age, chooses single years or abridged groups and a method for the
// separation factors; 确认 computes the table into the life-table arrays and opens its result
// window, after which the form stays open for another choice.
#include <QDialog>
#include <QStringList>
#include <memory>

#include "analysis/engine/life_table_methods.h"

namespace Ui {
class TLife_table_frm;
}
class QLineEdit;

namespace vantelo {

class TLife_table_frm : public QDialog {
    Q_OBJECT
public:
    explicit TLife_table_frm(QWidget* parent = nullptr);
    ~TLife_table_frm() override;

    // Fills ListBox2 with the current table's field names, in table order.
    void fill_field_list(const QStringList& fields);
    // True while "1 Year " is chosen (the survival chart's labels follow it).
    bool single_years() const;

    void ListBox2Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void RadioButton7Click();
    void RadioButton8Click();
    void BitBtn1Click();  // 确认
    void BitBtn2Click();  // 取消

private:
    void copy_selected_field(QLineEdit* edit);

    std::unique_ptr<Ui::TLife_table_frm> ui_;
};

// The newest life-table form.
extern TLife_table_frm* Life_table_frm;
// The item index last clicked in ListBox2 of any life-table form (0 at program start).
extern int life_selected_field;
// The arrays of the last computation; the result window and its chart read them.
extern analysis::LifeTableState life_table_arrays;

}  // namespace vantelo
