#pragma once
// 预测向导, second page: the population by age and sex (年龄, 男性, 女性), typed or read from a
// wizard text file. 下一步 puts it into the workspace and the projection form's sex-ratio and
// floating-population grids and opens the death-rate page.
#include <QPointer>
#include <memory>

#include "projection/wizard_page.h"

namespace Ui {
class Twizard_Frm01;
}

namespace vantelo {

class Twizard_Frm01 : public WizardPage {
    Q_OBJECT
public:
    explicit Twizard_Frm01(QWidget* parent = nullptr);
    ~Twizard_Frm01() override;

    // The page of a wizard run for `ages` ages, filling `form`.
    void prepare(int ages, TSingle_Region_frm* form);

    void BitBtn1Click();  // 读取
    void BitBtn2Click();  // 保存
    void BitBtn3Click();  // 下一步
    void BitBtn4Click();  // 取消

private:
    std::unique_ptr<Ui::Twizard_Frm01> ui_;
};

// The newest page of its kind.
extern QPointer<Twizard_Frm01> wizard_Frm01;

}  // namespace vantelo
