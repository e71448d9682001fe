#include "platform/db/encoding.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <stdexcept>

#include "platform/core/errors.h"
#include "platform/db/byte_reader.h"

namespace vantelo::db {
namespace {

struct IconvHandle {
    iconv_t h;
    IconvHandle(const char* to, const char* from) : h(iconv_open(to, from))
    {
        if (h == reinterpret_cast<iconv_t>(-1))
            throw EngineError(std::string("No conversion from ") + from + " to " + to);
    }
    ~IconvHandle() { iconv_close(h); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
};

bool is_ascii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

std::string codepage_charset(int code_page)
{
    switch (code_page) {
    case 936: return "GBK";
    case 437: return "CP437";
    case 850: return "CP850";
    case 852: return "CP852";
    case 865: return "CP865";
    case 866: return "CP866";
    case 932: return "CP932";
    case 949: return "CP949";
    case 950: return "BIG5";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1252: return "CP1252";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1257: return "CP1257";
    case 10000: return "MACINTOSH";
    default: return "GBK";
    }
}

namespace {

// Runs text through a converter. A sequence it cannot convert is handed to on_bad, which
// either skips past it (returning true) or raises.
template <class OnBad>
std::string convert(IconvHandle& cv, std::string_view text, std::size_t reserve, OnBad on_bad)
{
    std::string out;
    out.reserve(reserve);
    char* in = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char buf[256];
    while (in_left > 0) {
        char* o = buf;
        size_t o_left = sizeof buf;
        size_t r = iconv(cv.h, &in, &in_left, &o, &o_left);
        out.append(buf, static_cast<size_t>(o - buf));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) on_bad(out, in, in_left);
    }
    return out;
}

}  // namespace

std::string decode(std::string_view bytes, int code_page)
{
    if (is_ascii(bytes)) return std::string(bytes);
    IconvHandle cv("UTF-8", codepage_charset(code_page).c_str());
    return convert(cv, bytes, bytes.size() * 2, [](std::string& out, char*& in, size_t& in_left) {
        // An invalid or incomplete sequence: one replacement character, skip one byte.
        out += "\xEF\xBF\xBD";
        ++in;
        --in_left;
    });
}

std::string shown_in_code_page(std::string_view name, int code_page)
{
    return shown_name(valid_utf8(name) ? std::string(name) : decode(name, code_page));
}

std::string encode(std::string_view utf8, int code_page)
{
    if (is_ascii(utf8)) return std::string(utf8);
    std::string charset = codepage_charset(code_page);
    IconvHandle cv(charset.c_str(), "UTF-8");
    return convert(cv, utf8, utf8.size(), [&](std::string&, char*&, size_t&) {
        throw EngineError("The text '" + std::string(utf8) + "' cannot be written in code page " + charset);
    });
}

std::string cut_gbk(std::string_view gbk, std::size_t max_bytes)
{
    std::size_t i = 0;
    while (i < gbk.size()) {
        std::size_t len = static_cast<unsigned char>(gbk[i]) >= 0x81 ? 2 : 1;
        if (i + len > max_bytes) break;
        i += len;
    }
    return std::string(gbk.substr(0, std::min(i, gbk.size())));
}

int ldid_codepage(unsigned char ldid)
{
    switch (ldid) {
    case 0x01: return 437;
    case 0x02: return 850;
    case 0x03: return 1252;
    case 0x04: return 10000;
    case 0x64: return 852;
    case 0x65: return 866;
    case 0x66: return 865;
    case 0x7A: return 936;
    case 0x78: return 950;
    case 0x79: return 949;
    case 0x7B: return 932;
    case 0x7D: return 1255;
    case 0x7E: return 1256;
    case 0xC8: return 1250;
    case 0xC9: return 1251;
    case 0xCA: return 1254;
    case 0xCB: return 1253;
    case 0xCC: return 1257;
    case 0x57: return 1252;
    default: return 936;
    }
}

unsigned char codepage_ldid(int code_page)
{
    switch (code_page) {
    case 437: return 0x01;
    case 850: return 0x02;
    case 1252: return 0x03;
    case 936: return 0x7A;
    default: return 0x7A;
    }
}

}  // namespace vantelo::db
