#include "projection/modal.h"

#include <QDialog>

namespace vantelo::projection {
namespace {
ModalRunner& runner()
{
    static ModalRunner r;
    return r;
}
}  // namespace

int show_modal(QDialog* dialog)
{
    if (runner()) return runner()(dialog);
    return dialog->exec();
}

void set_modal_runner(ModalRunner r) { runner() = std::move(r); }

}  // namespace vantelo::projection
