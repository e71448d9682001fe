#include "platform/ui/services.h"

#include "platform/ui/qt_services.h"

namespace vantelo::ui {
namespace {
Services* installed = nullptr;
}

Services& services()
{
    static QtServices real;
    return installed ? *installed : real;
}

void set_services(Services* s) { installed = s; }

}  // namespace vantelo::ui
