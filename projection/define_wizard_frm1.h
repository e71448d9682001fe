#pragma once
// 预测向导, first page: the number of ages and the years of a projection entered without a
// table. 下一步 opens the population page and the projection form that the wizard fills.
#include <QDialog>
#include <QPointer>
#include <memory>

namespace Ui {
class Tdefine_wizard_frm;
}

namespace vantelo {

class Tdefine_wizard_frm : public QDialog {
    Q_OBJECT
public:
    explicit Tdefine_wizard_frm(QWidget* parent = nullptr);
    ~Tdefine_wizard_frm() override;

    void Button1Click();  // 下一步
    void BitBtn1Click();  // 取消

private:
    std::unique_ptr<Ui::Tdefine_wizard_frm> ui_;
};

// The newest first page.
extern QPointer<Tdefine_wizard_frm> define_wizard_frm;

namespace projection {
// Registers 文件 > 预测向导 (item "N8", and its tool button) with the main window: no table
// check, a new first page owned by the application, shown without blocking.
void register_projection_wizard();
}  // namespace projection

}  // namespace vantelo
