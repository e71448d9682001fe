#pragma once
// How the projection windows show a window modally. The program runs the dialog's own modal
// loop; a test installs a runner that acts on the dialog (presses its buttons, reads its text)
// and returns the result, so no test waits in a modal loop.
#include <functional>

class QDialog;

namespace vantelo::projection {

using ModalRunner = std::function<int(QDialog*)>;

// Shows `dialog` modally and returns its result.
int show_modal(QDialog* dialog);

// Installs a runner; an empty one restores QDialog::exec.
void set_modal_runner(ModalRunner runner);

}  // namespace vantelo::projection
