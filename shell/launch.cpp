#include "shell/launch.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QHash>
#include <QPointer>
#include <QWidget>

namespace vantelo::shell {

namespace {
QHash<QString, WindowFactory>& factories()
{
    static QHash<QString, WindowFactory> f;
    return f;
}

WindowShower& shower()
{
    static WindowShower s;
    return s;
}

// Ends a local event loop when the window it watches is hidden or destroyed.
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

void default_show(QWidget* w, bool modal)
{
    if (!modal) {
        w->show();
        return;
    }
    if (auto* d = qobject_cast<QDialog*>(w)) {
        d->exec();
        return;
    }
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
}
}  // namespace

void register_window(const QString& item, WindowFactory factory)
{
    if (factory) factories().insert(item, std::move(factory));
    else factories().remove(item);
}

bool window_registered(const QString& item) { return factories().contains(item); }

WindowFactory window_factory(const QString& item) { return factories().value(item); }

void set_window_shower(WindowShower s) { shower() = std::move(s); }

void show_window(QWidget* window, bool modal)
{
    if (!window) return;
    if (shower()) shower()(window, modal);
    else default_show(window, modal);
}

}  // namespace vantelo::shell
