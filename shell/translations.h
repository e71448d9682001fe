#pragma once
// Qt's own dialogs and buttons (file, print, font and colour dialogs, "OK", "Cancel") speak
// Chinese, like the rest of the program.
namespace vantelo::shell {

// Loads Qt's Simplified Chinese translation into the application; returns false when the
// translation is not installed (the dialogs then stay in English).
bool install_qt_translations();

}  // namespace vantelo::shell
