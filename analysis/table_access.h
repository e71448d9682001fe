#pragma once
// The information box of an input message and the list-index error of the field lists, as the
// analysis windows use them.
#include <QString>

#include "platform/ui/services.h"
#include "projection/engine/input_message.h"

class QWidget;

namespace vantelo::analysis {

// "List index out of bounds (%d)".
[[noreturn]] void raise_list_index(long long index);

// Runs an action whose input errors end it with an information box.
template <class F>
void informing(QWidget* w, F&& f)
{
    try {
        f();
    } catch (const projection::InputMessage& m) {
        ui::services().information(w, QString::fromUtf8(m.what()));
    }
}

}  // namespace vantelo::analysis
