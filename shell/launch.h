#pragma once
// The shared path of the main window's command launchers: table check, a new window owned by
// the main window, filled by its launcher, then shown modally or not.
//
// A command window plugs in by registering a factory under the name of its menu item
// ("Table_info", "Projection1", ...). The factory creates the window with new_window(), which
// also sets the window's global reference to the newest instance, fills its lists (field_names()
// of the main window) and defaults, and returns it; the main window then shows it. A menu item
// without a registered factory stays disabled.
#include <QString>
#include <functional>

#include "platform/ui/windows.h"

namespace vantelo::shell {

class Tquilta;

inline const QString no_table_message = QStringLiteral("没有打开的数据表!请先打开数据表.");
inline const QString no_table_short_message = QStringLiteral("没有打开的数据表!");

using WindowFactory = std::function<QWidget*(Tquilta& main)>;

// Registers (or, with an empty factory, removes) the launcher of a menu item. The main window
// enables the item's action when it is built or when its factory is registered afterwards.
void register_window(const QString& item, WindowFactory factory);
bool window_registered(const QString& item);
WindowFactory window_factory(const QString& item);

// The launched window is shown through ui::show_window (platform/ui/modal.h).

// A new window of kind W owned by the main window, stored in its global reference: the
// program's one way of creating a window (platform/ui/windows.h).
using ui::new_window;

}  // namespace vantelo::shell
