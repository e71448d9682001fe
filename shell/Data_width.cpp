#include "shell/Data_width.h"

#include <QEvent>
#include <QLineEdit>

#include "platform/core/errors.h"
#include "platform/core/numtext.h"
#include "platform/ui/guard.h"
#include "shell/app_state.h"
#include "shell/data_type.h"
#include "shell/structure_grid.h"
#include "ui_Data_width.h"

namespace vantelo::shell {

QPointer<TData_width_frm> Data_width_frm;

int WidthSpinEdit::typed_value() const
{
    try {
        return parse_int(text().toStdString());
    } catch (const ConvertError&) {
        return 1;
    }
}

QValidator::State WidthSpinEdit::validate(QString& text, int&) const
{
    for (QChar c : text)
        if (!c.isDigit() && c != u' ' && c != u'-' && c != u'+') return QValidator::Invalid;
    return QValidator::Acceptable;
}

TData_width_frm::TData_width_frm(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::TData_width_frm>())
{
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    SpinEdit1 = ui_->SpinEdit1;
    // A click into the spin edit's text; the arrows only change the value.
    if (auto* edit = SpinEdit1->findChild<QLineEdit*>()) edit->installEventFilter(this);
}

TData_width_frm::~TData_width_frm() = default;

bool TData_width_frm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) ui::guarded(this, [this] { SpinEdit1Click(); });
    return QDialog::eventFilter(watched, event);
}

void TData_width_frm::SpinEdit1Click()
{
    if (QTableWidget* grid = edited_structure_grid())
        set_structure_cell(grid, 3, struct_grid_row, QString::number(SpinEdit1->typed_value()));
    done(QDialog::Rejected);
}

}  // namespace vantelo::shell
