#pragma once
// dBASE (.dbf) and FoxPro tables: our own reader and writer.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/atomic_file.h"
#include "platform/db/memo_bounds.h"
#include "platform/db/table_data.h"

namespace vantelo::db {

// The text a memo field reads when the table's memo file cannot be found.
inline constexpr const char* dbase_memo_missing_text = "(memo file missing)";

// A table's memo file as the reader sees it: FoxPro .fpt (big-endian blocks) or dBASE .dbt,
// read a memo at a time, never whole.
struct MemoFile {
    std::string label;                 // file name for messages
    bool foxpro = false;               // .fpt layout
    std::uint64_t size = 0;            // the file's size when opened
    // Up to n bytes from offset into p; the count read (fewer at the end of the file).
    std::function<std::size_t(std::uint64_t offset, unsigned char* p, std::size_t n)> read;
};

// A memo file held in memory.
MemoFile memo_in_memory(std::string label, std::vector<unsigned char> data, bool foxpro);

// The most text one memo may hold: a dBASE III memo with no end mark (0x1A) within this many
// bytes, or a dBASE IV or FoxPro memo whose stored length is larger, is not read.
inline constexpr std::size_t dbase_memo_limit = std::size_t{1} << 20;

// Asked once, when the first record that points into the memo file is read; nullopt when there
// is no memo file. prefer_foxpro says which kind the table's version byte points to.
using MemoLoader = std::function<std::optional<MemoFile>(bool prefer_foxpro)>;

// Reads a dBASE III/IV or FoxPro 2.x table. Records flagged deleted are skipped. Memo text is
// read from the .dbt/.fpt file (found without regard to case), each block once however many
// records share it, within dbase_memo_limit and memo_total_limit (a memo past them reads
// as a placeholder, and the reason names the record and the field); when that file is missing
// the memo fields read as dbase_memo_missing_text and the table opens read-only. A value that is
// not valid for its field (a date "NotAYear", a number "1,5") reads as null, and the table
// opens read-only with a reason naming the field and the record, so that no rewrite can lose
// what the file holds. So does a table whose header disagrees with itself or with its file in
// a way a rewrite could not keep (a record length other than its fields' total, no end mark
// after the field descriptors, data between them and the records, FoxPro field offsets other
// than the widths give, decimals that leave no room in a number's width, a date or logical
// field of another width, a whole record after the counted ones). Only the declared records
// are read, whatever follows them. compact: the records come back by column (a compact image,
// as datasets keep them).
TableData read_dbase(const std::string& path, bool compact = false);

// The same from bytes in memory; label names the file in messages.
TableData read_dbase_bytes(const std::string& label, const unsigned char* data, std::size_t size,
                           const MemoLoader& memo = {}, bool compact = false);

// The memo file beside a table (same name, extension .fpt or .dbt in any case); "" when none.
std::string find_memo_file(const std::string& table_path, bool prefer_foxpro);

// Maps fields to dBASE kinds (names cut to 10 GBK bytes at a character boundary, a clash after
// cutting is a duplicate-name error; Float -> N of width 20 and decimals chosen from the values
// when the table is written (native_size 0 until then); Currency -> N(20,4); Integer kinds ->
// N(11,0), LargeInt -> N(20,0); String(n) -> C(n) for n <= 254). Numeric fields that already
// carry a dBASE layout (read from a .dbf) keep their width and decimals.
std::vector<FieldDef> dbase_fields_from(const std::vector<FieldDef>& fields, int code_page = 936);

// The name a full field name is stored under in a dBASE table (cut to 10 bytes in GBK).
std::string dbase_stored_name(const std::string& name, int code_page = 936);

// The bytes of a new table holding t. A real field laid out from its values takes 10 decimals,
// or as many as the values need (at most 18), within what 20 characters leave beside the
// widest whole part and sign among the values below 10^15 (10 when the field is empty); a value
// whose digits that layout would cut (a huge or a tiny one) is written with an exponent
// ("1.5E+25"), so any finite real fits. Raises "Value out of range for field '%s'" when a number does not fit its
// field, never truncating it. foxpro writes FoxPro 2.x marks (type 'F' for
// floats, field offsets in the descriptors).
std::vector<unsigned char> build_dbase(const TableData& t, bool foxpro);
void write_dbase(const std::string& path, const TableData& t, bool foxpro = false, const CurrentCheck& check = {});
// The same with the records made one at a time (shape gives the fields and the file's settings;
// its own records are not written). The file is written a bounded buffer at a time.
void write_dbase(const std::string& path, const TableData& shape, const RecordFeed& records, bool foxpro = false,
                 const CurrentCheck& check = {});

// Write-through of a posted record, as for Paradox: rec written in place over record `index`
// of the table `image` (counting the records as read, deleted ones skipped), or appended at the
// physical end (the record first, then the record count in the header, so that a reader never
// sees a count without its record). The file must still hold image, every field and live
// record; otherwise nothing is written. Returns rec as the file now holds it.
Record dbase_update_record(const std::string& path, const TableData& image, std::size_t index, const Record& rec);
Record dbase_append_record(const std::string& path, const TableData& image, const Record& rec);

// A check that a record can be encoded with t's fields, raising as the write-through would
// (for passes that post many records and write once).
std::function<void(const Record&, std::size_t index)> dbase_record_check(const TableData& t);

// A delimited text copy of t (CR LF, strings in double quotes, numbers in the general format)
// plus "<name>.sch" naming each field's type and width.
void write_ascii(const std::string& path, const TableData& t);

// The bytes write_ascii writes: the data file and the schema file (table_name names the
// schema's section).
std::vector<unsigned char> build_ascii(const TableData& t);
std::vector<unsigned char> build_ascii_schema(const TableData& t, const std::string& table_name);

}  // namespace vantelo::db
