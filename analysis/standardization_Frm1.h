#pragma once
// 人口数据标准化: an age-sex structure (tab 按年龄结构) or a rural and an urban one (tab
// 分城乡分年龄结构) from fields of the current table, rescaled to a given total and written back
// into the table as new Float columns. The structures are loaded into the projection workspace
// (pop_male, pop_female: the first tab and the rural lists load the same two arrays) and the
// urban workspace (urban_pop_male, urban_pop_female); the window stays open after 确定.
#include <QDialog>
#include <memory>
#include <vector>

#include "projection/engine/workspace.h"

namespace Ui {
class Tstandardization_Frm;
}
class QComboBox;
class QLineEdit;

namespace vantelo {

class Tstandardization_Frm : public QDialog {
    Q_OBJECT
public:
    explicit Tstandardization_Frm(QWidget* parent = nullptr);
    ~Tstandardization_Frm() override;

    // Fills the six field lists with the current table's field names (each cleared first).
    void fill_field_lists(const QStringList& fields);

    void ComboBox4Change();   // pop_male
    void ComboBox5Change();   // pop_female
    void ComboBox2Change();   // pop_male (rural)
    void ComboBox3Change();   // pop_female (rural)
    void ComboBox1Change();   // urban_pop_male
    void ComboBox10Change();  // urban_pop_female
    void Button3Click();      // 确定, by age structure
    void Button1Click();      // 确定, rural and urban
    void Button4Click();      // 取消
    void Button2Click();      // 取消

private:
    void standardize(const std::vector<QComboBox*>& lists, const std::vector<projection::k_ar*>& arrays,
                     const std::vector<QLineEdit*>& names, QLineEdit* total);

    std::unique_ptr<Ui::Tstandardization_Frm> ui_;
};

// The newest standardisation window.
extern Tstandardization_Frm* standardization_Frm;

}  // namespace vantelo
