#include "platform/ui/windows.h"

#include <QGuiApplication>
#include <QScreen>

namespace vantelo::ui {

void centre_on_screen(QWidget* window)
{
    QScreen* screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    window->move(screen->availableGeometry().center() - QPoint(window->width() / 2, window->height() / 2));
}

}  // namespace vantelo::ui
