#include "platform/db/sql.h"

#include <cstddef>

#include "platform/core/errors.h"
#include "platform/db/atomic_file.h"
#include "platform/db/paradox.h"
#include "platform/db/table_files.h"

namespace vantelo::db {
namespace {

struct Token {
    enum class Kind { Word, Path, Open, Close, Comma, Bad, End };
    Kind kind = Kind::End;
    std::string text;      // the token as written (a path without its quotation marks)
    std::string shown;     // the token as an error message names it
};

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
        return t.kind == Token::Kind::Word && equal_names(t.text, word);
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
        if (equal_names(w, "integer")) it.type = FieldType::Integer;
        else if (equal_names(w, "float")) it.type = FieldType::Float;
        else if (equal_names(w, "date")) it.type = FieldType::Date;
        else if (equal_names(w, "boolean")) it.type = FieldType::Boolean;
        else if (equal_names(w, "char")) {
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

namespace {

FieldDef field_of(const SqlItem& it)
{
    FieldDef f;
    f.name = it.name;
    f.type = it.type;
    f.size = static_cast<int>(it.size);
    return f;
}

// Create: a new empty table; an existing file is never replaced.
void create_table(const ResolvedTable& r, const SqlStatement& st)
{
    if (file_exists(r.path)) throw EngineError("Table already exists: " + r.path);
    std::vector<FieldDef> defs;
    for (const auto& it : st.items) defs.push_back(field_of(it));
    TableData t;
    t.fields = fields_for_format(defs, r.format);
    t.code_page = 936;
    write_table(r, t);
}

// Add: the new field goes last and reads empty in every record. The file is rewritten whole
// through a temporary file, so a failure leaves it as it was.
void add_field(const ResolvedTable& r, const SqlStatement& st)
{
    TableData t = read_table(r);
    check_writable(r.path, t);
    const SqlItem& it = st.items.front();
    FieldDef f = fields_for_format({field_of(it)}, r.format).front();
    for (const auto& old : t.fields)
        if (equal_names(old.name, f.name) || equal_names(old.name, it.name))
            throw EngineError("Duplicate field name '" + it.name + "'");
    t.fields.push_back(f);
    if (r.format == TableFormat::Paradox) check_paradox_fields(t.fields);
    for (auto& rec : t.records) rec.emplace_back();
    write_table(r, t);
}

// Drop: the field and its values go; the other fields and the order of records stay.
void drop_field(const ResolvedTable& r, const SqlStatement& st)
{
    TableData t = read_table(r);
    check_writable(r.path, t);
    int i = find_field_in(t, r.format, st.drop_name);
    if (i < 0) throw EngineError("Field '" + st.drop_name + "' not found");
    if (t.fields.size() == 1) throw EngineError("Cannot drop the last field of a table");
    t.fields.erase(t.fields.begin() + i);
    for (auto& rec : t.records)
        if (static_cast<std::size_t>(i) < rec.size()) rec.erase(rec.begin() + i);
    write_table(r, t);
}

}  // namespace

void execute_statement(const std::string& statement)
{
    SqlStatement st = parse_statement(statement);
    ResolvedTable r = resolve_table(st.path, TableType::Default);
    switch (st.kind) {
    case SqlStatement::Kind::Create: create_table(r, st); return;
    case SqlStatement::Kind::Add: add_field(r, st); return;
    case SqlStatement::Kind::Drop: drop_field(r, st); return;
    }
}

}  // namespace vantelo::db
