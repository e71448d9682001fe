#include "platform/core/errors.h"

namespace vantelo {

ConvertError ConvertError::not_float(const std::string& text)
{
    return ConvertError("'" + text + "' is not a valid floating point value");
}

ConvertError ConvertError::not_integer(const std::string& text)
{
    return ConvertError("'" + text + "' is not a valid integer value");
}

ListIndexError::ListIndexError(long long index) : Error("List index out of bounds (" + std::to_string(index) + ")") {}

}  // namespace vantelo
