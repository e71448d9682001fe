#pragma once
// The application's default error box: every event handler runs behind guarded(), which
// catches the program's errors (and any std::exception) and shows the message, so no
// exception ever crosses the Qt event loop.
#include <QApplication>
#include <exception>
#include <utility>

#include "platform/core/errors.h"
#include "platform/ui/services.h"

namespace vantelo::ui {

// Shows the default error box for the exception in flight.
void report_current_exception(QWidget* parent);

template <class F>
void guarded(QWidget* parent, F&& f)
{
    try {
        std::forward<F>(f)();
    } catch (...) {
        report_current_exception(parent);
    }
}

// Connects a signal to a handler behind the guard: connect_guarded(button, &QPushButton::clicked,
// this, &Form::BitBtn1Click).
template <class Sender, class Signal, class Receiver, class Handler>
auto connect_guarded(Sender* sender, Signal signal, Receiver* receiver, Handler handler)
{
    return QObject::connect(sender, signal, receiver, [receiver, handler](auto&&...) {
        guarded(qobject_cast<QWidget*>(receiver), [&] { (receiver->*handler)(); });
    });
}

// The application object; its notify() is a backstop that shows any exception that escaped a
// handler instead of letting it cross the event loop.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace vantelo::ui
