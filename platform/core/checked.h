#pragma once
// Checked arithmetic. Real numbers are computed in long double (the x87 extended type) and
// stored as double; a division by zero, an overflow or an invalid operation raises instead of
// giving an infinity or a NaN. Integer arithmetic and every array index are checked too.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/core/errors.h"

namespace vantelo {

using real = long double;

// The raising paths, kept out of line so the checks themselves stay small enough to inline.
[[noreturn]] void raise_invalid_op();
[[noreturn]] void raise_fp_overflow();
[[noreturn]] void raise_zero_divide();
[[noreturn]] void raise_int_overflow();
[[noreturn]] void raise_range();

// Raises when x is not a finite number: NaN is an invalid operation, an infinity an overflow.
inline real check_finite(real x)
{
    if (std::isnan(x)) raise_invalid_op();
    if (std::isinf(x)) raise_fp_overflow();
    return x;
}

inline real checked_add(real a, real b) { return check_finite(check_finite(a) + check_finite(b)); }
inline real checked_sub(real a, real b) { return check_finite(check_finite(a) - check_finite(b)); }
inline real checked_mul(real a, real b) { return check_finite(check_finite(a) * check_finite(b)); }

// a / b; b = 0 raises the division-by-zero error (0/0 is an invalid operation).
inline real checked_div(real a, real b)
{
    check_finite(a);
    check_finite(b);
    if (b == 0) {
        if (a == 0) raise_invalid_op();
        raise_zero_divide();
    }
    return check_finite(a / b);
}

// Natural logarithm; x <= 0 is an invalid operation.
inline real checked_ln(real x)
{
    check_finite(x);
    if (x <= 0) raise_invalid_op();
    return std::log(x);
}

inline real checked_exp(real x) { return check_finite(std::exp(check_finite(x))); }

inline real checked_sqrt(real x)
{
    check_finite(x);
    if (x < 0) raise_invalid_op();
    return std::sqrt(x);
}

inline real checked_pow(real base, real expo)
{
    return check_finite(std::pow(check_finite(base), check_finite(expo)));
}

// Stores an extended value as a double; a value beyond the double range is an overflow.
inline double to_double(real x)
{
    check_finite(x);
    if (std::fabs(x) > static_cast<real>(std::numeric_limits<double>::max())) raise_fp_overflow();
    return static_cast<double>(x);
}

inline std::int32_t checked_add(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_add_overflow(a, b, &r)) raise_int_overflow();
    return r;
}
inline std::int32_t checked_sub(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_sub_overflow(a, b, &r)) raise_int_overflow();
    return r;
}
inline std::int32_t checked_mul(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_mul_overflow(a, b, &r)) raise_int_overflow();
    return r;
}

// Range-checked element access.
template <class T>
inline T& at(std::vector<T>& v, long long i)
{
    if (i < 0 || static_cast<unsigned long long>(i) >= v.size()) raise_range();
    return v[static_cast<std::size_t>(i)];
}
template <class T>
inline const T& at(const std::vector<T>& v, long long i)
{
    if (i < 0 || static_cast<unsigned long long>(i) >= v.size()) raise_range();
    return v[static_cast<std::size_t>(i)];
}

// Truncation of a real towards zero into a 32-bit integer, as the original Trunc; out of range raises.
inline std::int32_t trunc_i32(real x)
{
    check_finite(x);
    real t = std::trunc(x);
    if (t < std::numeric_limits<std::int32_t>::min() || t > std::numeric_limits<std::int32_t>::max())
        raise_int_overflow();
    return static_cast<std::int32_t>(t);
}

}  // namespace vantelo
