#pragma once
// The local SQL statements the program runs on its tables: exactly
//   Create table "path" (item, item, ...)
//   alter table "path" add item
//   alter table "path" drop name
// with item = name type, type = integer | float | Date | Boolean | Char(width). Keywords are
// matched without regard to case; blanks are any run of spaces or tabs (line ends count too,
// since a statement may span several lines of the SQL list). The path is everything between
// two double quotation marks.
#include <string>
#include <vector>

#include "platform/db/table_data.h"

namespace vantelo::db {

struct SqlItem {
    std::string name;
    FieldType type = FieldType::String;   // Integer, Float, Date, Boolean or String
    long long size = 0;                   // the width of Char(width), else 0
};

struct SqlStatement {
    enum class Kind { Create, Add, Drop };
    Kind kind = Kind::Create;
    std::string path;
    std::vector<SqlItem> items;           // Create: one or more; Add: exactly one
    std::string drop_name;                // Drop: the field to drop
};

// Parses one statement. Anything that is not one of the forms above raises EngineError
// "Syntax error in SQL statement near '<token>'" naming the token where reading failed
// (the last token when the statement ends too early), or "Unknown field type '<word>'" for a
// type word that is none of the five. Widths are not judged here (that depends on the format).
SqlStatement parse_statement(const std::string& text);

}  // namespace vantelo::db
