#pragma once
// The layout of a Paradox table file, shared by the reader, the writer and the write-through
// of posted records. Not part of the engine's interface.
//
// A file is a header (headerSize bytes, usually 2048) followed by data blocks of
// maxTableSize * 1024 bytes. Block n (1-based) starts at headerSize + (n - 1) * blockSize with
// a 6-byte head: next block, previous block (little-endian words) and addDataSize (signed
// word, (records in the block - 1) * recordSize; negative when the block is empty). The
// table's record order is the order of the block chain from firstBlock.
//
// Header offsets used here (little-endian): 0x00 recordSize, 0x02 headerSize, 0x04 fileType
// (0 keyed, 2 not keyed), 0x05 maxTableSize, 0x06 numRecords, 0x0A nextBlock, 0x0C fileBlocks,
// 0x0E firstBlock, 0x10 lastBlock, 0x21 numFields, 0x23 primaryKeyFields, 0x25 encryption1,
// 0x29 sortOrder, 0x38 writeProtected, 0x39 fileVersionID (3 = level 3, 4 = 3.5, 5..9 = 4,
// 10..11 = 5, 12 = 7), 0x3A maxBlocks, 0x49 autoInc, 0x51 realHeaderSize; from level 4 on:
// 0x58/0x5A version words, 0x5C encryption2, 0x64 hiFieldID, 0x6A code page. Field
// descriptions (type byte, size byte) follow at 0x78 (0x58 before level 4), then the table
// name pointer, one pointer per field, the table name (79 bytes, 261 in level 7), the field
// names (NUL-terminated), the field numbers and the sort order name.
//
// Field values are big-endian with the sign bit flipped, so that a field of all zero bytes
// is blank: integers store v ^ 0x80...; doubles store the bits with the top bit set when
// positive and all bits inverted when negative.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/db/byte_reader.h"
#include "platform/db/table_data.h"

namespace vantelo::db::paradox_detail {

// The field kinds of the format, by their type byte.
enum class Kind : std::uint8_t {
    Alpha, Short, Long, AutoInc, Number, Money, Date, Time, Timestamp, Logical, Bcd, Bytes,
    Memo, FmtMemo, Blob, Ole, Graphic
};

struct Column {
    Kind kind;
    std::uint8_t type_byte;
    char code;          // 'A', 'S', 'I', '+', ...
    int size;           // bytes in the record
    int decimals;       // BCD digits after the point
    int offset;         // within the record
};

struct Block {
    int number;         // 1-based
    std::size_t offset; // of the block head in the file
    int count;          // records in the block
};

struct Layout {
    int record_size = 0;
    int header_size = 0;
    int block_size = 0;
    int file_type = 0;
    int version_id = 0;
    int file_blocks = 0;
    int first_block = 0;
    int last_block = 0;
    std::uint32_t num_records = 0;
    int primary_key_fields = 0;
    bool write_protected = false;
    int declared_code_page = 0;   // 0 when the header has none
    std::uint32_t auto_inc = 0;
    std::vector<Column> columns;
    std::vector<std::string> raw_names;   // in the file's code page
    std::vector<Block> chain;
    // Where the header disagrees with a chain whose records all read as they should: the table
    // is shown read-only with these reasons, and never written.
    std::vector<std::string> chain_problems;
    int records_per_block() const { return (block_size - 6) / record_size; }
};

constexpr std::size_t kBlockHead = 6;

// The bytes of a table file its header declares, from its first bytes (a DeclaredSize, see
// byte_reader.h): the header and the data blocks it counts. Bytes after them are not part of
// the table and are not read.
std::size_t declared_size(const unsigned char* head, std::size_t n, std::size_t file_size);

// Parses and checks the header and the block chain; raises EngineError naming the file.
Layout parse_layout(const std::string& label, const unsigned char* data, std::size_t size);

// The code page used for the texts of a file: the declared one when known, else GBK (936).
int effective_code_page(int declared);

// Paradox day numbers: 1 = 0001-01-01 (proleptic Gregorian).
std::int64_t day_number(const Date& d);
Date date_from_day_number(std::int64_t n);

// The columns a table of these fields is written with; raises on a field that cannot be.
std::vector<Column> columns_for(const std::vector<FieldDef>& fields);

// Encodes one record into out (record_size bytes, zero-filled first).
void encode_record(const std::vector<Column>& columns, const std::vector<FieldDef>& fields,
                   const Record& rec, int code_page, unsigned char* out);

inline std::uint16_t be16(const unsigned char* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }
inline std::uint32_t be32(const unsigned char* p)
{
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}
inline std::uint64_t be64(const unsigned char* p)
{
    return (static_cast<std::uint64_t>(be32(p)) << 32) | be32(p + 4);
}
inline void put_be16(unsigned char* p, std::uint16_t v) { p[0] = v >> 8; p[1] = v & 0xFF; }
inline void put_be32(unsigned char* p, std::uint32_t v)
{
    p[0] = v >> 24; p[1] = (v >> 16) & 0xFF; p[2] = (v >> 8) & 0xFF; p[3] = v & 0xFF;
}
inline void put_be64(unsigned char* p, std::uint64_t v)
{
    put_be32(p, static_cast<std::uint32_t>(v >> 32));
    put_be32(p + 4, static_cast<std::uint32_t>(v));
}

}  // namespace vantelo::db::paradox_detail
