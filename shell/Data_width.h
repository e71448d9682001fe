#pragma once
// The width pop-up of the structure grids: a borderless spin edit (1..255, starting at 1). A
// click into it writes its value into the width cell of the current row of the structure grid
// being edited (see edited_structure_grid()) and closes. The value is the typed text when it is a
// whole number, even beyond the spin range (a typed 300 is written as 300), and 1 otherwise.
#include <QDialog>
#include <QPointer>
#include <QSpinBox>
#include <memory>

namespace Ui {
class TData_width_frm;
}

namespace vantelo::shell {

// A spin edit whose text may hold any whole number; the arrows keep to the range.
class WidthSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;
    // The typed whole number, unclamped; 1 when the text is not a whole number.
    int typed_value() const;

protected:
    QValidator::State validate(QString& text, int& pos) const override;
};

class TData_width_frm : public QDialog {
    Q_OBJECT
public:
    explicit TData_width_frm(QWidget* owner);
    ~TData_width_frm() override;

    void SpinEdit1Click();

    WidthSpinEdit* SpinEdit1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TData_width_frm> ui_;
};

extern QPointer<TData_width_frm> Data_width_frm;

}  // namespace vantelo::shell
