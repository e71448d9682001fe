#include "platform/db/sql.h"

#include <cstddef>

#include "platform/core/errors.h"

namespace vantelo::db {
namespace {

struct Token {
    enum class Kind { Word, Path, Open, Close, Comma, Bad, End };
    Kind kind = Kind::End;
    std::string text;      // the token as written (a path without its quotation marks)
    std::string shown;     // the token as an error message names it
};

// Keywords and type words are matched without regard to ASCII letter case.
bool same_word(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i]) return false;
    }
    return i == a.size() && !b[i];
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool is_control(unsigned char c) { return c < 0x20 || c == 0x7F; }

// A character that may stand in a name or a keyword.
bool is_word_char(char ch)
{
    auto c = static_cast<unsigned char>(ch);
    return !is_blank(ch) && !is_control(c) && ch != ',' && ch != '(' && ch != ')' && ch != '"';
}

std::vector<Token> tokenize(const std::string& s)
{
    std::vector<Token> out;
    std::size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (is_blank(c)) {
            ++i;
            continue;
        }
        Token t;
        if (c == '(' || c == ')' || c == ',') {
            t.kind = c == '(' ? Token::Kind::Open : c == ')' ? Token::Kind::Close : Token::Kind::Comma;
            t.text = t.shown = std::string(1, c);
            ++i;
        } else if (c == '"') {
            std::size_t end = s.find('"', i + 1);
            if (end == std::string::npos) {
                t.kind = Token::Kind::Bad;
                t.shown = s.substr(i);
                i = s.size();
            } else {
                t.kind = Token::Kind::Path;
                t.text = s.substr(i + 1, end - i - 1);
                t.shown = s.substr(i, end - i + 1);
                i = end + 1;
            }
        } else if (is_word_char(c)) {
            std::size_t start = i;
            while (i < s.size() && is_word_char(s[i])) ++i;
            t.kind = Token::Kind::Word;
            t.text = t.shown = s.substr(start, i - start);
        } else {
            // A control character outside a path.
            t.kind = Token::Kind::Bad;
            t.shown = std::string(1, c);
            ++i;
        }
        out.push_back(std::move(t));
    }
    return out;
}

class Parser {
public:
    explicit Parser(const std::string& text) : tokens_(tokenize(text)) {}

    SqlStatement statement()
    {
        SqlStatement st;
        const Token& first = take();
        if (is_keyword(first, "create")) {
            st.kind = SqlStatement::Kind::Create;
            expect_keyword("table");
            st.path = path();
            expect(Token::Kind::Open);
            st.items.push_back(item());
            while (peek().kind == Token::Kind::Comma) {
                take();
                st.items.push_back(item());
            }
            expect(Token::Kind::Close);
        } else if (is_keyword(first, "alter")) {
            expect_keyword("table");
            st.path = path();
            const Token& verb = take();
            if (is_keyword(verb, "add")) {
                st.kind = SqlStatement::Kind::Add;
                st.items.push_back(item());
            } else if (is_keyword(verb, "drop")) {
                st.kind = SqlStatement::Kind::Drop;
                st.drop_name = name();
            } else {
                fail_at(pos_ - 1);
            }
        } else {
            fail_at(pos_ - 1);
        }
        if (peek().kind != Token::Kind::End) fail_at(pos_);
        return st;
    }

private:
    static bool is_keyword(const Token& t, const char* word)
    {
        return t.kind == Token::Kind::Word && same_word(t.text, word);
    }

    const Token& peek() const
    {
        static const Token end;
        return pos_ < tokens_.size() ? tokens_[pos_] : end;
    }

    const Token& take()
    {
        const Token& t = peek();
        ++pos_;
        return t;
    }

    [[noreturn]] void fail_at(std::size_t index) const
    {
        std::string shown;
        if (index < tokens_.size()) shown = tokens_[index].shown;
        else if (!tokens_.empty()) shown = tokens_.back().shown;  // the statement ended too early
        throw EngineError("Syntax error in SQL statement near '" + shown + "'");
    }

    void expect(Token::Kind kind)
    {
        if (take().kind != kind) fail_at(pos_ - 1);
    }

    void expect_keyword(const char* word)
    {
        if (!is_keyword(take(), word)) fail_at(pos_ - 1);
    }

    std::string path()
    {
        const Token& t = take();
        if (t.kind != Token::Kind::Path || t.text.empty()) fail_at(pos_ - 1);
        // A control character (a NUL above all) would make the name mean another file.
        for (char c : t.text)
            if (is_control(static_cast<unsigned char>(c))) fail_at(pos_ - 1);
        return t.text;
    }

    std::string name()
    {
        const Token& t = take();
        if (t.kind != Token::Kind::Word) fail_at(pos_ - 1);
        return t.text;
    }

    SqlItem item()
    {
        SqlItem it;
        it.name = name();
        const Token& type = take();
        if (type.kind != Token::Kind::Word) fail_at(pos_ - 1);
        const std::string& w = type.text;
        if (same_word(w, "integer")) it.type = FieldType::Integer;
        else if (same_word(w, "float")) it.type = FieldType::Float;
        else if (same_word(w, "date")) it.type = FieldType::Date;
        else if (same_word(w, "boolean")) it.type = FieldType::Boolean;
        else if (same_word(w, "char")) {
            it.type = FieldType::String;
            expect(Token::Kind::Open);
            const Token& digits = take();
            if (digits.kind != Token::Kind::Word) fail_at(pos_ - 1);
            long long n = 0;
            for (char c : digits.text) {
                if (c < '0' || c > '9') fail_at(pos_ - 1);
                if (n < 1000000) n = n * 10 + (c - '0');  // any width this large is refused later
            }
            it.size = n;
            expect(Token::Kind::Close);
        } else {
            throw EngineError("Unknown field type '" + w + "'");
        }
        return it;
    }

    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
};

}  // namespace

SqlStatement parse_statement(const std::string& text)
{
    return Parser(text).statement();
}

}  // namespace vantelo::db
