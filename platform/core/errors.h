#pragma once
// The program's error kinds. Every failure that ends an action is one of these; the handler
// guard catches them at the event boundary and shows the message in the default error box.
#include <stdexcept>
#include <string>

namespace vantelo {

// Base of every error of the program's own. Messages are UTF-8.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failure of the table engine: missing, locked or corrupt file, bad statement, type mismatch.
class EngineError : public Error {
public:
    using Error::Error;
};

// A text that is not a number: "'%s' is not a valid floating point value" or
// "'%s' is not a valid integer value".
class ConvertError : public Error {
public:
    using Error::Error;
    static ConvertError not_float(const std::string& text);
    static ConvertError not_integer(const std::string& text);
};

// An index outside the bounds of an array or a string.
class RangeError : public Error {
public:
    RangeError() : Error("Range check error") {}
};

// An integer addition, subtraction or multiplication that overflows.
class IntOverflowError : public Error {
public:
    IntOverflowError() : Error("Integer overflow") {}
};

// Real division by zero.
class ZeroDivideError : public Error {
public:
    ZeroDivideError() : Error("Floating point division by zero") {}
};

// A real result too large to represent.
class FpOverflowError : public Error {
public:
    FpOverflowError() : Error("Floating point overflow") {}
};

// An invalid real operation, such as the logarithm of a value that is not positive.
class InvalidOpError : public Error {
public:
    InvalidOpError() : Error("Invalid floating point operation") {}
};

// An index outside a list: "List index out of bounds (%d)" with the index asked for.
class ListIndexError : public Error {
public:
    explicit ListIndexError(long long index);
};

// A value that cannot be read as the type asked for, such as an empty or non-numeric field
// read as a real number.
class VariantError : public Error {
public:
    VariantError() : Error("Invalid variant type conversion") {}
};

// A failed text-file operation.
class InOutError : public Error {
public:
    using Error::Error;
};

}  // namespace vantelo
