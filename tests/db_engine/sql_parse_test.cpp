#include <gtest/gtest.h>

#include <cctype>

#include "engine_test_util.h"
#include "platform/db/sql.h"

using namespace vantelo::db;
using vantelo::db::testing_util::error_of;

namespace {

std::string items_text(const SqlStatement& st)
{
    std::string out;
    for (const auto& it : st.items) {
        if (!out.empty()) out += ",";
        out += it.name + ":";
        switch (it.type) {
        case FieldType::Integer: out += "I"; break;
        case FieldType::Float: out += "F"; break;
        case FieldType::Date: out += "D"; break;
        case FieldType::Boolean: out += "L"; break;
        case FieldType::String: out += "C" + std::to_string(it.size); break;
        default: out += "?"; break;
        }
    }
    return out;
}

struct GoodCase {
    const char* label;
    const char* text;
    SqlStatement::Kind kind;
    const char* path;
    const char* items;   // name:type list; for drop, the dropped name
};

class ParseGood : public testing::TestWithParam<GoodCase> {};

TEST_P(ParseGood, ReadsTheStatement)
{
    const GoodCase& c = GetParam();
    SqlStatement st = parse_statement(c.text);
    EXPECT_EQ(st.kind, c.kind);
    EXPECT_EQ(st.path, c.path);
    if (c.kind == SqlStatement::Kind::Drop) EXPECT_EQ(st.drop_name, c.items);
    else EXPECT_EQ(items_text(st), c.items);
}

INSTANTIATE_TEST_SUITE_P(Statements, ParseGood, testing::Values(
    GoodCase{"data preparation", "Create table \"/d/单区域.db\" (年龄 integer,男性人口 float,女性人口 float,男性死亡率 float,女性死亡率 float,年龄别生育率 float)",
             SqlStatement::Kind::Create, "/d/单区域.db",
             "年龄:I,男性人口:F,女性人口:F,男性死亡率:F,女性死亡率:F,年龄别生育率:F"},
    GoodCase{"new table window", "Create table \"/d/t.db\" (a Integer,b Char(12),c Float)",
             SqlStatement::Kind::Create, "/d/t.db", "a:I,b:C12,c:F"},
    GoodCase{"any case, blanks and tabs", "  CREATE\tTABLE \"/d/x y.DBF\"( a  DATE ,\tb boolean,c CHAR ( 3 ) ) ",
             SqlStatement::Kind::Create, "/d/x y.DBF", "a:D,b:L,c:C3"},
    GoodCase{"restructure add", "alter table \"/d/t.db\" add d Char(12)", SqlStatement::Kind::Add, "/d/t.db", "d:C12"},
    GoodCase{"restructure drop", "alter table \"/d/t.db\" drop b", SqlStatement::Kind::Drop, "/d/t.db", "b"},
    GoodCase{"result column", "alter table \"/d/t.dbf\" Add 标准化男性 Float", SqlStatement::Kind::Add, "/d/t.dbf", "标准化男性:F"},
    GoodCase{"over-wide text is judged later", "Create table \"t\" (b Char(300))", SqlStatement::Kind::Create, "t", "b:C300"},
    GoodCase{"a path with odd characters", "alter table \"/d/a (1), b.db\" DROP x", SqlStatement::Kind::Drop, "/d/a (1), b.db", "x"}),
    [](const auto& info) {
        std::string s = info.param.label;
        for (char& ch : s)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return s;
    });

struct BadCase {
    const char* label;
    const char* text;
    const char* message;
};

class ParseBad : public testing::TestWithParam<BadCase> {};

TEST_P(ParseBad, NamesWhereItFailed)
{
    EXPECT_EQ(error_of([&] { parse_statement(GetParam().text); }), GetParam().message) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Malformed, ParseBad, testing::Values(
    BadCase{"empty item", "Create table \"/d/t.db\" (a Integer,,c Float)", "Syntax error in SQL statement near ','"},
    BadCase{"empty list", "Create table \"/d/t.db\" ()", "Syntax error in SQL statement near ')'"},
    BadCase{"Char without width", "Create table \"/d/t.db\" (b Char())", "Syntax error in SQL statement near ')'"},
    BadCase{"Char without parentheses", "Create table \"/d/t.db\" (b Char)", "Syntax error in SQL statement near ')'"},
    BadCase{"width not a number", "Create table \"/d/t.db\" (b Char(12x))", "Syntax error in SQL statement near '12x'"},
    BadCase{"negative width", "Create table \"/d/t.db\" (b Char(-1))", "Syntax error in SQL statement near '-1'"},
    BadCase{"not a statement", "xyz", "Syntax error in SQL statement near 'xyz'"},
    BadCase{"empty statement", "", "Syntax error in SQL statement near ''"},
    BadCase{"result column without a name", "alter table \"/d/t.db\" Add  Float", "Syntax error in SQL statement near 'Float'"},
    BadCase{"drop without a name", "alter table \"/d/t.db\" drop", "Syntax error in SQL statement near 'drop'"},
    BadCase{"unknown alter verb", "alter table \"/d/t.db\" rename a", "Syntax error in SQL statement near 'rename'"},
    BadCase{"drop with two names", "alter table \"/d/t.db\" drop a b", "Syntax error in SQL statement near 'b'"},
    BadCase{"text after the statement", "Create table \"/d/t.db\" (a integer) extra", "Syntax error in SQL statement near 'extra'"},
    BadCase{"missing closing parenthesis", "Create table \"/d/t.db\" (a integer", "Syntax error in SQL statement near 'integer'"},
    BadCase{"item without a type", "Create table \"/d/t.db\" (a)", "Syntax error in SQL statement near ')'"},
    BadCase{"path without quotes", "Create table /d/t.db (a integer)", "Syntax error in SQL statement near '/d/t.db'"},
    BadCase{"unterminated path", "Create table \"/d/t.db (a integer)", "Syntax error in SQL statement near '\"/d/t.db (a integer)'"},
    BadCase{"empty path", "Create table \"\" (a integer)", "Syntax error in SQL statement near '\"\"'"},
    BadCase{"Create without table", "Create \"/d/t.db\" (a integer)", "Syntax error in SQL statement near '\"/d/t.db\"'"},
    BadCase{"unknown type word", "Create table \"/d/t.db\" (a Text)", "Unknown field type 'Text'"},
    BadCase{"two widths", "alter table \"/d/t.db\" add a Char(12)(3)", "Syntax error in SQL statement near '('"},
    BadCase{"control character in path", "Create table \"/d/t\x01.db\" (a integer)", "Syntax error in SQL statement near '\"/d/t\x01.db\"'"}),
    [](const auto& info) {
        std::string s = info.param.label;
        for (char& ch : s)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return s;
    });

TEST(Parse, PathWithNulIsRefused)
{
    std::string text = "Create table \"/d/a.db";
    text += '\0';
    text += "b.db\" (a integer)";
    EXPECT_EQ(error_of([&] { parse_statement(text); }).rfind("Syntax error in SQL statement near", 0), 0u);
}

}  // namespace
