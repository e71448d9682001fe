#pragma once
// 预测向导, last page: the women's fertility rates of ages 15 to 50 (the rate at 50 counts in
// the TFR, not in the pattern of ages 15..49). 下一步 fills the projection form's TFR and
// pattern grids and shows the form modally.
#include <QDialog>
#include <QPointer>
#include <memory>

#include "platform/ui/services.h"

namespace Ui {
class Twizard_Frm03;
}

namespace vantelo {

namespace ui {
class StringGrid;
}
class TSingle_Region_frm;

class Twizard_Frm03 : public QDialog {
    Q_OBJECT
public:
    explicit Twizard_Frm03(QWidget* parent = nullptr);
    ~Twizard_Frm03() override;

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

    std::unique_ptr<Ui::Twizard_Frm03> ui_;
    int ages_ = 0;
    QPointer<TSingle_Region_frm> form_;
};

// The newest page of its kind.
extern QPointer<Twizard_Frm03> wizard_Frm03;

}  // namespace vantelo
