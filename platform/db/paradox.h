#pragma once
// Paradox (.db) tables: our own reader and writer.
#include <string>
#include <vector>

#include "platform/db/table_data.h"

namespace vantelo::db {

// Reads a Paradox table (levels 3 to 7, every field type; memo text from the .mb file where
// present). Keyed tables come back read_only; an encrypted table is refused.
TableData read_paradox(const std::string& path);

// Checks that the fields can be written to a Paradox table (names, sizes, kinds); raises
// EngineError naming the first that cannot.
void check_paradox_fields(const std::vector<FieldDef>& fields);

// Maps fields of another format to their natural Paradox kinds.
std::vector<FieldDef> paradox_fields_from(const std::vector<FieldDef>& fields);

// The bytes of a new Paradox file holding t (code page t.code_page).
std::vector<unsigned char> build_paradox(const TableData& t);

// Writes t as a new Paradox file through a temporary file.
void write_paradox(const std::string& path, const TableData& t);

// Write-through of a posted record: record `index` of t rewritten in place, or the last
// record of t appended at the physical end. The file must hold t's other records as read.
void paradox_update_record(const std::string& path, const TableData& t, std::size_t index);
void paradox_append_record(const std::string& path, const TableData& t);

}  // namespace vantelo::db
