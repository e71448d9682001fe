#pragma once
// Showing a window modally. The program runs the window's own event loop (exec()); tests
// install a runner that records the window and returns at once, so nothing blocks.
#include <functional>

class QDialog;

namespace vantelo::charts {

using ModalRunner = std::function<int(QDialog&)>;

// Shows the dialog modally and returns its result, through the runner in force.
int show_modal(QDialog& dialog);

// Installs a runner; an empty one restores exec().
void set_modal_runner(ModalRunner runner);

}  // namespace vantelo::charts
