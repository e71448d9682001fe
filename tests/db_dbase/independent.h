#pragma once
// Independent readers of .dbf files for the tests: shapelib in process, dbf_dump and ogr2ogr
// as processes. None of them shares code with the reader under test.
#include <optional>
#include <string>
#include <vector>

#include "tests/db_common/temp_table_dir.h"

namespace dbase_test {

struct IndepField {
    std::string name;   // UTF-8
    char type = 0;      // native type code
    int width = 0;
    int decimals = 0;
};

using IndepRow = std::vector<std::optional<std::string>>;  // nullopt = the reader's null

struct IndepTable {
    std::vector<IndepField> fields;
    std::vector<IndepRow> rows;   // live records only, in file order
    int header_version = 0;
    int update_year = 0, update_month = 0, update_day = 0;
    int ldid = 0;
    int all_records = 0;          // deleted included
};

// Text from the file's code page to UTF-8 with iconv, strict.
std::string to_utf8(const std::string& bytes, const char* charset = "GBK");

// shapelib's view: names, native types, widths; values as DBFReadStringAttribute gives them
// (trimmed), nulls by DBFIsAttributeNULL. Text is converted from GBK.
IndepTable shapelib_read(const std::string& path);

// dbf_dump's view (memo text included): one row per live record, "<NULL>" for undefined.
IndepTable dbf_dump_read(const std::string& path, bool memo = true);

// ogr2ogr's CSV view: the header line gives the names, empty cells are nulls.
IndepTable ogr_read(const std::string& path);

// Runs a shell command and returns what it wrote to stdout; fails the test on a bad status.
std::string run(const std::string& command);

std::string quote(const std::string& path);
using vantelo::db::test_common::file_bytes;
using vantelo::db::test_common::TempTableDir;

}  // namespace dbase_test
