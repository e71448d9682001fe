#pragma once
// Input errors as the user sees them: an information box with one OK button, shown through the
// services seam, after which the action ends.
#include <QString>

#include "platform/core/input_message.h"

class QWidget;

namespace vantelo::ui {

// Shows text in an information box with one OK button.
void inform(QWidget* parent, const QString& text);

// Runs an action; an InputMessage it raises ends it with the information box of its text.
// Every other error passes on to the handler guard.
template <class F>
void informing(QWidget* parent, F&& action)
{
    try {
        action();
    } catch (const InputMessage& m) {
        inform(parent, QString::fromUtf8(m.what()));
    }
}

}  // namespace vantelo::ui
