#pragma once
// The program's start-up: the splash window, the help file, the main window, then the
// window-message loop until the main window closes.
#include <functional>

#include <QString>

class QWidget;

namespace vantelo::shell {

// Creates the main window (and stores its global reference before its own creation work
// runs); the window is not shown yet.
using MainWindowFactory = std::function<QWidget*()>;

// The help file start-up puts into help_file (app_state.h); the help command replaces it.
inline const QString kStartupHelpFile = QStringLiteral("C:\\VORN_Help\\VORN.HLP");

// Shows the splash until its timer ends or it is clicked, frees it (also on an error, which
// then propagates), sets the help file and creates the main window. Needs a QApplication.
// The program's factory is [] { return new Tquilta; }.
QWidget* start_up(const MainWindowFactory& make_main_window);

// start_up(), then the window-message loop, which ends when the main window closes; the main
// window is freed afterwards. An error during start-up is shown and ends the program (1).
// The application object must exist.
int run_application(const MainWindowFactory& make_main_window);

// The whole program: the application object, then run_application(make_main_window).
int run_application(int argc, char** argv, const MainWindowFactory& make_main_window);

}  // namespace vantelo::shell
