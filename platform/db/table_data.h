#pragma once
// The in-memory image of one table: its fields and its records in physical order.
// Record i (0-based) is age i for the program's input tables.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/db/column_store.h"
#include "platform/db/value.h"

namespace vantelo::db {

// The logical field types the program sees, whatever the file format.
enum class FieldType { String, SmallInt, Integer, LargeInt, Boolean, Float, Currency, Date, Other };

struct FieldDef {
    std::string name;            // UTF-8, as stored (dBASE names may have been cut to 10 bytes)
    FieldType type = FieldType::String;
    int size = 0;                // String: width in bytes; otherwise as the format gives it
    int decimals = 0;            // dBASE N/F decimals
    bool required = false;
    char native = 0;             // the format's own type code ('A', 'N', 'C', 'I', ...), 0 = choose
    int native_size = 0;         // the format's stored width in bytes, 0 = derive
    bool read_only = false;      // memo/blob and other kinds we show but do not write
    bool exponent_texts = false; // dBASE reals: some are stored with an exponent, as they may be again
    int display_width() const;   // String(n) -> n; other kinds a fixed width
};

struct TableData {
    std::vector<FieldDef> fields;
    // The records, one value vector each; or, in a compact image (what a dataset keeps), by
    // column in `columns` with `records` left empty. The accessors below serve both.
    std::vector<Record> records;
    bool compact = false;
    ColumnStore columns;
    bool read_only = false;      // keyed Paradox tables, tables with memo fields we cannot write
    std::string read_only_reason;
    int code_page = 936;         // Paradox code page or the dBASE language id's code page
    // The dBASE variant the table was read in, kept when the table is rewritten: the version
    // byte (0 when not read from a .dbf) and whether the file carries FoxPro marks (field
    // offsets in the descriptors or a FoxPro version byte).
    unsigned char dbase_version = 0;
    bool foxpro_marks = false;

    std::size_t record_count() const { return compact ? columns.size() : records.size(); }
    Value value(std::size_t row, std::size_t col) const
    {
        return compact ? columns.value(row, col) : records.at(row).at(col);
    }
    Record record(std::size_t row) const;
    void reserve(std::size_t rows);
    void add_record(Record&& rec);              // a compact image copies the values out, leaving rec's storage
    void set_record(std::size_t row, const Record& rec);
    void erase_record(std::size_t row);
};

// The records of a table about to be written, made one at a time, so that a rewrite (a field
// added or dropped, a record deleted, a copy to another format) reads them from the image it
// changes and needs no second image. read(row, scratch) returns record row: a record of the
// image itself, or scratch filled with it (its storage reused from row to row).
struct RecordFeed {
    std::size_t count = 0;
    std::function<const Record&(std::size_t row, Record& scratch)> read;
};

// The records of t as they are, read from a compact image without making it plain.
RecordFeed records_of(const TableData& t);

// t's fields and settings without its records (a plain image of no records).
TableData shape_of(const TableData& t);

// An image made compact (records moved into columns) or plain (columns copied out to records).
TableData compact_image(TableData t);
TableData plain_image(const TableData& t);

// Whether two images hold the same fields (names and kinds) and the same records in order.
bool same_table(const TableData& a, const TableData& b);

// The refusal of a change to a file that no longer holds the table as it was read.
inline constexpr const char* changed_file_message =
    "the file no longer matches the table as it was read (changed by another program?); nothing was written";

// The table formats the engine reads and writes.
enum class TableFormat { Paradox, DBase, FoxPro, Ascii };

}  // namespace vantelo::db
