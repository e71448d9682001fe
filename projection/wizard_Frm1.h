#pragma once
// 预测向导, second page: the population by age and sex (年龄, 男性, 女性), typed or read from a
// wizard text file. 下一步 puts it into the workspace and the projection form's sex-ratio and
// floating-population grids and opens the death-rate page.
#include <QDialog>
#include <QPointer>
#include <memory>

#include "platform/ui/services.h"

namespace Ui {
class Twizard_Frm01;
}

namespace vantelo {

namespace ui {
class StringGrid;
}
class TSingle_Region_frm;

class Twizard_Frm01 : public QDialog {
    Q_OBJECT
public:
    explicit Twizard_Frm01(QWidget* parent = nullptr);
    ~Twizard_Frm01() override;

    // The page of a wizard run: its grid for `ages` ages (N, from the first page), and the
    // projection form this run fills.
    void prepare(int ages, TSingle_Region_frm* form);

    void BitBtn1Click();  // 读取
    void BitBtn2Click();  // 保存
    void BitBtn3Click();  // 下一步
    void BitBtn4Click();  // 取消

    ui::StringGrid* grid() const;  // StringGrid1

    ui::FileDialogState OpenDialog1, SaveDialog1;

private:
    TSingle_Region_frm& form() const;

    std::unique_ptr<Ui::Twizard_Frm01> ui_;
    int ages_ = 0;
    QPointer<TSingle_Region_frm> form_;
};

// The newest page of its kind.
extern QPointer<Twizard_Frm01> wizard_Frm01;

}  // namespace vantelo
