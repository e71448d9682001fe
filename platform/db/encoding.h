#pragma once
// Text encodings of table files. Strings inside the program are UTF-8; files hold a code page
// (new files GBK, code page 936). Conversion is strict: a character the code page cannot hold
// is an error naming it, never a silent '?'.
#include <string>
#include <string_view>

namespace vantelo::db {

// The iconv name of a Windows/DOS code page (936 -> "GBK", 1252 -> "CP1252", 437 -> "CP437").
// An unknown code page falls back to GBK.
std::string codepage_charset(int code_page);

// Decodes bytes in the code page to UTF-8. Invalid bytes become U+FFFD rather than failing,
// so a damaged text never stops a table from opening.
std::string decode(std::string_view bytes, int code_page);

// A name for a message: UTF-8 as it is, other bytes (a name in the table's code page, such as
// GBK) decoded from the code page, then shown as shown_name shows it.
std::string shown_in_code_page(std::string_view name, int code_page);

// Encodes UTF-8 to the code page; raises EngineError when a character cannot be encoded.
std::string encode(std::string_view utf8, int code_page);

// Cuts encoded bytes to at most max_bytes without splitting a double-byte GBK character.
std::string cut_gbk(std::string_view gbk, std::size_t max_bytes);

// dBASE language driver id <-> code page (0x7A <-> 936, 0x03 <-> 1252, 0x01 <-> 437, ...).
int ldid_codepage(unsigned char ldid);
unsigned char codepage_ldid(int code_page);

}  // namespace vantelo::db
