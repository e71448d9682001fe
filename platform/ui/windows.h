#pragma once
// How windows are made and placed. Every window of the program is created by new_window(): the
// main window's launchers through it (shell/launch.h), and a window that opens another one
// (a viewer, a report window, a chart window, a dialog) through it too, so that each kind's
// global reference always names its newest window.
#include <QPointer>
#include <QWidget>
#include <initializer_list>
#include <utility>

namespace vantelo::ui {

// A new window of kind W owned by `owner` (its Qt parent: the window goes with its owner; a
// null owner leaves it to the caller), made a top-level window and stored in `newest`, the
// global reference of its kind. Arguments before the owner are passed to W's constructor in
// front of it: new_window(this, View_3d_frm, DBChart1) makes TView_3d_frm(DBChart1, this).
template <class W, class... Args>
W* new_window(QWidget* owner, W*& newest, Args&&... args)
{
    W* w = new W(std::forward<Args>(args)..., owner);
    if (!w->isWindow()) w->setWindowFlag(Qt::Window, true);
    newest = w;
    return w;
}

// The same for a global reference that clears itself when its window goes.
template <class W, class... Args>
W* new_window(QWidget* owner, QPointer<W>& newest, Args&&... args)
{
    W* raw = nullptr;
    W* w = new_window(owner, raw, std::forward<Args>(args)...);
    newest = w;
    return w;
}

// Moves the window so that its centre is the centre of the available area of its screen (the
// primary screen while it has none).
void centre_on_screen(QWidget* window);

// Shows the window, brings it to the front and waits until the window system has mapped and
// exposed it (at most `timeout_ms`), handling window-system events but no user input meanwhile,
// so that what is painted next reaches the screen. Animations call it before their first frame.
void show_exposed(QWidget* window, int timeout_ms = 3000);

// Repaints the widgets at once, in order, and hands the pictures to the window system before
// returning (a frame of an animation, held afterwards by the pause).
void paint_now(std::initializer_list<QWidget*> widgets);

}  // namespace vantelo::ui
