#pragma once
// 预测向导, third page: the death rates by age and sex. 下一步 builds the life tables of both
// sexes, writes the base life expectancies into the projection form and opens the fertility page.
#include <QPointer>
#include <memory>

#include "projection/wizard_page.h"

namespace Ui {
class Twizard_Frm02;
}

namespace vantelo {

class Twizard_Frm02 : public WizardPage {
    Q_OBJECT
public:
    explicit Twizard_Frm02(QWidget* parent = nullptr);
    ~Twizard_Frm02() override;

    // The page of a wizard run for `ages` ages, filling `form`.
    void prepare(int ages, TSingle_Region_frm* form);

    void BitBtn1Click();  // 读取
    void BitBtn2Click();  // 保存
    void BitBtn3Click();  // 下一步
    void BitBtn5Click();  // 取消

private:
    std::unique_ptr<Ui::Twizard_Frm02> ui_;
};

// The newest page of its kind.
extern QPointer<Twizard_Frm02> wizard_Frm02;

}  // namespace vantelo
