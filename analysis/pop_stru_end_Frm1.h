#pragma once
// 推算年末人口数: the year-end population by age and sex from the population now, the death
// rates, the year's births and a known year-end total. Choosing a field loads it into the
// projection workspace (death rates build the sex's life table); 运算 checks, estimates
// (analysis/engine/year_end_estimate.h), writes the estimate into two new Float columns of the
// current table and closes the window.
#include <QDialog>
#include <memory>

namespace Ui {
class Tpop_stru_end_Frm;
}

namespace vantelo {

class Tpop_stru_end_Frm : public QDialog {
    Q_OBJECT
public:
    explicit Tpop_stru_end_Frm(QWidget* parent = nullptr);
    ~Tpop_stru_end_Frm() override;

    // Fills the four field lists with the current table's field names (each cleared first).
    void fill_field_lists(const QStringList& fields);

    void ComboBox2Change();  // male population
    void ComboBox3Change();  // female population
    void ComboBox4Change();  // male death rates
    void ComboBox5Change();  // female death rates
    void BitBtn2Click();     // 运算
    void BitBtn1Click();     // 取消

private:
    std::unique_ptr<Ui::Tpop_stru_end_Frm> ui_;
    // What the field loads of this window completed: a population column read, a life table
    // built. 运算 uses nothing an earlier window or a failed load left in the workspace.
    bool male_population_ = false, female_population_ = false;
    bool male_life_table_ = false, female_life_table_ = false;
};

// The newest year-end estimate window.
extern Tpop_stru_end_Frm* pop_stru_end_Frm;

}  // namespace vantelo
