#pragma once
// dBASE (.dbf) and FoxPro tables: our own reader and writer.
#include <string>
#include <vector>

#include "platform/db/table_data.h"

namespace vantelo::db {

// Reads a dBASE III/IV or FoxPro 2.x table. Records flagged deleted are skipped. Memo text is
// read from the .dbt/.fpt file; when that file is missing the memo fields read as a clear
// "memo file missing" text and the table opens read-only.
TableData read_dbase(const std::string& path);

// Maps fields to dBASE kinds (names cut to 10 GBK bytes at a character boundary, a clash after
// cutting is a duplicate-name error; Float -> N(20,10); Integer -> N(11,0)).
std::vector<FieldDef> dbase_fields_from(const std::vector<FieldDef>& fields, int code_page = 936);

// The name a full field name is stored under in a dBASE table (cut to 10 bytes in GBK).
std::string dbase_stored_name(const std::string& name, int code_page = 936);

std::vector<unsigned char> build_dbase(const TableData& t, bool foxpro);
void write_dbase(const std::string& path, const TableData& t, bool foxpro = false);

// Write-through of a posted record, as for Paradox.
void dbase_update_record(const std::string& path, const TableData& t, std::size_t index);
void dbase_append_record(const std::string& path, const TableData& t);

// A delimited text copy of t (CR LF, strings in double quotes, numbers in the general format)
// plus "<name>.sch" naming each field's type and width.
void write_ascii(const std::string& path, const TableData& t);

}  // namespace vantelo::db
