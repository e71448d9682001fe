#pragma once
// Number texts: the picture patterns of the reports, the general format, the strict reader
// and the rounding rules. Nothing here depends on the process locale.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/checked.h"

namespace vantelo {

// Formats x by a picture pattern made of '#' places, an optional '.' and optional literal
// characters (e.g. "#####.####", "##.######"). '#' places write no leading or trailing zero:
// 0.05 with "#####.##" gives ".05", 0 gives "" and 12.5 with "#####.####" gives "12.5".
// The value is rounded half away from zero to the pattern's decimals; integer digits beyond
// the '#' places are all written. A '0' place in the pattern forces a digit.
std::string format_pattern(real x, std::string_view pattern);

// The general format: the shortest text of up to 15 significant digits, plain notation while
// the decimal exponent lies in -5 < e < 15, otherwise scientific as "1E-7", "1.5E20", "-2E-5".
std::string format_general(real x);

// Reads a decimal number: optional sign, digits with an optional '.', optional exponent
// ("e" or "E", optional sign, digits); surrounding blanks allowed. Anything else, including
// "inf", "nan", thousands separators and commas, raises
// "'%s' is not a valid floating point value".
real parse_float(std::string_view text);

// Reads a 32-bit integer (optional sign, decimal digits, surrounding blanks allowed; "$" + hex
// as the original also allowed); anything else raises "'%s' is not a valid integer value".
std::int32_t parse_int(std::string_view text);

// Rounds to the nearest whole number, ties to even (populations written as results).
real round_half_even(real x);

// Rounds to the nearest whole number, ties away from zero.
real round_half_away(real x);

// Round(x) as a 64-bit integer, ties to even; out of range raises the overflow error.
std::int64_t round_to_int64(real x);

}  // namespace vantelo
