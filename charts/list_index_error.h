#pragma once
// TODO(shared pieces): platform/core/errors.h brings ListIndexError once merged.
#include <string>

#include "platform/core/errors.h"

namespace vantelo {
class ListIndexError : public Error {
public:
    explicit ListIndexError(long long index) : Error("List index out of bounds (" + std::to_string(index) + ")") {}
};
}  // namespace vantelo
