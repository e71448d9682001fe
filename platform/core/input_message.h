#pragma once
// An input the user must correct: the window shows the text in an information box with one OK
// button (ui::inform in platform/ui/inform.h) and the action ends. Computing files raise it
// instead of showing anything.
#include "platform/core/errors.h"

namespace vantelo {

class InputMessage : public Error {
public:
    using Error::Error;
};

}  // namespace vantelo
