#pragma once
// Paradox (.db) tables: our own reader and writer.
//
// Reading: table levels 3 to 7 and every field type. Alpha, short, long, autoincrement,
// number, money, date and logical fields map to the program's types; time (hh:mm:ss),
// timestamp (yyyy-mm-dd hh:mm:ss), BCD (decimal text) and memo text (from the .mb file,
// or from the record itself when it fits there) come back as read-only Other fields; bytes,
// blobs, OLE, graphics and formatted memos are Other fields left empty. Records keep the
// order of the table's data-block chain. Keyed tables and tables with fields we cannot write
// come back read_only with the reason; an encrypted table is refused.
//
// Only what the header declares is read: the header and the data blocks it counts. A file
// longer than that reads those blocks, and what follows them is ignored (not read, and not
// kept when the table is written whole again). The memo file is read only where a memo text
// of a record lies in it, a piece at a time, and not opened at all for a table whose records
// need none of it. A memo text there is read once however many records point at it, and the
// memo file's text the image holds stays within memo_total_limit (each record's copy counting):
// a memo longer than that, and every memo from the record where the text would pass it, read
// as memo_not_read_text, and the read-only reason names the record and the field.
//
// Writing: non-keyed level 5 tables (readable by Paradox 5 and later), block size 4096,
// header 2048 bytes (more for very wide field lists), the table's code page (936 = GBK for
// new files), sort order "ascii". Field kinds: alpha A(1..255), short S, long integer I,
// autoincrement + (kept where a table had one), number N, money $, date D, logical L.
// Paradox has no empty-but-not-blank values: an empty text is stored blank and reads back
// null, and the lowest value of a short or long integer (the blank pattern) is refused.
#include <functional>
#include <string>
#include <vector>

#include "platform/db/atomic_file.h"
#include "platform/db/memo_bounds.h"
#include "platform/db/table_data.h"

namespace vantelo::db {

// The companion memo (.mb) file of a table, when there is one.
struct ParadoxMemo {
    std::string label;                 // file name for messages
    std::vector<unsigned char> data;
};

// Reads a Paradox table (levels 3 to 7, every field type; memo text from the .mb file where
// present, read as the texts need it). Keyed tables come back read_only; an encrypted table is
// refused. compact: the records come back by column (a compact image, as datasets keep them).
TableData read_paradox(const std::string& path, bool compact = false);

// The same from bytes already in memory; label names the file in messages. Without a .PX
// file to look for, keyed tables are recognised by the header alone.
TableData read_paradox_bytes(const std::string& label, const std::vector<unsigned char>& data,
                             const ParadoxMemo* memo = nullptr);

// The compact image of a table from bytes in memory, as read_paradox(path, true) makes it from
// a file (without a memo file).
TableData read_paradox_image(const std::string& label, std::vector<unsigned char> data);

// Checks that the fields can be written to a Paradox table (names, sizes, kinds); raises
// EngineError naming the first that cannot.
void check_paradox_fields(const std::vector<FieldDef>& fields);

// Maps fields of another format to their natural Paradox kinds.
std::vector<FieldDef> paradox_fields_from(const std::vector<FieldDef>& fields);

// The bytes of a new Paradox file holding t (code page t.code_page). table_name is the name
// recorded in the header (the file name).
std::vector<unsigned char> build_paradox(const TableData& t, const std::string& table_name = "");

// Writes t as a new Paradox file through a temporary file (check: see write_file_atomically).
void write_paradox(const std::string& path, const TableData& t, const CurrentCheck& check = {});
// The same with the records made one at a time (shape gives the fields and the code page; its
// own records are not written). The file is written a bounded buffer at a time.
void write_paradox(const std::string& path, const TableData& shape, const RecordFeed& records,
                   const CurrentCheck& check = {});

// Write-through of a posted record: record `index` of the table `image` replaced by rec in
// place, or rec appended at the physical end (through a new file: the record and the counts
// change together). image is the table as it was read, and the file must still hold it, every
// field and record; a file that no longer matches is an error and is left as it is. Returns rec
// as the file now holds it.
Record paradox_update_record(const std::string& path, const TableData& image, std::size_t index, const Record& rec);
Record paradox_append_record(const std::string& path, const TableData& image, const Record& rec);

// A check that a record can be encoded for the table at path with t's fields, raising as the
// write-through of record `index` would (for passes that post many records and write once).
std::function<void(const Record&, std::size_t index)> paradox_record_check(const std::string& path,
                                                                          const TableData& t);

}  // namespace vantelo::db
