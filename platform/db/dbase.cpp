#include "platform/db/dbase.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>
#include <unordered_map>

#include "platform/core/errors.h"
#include "platform/core/numtext.h"
#include "platform/db/atomic_file.h"
#include "platform/db/byte_reader.h"
#include "platform/db/encoding.h"

namespace vantelo::db {
namespace {

// How the bytes of one field are read and written.
enum class Kind {
    Char,        // C: text padded with blanks
    Number,      // N, F: right-aligned decimal text
    Logical,     // L: T/F/Y/N, '?' or blank for none (we write a blank)
    DateText,    // D: YYYYMMDD
    Memo,        // M (and G, P, dBASE B): block number into the memo file
    Int32,       // FoxPro I: 4 bytes little-endian
    Double,      // FoxPro B: 8-byte IEEE little-endian
    Currency,    // FoxPro Y: 8-byte integer, ten-thousandths
    DateTime,    // FoxPro T: Julian day and milliseconds
    NullFlags,   // FoxPro's hidden _NullFlags column
    Unknown,     // any other code: shown as text, never written
};

struct RawField {
    std::string name_bytes;   // as stored, up to the NUL
    char code = 0;
    int width = 0;
    int decimals = 0;
    unsigned flags = 0;       // Visual FoxPro: 0x01 system column, 0x02 may be null
    std::size_t offset = 0;   // within the record, after the deletion flag
    Kind kind = Kind::Unknown;
    int null_bit = -1;        // bit in _NullFlags, -1 when the field cannot be null
};

struct Header {
    unsigned char version = 0;
    std::uint32_t count = 0;
    std::size_t header_length = 0;
    std::size_t record_length = 0;
    unsigned char ldid = 0;
    int code_page = 936;
    std::vector<RawField> fields;      // every column, system ones included
    int null_flags = -1;               // index of the _NullFlags column
    bool foxpro_marks = false;         // a FoxPro version byte or field offsets in the descriptors
    std::size_t fields_total = 0;      // the deletion flag and every field's width
    // The first way the header disagrees with itself that a rewrite could not keep as it is
    // (its records could then be misread): the table opens read-only with it. "" when none.
    std::string damage;
};

bool is_visual_foxpro(unsigned char v) { return v == 0x30 || v == 0x31 || v == 0x32; }
bool is_foxpro(unsigned char v) { return is_visual_foxpro(v) || v == 0xF5 || v == 0xFB; }
bool known_version(unsigned char v) { return (v & 0x07) == 0x03 || is_foxpro(v); }

std::string hex2(unsigned v)
{
    const char* d = "0123456789ABCDEF";
    return std::string("0x") + d[(v >> 4) & 15] + d[v & 15];
}

bool ascii_ieq(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

Kind kind_of(char code, int width, unsigned char version)
{
    switch (code) {
    case 'C': return Kind::Char;
    case 'N':
    case 'F': return Kind::Number;
    case 'L': return Kind::Logical;
    case 'D': return Kind::DateText;
    case 'M':
    case 'G':
    case 'P': return width == 4 || width == 10 ? Kind::Memo : Kind::Unknown;
    case 'I': return width == 4 ? Kind::Int32 : Kind::Unknown;
    case 'B':
        if (is_visual_foxpro(version)) return width == 8 ? Kind::Double : Kind::Unknown;
        return width == 10 ? Kind::Memo : Kind::Unknown;
    case 'Y': return width == 8 ? Kind::Currency : Kind::Unknown;
    case 'T': return width == 8 ? Kind::DateTime : Kind::Unknown;
    case '0': return Kind::NullFlags;
    default: return Kind::Unknown;
    }
}

// Raises when a file of size bytes cannot hold the records the header counts, naming the
// header field that cannot be right where the file shows it: a record length beyond the
// fields' total when records of that total would fit, or a record count when the file ends at
// a record boundary (with or without its end mark); otherwise the file is truncated.
void check_records_fit(const std::string& label, const Header& h, std::uint64_t size)
{
    const std::uint64_t need = static_cast<std::uint64_t>(h.header_length) +
                               static_cast<std::uint64_t>(h.count) * static_cast<std::uint64_t>(h.record_length);
    if (need <= size) return;
    const std::uint64_t total = h.fields_total;
    const std::uint64_t body = size - h.header_length;
    if (h.record_length > total && h.header_length + h.count * total <= size)
        throw EngineError(label + ": the header gives records of " + std::to_string(h.record_length) +
                          " bytes but its fields total " + std::to_string(total));
    if (body % h.record_length <= 1)
        throw EngineError(label + ": the header counts " + std::to_string(h.count) + " records, but the file holds " +
                          std::to_string(body / h.record_length) + " (wrong record count)");
    throw EngineError(label + ": truncated file: the header gives " + std::to_string(h.count) + " records of " +
                      std::to_string(h.record_length) + " bytes, which need " + std::to_string(need) +
                      " bytes, but the file has " + std::to_string(size));
}

// Reads and checks the header: version, counts and lengths against the size of the file
// (file_size bytes, of which r holds at least the header), and the field descriptors up to
// the 0x0D terminator.
Header parse_header(ByteReader& r, std::uint64_t file_size)
{
    Header h;
    if (file_size < 32) r.fail_eof("header", static_cast<std::size_t>(file_size));
    h.version = r.u8("version");
    if (!known_version(h.version))
        throw EngineError(r.label() + ": not a dBASE or FoxPro table (version byte " + hex2(h.version) + ")");
    r.skip(3, "last update date");
    h.count = r.u32le("record count");
    h.header_length = r.u16le("header length");
    h.record_length = r.u16le("record length");
    r.seek(15, "header");
    if (r.u8("encryption flag") != 0) throw EngineError(r.label() + ": the table is encrypted and cannot be opened");
    r.seek(29, "header");
    h.ldid = r.u8("language id");
    h.code_page = ldid_codepage(h.ldid);
    if (h.header_length < 33) r.fail("invalid header length " + std::to_string(h.header_length), 8);
    if (h.header_length > file_size)
        throw EngineError(r.label() + ": the header gives a header length of " + std::to_string(h.header_length) +
                          " bytes, but the file has only " + std::to_string(file_size));

    r.seek(32, "field descriptors");
    std::size_t offset = 0;
    int null_bits = 0;
    auto damaged = [&](const std::string& what) {
        if (h.damage.empty()) h.damage = what;
    };
    std::vector<std::uint32_t> stored_offsets;
    std::size_t end_mark = 0;  // where the 0x0D after the descriptors is, 0 when there is none
    while (true) {
        if (r.offset() >= h.header_length) break;  // no terminator: the header ends here
        std::size_t at = r.offset();
        unsigned char first = r.bytes(1, "field descriptors")[0];
        if (first == 0x0D) {
            end_mark = at;
            break;
        }
        if (at + 32 > h.header_length) r.fail("field descriptor beyond the header length", at);
        r.seek(at, "field descriptor");
        const unsigned char* d = r.bytes(32, "field descriptor");
        RawField f;
        std::size_t n = 0;
        while (n < 11 && d[n] != 0) ++n;
        f.name_bytes.assign(reinterpret_cast<const char*>(d), n);
        f.code = static_cast<char>(d[11]);
        f.width = d[16];
        f.decimals = d[17];
        f.flags = d[18];
        // FoxPro keeps each field's place in the record (counting the deletion flag) here.
        stored_offsets.push_back(get_u32le(d + 12));
        if (get_u32le(d + 12) == offset + 1) h.foxpro_marks = true;
        // Clipper and FoxPro keep character widths above 255 in the decimals byte.
        if (f.code == 'C' && f.decimals != 0) {
            f.width += f.decimals * 256;
            f.decimals = 0;
        }
        if (f.name_bytes.empty()) r.fail("field " + std::to_string(h.fields.size() + 1) + " has no name", at);
        // Field types are letters (and FoxPro's hidden '0' column); any other byte is damage.
        const auto type = static_cast<unsigned char>(f.code);
        if (!((type >= 'A' && type <= 'Z') || (type >= 'a' && type <= 'z') || type == '0'))
            r.fail("field " + std::to_string(h.fields.size() + 1) + " has the type byte " + hex2(type) +
                       ", which is no field type (damaged header)",
                   at + 11);
        if (f.width == 0) r.fail("field '" + shown_name(decode(f.name_bytes, h.code_page)) + "' has width 0", at + 16);
        f.kind = kind_of(f.code, f.width, h.version);
        f.offset = offset;
        offset += static_cast<std::size_t>(f.width);
        if (is_visual_foxpro(h.version) && (f.flags & 0x02) && f.kind != Kind::NullFlags) f.null_bit = null_bits++;
        if (f.kind == Kind::NullFlags) h.null_flags = static_cast<int>(h.fields.size());
        h.fields.push_back(std::move(f));
    }
    if (h.fields.empty()) r.fail("the table has no fields", 32);
    if (is_foxpro(h.version)) h.foxpro_marks = true;
    h.fields_total = 1 + offset;
    if (h.fields_total > h.record_length)
        r.fail("record length " + std::to_string(h.record_length) + " is less than the fields' total width " +
                   std::to_string(h.fields_total),
               10);
    if (h.null_flags >= 0 && h.fields[static_cast<std::size_t>(h.null_flags)].width * 8 < null_bits)
        r.fail("the null flags column is too narrow", 32);
    check_records_fit(r.label(), h, file_size);

    // What the header says twice must agree, in either direction.
    if (h.record_length != h.fields_total)
        damaged("the header gives records of " + std::to_string(h.record_length) + " bytes but its fields total " +
                std::to_string(h.fields_total));
    if (end_mark == 0) {
        damaged("the field descriptors have no end mark (0x0D) within the header length of " +
                std::to_string(h.header_length) + " bytes");
    } else if (!is_visual_foxpro(h.version)) {
        // Only Visual FoxPro keeps more in the header; elsewhere the records follow the end mark,
        // and anything but zeros between them means the header length is wrong.
        for (std::size_t i = end_mark + 1; i < h.header_length; ++i)
            if (r.bytes(1, "header")[0] != 0) {
                damaged("the header length of " + std::to_string(h.header_length) +
                        " bytes leaves data between the field descriptors (which end at byte " +
                        std::to_string(end_mark + 1) + ") and the records");
                break;
            }
    }
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        const RawField& f = h.fields[i];
        const std::string name = "field '" + shown_name(decode(f.name_bytes, h.code_page)) + "'";
        if (is_foxpro(h.version) && stored_offsets[i] != 0 && stored_offsets[i] != f.offset + 1)
            damaged(name + " starts at byte " + std::to_string(stored_offsets[i]) +
                    " of the record by its descriptor, but at byte " + std::to_string(f.offset + 1) +
                    " by the widths of the fields before it");
        if (f.kind == Kind::Number && f.decimals > 0 && f.decimals + 2 > f.width)
            damaged(name + " has " + std::to_string(f.decimals) + " decimals in a width of " + std::to_string(f.width));
        if ((f.kind == Kind::Logical && f.width != 1) || (f.kind == Kind::DateText && f.width != 8))
            damaged(name + " of type '" + std::string(1, f.code) + "' has width " + std::to_string(f.width));
    }
    return h;
}

// Whether the bytes after the counted records (p, n of them: at most a record and the end mark)
// hold a whole record: the record count is then too small, and a rewrite would lose it.
bool record_after_records(const Header& h, const unsigned char* p, std::size_t n)
{
    if (n > 0 && p[0] == 0x1A) ++p, --n;
    return n >= h.record_length && (p[0] == ' ' || p[0] == '*');
}

std::string more_records(const Header& h)
{
    return "the file holds more records than the " + std::to_string(h.count) + " its header counts";
}

bool visible(const RawField& f) { return f.kind != Kind::NullFlags && !(f.flags & 0x01); }

FieldDef def_of(const RawField& f, int code_page)
{
    FieldDef d;
    d.name = decode(f.name_bytes, code_page);
    d.native = f.code;
    d.native_size = f.width;
    d.size = f.width;
    d.decimals = f.decimals;
    switch (f.kind) {
    case Kind::Char: d.type = FieldType::String; break;
    case Kind::Number: d.type = f.decimals == 0 && f.width <= 11 ? FieldType::Integer : FieldType::Float; break;
    case Kind::Logical: d.type = FieldType::Boolean; break;
    case Kind::DateText: d.type = FieldType::Date; break;
    case Kind::Int32: d.type = FieldType::Integer; break;
    case Kind::Double: d.type = FieldType::Float; break;
    case Kind::Currency: d.type = FieldType::Currency; break;
    default:
        d.type = FieldType::Other;
        d.read_only = true;
        break;
    }
    return d;
}

bool is_blank_byte(unsigned char c) { return c == ' ' || c == 0; }

// The field's bytes without surrounding blanks (and NULs).
[[gnu::always_inline]] inline std::string_view trimmed(const unsigned char* p, int width)
{
    std::size_t b = 0, e = static_cast<std::size_t>(width);
    // Numbers are right-aligned behind blanks: skip those eight at a time.
    for (std::uint64_t w; e - b >= 8 && (std::memcpy(&w, p + b, 8), w == 0x2020202020202020u);) b += 8;
    while (b < e && is_blank_byte(p[b])) ++b;
    while (e > b && is_blank_byte(p[e - 1])) --e;
    return std::string_view(reinterpret_cast<const char*>(p + b), e - b);
}

enum class Parse { Ok, Null, Invalid };

bool only_stars(std::string_view t)
{
    for (char c : t)
        if (c != '*') return false;
    return true;
}

// The powers of ten that fit 64 bits, as whole numbers and as (exact) doubles.
constexpr std::array<std::uint64_t, 20> kPow10 = [] {
    std::array<std::uint64_t, 20> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}();
constexpr std::array<double, 20> kPow10Real = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                               1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};

// Eight decimal digits at once: the bytes of x (little-endian, each less '0', the first the
// highest digit) read in pairs, then fours, then the eight.
std::uint64_t eight_digits_value(std::uint64_t x)
{
    x = (x * 10) + (x >> 8);
    return (((x & 0x000000FF000000FFu) * (100 + (1000000ull << 32))) +
            (((x >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >> 32;
}

// The value of the low `count` bytes of x as digits (each less '0').
std::uint64_t digits_value(std::uint64_t x, int count)
{
    return count == 0 ? 0 : eight_digits_value(x << (8 * (8 - count)));
}

// The bytes of the 8 at p that are not decimal digits, as the high bit of each (x: the 8 bytes
// less '0' by exclusive or, so a digit byte is 0..9 and any other byte more).
std::uint64_t not_digits(std::uint64_t x)
{
    return (((x & 0x7F7F7F7F7F7F7F7Fu) + 0x7676767676767676u) | x) & 0x8080808080808080u;
}

std::uint64_t word_at(const unsigned char* p)
{
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// The whole number that ends at q + end written as dBASE writes numbers: right-aligned behind
// blanks, at most eight digits (none is allowed, for ".5"), a '-' before them when negative.
// Read eight bytes at once; false for any other text (which the general reader then takes).
[[gnu::always_inline]] inline bool right_aligned_digits(const unsigned char* q, int end, std::uint64_t& value, int& count, bool& negative)
{
    if (end < 8) return false;
    const std::uint64_t x = word_at(q + end - 8) ^ 0x3030303030303030u;
    const std::uint64_t other = not_digits(x);
    const int n = other == 0 ? 8 : std::countl_zero(other) / 8;  // the digits at the end
    const std::uint64_t digits = n == 0 ? 0 : ~std::uint64_t{0} << (8 * (8 - n));
    const std::uint64_t blanks = (0x2020202020202020u ^ 0x3030303030303030u) & ~digits;
    negative = false;
    if ((x & ~digits) != blanks) {
        const std::uint64_t minus = blanks ^ (std::uint64_t{' ' ^ '-'} << (8 * (7 - n)));
        if (n == 8 || (x & ~digits) != minus) return false;
        negative = true;
    }
    // The bytes before the word must be blanks: fewer than eight are compared at once.
    const int before = end - 8;
    if (before >= 8) {
        for (int i = 0; i < before; ++i)
            if (q[i] != ' ') return false;
    } else if (before > 0 && ((word_at(q) ^ 0x2020202020202020u) & (~std::uint64_t{0} >> (8 * (8 - before)))) != 0) {
        return false;
    }
    value = eight_digits_value(x & digits);
    count = n;
    return true;
}

// A number field of `decimals` decimals (1 to 16) as dBASE writes it: the whole part as above,
// the point in its place and every decimal digit, read a word at a time. m / 10^k as in
// short_decimal below, so the same double; false for any other text.
[[gnu::always_inline]] inline bool fixed_decimal(const unsigned char* q, int width, int decimals, double& out)
{
    const int point = width - decimals - 1;
    if (decimals < 1 || decimals > 16 || point < 8 || q[point] != '.') return false;
    std::uint64_t whole;
    int count;
    bool negative;
    if (!right_aligned_digits(q, point, whole, count, negative) || count + decimals > 19) return false;
    // The decimals: the last word's high bytes, or all of it and the high bytes of the one before.
    const std::uint64_t last = word_at(q + width - 8) ^ 0x3030303030303030u;
    std::uint64_t fraction;
    if (decimals <= 8) {
        const std::uint64_t mine = ~std::uint64_t{0} << (8 * (8 - decimals));
        if (not_digits(last) & mine) return false;
        fraction = eight_digits_value(last & mine);
    } else {
        const std::uint64_t before = word_at(q + width - 16) ^ 0x3030303030303030u;
        const std::uint64_t mine = ~std::uint64_t{0} << (8 * (16 - decimals));
        if (not_digits(last) || (not_digits(before) & mine)) return false;
        fraction = eight_digits_value(before & mine) * 100000000u + eight_digits_value(last);
    }
    const std::uint64_t m = whole * kPow10[static_cast<std::size_t>(decimals)] + fraction;
    if (m > (std::uint64_t{1} << 53)) return false;
    const double v = static_cast<double>(m) / kPow10Real[static_cast<std::size_t>(decimals)];
    out = negative ? -v : v;
    return true;
}

// Digits with at most one point and nothing else, the way nearly every number field is
// written, read without a general parser: when the digits (at most 19 of them) form a whole
// number m of at most 2^53 and k of them follow the point, m and 10^k are exact doubles and
// m / 10^k is one correctly rounded division, the very double the exact decimal rounds to.
// False for anything else (an exponent, more digits), which the general parser reads.
bool short_decimal(std::string_view t, double& out)
{
    const char* p = t.data();
    const char* const end = p + t.size();
    std::uint64_t m = 0;  // wraps when there are too many digits, which are then refused
    // The run of digits at p, eight bytes at a time while eight are left.
    auto digits = [&] {
        const char* from = p;
        while (end - p >= 8) {
            const std::uint64_t x = word_at(reinterpret_cast<const unsigned char*>(p)) ^ 0x3030303030303030u;
            const std::uint64_t other = not_digits(x);
            const int n = other == 0 ? 8 : std::countr_zero(other) / 8;
            m = m * kPow10[static_cast<std::size_t>(n)] + digits_value(x, n);
            p += n;
            if (n < 8) return p - from;
        }
        while (p < end && *p >= '0' && *p <= '9') m = m * 10 + static_cast<std::uint64_t>(*p++ - '0');
        return p - from;
    };
    const std::ptrdiff_t whole = digits();
    std::ptrdiff_t k = 0;
    if (p < end && *p == '.') {
        ++p;
        k = digits();
    }
    if (p != end || whole + k == 0 || whole + k > 19 || m > (std::uint64_t{1} << 53)) return false;
    out = static_cast<double>(m) / kPow10Real[static_cast<std::size_t>(k)];
    return true;
}

// A decimal number as dBASE writes it: optional sign, digits with an optional point, an
// optional exponent; blanks or '*' fill mean no value. Never the locale.
Parse parse_number(std::string_view t, double& out)
{
    if (t.empty() || only_stars(t)) return Parse::Null;
    bool neg = false;
    std::size_t i = 0;
    if (t[0] == '-' || t[0] == '+') {
        neg = t[0] == '-';
        i = 1;
    }
    if (i >= t.size() || !((t[i] >= '0' && t[i] <= '9') || t[i] == '.')) return Parse::Invalid;
    double v = 0;
    if (short_decimal(t.substr(i), v)) {
        out = neg ? -v : v;
        return Parse::Ok;
    }
    auto res = std::from_chars(t.data() + i, t.data() + t.size(), v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != t.data() + t.size() || !std::isfinite(v)) return Parse::Invalid;
    out = neg ? -v : v;
    return Parse::Ok;
}

Parse parse_integer(std::string_view t, std::int64_t& out)
{
    if (t.empty() || only_stars(t)) return Parse::Null;
    // from_chars takes a '-' but no '+'; "+-5" is no number.
    std::size_t i = t[0] == '+' ? 1 : 0;
    if (i == 0 || (i < t.size() && t[i] != '-')) {
        auto res = std::from_chars(t.data() + i, t.data() + t.size(), out);
        if (res.ec == std::errc() && res.ptr == t.data() + t.size()) return Parse::Ok;
    }
    // "12." or "1.0E3" in a field of no decimals: accept whole numbers only.
    double v = 0;
    if (parse_number(t, v) != Parse::Ok) return Parse::Invalid;
    if (v != std::floor(v) || std::fabs(v) >= 9.2e18) return Parse::Invalid;
    out = static_cast<std::int64_t>(v);
    return Parse::Ok;
}

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int days_in_month(int y, int m)
{
    static const int d[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : d[m - 1];
}
bool valid_date(const Date& d)
{
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= days_in_month(d.year, d.month);
}

Parse parse_date(const unsigned char* p, int width, Date& out)
{
    std::string_view t = trimmed(p, width);
    if (t.empty()) return Parse::Null;
    if (t.size() != 8) return Parse::Invalid;
    int v[8];
    bool zeros = true;
    for (int i = 0; i < 8; ++i) {
        if (t[static_cast<std::size_t>(i)] < '0' || t[static_cast<std::size_t>(i)] > '9') return Parse::Invalid;
        v[i] = t[static_cast<std::size_t>(i)] - '0';
        if (v[i] != 0) zeros = false;
    }
    if (zeros) return Parse::Null;
    out.year = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3];
    out.month = v[4] * 10 + v[5];
    out.day = v[6] * 10 + v[7];
    return valid_date(out) ? Parse::Ok : Parse::Invalid;
}

// Civil date from a Julian day number (FoxPro datetime fields).
Date from_julian(std::int64_t jd)
{
    std::int64_t a = jd + 32044;
    std::int64_t b = (4 * a + 3) / 146097;
    std::int64_t c = a - 146097 * b / 4;
    std::int64_t d = (4 * c + 3) / 1461;
    std::int64_t e = c - 1461 * d / 4;
    std::int64_t m = (5 * e + 2) / 153;
    Date out;
    out.day = static_cast<int>(e - (153 * m + 2) / 5 + 1);
    out.month = static_cast<int>(m + 3 - 12 * (m / 10));
    out.year = static_cast<int>(100 * b + d - 4800 + m / 10);
    return out;
}

std::string two(int v) { return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10); }

std::string iso_date(const Date& d)
{
    std::string y = std::to_string(d.year);
    while (y.size() < 4) y.insert(y.begin(), '0');
    return y + "-" + two(d.month) + "-" + two(d.day);
}

// One memo as read: its text, or why it is not read.
struct MemoText {
    enum class State { Ok, Unreadable, NoEndMark, TooLong } state = State::Unreadable;
    std::string text;
};

std::uint32_t be32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// The size of the memo file's blocks: FoxPro keeps it in its header, dBASE IV (version 0x8B)
// may, dBASE III's are 512 bytes. 0 when the header cannot be read.
std::uint64_t memo_block_size(const MemoFile& m, unsigned char version)
{
    unsigned char b[2];
    if (m.foxpro) return m.size >= 8 && m.read(6, b, 2) == 2 ? static_cast<std::uint64_t>(b[0] << 8 | b[1]) : 0;
    if (version == 0x8B && m.size >= 22 && m.read(20, b, 2) == 2 && get_u16le(b) >= 64) return get_u16le(b);
    return 512;
}

// Reads n bytes from at, or nothing when the file ends sooner.
bool read_exactly(const MemoFile& m, std::uint64_t at, std::string& out, std::size_t n)
{
    out.resize(n);
    if (m.read(at, reinterpret_cast<unsigned char*>(out.data()), n) == n) return true;
    out.clear();
    return false;
}

// The memo in `block`, read only as far as its format allows: a FoxPro or dBASE IV block's
// stored length (at most dbase_memo_limit), a dBASE III memo up to its end mark within
// dbase_memo_limit bytes (or the end of the file).
MemoText memo_text(const MemoFile& m, std::uint64_t block, std::uint64_t block_size, int code_page)
{
    MemoText out;
    if (block_size == 0 || m.size == 0 || block > (m.size - 1) / block_size) return out;
    const std::uint64_t at = block * block_size;
    const std::uint64_t left = m.size - at;
    std::string head;
    if (!read_exactly(m, at, head, static_cast<std::size_t>(std::min<std::uint64_t>(left, 8)))) return out;
    const auto* h = reinterpret_cast<const unsigned char*>(head.data());
    std::string bytes;
    if (m.foxpro || (head.size() == 8 && h[0] == 0xFF && h[1] == 0xFF && h[2] == 0x08 && h[3] == 0x00)) {
        // FoxPro: the type and the length of the text, big-endian; dBASE IV: a signature and
        // the length counting these 8 bytes.
        if (head.size() < 8) return out;
        std::uint64_t length = m.foxpro ? be32(h + 4) : get_u32le(h + 4);
        if (!m.foxpro) length = length >= 8 ? length - 8 : 0;
        if (length > left - 8) return out;
        if (m.foxpro && be32(h) != 1) {
            out.state = MemoText::State::Ok;
            out.text = "(binary data, " + std::to_string(length) + " bytes)";
            return out;
        }
        if (length > dbase_memo_limit) {
            out.state = MemoText::State::TooLong;
            return out;
        }
        if (!read_exactly(m, at + 8, bytes, static_cast<std::size_t>(length))) return out;
        if (!m.foxpro) {
            const std::size_t end = bytes.find_first_of(std::string_view("\x1A\x1F", 2));
            if (end != std::string::npos) bytes.resize(end);
        }
    } else {
        // dBASE III: the text runs to the end mark, read a piece at a time.
        constexpr std::size_t piece = 64 * 1024;
        while (bytes.size() < left && bytes.size() <= dbase_memo_limit) {
            const std::size_t from = bytes.size();
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(piece, left - from));
            bytes.resize(from + n);
            const std::size_t got = m.read(at + from, reinterpret_cast<unsigned char*>(bytes.data() + from), n);
            bytes.resize(from + got);
            const std::size_t end = bytes.find('\x1A', from);
            if (end != std::string::npos) {
                bytes.resize(end);
                break;
            }
            if (got < n) break;  // the file is shorter than it was
        }
        if (bytes.size() > dbase_memo_limit) {
            out.state = MemoText::State::NoEndMark;
            return out;
        }
    }
    out.state = MemoText::State::Ok;
    out.text = decode(bytes, code_page);
    return out;
}

void note(TableData& t, const std::string& reason)
{
    t.read_only = true;
    if (t.read_only_reason.empty()) t.read_only_reason = reason;
}

// The reason a table whose header disagrees with itself or with its file opens read-only.
void note_damage(TableData& t, const std::string& label, const std::string& what)
{
    note(t, label + ": " + what + "; the table can be read but not changed");
}

}  // namespace

namespace {

// Where one visible column's cells are in a record and how they are read.
struct ColumnPlan {
    Kind kind = Kind::Unknown;
    bool integer = false;       // a number field read as a whole number
    std::size_t offset = 0;     // within the record, after the deletion flag
    int width = 0;
    int decimals = 0;
    int null_bit = -1;          // bit in _NullFlags, -1 when the field cannot be null
    bool exponent_seen = false; // a real of the field is stored with an exponent
};

// One table being read: its header, the plan of its visible columns, its memo file and the
// image its records go into.
struct Reading {
    std::string label;
    Header h;
    TableData t;
    std::vector<ColumnPlan> plan;
    std::size_t null_offset = 0;   // the _NullFlags column within the record
    // The memo file, asked for when the first record points into it.
    bool has_memo = false;
    const MemoLoader* memo_loader = nullptr;
    bool memo_asked = false;
    std::optional<MemoFile> memo_file;
    std::uint64_t memo_block_size = 0;
    std::unordered_map<std::uint64_t, MemoText> memos;   // by block number, each read once
    MemoBudget memo_budget;        // the memo text in the image so far
    std::size_t live = 0;          // records read so far, deleted ones skipped
    Record out;                    // a plain image's record being decoded
};

// The cells of a record as they are decoded: into a plain image's record (which starts with
// every cell empty) or appended to a compact image's columns, one call per column.
struct RecordCells {
    Record& out;
    void empty(std::size_t) {}
    void integer(std::size_t c, std::int64_t v) { out[c] = v; }
    void real(std::size_t c, double v) { out[c] = v; }
    void value(std::size_t c, Value&& v) { out[c] = std::move(v); }
};

struct ColumnCells {
    ColumnStore& columns;
    void empty(std::size_t c) { columns.append_empty(c); }
    void integer(std::size_t c, std::int64_t v) { columns.append_int(c, v); }
    void real(std::size_t c, double v) { columns.append_real(c, v); }
    void value(std::size_t c, Value&& v) { columns.append_value(c, std::move(v)); }
};

// The header and field descriptors read, the fields defined, the memo file loaded, and the
// reasons the table cannot be written noted; the records come next.
Reading begin_reading(const std::string& label, ByteReader& r, std::uint64_t file_size, const MemoLoader& memo,
                      bool compact)
{
    Reading s;
    s.label = label;
    s.h = parse_header(r, file_size);
    const Header& h = s.h;
    TableData& t = s.t;
    t.code_page = h.code_page;
    t.dbase_version = h.version;
    t.foxpro_marks = h.foxpro_marks;
    if (!h.damage.empty()) note_damage(t, label, h.damage);

    bool has_memo = false;
    for (const RawField& f : h.fields) {
        if (!visible(f)) continue;
        t.fields.push_back(def_of(f, h.code_page));
        s.plan.push_back(ColumnPlan{f.kind, t.fields.back().type == FieldType::Integer, f.offset, f.width, f.decimals,
                                    f.null_bit});
        if (f.kind == Kind::Memo) has_memo = true;
    }
    if (s.plan.empty()) r.fail("the table has no fields", 32);
    if (h.null_flags >= 0) {
        s.null_offset = h.fields[static_cast<std::size_t>(h.null_flags)].offset;
    } else {
        for (ColumnPlan& c : s.plan) c.null_bit = -1;
    }

    // Read-only: memo text is not written. The memo file is opened when a record needs it.
    s.has_memo = has_memo;
    s.memo_loader = &memo;
    if (has_memo) t.read_only = true;
    for (std::size_t c = 0; c < s.plan.size(); ++c) {
        if (s.plan[c].kind == Kind::Unknown || s.plan[c].kind == Kind::DateTime)
            note(t, label + ": field '" + shown_name(t.fields[c].name) + "' of type '" + std::string(1, t.fields[c].native) +
                        "' cannot be written");
    }
    if (h.null_flags >= 0) note(t, label + ": tables with null flags cannot be written");

    t.compact = compact;
    if (compact) t.columns = ColumnStore(s.plan.size());
    t.reserve(h.count);
    return s;
}

// Asks for the memo file, noting why its memos cannot be read when it cannot be had.
void open_memo(Reading& s)
{
    s.memo_asked = true;
    std::string failure;
    try {
        if (*s.memo_loader) s.memo_file = (*s.memo_loader)(is_foxpro(s.h.version));
    } catch (const Error& e) {
        failure = e.what();  // an unreadable memo file never stops the table from opening
    }
    if (!failure.empty())
        note(s.t, s.label + ": the memo file of this table cannot be read (" + failure + "); its memo fields cannot be read");
    else if (!s.memo_file)
        note(s.t, s.label + ": the memo file of this table is missing; its memo fields cannot be read");
    else
        s.memo_block_size = memo_block_size(*s.memo_file, s.h.version);
}

// The text of column c's memo in `block` for the record being read (s.live): each block read
// once, the text the image holds kept within memo_total_limit.
Value memo_cell(Reading& s, std::size_t c, std::uint64_t block)
{
    if (!s.memo_asked) open_memo(s);
    if (!s.memo_file) return Value{std::string(dbase_memo_missing_text)};
    const auto where = [&] { return "record " + std::to_string(s.live) + ", field '" + shown_name(s.t.fields[c].name) + "'"; };
    if (s.memo_budget.full()) return Value{memo_not_read_text(block)};
    auto it = s.memos.find(block);
    if (it == s.memos.end()) {
        MemoText read;
        try {
            read = memo_text(*s.memo_file, block, s.memo_block_size, s.h.code_page);
        } catch (const Error&) {
            read.state = MemoText::State::Unreadable;   // a read error: this memo cannot be read
        }
        it = s.memos.emplace(block, std::move(read)).first;
    }
    const MemoText& m = it->second;
    const std::string& file = s.memo_file->label;
    switch (m.state) {
    case MemoText::State::Ok:
        if (!s.memo_budget.take(m.text.size())) {
            s.memos.clear();
            note(s.t, memo_limit_reason(file, where()));
            return Value{memo_not_read_text(block)};
        }
        return Value{m.text};
    case MemoText::State::NoEndMark:
        note(s.t, file + ": the memo of " + where() + ", has no end mark within " + std::to_string(dbase_memo_limit) +
                      " bytes; it is not read");
        break;
    case MemoText::State::TooLong:
        note(s.t, memo_too_long_reason(file, where(), dbase_memo_limit));
        break;
    case MemoText::State::Unreadable:
        note(s.t, file + ": memo block " + std::to_string(block) + " of " + where() + " cannot be read");
        break;
    }
    return Value{"(memo block " + std::to_string(block) + " unreadable)"};
}

// The cells of one live record (body: its bytes after the deletion flag), each handed to cells
// once: numbers parsed straight from the field's text, a value that does not fit its field read
// as empty and noted.
template <class Cells>
void decode_record(Reading& s, const unsigned char* body, Cells& cells)
{
    for (std::size_t c = 0; c < s.plan.size(); ++c) {
        const ColumnPlan& f = s.plan[c];
        const unsigned char* q = body + f.offset;
        if (f.null_bit >= 0) {
            unsigned char b = body[s.null_offset + static_cast<std::size_t>(f.null_bit / 8)];
            if (b & (1u << (f.null_bit % 8))) {
                cells.empty(c);
                continue;
            }
        }
        Parse res = Parse::Null;
        switch (f.kind) {
        case Kind::Char: {
            std::size_t e = static_cast<std::size_t>(f.width);
            while (e > 0 && is_blank_byte(q[e - 1])) --e;
            if (e > 0) {
                cells.value(c, decode(std::string_view(reinterpret_cast<const char*>(q), e), s.h.code_page));
                res = Parse::Ok;
            }
            break;
        }
        case Kind::Number: {
            // Most fields hold what dBASE writes; anything else goes to the general reader.
            if (f.integer) {
                std::uint64_t whole;
                int count;
                bool negative;
                std::int64_t v;
                if (right_aligned_digits(q, f.width, whole, count, negative) && count > 0) {
                    v = negative ? -static_cast<std::int64_t>(whole) : static_cast<std::int64_t>(whole);
                    res = Parse::Ok;
                } else {
                    res = parse_integer(trimmed(q, f.width), v);
                }
                if (res == Parse::Ok) cells.integer(c, v);
            } else {
                double v;
                if (fixed_decimal(q, f.width, f.decimals, v)) {
                    res = Parse::Ok;
                } else {
                    const std::string_view text = trimmed(q, f.width);
                    res = parse_number(text, v);
                    if (res == Parse::Ok && text.find_first_of("eE") != std::string_view::npos)
                        s.plan[c].exponent_seen = true;
                }
                if (res == Parse::Ok) cells.real(c, v);
            }
            break;
        }
        case Kind::Logical:
            switch (q[0]) {
            case 'T': case 't': case 'Y': case 'y': cells.value(c, Value{true}); res = Parse::Ok; break;
            case 'F': case 'f': case 'N': case 'n': cells.value(c, Value{false}); res = Parse::Ok; break;
            case '?': case ' ': case 0: break;
            default: res = Parse::Invalid;
            }
            break;
        case Kind::DateText: {
            Date d;
            res = parse_date(q, f.width, d);
            if (res == Parse::Ok) cells.value(c, Value{d});
            break;
        }
        case Kind::Int32:
            cells.integer(c, static_cast<std::int64_t>(static_cast<std::int32_t>(get_u32le(q))));
            res = Parse::Ok;
            break;
        case Kind::Double: {
            std::uint64_t bits = static_cast<std::uint64_t>(get_u32le(q)) | (static_cast<std::uint64_t>(get_u32le(q + 4)) << 32);
            double v;
            std::memcpy(&v, &bits, sizeof v);
            res = std::isfinite(v) ? Parse::Ok : Parse::Invalid;
            if (res == Parse::Ok) cells.real(c, v);
            break;
        }
        case Kind::Currency: {
            std::uint64_t bits = static_cast<std::uint64_t>(get_u32le(q)) | (static_cast<std::uint64_t>(get_u32le(q + 4)) << 32);
            cells.real(c, static_cast<double>(static_cast<long double>(static_cast<std::int64_t>(bits)) / 10000.0L));
            res = Parse::Ok;
            break;
        }
        case Kind::DateTime: {
            std::int32_t day = static_cast<std::int32_t>(get_u32le(q));
            std::uint32_t ms = get_u32le(q + 4);
            if (day == 0 && ms == 0) break;
            if (day < 1721426 || day > 5373484 || ms >= 86400000u) {  // years 1..9999
                res = Parse::Invalid;
                break;
            }
            Date d = from_julian(day);
            std::uint32_t sec = ms / 1000;
            cells.value(c, Value{iso_date(d) + " " + two(static_cast<int>(sec / 3600)) + ":" +
                                 two(static_cast<int>(sec / 60 % 60)) + ":" + two(static_cast<int>(sec % 60))});
            res = Parse::Ok;
            break;
        }
        case Kind::Memo: {
            std::uint64_t block = 0;
            if (f.width == 4) {
                block = get_u32le(q);
            } else {
                std::string_view text = trimmed(q, f.width);
                if (text.empty()) break;
                auto rr = std::from_chars(text.data(), text.data() + text.size(), block);
                if (rr.ec != std::errc() || rr.ptr != text.data() + text.size()) {
                    res = Parse::Invalid;
                    break;
                }
            }
            if (block == 0) break;
            res = Parse::Ok;
            cells.value(c, memo_cell(s, c, block));
            break;
        }
        case Kind::Unknown: {
            std::string_view text = trimmed(q, f.width);
            if (!text.empty()) {
                cells.value(c, decode(text, s.h.code_page));
                res = Parse::Ok;
            }
            break;
        }
        case Kind::NullFlags: break;
        }
        if (res == Parse::Ok) continue;
        cells.empty(c);
        if (res != Parse::Invalid) continue;
        if (s.t.read_only_reason.empty())
            note(s.t, s.label + ": field '" + s.t.fields[c].name + "' of record " + std::to_string(s.live) +
                          " holds an invalid value '" + decode(trimmed(q, f.width), s.h.code_page) +
                          "'; the table can be read but not changed");
        s.t.read_only = true;
    }
}

// n records in a row (each record_length bytes from p) into the image.
void read_records(Reading& s, const unsigned char* p, std::size_t n)
{
    const std::size_t length = s.h.record_length;
    const std::size_t ncols = s.plan.size();
    if (s.t.compact) {
        ColumnCells cells{s.t.columns};
        for (std::size_t i = 0; i < n; ++i, p += length) {
            if (p[0] == '*') continue;
            ++s.live;
            decode_record(s, p + 1, cells);
            s.t.columns.end_row();
        }
        return;
    }
    RecordCells cells{s.out};
    for (std::size_t i = 0; i < n; ++i, p += length) {
        if (p[0] == '*') continue;
        ++s.live;
        s.out.assign(ncols, Value{});
        decode_record(s, p + 1, cells);
        s.t.add_record(std::move(s.out));
    }
}

// The image once every record is read: after (n bytes) is what follows the counted records.
TableData finish_reading(Reading& s, const unsigned char* after, std::size_t n)
{
    for (std::size_t c = 0; c < s.plan.size(); ++c) s.t.fields[c].exponent_texts = s.plan[c].exponent_seen;
    if (record_after_records(s.h, after, n)) note_damage(s.t, s.label, more_records(s.h));
    if (s.has_memo) note(s.t, s.label + ": memo fields cannot be written");
    return std::move(s.t);
}

}  // namespace

TableData read_dbase_bytes(const std::string& label, const unsigned char* data, std::size_t size, const MemoLoader& memo,
                           bool compact)
{
    ByteReader r(label, data, size);
    Reading s = begin_reading(label, r, size, memo, compact);
    r.seek(s.h.header_length, "records");
    read_records(s, r.bytes(static_cast<std::size_t>(s.h.count) * s.h.record_length, "record"), s.h.count);
    const std::size_t after = std::min(r.remaining(), s.h.record_length + 1);
    return finish_reading(s, r.bytes(after), after);
}

MemoFile memo_in_memory(std::string label, std::vector<unsigned char> data, bool foxpro)
{
    auto bytes = std::make_shared<const std::vector<unsigned char>>(std::move(data));
    MemoFile m;
    m.label = std::move(label);
    m.foxpro = foxpro;
    m.size = bytes->size();
    m.read = [bytes](std::uint64_t offset, unsigned char* p, std::size_t n) -> std::size_t {
        if (offset >= bytes->size()) return 0;
        n = static_cast<std::size_t>(std::min<std::uint64_t>(n, bytes->size() - offset));
        std::memcpy(p, bytes->data() + offset, n);
        return n;
    };
    return m;
}

std::string find_memo_file(const std::string& table_path, bool prefer_foxpro)
{
    namespace fs = std::filesystem;
    fs::path p(table_path);
    fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
    std::string stem = p.stem().string();
    const char* order[2] = {prefer_foxpro ? ".fpt" : ".dbt", prefer_foxpro ? ".dbt" : ".fpt"};
    for (const char* ext : order) {
        std::string want = stem + ext;
        fs::path exact = dir / want;
        std::error_code ec;
        if (fs::is_regular_file(exact, ec)) return exact.string();
        // Same name in another case (MEMOTEST.FPT beside memotest.dbf).
        std::string fold = stem + ext;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            if (ascii_ieq(name, fold) && it->is_regular_file(ec)) return it->path().string();
        }
    }
    return {};
}

namespace {

// The fixed header of the file, then the whole header its length gives (when the file holds
// it); size: the file's size, or less when it was cut short meanwhile.
std::vector<unsigned char> header_bytes(FileReader& file, std::uint64_t& size)
{
    size = file.size();
    std::vector<unsigned char> head(static_cast<std::size_t>(std::min<std::uint64_t>(size, 32)));
    head.resize(file.read(0, head.data(), head.size()));
    if (head.size() < 32) {
        size = head.size();  // cut short meanwhile
    } else {
        const std::size_t length = get_u16le(head.data() + 8);
        if (length > head.size() && length <= size) {
            head.resize(length);
            const std::size_t got = file.read(32, head.data() + 32, length - 32);
            if (got < length - 32) {
                size = 32 + got;
                head.resize(static_cast<std::size_t>(size));
            }
        }
    }
    return head;
}

}  // namespace

namespace {

// Reads the records h declares about a megabyte at a time into one buffer, and hands each piece
// to use(bytes, first, n, got): the index of its first record, the records asked for and the
// bytes the file held of them (fewer where it ends early). use returns false to stop.
template <class Use>
void read_record_pieces(FileReader& file, const Header& h, Use&& use)
{
    const std::size_t length = h.record_length;
    const std::size_t per_piece = std::max<std::size_t>(1, (std::size_t{1} << 20) / length);
    std::vector<unsigned char> piece(std::min<std::size_t>(per_piece, h.count) * length);
    for (std::size_t first = 0; first < h.count; first += per_piece) {
        const std::size_t n = std::min<std::size_t>(per_piece, h.count - first);
        const std::size_t got = file.read(h.header_length + first * length, piece.data(), n * length);
        if (!use(piece.data(), first, n, got)) return;
    }
}

// The table in an open file, read as read_dbase reads it.
TableData read_dbase_from(FileReader& file, const std::string& label, const MemoLoader& loader, bool compact)
{
    std::uint64_t size = 0;
    const std::vector<unsigned char> head = header_bytes(file, size);
    ByteReader r(label, head);
    Reading s = begin_reading(label, r, size, loader, compact);

    const std::size_t length = s.h.record_length;
    read_record_pieces(file, s.h, [&](const unsigned char* piece, std::size_t first, std::size_t n, std::size_t got) {
        // Cut short meanwhile: raises.
        if (got < n * length) check_records_fit(label, s.h, s.h.header_length + first * length + got);
        read_records(s, piece, n);
        return true;
    });
    const std::size_t at = s.h.header_length + s.h.count * length;
    std::vector<unsigned char> after(length + 1);
    after.resize(file.read(at, after.data(), after.size()));
    return finish_reading(s, after.data(), after.size());
}

}  // namespace

// The file is read a piece at a time into one buffer, each piece's records decoded before the
// next is read, so that the image is all the memory a large table takes: the file is never held
// whole. A file cut short while it is read raises what a file of that size raises.
TableData read_dbase(const std::string& path, bool compact)
{
    FileReader file(path);
    MemoLoader loader = [&](bool prefer_foxpro) -> std::optional<MemoFile> {
        std::string memo_path = find_memo_file(path, prefer_foxpro);
        if (memo_path.empty()) return std::nullopt;
        auto reader = std::make_shared<FileReader>(memo_path);
        MemoFile m;
        m.label = file_label(memo_path);
        m.foxpro = ascii_ieq(std::filesystem::path(memo_path).extension().string(), ".fpt");
        m.size = reader->size();
        m.read = [reader](std::uint64_t offset, unsigned char* p, std::size_t n) {
            return offset >= reader->size() ? 0 : reader->read(static_cast<std::size_t>(offset), p, n);
        };
        return m;
    };
    return read_dbase_from(file, file_label(path), loader, compact);
}

// ---- Writing ----

namespace {

bool double_byte_code_page(int cp) { return cp == 936 || cp == 950 || cp == 949 || cp == 932; }

// The code page a new file is written in: the table's own when a language id names it,
// otherwise GBK.
int output_code_page(int cp) { return ldid_codepage(codepage_ldid(cp)) == cp ? cp : 936; }

std::string fold_ascii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

[[noreturn]] void out_of_range(const std::string& field)
{
    throw EngineError("Value out of range for field '" + field + "'");
}

[[noreturn]] void type_mismatch(const std::string& field)
{
    throw EngineError("Type mismatch for field '" + field + "'");
}

// One field as it is written.
struct OutField {
    std::string name;        // UTF-8 for messages
    std::string name_bytes;  // in the file's code page, at most 10 bytes
    char code = 'C';
    Kind kind = Kind::Char;
    int width = 0;
    int decimals = 0;
    std::size_t offset = 0;  // within the record, after the deletion flag
    FieldType type = FieldType::String;
    // A real whose digits the fixed layout would cut is written with an exponent (fields laid
    // out from their values, and fields already holding such texts).
    bool any_real = false;
    bool choose_decimals = false;  // the decimals are chosen from the values written
};

// Writes digits right-aligned into the field, or raises when they do not fit.
void put_right(const OutField& f, const char* s, std::size_t n, unsigned char* dst)
{
    if (n > static_cast<std::size_t>(f.width)) out_of_range(f.name);
    std::size_t pad = static_cast<std::size_t>(f.width) - n;
    std::memset(dst, ' ', pad);
    std::memcpy(dst + pad, s, n);
}

void put_integer(const OutField& f, std::int64_t v, unsigned char* dst)
{
    char buf[48];
    auto res = std::to_chars(buf, buf + 24, v);
    std::size_t n = static_cast<std::size_t>(res.ptr - buf);
    if (f.decimals > 0) {
        if (n + 1 + static_cast<std::size_t>(f.decimals) > static_cast<std::size_t>(f.width)) out_of_range(f.name);
        buf[n++] = '.';
        for (int i = 0; i < f.decimals; ++i) buf[n++] = '0';
    }
    put_right(f, buf, n, dst);
}

// The digits of 0..99, two by two.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> d{};
    for (int i = 0; i < 100; ++i) {
        d[2 * i] = static_cast<char>('0' + i / 10);
        d[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return d;
}();

// Writes the 8 digits of v (below 10^8, leading zeros included) so that they end at end; the
// four pairs are worked out independently of one another.
void put_8_digits(std::uint32_t v, char* end)
{
    const std::uint32_t hi = v / 10000, lo = v % 10000;
    std::memcpy(end - 8, &kDigitPairs[2 * (hi / 100)], 2);
    std::memcpy(end - 6, &kDigitPairs[2 * (hi % 100)], 2);
    std::memcpy(end - 4, &kDigitPairs[2 * (lo / 100)], 2);
    std::memcpy(end - 2, &kDigitPairs[2 * (lo % 100)], 2);
}

// Writes the lowest `count` digits of v (leading zeros included) so that they end at end and
// leaves in v what is above them; returns where they start.
char* put_low_digits(std::uint64_t& v, int count, char* end)
{
    for (; count >= 8; count -= 8, v /= 100000000) {
        put_8_digits(static_cast<std::uint32_t>(v % 100000000), end);
        end -= 8;
    }
    for (; count >= 2; count -= 2, v /= 100) {
        end -= 2;
        std::memcpy(end, &kDigitPairs[2 * (v % 100)], 2);
    }
    if (count == 1) {
        *--end = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    return end;
}

// The number of decimal digits of v (none for 0).
int digit_count(std::uint64_t v)
{
    const int bits = 64 - __builtin_clzll(v | 1);
    const int guess = bits * 1233 >> 12;   // bits * log10(2), at most one short
    return guess + (guess < 20 && v >= kPow10[static_cast<std::size_t>(guess)] ? 1 : 0);
}

// Writes v's digits (at least one) so that they end at end; returns where they start.
char* put_digits(std::uint64_t v, char* end) { return put_low_digits(v, std::max(digit_count(v), 1), end); }

// |v| * 10^decimals rounded to a whole number exactly as printf's "%.*f" rounds (the exact
// binary value to the nearest, ties to even), for decimals up to 18; false where the result
// does not fit 64 bits (the caller then formats through std::to_chars). v is finite.
bool scaled_whole(double v, int decimals, std::uint64_t& out)
{
    if (decimals < 0 || decimals > 18) return false;
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t m = bits & ((std::uint64_t(1) << 52) - 1);
    int e = -1074;
    if (biased != 0) {
        m |= std::uint64_t(1) << 52;
        e = biased - 1075;
    }
    // |v| * 10^decimals = m * 10^decimals * 2^e, where m * 10^decimals is below 2^113.
    using u128 = unsigned __int128;
    const u128 p = static_cast<u128>(m) * kPow10[static_cast<std::size_t>(decimals)];
    u128 whole;
    if (e >= 0) {
        if (e >= 64 || (p >> (64 - e)) != 0) return false;
        whole = p << e;
    } else if (-e >= 127) {
        whole = 0;   // below 2^-14 after scaling: rounds to zero
    } else {
        const int s = -e;
        whole = p >> s;
        const u128 rest = p & ((u128(1) << s) - 1);
        const u128 half = u128(1) << (s - 1);
        if (rest > half || (rest == half && (whole & 1))) ++whole;
    }
    if (whole >> 64) return false;
    out = static_cast<std::uint64_t>(whole);
    return true;
}

// Writes n blanks in a few moves of fixed size.
void put_blanks(unsigned char* dst, std::size_t n)
{
    static constexpr char blanks[17] = "                ";
    if (n >= 16) {
        std::memset(dst, ' ', n);
    } else if (n >= 8) {
        std::memcpy(dst, blanks, 8);
        std::memcpy(dst + n - 8, blanks, 8);
    } else {
        for (std::size_t i = 0; i < n; ++i) dst[i] = ' ';
    }
}

// The decimals a real needs to be written exactly as its shortest text (which reads back as
// the same double).
int decimals_needed(double v)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    const char* e = std::find(buf, res.ptr, 'e');
    int digits = 0;
    for (const char* p = buf; p < e; ++p) digits += *p >= '0' && *p <= '9';
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), res.ptr, exponent);
    return std::max(0, digits - 1 - exponent);
}

// A quick test that v written with `decimals` decimals (at most 19) reads back as v, so that
// decimals_needed(v) <= decimals: v * 10^decimals is a whole number below 2^53 whose quotient
// by 10^decimals, rounded as a reader rounds the text, is v. False also when it cannot tell.
bool has_at_most_decimals(double v, int decimals)
{
    const double p = kPow10Real[static_cast<std::size_t>(decimals)];
    const double t = v * p;
    if (!(std::fabs(t) < 9007199254740992.0) || t != std::floor(t)) return false;
    return t / p == v;
}

// Whether v written with `decimals` decimals keeps its digits: all of them, or at least 15.
bool fixed_keeps_digits(double v, int decimals)
{
    const double a = std::fabs(v);
    if (a == 0 || a >= kPow10Real[static_cast<std::size_t>(std::max(0, 14 - decimals))]) return true;
    if (decimals <= 19 && has_at_most_decimals(v, decimals)) return true;
    return decimals_needed(v) <= decimals;
}

// Whether v fits the field in fixed notation, rounded to its decimals.
bool fixed_fits(const OutField& f, double v)
{
    if (f.decimals > 18) return true;   // the general path below decides
    std::uint64_t whole;
    if (!scaled_whole(v, f.decimals, whole)) return false;
    const int d = f.decimals;
    const std::size_t n = static_cast<std::size_t>(std::max(digit_count(whole) - d, 1) + (d > 0 ? d + 1 : 0)) +
                          (std::signbit(v) && whole != 0 ? 1 : 0);
    return n <= static_cast<std::size_t>(f.width);
}

// v with an exponent ("1.5E+25"), as many digits as the field's width holds; a text that
// would read back as no finite number (rounded past the largest double) takes a digit less.
void put_exponent(const OutField& f, double v, unsigned char* dst)
{
    char buf[64];
    for (int precision = -1; precision <= 16; ++precision) {
        // The shortest exact text first, then from 16 digits after the point down.
        const int p = precision < 0 ? -1 : 16 - precision;
        const auto res = p < 0 ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific)
                               : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, p);
        if (res.ec != std::errc()) continue;
        const std::size_t n = static_cast<std::size_t>(res.ptr - buf);
        if (n > static_cast<std::size_t>(f.width)) continue;
        double back = 0;
        const auto parsed = std::from_chars(buf, res.ptr, back);
        if (parsed.ec != std::errc() || !std::isfinite(back)) continue;
        std::replace(buf, buf + n, 'e', 'E');
        put_right(f, buf, n, dst);
        return;
    }
    out_of_range(f.name);
}

void put_real(const OutField& f, double v, unsigned char* dst)
{
    if (!std::isfinite(v)) out_of_range(f.name);
    if (f.any_real && f.kind == Kind::Number && f.type != FieldType::Integer &&
        (std::fabs(v) >= 1e21 || !fixed_keeps_digits(v, f.decimals) || !fixed_fits(f, v))) {
        put_exponent(f, v, dst);
        return;
    }
    if (f.kind == Kind::Number && f.type == FieldType::Integer) {
        // A whole-number field stores the whole number, ties to even.
        std::int64_t i;
        try {
            i = round_to_int64(v);
        } catch (const IntOverflowError&) {
            out_of_range(f.name);
        }
        put_integer(f, i, dst);
        return;
    }
    // A number of more digits than the field can never fit; this also bounds the text.
    if (std::fabs(v) >= 1e21) out_of_range(f.name);
    const std::size_t w = static_cast<std::size_t>(f.width);
    std::uint64_t whole;
    if (scaled_whole(v, f.decimals, whole)) {
        // The text straight into the field: [-]digits[.decimals], no sign when it rounds to 0.
        const bool minus = std::signbit(v) && whole != 0;
        const int d = f.decimals;
        const std::size_t n = static_cast<std::size_t>(std::max(digit_count(whole) - d, 1) + (d > 0 ? d + 1 : 0)) +
                              (minus ? 1 : 0);
        if (n > w) out_of_range(f.name);
        put_blanks(dst, w - n);
        char* at = reinterpret_cast<char*>(dst + w);
        if (d > 0) {
            at = put_low_digits(whole, d, at);
            *--at = '.';
        }
        at = put_digits(whole, at);
        if (minus) *--at = '-';
        return;
    }
    char buf[512];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, f.decimals);
    if (res.ec != std::errc()) out_of_range(f.name);
    std::size_t n = static_cast<std::size_t>(res.ptr - buf);
    const char* s = buf;
    if (buf[0] == '-') {
        bool zero = true;
        for (std::size_t i = 1; i < n; ++i)
            if (buf[i] >= '1' && buf[i] <= '9') zero = false;
        if (zero) ++s, --n;  // no "-0.000"
    }
    put_right(f, s, n, dst);
}

// Writes one value into its field's bytes; a null is written as the field's blank.
void put_value(const OutField& f, const Value& v, int code_page, unsigned char* dst)
{
    const std::size_t w = static_cast<std::size_t>(f.width);
    switch (f.kind) {
    case Kind::Char: {
        std::memset(dst, ' ', w);
        if (is_null(v)) return;
        const std::string* s = std::get_if<std::string>(&v);
        if (!s) type_mismatch(f.name);
        std::string bytes;
        try {
            bytes = encode(*s, code_page);
        } catch (const EngineError& e) {
            throw EngineError("Field '" + f.name + "': " + e.what());
        }
        if (bytes.size() > w) throw EngineError("Value too long for field '" + f.name + "'");
        std::memcpy(dst, bytes.data(), bytes.size());
        return;
    }
    case Kind::Number:
        if (is_null(v)) {
            std::memset(dst, ' ', w);
        } else if (auto i = std::get_if<std::int64_t>(&v)) {
            if (f.any_real) put_real(f, static_cast<double>(*i), dst);
            else put_integer(f, *i, dst);
        } else if (auto d = std::get_if<double>(&v)) {
            put_real(f, *d, dst);
        } else if (auto b = std::get_if<bool>(&v)) {
            put_integer(f, *b ? 1 : 0, dst);
        } else {
            type_mismatch(f.name);
        }
        return;
    case Kind::Logical:
        if (is_null(v)) {
            dst[0] = ' ';
        } else if (auto b = std::get_if<bool>(&v)) {
            dst[0] = *b ? 'T' : 'F';
        } else {
            type_mismatch(f.name);
        }
        return;
    case Kind::DateText: {
        std::memset(dst, ' ', w);
        if (is_null(v)) return;
        const Date* d = std::get_if<Date>(&v);
        if (!d) type_mismatch(f.name);
        if (!valid_date(*d)) out_of_range(f.name);
        int parts[3] = {d->year, d->month, d->day};
        char buf[8] = {static_cast<char>('0' + parts[0] / 1000), static_cast<char>('0' + parts[0] / 100 % 10),
                       static_cast<char>('0' + parts[0] / 10 % 10), static_cast<char>('0' + parts[0] % 10),
                       static_cast<char>('0' + parts[1] / 10), static_cast<char>('0' + parts[1] % 10),
                       static_cast<char>('0' + parts[2] / 10), static_cast<char>('0' + parts[2] % 10)};
        std::memcpy(dst, buf, std::min<std::size_t>(8, w));
        return;
    }
    case Kind::Int32: {
        std::int64_t i = 0;
        if (auto p = std::get_if<std::int64_t>(&v)) i = *p;
        else if (auto d = std::get_if<double>(&v)) {
            if (!std::isfinite(*d)) out_of_range(f.name);
            try {
                i = round_to_int64(*d);
            } catch (const IntOverflowError&) {
                out_of_range(f.name);
            }
        } else if (!is_null(v)) type_mismatch(f.name);
        if (i < std::numeric_limits<std::int32_t>::min() || i > std::numeric_limits<std::int32_t>::max())
            out_of_range(f.name);
        put_u32le(dst, static_cast<std::uint32_t>(static_cast<std::int32_t>(i)));
        return;
    }
    case Kind::Double:
    case Kind::Currency: {
        double d = 0;
        if (auto p = std::get_if<double>(&v)) d = *p;
        else if (auto i = std::get_if<std::int64_t>(&v)) d = static_cast<double>(*i);
        else if (!is_null(v)) type_mismatch(f.name);
        if (!std::isfinite(d)) out_of_range(f.name);
        std::uint64_t bits;
        if (f.kind == Kind::Double) {
            std::memcpy(&bits, &d, sizeof d);
        } else {
            long double scaled = std::nearbyint(static_cast<long double>(d) * 10000.0L);
            if (std::fabs(scaled) >= 9.2e18L) out_of_range(f.name);
            bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(scaled));
        }
        put_u32le(dst, static_cast<std::uint32_t>(bits));
        put_u32le(dst + 4, static_cast<std::uint32_t>(bits >> 32));
        return;
    }
    default: throw EngineError("Field '" + f.name + "': field type not supported by the target format");
    }
}

// The decimals of a real field laid out from its values where they leave room, and of one with
// no values yet: 10, so that a later edit keeps as many.
constexpr int kRealDecimals = 10;

// The decimals of each real field laid out from its values (width 20): kRealDecimals, or more
// where the values' shortest exact texts need more (at most 18), but at most what 20 characters
// leave beside the widest whole part and the sign among the values below 10^15 (0 when every
// value is larger). A value that the fixed layout would cut is then written with an exponent
// (put_real).
void choose_decimals(std::vector<OutField>& fields, const RecordFeed& records)
{
    struct Seen {
        std::size_t col;
        bool small = false, big = false, negative = false;
        int whole = 1, need = 0;
    };
    std::vector<Seen> seen;
    for (std::size_t c = 0; c < fields.size(); ++c)
        if (fields[c].choose_decimals) seen.push_back(Seen{c});
    if (seen.empty()) return;
    Record scratch;
    for (std::size_t r = 0; r < records.count; ++r) {
        const Record& rec = records.read(r, scratch);
        for (Seen& s : seen) {
            if (s.col >= rec.size()) continue;
            double v;
            if (auto d = std::get_if<double>(&rec[s.col])) v = *d;
            else if (auto i = std::get_if<std::int64_t>(&rec[s.col])) v = static_cast<double>(*i);
            else continue;   // nulls, and what the writer refuses
            if (!std::isfinite(v)) continue;
            const double a = std::fabs(v);
            if (a >= 1e15) {
                s.big = true;
                continue;
            }
            s.small = true;
            if (v < 0) s.negative = true;
            if (a >= 1) s.whole = std::max(s.whole, digit_count(static_cast<std::uint64_t>(a)));
            if (s.need < 18 && a != std::floor(a) && !has_at_most_decimals(v, s.need))
                s.need = std::max(s.need, decimals_needed(v));
        }
    }
    for (const Seen& s : seen) {
        OutField& f = fields[s.col];
        if (!s.small) {
            f.decimals = s.big ? 0 : kRealDecimals;
            continue;
        }
        const int room = f.width - (s.negative ? 1 : 0) - s.whole - 1;
        f.decimals = std::max(0, std::min({std::max(s.need, kRealDecimals), room, 18}));
        // Every value then has its whole text in fixed notation (no more decimals than chosen,
        // the widest whole part and the sign within the width): none needs the test for an
        // exponent as it is written.
        if (!s.big && s.need < 18 && s.need <= f.decimals) f.any_real = false;
    }
}

// The layout of a new file: fields mapped to dBASE kinds, with their offsets.
std::vector<OutField> layout_for(const std::vector<FieldDef>& fields, int code_page, bool foxpro)
{
    std::vector<FieldDef> mapped = dbase_fields_from(fields, code_page);
    std::vector<OutField> out;
    std::size_t offset = 0;
    for (const FieldDef& d : mapped) {
        OutField f;
        f.name = d.name;
        f.name_bytes = encode(d.name, code_page);
        f.code = d.native;
        if (foxpro && f.code == 'N' && d.type == FieldType::Float) f.code = 'F';
        f.kind = kind_of(f.code, d.native_size, 0x03);
        f.width = d.native_size;
        f.decimals = d.decimals;
        f.type = d.type;
        f.any_real = d.exponent_texts;
        if (f.kind == Kind::Number && f.width == 0) {
            // A real field laid out from its values: see choose_decimals.
            f.width = 20;
            f.decimals = kRealDecimals;
            f.any_real = f.choose_decimals = true;
        }
        f.offset = offset;
        offset += static_cast<std::size_t>(f.width);
        out.push_back(std::move(f));
    }
    if (out.size() > 255) throw EngineError("Too many fields for a dBASE table: " + std::to_string(out.size()));
    if (offset + 1 > 65535) throw EngineError("The record is too long for a dBASE table");
    return out;
}

void put_today(unsigned char* p)
{
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    p[0] = static_cast<unsigned char>(std::min(tm.tm_year, 255));
    p[1] = static_cast<unsigned char>(tm.tm_mon + 1);
    p[2] = static_cast<unsigned char>(tm.tm_mday);
}

void encode_record(const std::vector<OutField>& fields, const Record& rec, int code_page, unsigned char* p)
{
    if (rec.size() != fields.size()) throw EngineError("The record does not match the table's fields");
    p[0] = ' ';
    for (std::size_t c = 0; c < fields.size(); ++c) put_value(fields[c], rec[c], code_page, p + 1 + fields[c].offset);
}

void check_writable(const TableData& t)
{
    if (t.read_only)
        throw EngineError(t.read_only_reason.empty() ? std::string("The table is read-only") : t.read_only_reason);
}

}  // namespace

std::string dbase_stored_name(const std::string& name, int code_page)
{
    std::string bytes = encode(name, code_page);
    if (bytes.size() <= 10) return name;
    std::string cut = double_byte_code_page(code_page) ? cut_gbk(bytes, 10) : bytes.substr(0, 10);
    return decode(cut, code_page);
}

std::vector<FieldDef> dbase_fields_from(const std::vector<FieldDef>& fields, int code_page)
{
    std::vector<FieldDef> out;
    std::vector<std::string> seen;
    for (const FieldDef& in : fields) {
        if (in.name.empty()) throw EngineError("Invalid field name ''");
        FieldDef d;
        d.name = dbase_stored_name(in.name, code_page);
        d.type = in.type;
        d.required = in.required;
        std::string key = fold_ascii(d.name);
        for (const std::string& s : seen)
            if (s == key) throw EngineError("Duplicate field name '" + d.name + "'");
        seen.push_back(key);
        // A numeric layout read from a dBASE file (only those carry decimals or widths over
        // 11 with N/F) is kept as it is: the reader opens any other read-only.
        bool dbase_numeric = (in.native == 'N' || in.native == 'F') && in.native_size >= 1 && in.native_size <= 255 &&
                             (in.decimals > 0 || in.native_size > 11 || in.type == FieldType::Integer) &&
                             (in.decimals == 0 || in.decimals + 2 <= in.native_size);
        switch (in.type) {
        case FieldType::String:
            if (in.size < 1 || in.size > 254)
                throw EngineError("Invalid field size " + std::to_string(in.size) + " for field '" + in.name + "'");
            d.native = 'C';
            d.size = d.native_size = in.size;
            break;
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::LargeInt:
            d.type = in.type == FieldType::LargeInt ? FieldType::Float : FieldType::Integer;
            d.native = 'N';
            d.size = d.native_size = in.type == FieldType::LargeInt ? 20 : 11;
            if (dbase_numeric && in.type == FieldType::Integer && in.decimals == 0 && in.native_size <= 11)
                d.size = d.native_size = in.native_size;
            break;
        case FieldType::Float:
        case FieldType::Currency:
            d.type = FieldType::Float;
            d.native = 'N';
            d.size = d.native_size = 20;
            d.decimals = 4;
            if (in.type == FieldType::Float) {
                if (dbase_numeric) {
                    d.size = d.native_size = in.native_size;
                    d.decimals = in.decimals;
                    d.exponent_texts = in.exponent_texts;
                } else {
                    d.native_size = 0;   // laid out from the values when written
                    d.decimals = 0;
                }
            }
            break;
        case FieldType::Boolean:
            d.native = 'L';
            d.size = d.native_size = 1;
            break;
        case FieldType::Date:
            d.native = 'D';
            d.size = d.native_size = 8;
            break;
        case FieldType::Other:
            throw EngineError("Field '" + in.name + "': field type not supported by the target format");
        }
        out.push_back(std::move(d));
    }
    if (out.empty()) throw EngineError("A table needs at least one field");
    return out;
}

namespace {

// The version byte of a rewritten table: the one it was read with when it names a table without
// memo in the layout written here (dBASE III/IV, FoxPro 2.x), otherwise 0x03. Memo versions and
// Visual FoxPro's longer header are not what this writer produces.
unsigned char written_version(unsigned char read)
{
    return (read & 0x87) == 0x03 ? read : 0x03;
}

// Produces the bytes of a new table in pieces: the header, then the records a bounded buffer
// at a time, then the end mark. t gives the fields and the file's settings, records the records.
void produce_dbase(const TableData& t, const RecordFeed& records, bool foxpro, const ByteSink& put)
{
    foxpro = foxpro || t.foxpro_marks;
    const int cp = output_code_page(t.code_page);
    std::vector<OutField> fields = layout_for(t.fields, cp, foxpro);
    choose_decimals(fields, records);
    std::size_t record_length = 1;
    for (const OutField& f : fields) record_length += static_cast<std::size_t>(f.width);
    std::size_t header_length = 32 + 32 * fields.size() + 1;
    if (records.count > 0xFFFFFFFFu) throw EngineError("Too many records for a dBASE table");
    std::vector<unsigned char> header(header_length, 0);
    unsigned char* h = header.data();
    h[0] = written_version(t.dbase_version);
    put_today(h + 1);
    put_u32le(h + 4, static_cast<std::uint32_t>(records.count));
    put_u16le(h + 8, static_cast<std::uint16_t>(header_length));
    put_u16le(h + 10, static_cast<std::uint16_t>(record_length));
    h[29] = codepage_ldid(cp);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const OutField& f = fields[i];
        unsigned char* d = h + 32 + 32 * i;
        std::memcpy(d, f.name_bytes.data(), std::min<std::size_t>(f.name_bytes.size(), 10));
        d[11] = static_cast<unsigned char>(f.code);
        if (foxpro) put_u32le(d + 12, static_cast<std::uint32_t>(f.offset + 1));
        d[16] = static_cast<unsigned char>(f.width);
        d[17] = static_cast<unsigned char>(f.decimals);
    }
    h[header_length - 1] = 0x0D;
    put(header.data(), header.size());

    const std::size_t per_block = std::max<std::size_t>(1, (1 << 20) / record_length);
    std::vector<unsigned char> block(std::min(per_block, std::max<std::size_t>(records.count, 1)) * record_length);
    std::size_t filled = 0;
    Record scratch;
    for (std::size_t r = 0; r < records.count; ++r) {
        encode_record(fields, records.read(r, scratch), cp, block.data() + filled * record_length);
        if (++filled == per_block) {
            put(block.data(), filled * record_length);
            filled = 0;
        }
    }
    if (filled > 0) put(block.data(), filled * record_length);
    const unsigned char end = 0x1A;
    put(&end, 1);
}

}  // namespace

std::vector<unsigned char> build_dbase(const TableData& t, bool foxpro)
{
    std::vector<unsigned char> out;
    produce_dbase(t, records_of(t), foxpro, [&](const unsigned char* p, std::size_t n) { out.insert(out.end(), p, p + n); });
    return out;
}

void write_dbase(const std::string& path, const TableData& t, bool foxpro, const CurrentCheck& check)
{
    write_dbase(path, t, records_of(t), foxpro, check);
}

void write_dbase(const std::string& path, const TableData& shape, const RecordFeed& records, bool foxpro,
                 const CurrentCheck& check)
{
    write_file_atomically_streamed(path, [&](const ByteSink& put) { produce_dbase(shape, records, foxpro, put); }, check);
}

namespace {

// The layout of an existing file for a write-through, checked against the fields the table
// was read with.
struct OpenFile {
    Header header;
    std::vector<unsigned char> head;       // the header's bytes
    std::vector<OutField> fields;
    std::unique_ptr<FileReader> reader;    // the file, read a piece at a time
};

// The place in the file of the index-th live record (deleted ones skipped), h.count when there
// is none; the flags are read a megabyte at a time.
std::size_t physical_record(FileReader& file, const Header& h, std::size_t index)
{
    const std::size_t length = h.record_length;
    std::size_t live = 0, found = h.count;
    read_record_pieces(file, h, [&](const unsigned char* piece, std::size_t first, std::size_t n, std::size_t got) {
        if (got < n * length) return false;
        for (std::size_t i = 0; i < n; ++i) {
            if (piece[i * length] == '*') continue;
            if (live == index) {
                found = first + i;
                return false;
            }
            ++live;
        }
        return true;
    });
    return found;
}

// The file, locked for the change, must hold exactly the table as it was read (every field and
// every live record), so that another program's change to the record being posted, or a record
// that moved into its place after a deletion, is never overwritten.
OpenFile open_for_write(const std::string& path, FileChange& file, const TableData& image)
{
    check_writable(image);
    OpenFile f;
    std::string label = file_label(path);
    // The header and the declared records, never more of the file (which may be padded far past them).
    f.reader = std::make_unique<FileReader>(file.path());
    std::uint64_t size = 0;
    f.head = header_bytes(*f.reader, size);
    ByteReader r(label, f.head);
    f.header = parse_header(r, size);
    std::size_t visible_count = 0;
    for (const RawField& raw : f.header.fields) {
        if (!visible(raw)) throw EngineError(label + ": tables with null flags cannot be written");
        if (visible_count >= image.fields.size()) break;
        const FieldDef& d = image.fields[visible_count];
        // A real field the image has not laid out yet (native_size 0) took its width when written.
        const bool laid_out_when_written = d.native_size == 0 && d.type == FieldType::Float && raw.kind == Kind::Number;
        if (decode(raw.name_bytes, f.header.code_page) != d.name || (raw.code != d.native && !laid_out_when_written) ||
            (raw.width != d.native_size && !laid_out_when_written))
            throw EngineError(label + ": the table's fields have changed since it was opened");
        OutField o;
        o.name = d.name;
        o.code = raw.code;
        o.kind = raw.kind;
        o.width = raw.width;
        o.decimals = raw.decimals;
        o.offset = raw.offset;
        o.type = d.type;
        f.fields.push_back(std::move(o));
        ++visible_count;
    }
    if (visible_count != image.fields.size() || f.header.fields.size() != image.fields.size())
        throw EngineError(label + ": the table's fields have changed since it was opened");
    // Compared as a compact image, so that a large table is not held as values for one record.
    const TableData now = read_dbase_from(*f.reader, label, {}, true);
    if (!same_table(now, image)) throw EngineError(label + ": " + changed_file_message);
    if (now.read_only) throw EngineError(now.read_only_reason);
    return f;
}

// The bytes of rec for the file's layout: a changed record keeps any bytes past the fields.
std::vector<unsigned char> record_bytes(const std::string& label, const OpenFile& f, const Record& rec,
                                        std::size_t physical, bool append)
{
    const Header& h = f.header;
    std::vector<unsigned char> buf(h.record_length, ' ');
    if (!append && f.reader->read(h.header_length + physical * h.record_length, buf.data(), buf.size()) < buf.size())
        throw EngineError(label + ": " + changed_file_message);
    try {
        encode_record(f.fields, rec, h.code_page, buf.data());
    } catch (const EngineError& e) {
        throw EngineError(label + ": record " + std::to_string(physical + 1) + ": " + e.what());
    }
    return buf;
}

// rec as it reads back from the file: a table of the file's header and this one record.
Record stored_form(const std::string& label, const OpenFile& f, const std::vector<unsigned char>& rec)
{
    std::vector<unsigned char> one(f.head.begin(), f.head.begin() + static_cast<std::ptrdiff_t>(f.header.header_length));
    put_u32le(one.data() + 4, 1);
    one.insert(one.end(), rec.begin(), rec.end());
    one[f.header.header_length] = ' ';
    one.push_back(0x1A);
    return read_dbase_bytes(label, one.data(), one.size()).records.front();
}

}  // namespace

Record dbase_update_record(const std::string& path, const TableData& image, std::size_t index, const Record& rec)
{
    const std::string label = file_label(path);
    if (index >= image.record_count()) throw EngineError("Record " + std::to_string(index + 1) + " does not exist");
    check_writable(image);
    FileChange file(path);
    OpenFile f = open_for_write(path, file, image);
    const Header& h = f.header;
    // The index counts live records; deleted ones still take their place in the file.
    const std::size_t phys = physical_record(*f.reader, h, index);
    if (phys >= h.count) throw EngineError(label + ": record " + std::to_string(index + 1) + " is not in the file");
    std::vector<unsigned char> buf = record_bytes(label, f, rec, phys, false);
    Record stored = stored_form(label, f, buf);
    unsigned char date[3];
    put_today(date);
    // The record in one write, then the date of the last change.
    file.write_at(h.header_length + phys * h.record_length, buf.data(), buf.size());
    file.write_at(1, date, 3);
    file.commit();
    return stored;
}

Record dbase_append_record(const std::string& path, const TableData& image, const Record& rec)
{
    const std::string label = file_label(path);
    check_writable(image);
    FileChange file(path);
    OpenFile f = open_for_write(path, file, image);
    const Header& h = f.header;
    if (h.count == 0xFFFFFFFFu) throw EngineError(label + ": too many records");
    std::vector<unsigned char> buf = record_bytes(label, f, rec, h.count, true);
    Record stored = stored_form(label, f, buf);
    buf.push_back(0x1A);
    // The record past the counted ones first and flushed: until the count in the header says
    // so, readers do not see it. Then the count, in one write with the date.
    file.write_at(h.header_length + static_cast<std::size_t>(h.count) * h.record_length, buf.data(), buf.size());
    file.flush();
    unsigned char head[7];
    put_today(head);
    put_u32le(head + 3, h.count + 1);
    file.write_at(1, head, 7);
    file.commit();
    return stored;
}

std::function<void(const Record&, std::size_t)> dbase_record_check(const TableData& t)
{
    check_writable(t);
    const int cp = output_code_page(t.code_page);
    std::vector<OutField> fields = layout_for(t.fields, cp, t.foxpro_marks);
    std::size_t length = 1;
    for (const auto& f : fields) length += static_cast<std::size_t>(f.width);
    return [fields = std::move(fields), cp, buf = std::vector<unsigned char>(length)](const Record& rec,
                                                                                     std::size_t) mutable {
        encode_record(fields, rec, cp, buf.data());
    };
}

}  // namespace vantelo::db
