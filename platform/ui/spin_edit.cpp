#include "platform/ui/spin_edit.h"

#include <QLineEdit>
#include <algorithm>

#include "platform/core/errors.h"
#include "platform/core/numtext.h"

namespace vantelo::ui {

SpinEdit::SpinEdit(QWidget* parent) : QAbstractSpinBox(parent)
{
    setValue(0);
}

void SpinEdit::setRange(int lo, int hi)
{
    minimum_ = lo;
    maximum_ = hi;
}

int SpinEdit::value() const
{
    try {
        return parse_int(lineEdit()->text().trimmed().toStdString());
    } catch (const Error&) {
        return minimum_;
    }
}

void SpinEdit::setValue(int v) { lineEdit()->setText(QString::number(v)); }

void SpinEdit::set_text(const QString& text) { lineEdit()->setText(text); }

void SpinEdit::stepBy(int steps)
{
    const long long next = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(next, minimum_, std::max(minimum_, maximum_))));
    selectAll();
}

QValidator::State SpinEdit::validate(QString&, int&) const { return QValidator::Acceptable; }

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const { return StepUpEnabled | StepDownEnabled; }

}  // namespace vantelo::ui
