#pragma once
// The one seam for showing a window. The program shows a window non-modally with show(), and
// modally by running a dialog's own loop (exec()) or, for a window that is not a dialog, a local
// event loop until the window is hidden or destroyed. A test installs a runner that receives every
// window shown (with whether it was to be modal), acts on it and returns at once, so no test waits
// in a modal loop.
#include <functional>

class QDialog;
class QWidget;

namespace vantelo::ui {

// Receives a window to show and returns its result (a dialog's result, 0 otherwise).
using WindowRunner = std::function<int(QWidget* window, bool modal)>;

// Shows `window` through the runner in force: modally (returning when it closes, with a dialog's
// result) or not (returning at once). A null window is ignored and gives 0.
int show_window(QWidget* window, bool modal);

// Shows a dialog modally and returns its result.
int show_modal(QDialog& dialog);

// Installs a runner; an empty one restores the program's own showing.
void set_window_runner(WindowRunner runner);

// Installs a runner for the life of the object, then restores the program's own showing.
class ScopedWindowRunner {
public:
    explicit ScopedWindowRunner(WindowRunner runner) { set_window_runner(std::move(runner)); }
    ~ScopedWindowRunner() { set_window_runner({}); }
    ScopedWindowRunner(const ScopedWindowRunner&) = delete;
    ScopedWindowRunner& operator=(const ScopedWindowRunner&) = delete;
};

}  // namespace vantelo::ui
