#pragma once
// A spin edit that keeps what is typed: its value is the integer in the box, even outside the
// range (the arrows and the keys step within the range); text that is not an integer reads as
// the minimum. Qt's QSpinBox refuses such input, which the chart dialogs' size boxes must take.
#include <QAbstractSpinBox>

namespace vantelo::ui {

class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int value READ value WRITE setValue USER true)

public:
    explicit SpinEdit(QWidget* parent = nullptr);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    void setMinimum(int m) { minimum_ = m; }
    void setMaximum(int m) { maximum_ = m; }
    void setRange(int lo, int hi);

    // The integer in the box as typed; not an integer (empty, letters, too large): the minimum.
    int value() const;
    // Shows v as it is (no clamping, as typing would).
    void setValue(int v);

    // Puts text into the box as typing would.
    void set_text(const QString& text);

    // One step up or down from the value, kept within the range.
    void stepBy(int steps) override;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    StepEnabled stepEnabled() const override;

private:
    int minimum_ = 0;
    int maximum_ = 100;
};

}  // namespace vantelo::ui
