// ASCII copies: the exact bytes of the data and schema files, derived by hand from the layout
// (CR LF, "," between fields, quoted texts with quotes doubled, general-format numbers,
// yyyy-mm-dd dates, T/F, GBK).
#include <gtest/gtest.h>

#include <filesystem>

#include "independent.h"
#include "platform/core/errors.h"
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
