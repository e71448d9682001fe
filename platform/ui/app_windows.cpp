#include "platform/ui/app_windows.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace vantelo::ui {
namespace {

std::vector<QPointer<QWidget>>& kept()
{
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

}  // namespace

QWidget* keep_until_exit(QWidget* window)
{
    static bool hooked = false;
    if (!hooked && QCoreApplication::instance()) {
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] { free_kept_windows(); });
        hooked = true;
    }
    // Windows freed meanwhile leave empty pointers behind; drop them as new ones come.
    std::erase_if(kept(), [](const QPointer<QWidget>& w) { return w.isNull(); });
    kept().emplace_back(window);
    return window;
}

void free_kept_windows()
{
    std::vector<QPointer<QWidget>> windows;
    windows.swap(kept());
    for (auto& w : windows) delete w.data();
}

}  // namespace vantelo::ui
