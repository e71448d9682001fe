#include "platform/ui/windows.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWindow>

namespace vantelo::ui {

void centre_on_screen(QWidget* window)
{
    QScreen* screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    window->move(screen->availableGeometry().center() - QPoint(window->width() / 2, window->height() / 2));
}

namespace {

bool exposed(QWidget* w)
{
    QWidget* top = w->window();
    return top->windowHandle() && top->windowHandle()->isExposed();
}

}  // namespace

void show_exposed(QWidget* window, int timeout_ms)
{
    QPointer<QWidget> w(window);
    w->show();
    w->raise();
    w->activateWindow();
    QElapsedTimer clock;
    clock.start();
    while (w && w->isVisible() && !exposed(w) && clock.elapsed() < timeout_ms)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents, 20);
    // The size the window system gave the window (maximised, say) arrives with the exposure.
    if (w) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void paint_now(std::initializer_list<QWidget*> widgets)
{
    for (QWidget* w : widgets) w->repaint();
    // Hands the painted picture to the window system now, not at the next turn of the loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vantelo::ui
