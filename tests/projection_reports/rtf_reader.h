#pragma once
// A minimal reader of Rich Text Format for the tests: it walks groups, control words and
// control symbols, skips destination groups (font table and the like), decodes \uN with its
// \ucN fallback skipping and returns the document's text with \par as "\n" and \tab as tab.
// Malformed input (unbalanced braces, no \rtf1 header) is reported through `ok`.
#include <string>

namespace rtftest {

struct ReadResult {
    bool ok = false;
    std::string error;
    std::u16string text;      // the paragraphs, each ended by '\n'
    std::string font_name;    // font 0 of the font table
    int charset = -1;         // \fcharsetN of font 0
};

ReadResult read_rtf(const std::string& data);

}  // namespace rtftest
