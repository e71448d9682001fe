#pragma once
// Windows owned by the application rather than by another window: kept until the program
// ends (freed when the application is about to quit), never freed when they close.
class QWidget;

namespace vantelo::ui {

// Takes a parentless window into the application's keeping; returns it.
QWidget* keep_until_exit(QWidget* window);

// Frees every window kept so far that still exists (what the end of the program does).
void free_kept_windows();

}  // namespace vantelo::ui
