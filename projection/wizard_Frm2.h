#pragma once
// 预测向导, third page: the death rates by age and sex. 下一步 builds the life tables of both
// sexes, writes the base life expectancies into the projection form and opens the fertility page.
#include <QDialog>
#include <QPointer>
#include <memory>

#include "platform/ui/services.h"

namespace Ui {
class Twizard_Frm02;
}

namespace vantelo {

namespace ui {
class StringGrid;
}
class TSingle_Region_frm;

class Twizard_Frm02 : public QDialog {
    Q_OBJECT
public:
    explicit Twizard_Frm02(QWidget* parent = nullptr);
    ~Twizard_Frm02() override;

    // The page of a wizard run: its grid for `ages` ages (N, from the first page), and the
    // projection form this run fills.
    void prepare(int ages, TSingle_Region_frm* form);

    void BitBtn1Click();  // 读取
    void BitBtn2Click();  // 保存
    void BitBtn3Click();  // 下一步
    void BitBtn5Click();  // 取消

    ui::StringGrid* grid() const;  // StringGrid1

    ui::FileDialogState OpenDialog1, SaveDialog1;

private:
    TSingle_Region_frm& form() const;

    std::unique_ptr<Ui::Twizard_Frm02> ui_;
    int ages_ = 0;
    QPointer<TSingle_Region_frm> form_;
};

// The newest page of its kind.
extern QPointer<Twizard_Frm02> wizard_Frm02;

}  // namespace vantelo
