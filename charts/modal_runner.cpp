#include "charts/modal_runner.h"

#include <QDialog>

namespace vantelo::charts {
namespace {
ModalRunner& installed()
{
    static ModalRunner runner;
    return runner;
}
}  // namespace

int show_modal(QDialog& dialog)
{
    if (installed()) return installed()(dialog);
    return dialog.exec();
}

void set_modal_runner(ModalRunner runner) { installed() = std::move(runner); }

}  // namespace vantelo::charts
