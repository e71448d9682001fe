#pragma once
// What datasets, statements and batch copies share: how a table name resolves to a file and a
// format, reading and writing a whole table or one record in the format of its file, and the
// checks on the fields of a table to be written.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/dataset.h"
#include "platform/db/table_data.h"

namespace vantelo::db {

// Names compared without regard to ASCII letter case (bytes of other characters compared as
// they are, so UTF-8 names are safe).
bool equal_names(std::string_view a, std::string_view b);

// The extension of the file part of a path, with its dot ("x/a.DB" -> ".DB"), or "".
std::string file_extension(const std::string& path);

struct ResolvedTable {
    std::string path;
    TableFormat format = TableFormat::Paradox;
};

// A table name must name a file: not empty, and the rule for the names of written files
// (check_file_name: not ending in "/" or naming "." or "..", without control characters (C0 or
// C1) or bidirectional controls); raises "Invalid table name (...): ...".
// Default type: ".db" Paradox, ".dbf" dBASE (any letter case), no extension Paradox with ".db"
// added, any other extension "Unknown table type: <ext>". An explicit type: a name without an
// extension gets the type's (".db", ".dbf", ".txt"), a name with one is used as given.
ResolvedTable resolve_table(const std::string& name, TableType type);

// compact: the records by column, as a dataset keeps them.
TableData read_table(const ResolvedTable& t, bool compact = false);
// Writes data as the whole table, through a temporary file. With expected, the file as it is
// when its lock is taken must still read as expected (the table the change was made from),
// else nothing is written: changed_file_message, after the file's name.
void write_table(const ResolvedTable& t, const TableData& data, const TableData* expected = nullptr);
// The same with the records made one at a time (shape gives the fields and the file's
// settings; its own records are not written): a rewrite streams from the image it changes to
// the new file, a bounded buffer at a time.
void write_table(const ResolvedTable& t, const TableData& shape, const RecordFeed& records,
                 const TableData* expected = nullptr);
// Write-through of a posted record (see paradox_update_record): image is the table as read,
// rec the new record; returns rec as the file now holds it.
Record write_record(const ResolvedTable& t, const TableData& image, std::size_t index, const Record& rec);
Record append_record(const ResolvedTable& t, const TableData& image, const Record& rec);
// A check that a record can be written into the table, raising as write_record would; made
// once for a pass that posts many records and writes the table at its end.
std::function<void(const Record&, std::size_t index)> record_check(const ResolvedTable& t, const TableData& data);

// A new table with the given fields holding records, written once through a temporary file.
// Refused before anything is written when the file exists ("Table already exists: <path>"),
// when a field definition does not suit the format (see fields_for_format) or a record does not
// fit (each value converted as a field assignment converts it). A failure, or a kill at any
// point, leaves no file; a table reported made holds every record.
void create_table_with_records(const ResolvedTable& t, const std::vector<FieldDefinition>& defs,
                               const std::vector<Record>& records);

// Raises when the table cannot be changed (a keyed Paradox table, a field we cannot write).
void check_writable(const std::string& path, const TableData& data);

// The fields of a new table in the given format, checked: names non-empty, without blanks,
// ",", "(", ")", '"' or control characters, unique without regard to case (dBASE names after
// cutting to 10 bytes), text widths within the format's limits, and each kind one the format
// holds. Raises "Invalid field name '%s'", "Duplicate field name '%s'",
// "Invalid field size %d for field '%s'" or "Field '%s': field type not supported by the target
// format".
std::vector<FieldDef> fields_for_format(const std::vector<FieldDef>& fields, TableFormat format);

// The index of the field called name (exact spelling first, then without regard to case; for
// dBASE tables a full name also finds the field it was cut to), or -1.
int find_field_in(const TableData& data, TableFormat format, const std::string& name);

// The files beside a table that belong to it (same name, extension in any letter case):
// for Paradox the primary index .px, the memo .mb and the secondary indexes .Xnn/.Ynn
// (.XGn/.YGn for composite ones); for dBASE and FoxPro the memo files .dbt and .fpt.
std::vector<std::string> companion_files(const std::string& table_path, TableFormat format);

// The companion files of the table that a copy is about to replace at `replaced` (in the format
// its extension names: ".db" Paradox, ".dbf" dBASE, otherwise `format`), except any file that
// is also a companion of keep_path (the copy's source). `read` holds those the replaced table
// reads or needs: its memo file when it has memo fields, its indexes when it is keyed (every
// companion when its header cannot be read); `unread` the others, left over from an earlier
// table.
struct ReplacedCompanions {
    std::vector<std::string> read;
    std::vector<std::string> unread;
};
ReplacedCompanions replaced_companions(const std::string& replaced, TableFormat format, const std::string& keep_path);

// Reads a whole number of the 64-bit range: optional sign, decimal digits or "$" and hex
// digits, blanks around, as parse_int reads 32-bit ones; anything else, a number outside the
// range included, raises "'%s' is not a valid integer value".
std::int64_t parse_int64(std::string_view text);

// A value made fit for a field of the given kind (used when a copy changes the format).
Value value_for_field(const Value& v, const FieldDef& f);

}  // namespace vantelo::db
