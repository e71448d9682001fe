#include "platform/ui/modal.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace vantelo::ui {

namespace {
WindowRunner& installed()
{
    static WindowRunner runner;
    return runner;
}

// Ends a local event loop when the window it watches is hidden or closed.
class HideWatcher : public QObject {
public:
    HideWatcher(QWidget* w, QEventLoop* loop) : loop_(loop) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Hide || e->type() == QEvent::Close) loop_->quit();
        return false;
    }

private:
    QEventLoop* loop_;
};

int default_show(QWidget* w, bool modal)
{
    if (!modal) {
        w->show();
        return 0;
    }
    if (auto* d = qobject_cast<QDialog*>(w)) return d->exec();
    QPointer<QWidget> guard(w);
    w->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    HideWatcher watch(w, &loop);
    QObject::connect(w, &QObject::destroyed, &loop, &QEventLoop::quit);
    w->show();
    loop.exec();
    if (guard) {
        guard->removeEventFilter(&watch);
        guard->setWindowModality(Qt::NonModal);
    }
    return 0;
}
}  // namespace

int show_window(QWidget* window, bool modal)
{
    if (!window) return 0;
    // A copy: the runner may show further windows, or install another runner, while it runs.
    WindowRunner runner = installed();
    if (runner) return runner(window, modal);
    return default_show(window, modal);
}

int show_modal(QDialog& dialog) { return show_window(&dialog, true); }

void set_window_runner(WindowRunner runner) { installed() = std::move(runner); }

}  // namespace vantelo::ui
