#include "platform/core/numtext.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vantelo {
namespace {

// Decimal digits of |x| rounded to 18 significant digits (the precision of the extended
// type's decimal conversions), as a digit string and the exponent e such that
// |x| = 0.d1d2d3... * 10^e. x = 0 gives "" and e = 0.
struct Decimal {
    std::string digits;  // without leading zeros; trailing zeros removed
    int exponent = 0;
    bool negative = false;
};

Decimal to_decimal(real x, int significant)
{
    Decimal d;
    d.negative = std::signbit(x);
    real ax = std::fabs(x);
    if (ax == 0) return d;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", significant - 1, ax);
    // buf = "d.ddddE[+-]xx"
    std::string s(buf);
    auto epos = s.find('e');
    std::string mant = s.substr(0, epos);
    int e10 = std::atoi(s.c_str() + epos + 1);
    for (char c : mant)
        if (c >= '0' && c <= '9') d.digits.push_back(c);  // the decimal point may be the locale's
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    d.exponent = e10 + 1;
    return d;
}

// Rounds the digit string so that it keeps `keep` digits, ties away from zero; may carry into
// a new leading digit (exponent grows). keep <= 0 leaves at most one digit.
void round_digits(Decimal& d, int keep)
{
    if (static_cast<int>(d.digits.size()) <= keep) return;
    if (keep < 0) {
        d.digits.clear();
        d.exponent = 0;
        return;
    }
    bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') {
            d.digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            d.exponent += 1;
        } else {
            d.digits[static_cast<size_t>(i)] += 1;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.exponent = 0;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view t)
{
    while (!t.empty() && is_blank(t.front())) t.remove_prefix(1);
    while (!t.empty() && is_blank(t.back())) t.remove_suffix(1);
    return t;
}

}  // namespace

std::string format_pattern(real x, std::string_view pattern)
{
    check_finite(x);
    // Split the pattern into its integer places, its decimal places and the literals around.
    auto dot = pattern.find('.');
    std::string_view int_part = dot == std::string_view::npos ? pattern : pattern.substr(0, dot);
    std::string_view frac_part = dot == std::string_view::npos ? std::string_view() : pattern.substr(dot + 1);
    int int_zeros = 0;  // '0' places force digits
    bool seen_zero = false;
    for (char c : int_part) {
        if (c == '0') seen_zero = true;
        if (seen_zero && (c == '0' || c == '#')) ++int_zeros;
    }
    int frac_places = 0, frac_zeros = 0;
    for (size_t i = 0; i < frac_part.size(); ++i) {
        char c = frac_part[i];
        if (c == '#' || c == '0') {
            ++frac_places;
            if (c == '0') frac_zeros = frac_places;
        }
    }

    Decimal d = to_decimal(x, 18);
    round_digits(d, d.exponent + frac_places);

    std::string int_digits, frac_digits;
    for (int i = 0; i < d.exponent; ++i)
        int_digits.push_back(i < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(i)] : '0');
    for (int i = 0; i < frac_places; ++i) {
        int k = d.exponent + i;
        frac_digits.push_back(k >= 0 && k < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(k)] : '0');
    }
    while (static_cast<int>(int_digits.size()) < int_zeros) int_digits.insert(int_digits.begin(), '0');
    while (static_cast<int>(frac_digits.size()) > frac_zeros && !frac_digits.empty() && frac_digits.back() == '0')
        frac_digits.pop_back();

    std::string out;
    if (d.negative && !d.digits.empty()) out.push_back('-');
    // Literals before the first place are copied, the rest of the integer part is the number.
    size_t first_place = int_part.find_first_of("#0");
    if (first_place != std::string_view::npos) out.append(int_part.substr(0, first_place));
    out += int_digits;
    if (!frac_digits.empty()) {
        out.push_back('.');
        out += frac_digits;
    }
    return out;
}

std::string format_general(real x)
{
    check_finite(x);
    Decimal d = to_decimal(x, 18);
    round_digits(d, 15);
    if (d.digits.empty()) return "0";
    std::string out;
    if (d.negative) out.push_back('-');
    int e = d.exponent;
    int n = static_cast<int>(d.digits.size());
    if (e > 15 || e < -3) {
        out.push_back(d.digits[0]);
        if (n > 1) {
            out.push_back('.');
            out.append(d.digits, 1, std::string::npos);
        }
        out.push_back('E');
        out += std::to_string(e - 1);
        return out;
    }
    if (e <= 0) {
        out += "0.";
        out.append(static_cast<size_t>(-e), '0');
        out += d.digits;
    } else if (n <= e) {
        out += d.digits;
        out.append(static_cast<size_t>(e - n), '0');
    } else {
        out.append(d.digits, 0, static_cast<size_t>(e));
        out.push_back('.');
        out.append(d.digits, static_cast<size_t>(e), std::string::npos);
    }
    return out;
}

real parse_float(std::string_view text)
{
    std::string_view t = trim(text);
    size_t i = 0;
    auto fail = [&]() { return ConvertError::not_float(std::string(text)); };
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t mant_digits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++mant_digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++mant_digits;
    }
    if (mant_digits == 0) throw fail();
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        size_t exp_digits = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++exp_digits;
        if (exp_digits == 0) throw fail();
    }
    if (i != t.size()) throw fail();
    // Fast path for plain decimals of at most 19 digits: the digits as an exact integer over an
    // exact power of ten, one correctly rounded division, the same value the general reader gives.
    if (mant_digits <= 19 && t.find_first_of("eE") == std::string_view::npos) {
        unsigned long long mant = 0;
        int frac = 0;
        bool after_point = false, negative = false;
        for (char c : t) {
            if (c == '-') negative = true;
            else if (c == '.') after_point = true;
            else if (c >= '0' && c <= '9') {
                mant = mant * 10 + static_cast<unsigned long long>(c - '0');
                if (after_point) ++frac;
            }
        }
        long double v = static_cast<long double>(mant);
        if (frac > 0) {
            long double p10 = 1;
            for (int k = 0; k < frac; ++k) p10 *= 10;
            v /= p10;
        }
        return negative ? -v : v;
    }
    std::string_view num = t;
    if (!num.empty() && num.front() == '+') num.remove_prefix(1);
    long double v = 0;
    auto res = std::from_chars(num.data(), num.data() + num.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow beyond the extended range is not a number we hold.
        bool huge = false;
        for (char c : num) {
            if (c == 'e' || c == 'E') {
                huge = num.find('-', static_cast<size_t>(&c - num.data())) == std::string_view::npos;
                break;
            }
        }
        if (huge) throw fail();
        return 0;
    }
    if (res.ec != std::errc() || res.ptr != num.data() + num.size()) throw fail();
    return v;
}

std::int32_t parse_int(std::string_view text)
{
    std::string_view t = trim(text);
    auto fail = [&]() { return ConvertError::not_integer(std::string(text)); };
    bool neg = false;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
    int base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    }
    if (i >= t.size()) throw fail();
    long long v = 0;
    for (; i < t.size(); ++i) {
        char c = t[i];
        int dgt;
        if (c >= '0' && c <= '9') dgt = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') dgt = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') dgt = c - 'A' + 10;
        else throw fail();
        v = v * base + dgt;
        if (v > 2147483648LL) throw fail();
    }
    if (neg) v = -v;
    if (v > 2147483647LL || v < -2147483648LL) throw fail();
    return static_cast<std::int32_t>(v);
}

real round_half_even(real x)
{
    check_finite(x);
    real f = std::floor(x);
    real diff = x - f;
    if (diff > 0.5L) return f + 1;
    if (diff < 0.5L) return f;
    return std::fmod(f, 2.0L) == 0 ? f : f + 1;
}

real round_half_away(real x)
{
    check_finite(x);
    return std::round(x);
}

std::int64_t round_to_int64(real x)
{
    real r = round_half_even(x);
    if (r < -9.2233720368547758e18L || r >= 9.2233720368547758e18L) throw IntOverflowError();
    return static_cast<std::int64_t>(r);
}

}  // namespace vantelo
