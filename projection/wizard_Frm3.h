#pragma once
// 预测向导, last page: the women's fertility rates of ages 15 to 50 (the rate at 50 counts in
// the TFR, not in the pattern of ages 15..49). 下一步 fills the projection form's TFR and
// pattern grids and shows the form modally.
#include <QPointer>
#include <memory>

#include "projection/wizard_page.h"

namespace Ui {
class Twizard_Frm03;
}

namespace vantelo {

class Twizard_Frm03 : public WizardPage {
    Q_OBJECT
public:
    explicit Twizard_Frm03(QWidget* parent = nullptr);
    ~Twizard_Frm03() override;

    // The page of a wizard run for `ages` ages, filling `form`.
    void prepare(int ages, TSingle_Region_frm* form);

    void BitBtn1Click();  // 读取
    void BitBtn2Click();  // 保存
    void BitBtn3Click();  // 下一步
    void BitBtn5Click();  // 取消

private:
    std::unique_ptr<Ui::Twizard_Frm03> ui_;
};

// The newest page of its kind.
extern QPointer<Twizard_Frm03> wizard_Frm03;

}  // namespace vantelo
