#pragma once
// The message of the program error an action raises, or "(no error)" when it raises none.
#include <functional>
#include <string>

#include "platform/core/errors.h"

namespace test_errors {

inline std::string error_text(const std::function<void()>& f)
{
    try {
        f();
    } catch (const vantelo::Error& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace test_errors
