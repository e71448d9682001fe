// Statements run on real table files of both formats.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include "engine_test_util.h"
#include "platform/db/dataset.h"
#include "platform/db/dbase.h"
#include "platform/db/table_files.h"

using namespace vantelo::db;
using vantelo::db::testing_util::error_of;
using vantelo::db::testing_util::file_bytes;
using vantelo::db::testing_util::ScratchDir;
using vantelo::db::testing_util::q;

namespace {

class Statements : public testing::TestWithParam<const char*> {
protected:
    std::string table(const std::string& stem) const { return dir.path(stem + GetParam()); }
    bool dbase() const { return std::string(GetParam()) == ".dbf"; }
    ScratchDir dir;
};

TEST_P(Statements, CreateMakesAnEmptyTableOfEveryType)
{
    std::string t = table("a");
    execute_statement("Create table " + q(t) + " (n integer,r float,d Date,b Boolean,s Char(12))");
    Dataset ds;
    ds.set_table_name(t);
    ds.open();
    EXPECT_EQ(ds.record_count(), 0);
    ASSERT_EQ(ds.field_count(), 5);
    const FieldType want[] = {FieldType::Integer, FieldType::Float, FieldType::Date, FieldType::Boolean, FieldType::String};
    const char* names[] = {"n", "r", "d", "b", "s"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ds.field(i).name(), names[i]);
        EXPECT_EQ(ds.field(i).def().type, want[i]) << names[i];
    }
    EXPECT_EQ(ds.field(4).def().size, 12);
    EXPECT_EQ(ds.field(4).def().display_width(), 12);
}

// A table of three records (x integer, y float): x = i, y = i + 0.5.
void three_records(const std::string& t)
{
    execute_statement("Create table " + q(t) + " (x integer,y float)");
    Dataset ds;
    ds.set_table_name(t);
    ds.open();
    for (int i = 0; i < 3; ++i) {
        ds.append();
        ds.field(0).set_as_float(i);
        ds.field(1).set_as_float(i + 0.5);
        ds.post();
    }
}

TEST_P(Statements, AddGoesLastAndDropKeepsTheRest)
{
    std::string t = table("a");
    three_records(t);
    Dataset ds;
    ds.set_table_name(t);
    execute_statement("alter table " + q(t) + " add s Char(4)");
    execute_statement("alter table " + q(t) + " Add z Float");
    execute_statement("alter table " + q(t) + " drop Y");   // found without regard to case
    ds.open();
    EXPECT_EQ(ds.field_names(), (std::vector<std::string>{"x", "s", "z"}));
    ASSERT_EQ(ds.record_count(), 3);
    for (int i = 0; i < 3; ++i) {
        ds.move_to(i);
        EXPECT_EQ(ds.field(0).as_integer(), i);
        EXPECT_TRUE(ds.field(1).is_null());
        EXPECT_TRUE(ds.field(2).is_null());
        EXPECT_EQ(ds.field(2).as_float(), 0.0);
    }
}

struct RefusedCase {
    const char* label;
    const char* statement;   // %T is the table's quoted path
    const char* message;     // %P is the table's path
};

std::string subst(std::string s, const std::string& token, const std::string& with)
{
    for (auto p = s.find(token); p != std::string::npos; p = s.find(token, p + with.size())) s.replace(p, token.size(), with);
    return s;
}

// Each refused statement leaves the existing table byte for byte as it was and no file beside it.
TEST_P(Statements, RefusedStatementsChangeNothing)
{
    std::string t = table("a");
    execute_statement("Create table " + q(t) + " (x integer,y float)");
    {
        Dataset ds;
        ds.set_table_name(t);
        ds.open();
        ds.append();
        ds.field(0).set_as_float(7);
        ds.post();
    }
    std::string before = file_bytes(t);
    auto files_before = dir.files();
    std::vector<RefusedCase> cases = {
        {"existing file", "Create table %T (a integer)", "Table already exists: %P"},
        {"drop an unknown field", "alter table %T drop nothere", "Field 'nothere' not found"},
        {"duplicate differing in case", "alter table %T add X integer", "Duplicate field name 'X'"},
        {"char 300", "alter table %T add w Char(300)", "Invalid field size 300 for field 'w'"},
        {"char 0", "alter table %T add w Char(0)", "Invalid field size 0 for field 'w'"},
        {"empty name", "alter table %T Add  Float", "Syntax error in SQL statement near 'Float'"},
        {"unknown type", "alter table %T add w Memo", "Unknown field type 'Memo'"},
    };
    if (dbase()) cases.push_back({"char 255 in dBASE", "alter table %T add w Char(255)", "Invalid field size 255 for field 'w'"});
    for (const auto& c : cases) {
        std::string stmt = subst(c.statement, "%T", q(t));
        EXPECT_EQ(error_of([&] { execute_statement(stmt); }), subst(c.message, "%P", t)) << c.label;
        EXPECT_EQ(file_bytes(t), before) << c.label;
        EXPECT_EQ(dir.files(), files_before) << c.label;
    }
    // Dropping down to one field works; dropping that one does not.
    execute_statement("alter table " + q(t) + " drop y");
    before = file_bytes(t);
    EXPECT_EQ(error_of([&] { execute_statement("alter table " + q(t) + " drop x"); }), "Cannot drop the last field of a table");
    EXPECT_EQ(file_bytes(t), before);
}

TEST_P(Statements, CreateRefusesBadFieldLists)
{
    struct Case {
        const char* items;
        const char* message;
    };
    const Case cases[] = {
        {"(a integer,A float)", "Duplicate field name 'A'"},
        {"(a Char(300))", "Invalid field size 300 for field 'a'"},
        {"(a Char(0))", "Invalid field size 0 for field 'a'"},
        {"(a integer,,b float)", "Syntax error in SQL statement near ','"},
        {"()", "Syntax error in SQL statement near ')'"},
    };
    for (const auto& c : cases) {
        std::string t = table("new");
        EXPECT_EQ(error_of([&] { execute_statement("Create table " + q(t) + " " + c.items); }), c.message) << c.items;
        EXPECT_TRUE(dir.files().empty()) << c.items;
    }
}

TEST_P(Statements, AlterOnAMissingTable)
{
    std::string t = table("missing");
    EXPECT_EQ(error_of([&] { execute_statement("alter table " + q(t) + " add a integer"); }), "Table does not exist: " + t);
    EXPECT_TRUE(dir.files().empty());
}

// A rewrite that fails half-way (here: the file size limit is hit while the temporary file is
// written) leaves the table as it was and no temporary file behind.
TEST_P(Statements, FailedRewriteLeavesTheOriginal)
{
    std::string t = table("big");
    execute_statement("Create table " + q(t) + " (x integer,s Char(200))");
    {
        Dataset ds;
        ds.set_table_name(t);
        ds.open();
        for (int i = 0; i < 300; ++i) {
            ds.append();
            ds.field(0).set_as_integer(i);
            ds.field(1).set_as_string(std::string(150, 'a'));
            ds.post();
        }
    }
    std::string before = file_bytes(t);
    auto files_before = dir.files();
    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old_limit{};
    getrlimit(RLIMIT_FSIZE, &old_limit);
    rlimit small = old_limit;
    small.rlim_cur = before.size() / 2;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string err = error_of([&] { execute_statement("alter table " + q(t) + " add z float"); });
    setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(file_bytes(t), before);
    EXPECT_EQ(dir.files(), files_before);
}

// Fields added together with their values: each statement is told to the query's on_execute and
// left in its list in turn, and the table gets all the new fields, filled, in one rewrite.
TEST_P(Statements, FilledFieldsAreAddedTogether)
{
    std::string t = table("a");
    three_records(t);
    Dataset before;
    before.set_table_name(t);
    before.open();
    Query query;
    std::vector<std::string> told;
    query.on_execute = [&](const std::string& s) { told.push_back(s); };
    const std::vector<std::string> statements = {"alter table " + q(t) + " Add P Float",
                                                 "alter table " + q(t) + " Add Q Float"};
    query.exec_add_fields(statements, {{Value{1.0}, Value{-2.0}, Value{3e6}}, {Value{4.0}, Value{}, Value{1411778724.5}}},
                          &before.image());
    EXPECT_EQ(told, statements);
    EXPECT_EQ(query.sql(), std::vector<std::string>{statements.back()});
    Dataset ds;
    ds.set_table_name(t);
    ds.open();
    ASSERT_EQ(ds.field_names(), (std::vector<std::string>{"x", "y", "P", "Q"}));
    ASSERT_EQ(ds.record_count(), 3);
    // 1411778724.5 has ten whole digits, more than N(20,10) holds: the new dBASE field takes its
    // layout from its values.
    const double p[] = {1, -2, 3e6}, qv[] = {4, 0, 1411778724.5};
    for (int i = 0; i < 3; ++i) {
        ds.move_to(i);
        EXPECT_EQ(ds.field(0).as_integer(), i);
        EXPECT_EQ(ds.field(1).as_float(), i + 0.5);
        EXPECT_EQ(ds.field(2).as_float(), p[i]) << i;
        EXPECT_EQ(ds.field(3).as_float(), qv[i]) << i;
    }
    ds.move_to(1);
    EXPECT_TRUE(ds.field(3).is_null());  // an empty value stays empty
}

// Every refusal comes before the first byte: the table stays byte for byte as it was, with none
// of the new fields, and no file is left beside it.
TEST_P(Statements, RefusedFilledFieldsAddNone)
{
    std::string t = table("a");
    three_records(t);
    std::string other = table("other");
    three_records(other);
    Dataset as_read;
    as_read.set_table_name(t);
    as_read.open();
    TableData changed = as_read.data();
    changed.records[2][1] = 9.0;  // another program wrote a value since the table was read
    const std::string before = file_bytes(t);
    const auto files_before = dir.files();
    const std::string add_p = "alter table " + q(t) + " Add P Float";
    const std::vector<Value> three = {Value{1.0}, Value{2.0}, Value{3.0}};
    struct Case {
        const char* label;
        std::vector<std::string> statements;
        std::vector<std::vector<Value>> values;
        const TableData* expected;
        std::string message;
    };
    std::vector<Case> cases = {
        {"the same name twice", {add_p, "alter table " + q(t) + " Add P Float"}, {three, three}, nullptr,
         "Duplicate field name 'P'"},
        {"an old name in other letters", {add_p, "alter table " + q(t) + " Add Y Float"}, {three, three}, nullptr,
         "Duplicate field name 'Y'"},
        {"two tables", {add_p, "alter table " + q(other) + " Add R Float"}, {three, three}, nullptr,
         "The statements name different tables: " + other},
        {"not an add", {add_p, "alter table " + q(t) + " drop y"}, {three, three}, nullptr,
         "Not a statement that adds a field: alter table " + q(t) + " drop y"},
        {"too few values", {add_p}, {{Value{1.0}, Value{2.0}}}, nullptr,
         "The new fields need one value per record: 3 records, 2 values"},
        {"values for one field of two", {add_p, "alter table " + q(t) + " Add R Float"}, {three}, nullptr,
         "The new fields need one value per record: 2 fields, values for 1"},
        {"the file changed since it was read", {add_p}, {three}, &changed,
         std::string("a") + GetParam() + ": " + changed_file_message},
    };
    for (const Case& c : cases) {
        const std::string error = error_of([&] { add_filled_fields(c.statements, c.values, c.expected); });
        EXPECT_EQ(error, c.message) << c.label;
        EXPECT_EQ(file_bytes(t), before) << c.label;
        EXPECT_EQ(dir.files(), files_before) << c.label;
    }
}

// A new table made with its records in one write; each refusal comes before anything is
// written, and leaves no file.
TEST_P(Statements, NewTableWithItsRecords)
{
    const std::vector<FieldDefinition> defs = {{"name", FieldType::String, 6, false}, {"n", FieldType::Integer, 0, true}};
    std::string t = table("made");
    create_table_with_records(resolve_table(t, TableType::Default), defs,
                              {{std::string("年龄组"), Value{std::int64_t{1}}}, {std::string(""), Value{2.0}}});
    Dataset ds;
    ds.set_table_name(t);
    ds.open();
    ASSERT_EQ(ds.record_count(), 2);
    EXPECT_EQ(ds.field(0).as_string(), "年龄组");  // six bytes in code page 936
    EXPECT_EQ(ds.field(1).as_integer(), 1);
    ds.move_to(1);
    EXPECT_EQ(ds.field(1).as_integer(), 2);  // converted as an assignment converts it
    ds.close();

    const auto files_before = dir.files();
    std::string u = table("refused");
    const struct {
        const char* label;
        std::string path;
        std::vector<Record> records;
        std::string message;
    } cases[] = {
        {"an existing file", t, {}, "Table already exists: " + t},
        {"a text too long (each format words it its own way)", u, {{std::string("1234567"), Value{std::int64_t{1}}}}, ""},
        {"a required value missing", u, {{std::string("a"), Value{}}}, "Field 'n' must have a value"},
        {"a record too short", u, {{std::string("a")}}, "Record 0 has 1 values for 2 fields"},
    };
    for (const auto& c : cases) {
        const std::string error = error_of([&] { create_table_with_records(resolve_table(c.path, TableType::Default), defs, c.records); });
        if (c.message.empty()) EXPECT_NE(error.find("'name'"), std::string::npos) << c.label << ": " << error;
        else EXPECT_EQ(error, c.message) << c.label;
        EXPECT_EQ(dir.files(), files_before) << c.label;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, Statements, testing::Values(".db", ".dbf"),
                         [](const auto& info) { return std::string(info.param) == ".db" ? "Paradox" : "dBASE"; });

TEST(StatementFormats, ExtensionDecidesTheFormat)
{
    ScratchDir dir;
    execute_statement("Create table " + q(dir.path("plain")) + " (a integer)");
    execute_statement("Create table " + q(dir.path("upper.DB")) + " (a integer)");
    execute_statement("Create table " + q(dir.path("d.DBF")) + " (a integer)");
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"d.DBF", "plain.db", "upper.DB"}));
    // Paradox files start with the record size and header size; dBASE files with a version byte.
    EXPECT_EQ(static_cast<unsigned char>(file_bytes(dir.path("d.DBF"))[0]), 0x03);
    EXPECT_EQ(file_bytes(dir.path("plain.db")).size() % 2048, 0u);
    EXPECT_EQ(error_of([&] { execute_statement("Create table " + q(dir.path("x.txt")) + " (a integer)"); }),
              "Unknown table type: .txt");
    EXPECT_EQ(dir.files().size(), 3u);
}

// dBASE names longer than 10 bytes are stored cut at a character boundary; the full name still
// finds the field, and two names that cut to the same stored name are refused.
TEST(StatementFormats, DbaseLongNames)
{
    ScratchDir dir;
    std::string t = dir.path("u.dbf");
    execute_statement("Create table " + q(t) + " (年龄 integer,农村男性人口 float,农村男性死亡率 float)");
    execute_statement("alter table " + q(t) + " Add 城镇年龄别生育率 Float");
    Dataset ds;
    ds.set_table_name(t);
    ds.open();
    EXPECT_EQ(ds.field_names(), (std::vector<std::string>{"年龄", "农村男性人", "农村男性死", "城镇年龄别"}));
    EXPECT_EQ(ds.field_by_name("农村男性死亡率").index(), 2);
    EXPECT_EQ(ds.field_by_name("城镇年龄别生育率").index(), 3);
    ds.close();
    std::string before = file_bytes(t);
    EXPECT_EQ(error_of([&] { execute_statement("alter table " + q(t) + " Add 城镇年龄别死亡 Float"); }),
              "Duplicate field name '城镇年龄别死亡'");
    EXPECT_EQ(file_bytes(t), before);
    EXPECT_FALSE(error_of([&] { execute_statement("Create table " + q(dir.path("v.dbf")) + " (城镇男性人口 float,城镇男性人数 float)"); }).empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path("v.dbf")));
}

}  // namespace

namespace {

// The data-preparation statements, run as the program builds them, in both formats: the tables
// get 6 and 11 fields, and 81 records appended one by one keep ages 0 to 80 in order.
TEST(StatementFormats, DataPreparationTables)
{
    const std::string single = "(年龄 integer,男性人口 float,女性人口 float,男性死亡率 float,女性死亡率 float,年龄别生育率 float)";
    const std::string urban =
        "(年龄 integer,农村男性人口 float,农村女性人口 float,农村男性死亡率 float,农村女性死亡率 float,农村年龄别生育率 float,"
        "城镇男性人口 float,城镇女性人口 float,城镇男性死亡率 float,城镇女性死亡率 float,城镇年龄别生育率 float)";
    for (const char* ext : {".DB", ".dbf"}) {
        for (const auto& [list, count] : {std::pair{single, 6}, std::pair{urban, 11}}) {
            ScratchDir dir;
            std::string t = dir.path(std::string("prep") + ext);
            execute_statement("Create table " + q(t) + " " + list);
            Dataset ds;
            ds.set_table_name(t);
            ds.open();
            ASSERT_EQ(ds.field_count(), count) << ext;
            for (int k = 0; k <= 80; ++k) {
                ds.append();
                ds.field(0).set_as_float(k);
                for (int i = 1; i < ds.field_count(); ++i) ds.field(i).set_as_float(0.0);
                ds.post();
            }
            ds.close();
            ds.open();
            ASSERT_EQ(ds.record_count(), 81);
            int age = 0;
            for (ds.first(); !ds.eof(); ds.next(), ++age) {
                EXPECT_EQ(ds.field(0).as_integer(), age);
                EXPECT_EQ(ds.field_by_name(count == 6 ? "年龄别生育率" : "城镇年龄别生育率").as_float(), 0.0);
            }
            EXPECT_EQ(age, 81);
        }
    }
}

// Every real table file opens through a dataset, or is refused with a clear message.
TEST(StatementFormats, RealFilesOpenThroughADataset)
{
    int opened = 0;
    for (const char* sub : {"paradox", "dbase"}) {
        for (const auto& e : std::filesystem::directory_iterator(std::string(VANTELO_FIXTURES_DIR) + "/" + sub)) {
            std::string ext = e.path().extension().string();
            for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (ext != ".db" && ext != ".dbf") continue;
            Dataset ds;
            ds.set_table_name(e.path().string());
            std::string err = error_of([&] { ds.open(); });
            if (e.path().filename() == "encrypted.db") {
                EXPECT_FALSE(err.empty());
                EXPECT_FALSE(ds.active());
                continue;
            }
            EXPECT_EQ(err, "") << e.path();
            if (!ds.active()) continue;
            ++opened;
            EXPECT_GT(ds.field_count(), 0) << e.path();
            for (ds.first(); !ds.eof(); ds.next())
                for (int i = 0; i < ds.field_count(); ++i) (void)ds.field(i).as_string();
            if (e.path().filename() == "no_memofile.dbf") {
                EXPECT_TRUE(ds.read_only());
            }
        }
    }
    EXPECT_GE(opened, 18);
}

// A FoxPro-written table keeps its FoxPro marks (each field's place in the record in bytes 12-15
// of its descriptor, 'F' floats) and a dBASE table stays without them, whatever rewrites it.
TEST(StatementFormats, RewritesKeepTheDbaseVariant)
{
    struct Case {
        const char* name;
        bool foxpro;
    };
    for (Case c : {Case{"fox", true}, Case{"dbase", false}}) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        std::string path = dir.path(std::string(c.name) + ".dbf");
        TableData t;
        t.fields = {FieldDef{"x", FieldType::Integer}, FieldDef{"y", FieldType::Float}};
        t.records = {{std::int64_t(1), 0.5}, {std::int64_t(2), 0.25}, {std::int64_t(3), 0.125}};
        write_dbase(path, t, c.foxpro);

        // x N(11,0) at 1, y N/F(20,10) at 12, the added z N(11,0) at 32.
        auto check = [&](std::size_t fields, const char* after) {
            SCOPED_TRACE(after);
            std::string b = file_bytes(path);
            ASSERT_GE(b.size(), 32 + 32 * fields);
            EXPECT_EQ(static_cast<unsigned char>(b[0]), 0x03);
            const unsigned places[] = {1, 12, 32};
            for (std::size_t i = 0; i < fields; ++i) {
                auto d = reinterpret_cast<const unsigned char*>(b.data() + 32 + 32 * i);
                unsigned place = d[12] | d[13] << 8 | d[14] << 16 | unsigned(d[15]) << 24;
                EXPECT_EQ(place, c.foxpro ? places[i] : 0u) << i;
            }
            EXPECT_EQ(b[32 + 32 + 11], c.foxpro ? 'F' : 'N');
        };
        check(2, "written");
        {
            Dataset ds;
            ds.set_table_name(path);
            ds.open();
            ds.next();
            ds.delete_record();
            EXPECT_EQ(ds.record_count(), 2);
        }
        check(2, "record deleted");
        execute_statement("Alter table " + q(path) + " add z integer");
        check(3, "field added");
        execute_statement("Alter table " + q(path) + " drop z");
        check(2, "field dropped");
        TableData back = read_dbase(path);
        ASSERT_EQ(back.records.size(), 2u);
        EXPECT_EQ(back.records[1][1], Value(0.125));
    }
}

}  // namespace
