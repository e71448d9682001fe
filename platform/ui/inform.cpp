#include "platform/ui/inform.h"

#include "platform/ui/services.h"

namespace vantelo::ui {

void inform(QWidget* parent, const QString& text) { services().information(parent, text); }

}  // namespace vantelo::ui
