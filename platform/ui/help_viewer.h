#pragma once
// The help viewer: an HTML help page shown in a small window of the program's own.
#include <QString>

class QWidget;

namespace vantelo::ui {

// Shows the page (an HTML file) at the anchor named by topic, in the one help window, which is
// created on first use and kept; it does not block.
void show_help_window(QWidget* parent, const QString& html_file, const QString& topic);

// The help window currently shown (nullptr before the first use).
QWidget* help_window();

}  // namespace vantelo::ui
