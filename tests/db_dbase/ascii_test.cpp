// ASCII copies: the exact bytes of the data and schema files, derived by hand from the layout
// (CR LF, "," between fields, quoted texts with quotes doubled, general-format numbers,
// yyyy-mm-dd dates, T/F, GBK).
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "independent.h"
#include "platform/core/errors.h"
#include "platform/db/atomic_file.h"
#include "platform/db/dbase.h"

using namespace vantelo;
using namespace vantelo::db;
using namespace dbase_test;
namespace fs = std::filesystem;

namespace {

using vantelo::db::test_common::field;

TableData sample()
{
    TableData t;
    t.fields = {field("年龄", FieldType::Integer), field("rate", FieldType::Float), field("名称", FieldType::String, 12),
                field("day", FieldType::Date), field("ok", FieldType::Boolean)};
    t.records = {
        {std::int64_t{0}, 0.000123, std::string("甲"), Date{1990, 1, 2}, true},
        {std::int64_t{1}, 1e-7, std::string("say \"hi\", ok"), Date{2000, 12, 31}, false},
        {std::int64_t{-2}, -2.25, std::string(""), std::monostate{}, std::monostate{}},
        {std::monostate{}, 1234567.5, std::monostate{}, std::monostate{}, true},
    };
    return t;
}

std::string text(const std::vector<unsigned char>& b) { return std::string(b.begin(), b.end()); }

}  // namespace

TEST(AsciiWriter, DataBytes)
{
    std::string want = "0,0.000123,\"" + std::string("\xBC\xD7") + "\",1990-01-02,T\r\n"  // 甲 in GBK
                       "1,1E-7,\"say \"\"hi\"\", ok\",2000-12-31,F\r\n"
                       "-2,-2.25,\"\",,\r\n"
                       ",1234567.5,,,T\r\n";
    EXPECT_EQ(text(build_ascii(sample())), want);
}

TEST(AsciiWriter, SchemaNamesEveryField)
{
    std::string want = "[c]\r\nFILETYPE=VARYING\r\nCHARSET=GBK\r\nDELIMITER=\"\r\nSEPARATOR=,\r\n"
                       "Field1=\xC4\xEA\xC1\xE4,LONGINT,11,00,00\r\n"  // 年龄
                       "Field2=rate,FLOAT,20,00,00\r\n"
                       "Field3=\xC3\xFB\xB3\xC6,CHAR,12,00,00\r\n"     // 名称
                       "Field4=day,DATE,10,00,00\r\n"
                       "Field5=ok,BOOL,01,00,00\r\n";
    EXPECT_EQ(text(build_ascii_schema(sample(), "c")), want);
}

TEST(AsciiWriter, WritesBothFilesAndLeavesThemOnError)
{
    TempTableDir tmp;
    const std::string& dir = tmp.dir();
    std::string path = dir + "/c.txt";
    TableData t = sample();
    write_ascii(path, t);
    EXPECT_EQ(file_bytes(path), build_ascii(t));
    EXPECT_EQ(file_bytes(dir + "/c.sch"), build_ascii_schema(t, "c"));
    // GDAL reads the data back as CSV: four records, texts unquoted.
    std::string csv = run("ogr2ogr -f CSV /vsistdout/ -oo HEADERS=NO " + quote("CSV:" + path) + " 2>/dev/null");
    EXPECT_NE(csv.find("say \"\"hi\"\", ok"), std::string::npos) << csv;

    auto before = file_bytes(path);
    auto schema_before = file_bytes(dir + "/c.sch");
    TableData bad = t;
    bad.records.push_back({std::int64_t{1}, 1.0, std::string("\xF0\x9F\x98\x80"), std::monostate{}, true});  // no GBK form
    EXPECT_THROW(write_ascii(path, bad), EngineError);
    EXPECT_EQ(file_bytes(path), before);
    EXPECT_EQ(file_bytes(dir + "/c.sch"), schema_before);
    int files = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 2);
}

// The data file and the schema are one change: whatever keeps either from being written
// leaves both as they were (and no temporary file), whether it is found before anything is
// written (a read-only schema, a folder in its place, a schema with a second hard link) or only
// when the second file is put in place (its rename fails after the data file's has succeeded).
TEST(AsciiWriter, NeitherFileChangesWhenTheOtherCannotBeWritten)
{
    struct Case {
        const char* what;
        std::function<void(const std::string& schema)> block;
        std::string error_start;
    };
    int renames = 0;
    const Case cases[] = {
        {"read-only schema", [](const std::string& s) { fs::permissions(s, fs::perms::owner_read | fs::perms::group_read); },
         "Cannot open file for writing"},
        {"folder as schema", [](const std::string& s) { fs::remove(s); fs::create_directory(s); }, ""},
        {"schema with a second link", [](const std::string& s) { fs::create_hard_link(s, s + ".link"); }, ""},
        {"schema's rename fails",
         [&](const std::string&) {
             renames = 0;
             set_write_fault_hook([&](const char* call) { return std::string(call) == "rename" && ++renames == 2 ? EIO : 0; });
         },
         "Cannot write file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempTableDir tmp;
        const std::string path = tmp.path("out.txt"), schema = tmp.path("out.sch");
        TableData old = sample();
        old.records.resize(1);
        write_ascii(path, old);
        const auto data_before = file_bytes(path);
        c.block(schema);
        const auto schema_before = fs::is_regular_file(schema) ? file_bytes(schema) : std::vector<unsigned char>{};
        const auto entries_before = tmp.files();
        std::string error;
        try {
            write_ascii(path, sample());
        } catch (const EngineError& e) {
            error = e.what();
        }
        set_write_fault_hook({});
        EXPECT_NE(error, "");
        EXPECT_EQ(error.rfind(c.error_start, 0), 0u) << error;
        EXPECT_EQ(file_bytes(path), data_before);
        if (fs::is_regular_file(schema)) EXPECT_EQ(file_bytes(schema), schema_before);
        EXPECT_EQ(tmp.files(), entries_before);
    }
}

// A data file named like its own schema would be overwritten by the schema: refused, nothing
// written.
TEST(AsciiWriter, ADataFileNamedLikeItsSchemaIsRefused)
{
    TempTableDir tmp;
    for (const char* name : {"out.sch", "new.sch"}) {
        SCOPED_TRACE(name);
        const std::string path = tmp.path(name);
        if (std::string(name) == "out.sch") write_file_atomically(path, {'o', 'l', 'd'});
        const auto before = tmp.files();
        const auto bytes = file_bytes(path);
        EXPECT_THROW(write_ascii(path, sample()), EngineError);
        EXPECT_EQ(tmp.files(), before);
        EXPECT_EQ(file_bytes(path), bytes);
    }
}
