#include "rtf_reader.h"

#include <cctype>
#include <vector>

namespace rtftest {

ReadResult read_rtf(const std::string& d)
{
    ReadResult r;
    if (d.rfind("{\\rtf1", 0) != 0) {
        r.error = "no {\\rtf1 header";
        return r;
    }
    struct State {
        int uc = 1;
        bool skip = false;     // inside a destination whose text is not document text
        bool fonttbl = false;
    };
    std::vector<State> stack;
    State cur;
    size_t i = 0;
    int pending_skip = 0;      // fallback characters still to skip after \uN
    bool closed = false;
    auto emit = [&](char16_t c) {
        if (pending_skip > 0) {
            --pending_skip;
            return;
        }
        if (cur.fonttbl) {
            if (c != ';') r.font_name.push_back(static_cast<char>(c));
        } else if (!cur.skip) {
            r.text.push_back(c);
        }
    };
    while (i < d.size()) {
        char c = d[i];
        if (closed) {
            if (c != '\r' && c != '\n') {
                r.error = "text after the closing brace";
                return r;
            }
            ++i;
            continue;
        }
        if (c == '{') {
            stack.push_back(cur);
            ++i;
        } else if (c == '}') {
            if (stack.empty()) {
                r.error = "unbalanced }";
                return r;
            }
            cur = stack.back();
            stack.pop_back();
            ++i;
            if (stack.empty()) closed = true;
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else if (c == '\\') {
            ++i;
            if (i >= d.size()) break;
            char n = d[i];
            if (std::isalpha(static_cast<unsigned char>(n))) {
                std::string word;
                while (i < d.size() && std::isalpha(static_cast<unsigned char>(d[i]))) word.push_back(d[i++]);
                bool has_num = false;
                long num = 0;
                bool neg = false;
                if (i < d.size() && d[i] == '-') {
                    neg = true;
                    ++i;
                }
                while (i < d.size() && std::isdigit(static_cast<unsigned char>(d[i]))) {
                    has_num = true;
                    num = num * 10 + (d[i++] - '0');
                }
                if (neg) num = -num;
                if (i < d.size() && d[i] == ' ') ++i;  // the delimiting blank belongs to the word
                if (word == "par") {
                    emit(u'\n');
                } else if (word == "tab") {
                    emit(u'\t');
                } else if (word == "u" && has_num) {
                    long v = num < 0 ? num + 65536 : num;
                    emit(static_cast<char16_t>(v));
                    pending_skip = cur.uc;
                } else if (word == "uc" && has_num) {
                    cur.uc = static_cast<int>(num);
                } else if (word == "fonttbl") {
                    cur.fonttbl = true;
                } else if (word == "fcharset" && cur.fonttbl && r.charset < 0) {
                    r.charset = static_cast<int>(num);
                } else if (word == "colortbl" || word == "stylesheet" || word == "info") {
                    cur.skip = true;
                }
            } else {
                ++i;
                if (n == '\\' || n == '{' || n == '}') emit(static_cast<char16_t>(n));
                else if (n == '*') cur.skip = true;
                else if (n == '\'') {
                    r.error = "hex escapes are not expected";
                    return r;
                }
            }
        } else {
            unsigned char uc = static_cast<unsigned char>(c);
            if (uc >= 0x80) {
                r.error = "byte beyond ASCII in the document";
                return r;
            }
            emit(static_cast<char16_t>(uc));
            ++i;
        }
    }
    if (!closed || !stack.empty()) {
        r.error = "document not closed";
        return r;
    }
    r.ok = true;
    return r;
}

}  // namespace rtftest
