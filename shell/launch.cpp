#include "shell/launch.h"

#include <QHash>

namespace vantelo::shell {

namespace {
QHash<QString, WindowFactory>& factories()
{
    static QHash<QString, WindowFactory> f;
    return f;
}
}  // namespace

void register_window(const QString& item, WindowFactory factory)
{
    if (factory) factories().insert(item, std::move(factory));
    else factories().remove(item);
}

bool window_registered(const QString& item) { return factories().contains(item); }

WindowFactory window_factory(const QString& item) { return factories().value(item); }

}  // namespace vantelo::shell
