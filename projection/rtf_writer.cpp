#include "projection/rtf_writer.h"

#include <cstdint>

#include "platform/core/errors.h"
#include "platform/db/atomic_file.h"

namespace vantelo::projection {
namespace {

// Decodes UTF-8 into UTF-16 code units; a malformed sequence gives U+FFFD.
std::u16string utf16_units(const std::string& s)
{
    std::u16string out;
    size_t i = 0;
    const size_t n = s.size();
    auto cont = [&](size_t k) { return k < n && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80; };
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        size_t len;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if (c >= 0xC2 && c < 0xE0 && cont(i + 1)) {
            cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
            len = 2;
        } else if (c >= 0xE0 && c < 0xF0 && cont(i + 1) && cont(i + 2)) {
            cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6)
                | (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
            len = 3;
            if (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000)) cp = 0xFFFD;
        } else if (c >= 0xF0 && c < 0xF5 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
            cp = ((c & 0x07u) << 18) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 12)
                | ((static_cast<unsigned char>(s[i + 2]) & 0x3Fu) << 6) | (static_cast<unsigned char>(s[i + 3]) & 0x3Fu);
            len = 4;
            if (cp < 0x10000 || cp > 0x10FFFF) cp = 0xFFFD;
        } else {
            cp = 0xFFFD;
            len = 1;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

// The text of one line as RTF: escapes for the special characters and for every code unit
// beyond ASCII. A control word ends with a blank, so the next character is never read into it.
std::string escape_line(const std::string& line)
{
    std::string out;
    for (char16_t u : utf16_units(line)) {
        if (u == '\\' || u == '{' || u == '}') {
            out.push_back('\\');
            out.push_back(static_cast<char>(u));
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u < 0x20 || u == 0x7F) {
            // other control characters have no place in a report line
        } else if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else {
            out += "\\u" + std::to_string(static_cast<int>(static_cast<std::int16_t>(u))) + "?";
        }
    }
    return out;
}

}  // namespace

std::string rtf_document(const std::vector<std::string>& lines, const std::string& font_name, int half_points)
{
    std::string doc = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052{\\fonttbl{\\f0\\fnil\\fcharset134 "
        + escape_line(font_name) + ";}}\r\n";
    // An A4 page (in twips) with 2 cm margins.
    doc += "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134\r\n";
    doc += "\\viewkind4\\uc1\\pard\\f0\\fs" + std::to_string(half_points) + " ";
    for (size_t i = 0; i < lines.size(); ++i) {
        doc += escape_line(lines[i]);
        doc += "\\par\r\n";
    }
    doc += "}\r\n";
    return doc;
}

void write_rtf_file(const std::string& path, const std::vector<std::string>& lines, const std::string& font_name,
                    int half_points)
{
    std::string doc = rtf_document(lines, font_name, half_points);
    try {
        db::write_file_atomically(path, std::vector<unsigned char>(doc.begin(), doc.end()), "report");
    } catch (const EngineError& e) {
        throw InOutError(e.what());
    }
}

}  // namespace vantelo::projection
