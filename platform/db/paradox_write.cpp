// Writing Paradox tables: field checks, record encoding, a level 5 header, and the
// write-through of posted records.
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/core/errors.h"
#include "platform/db/atomic_file.h"
#include "platform/db/encoding.h"
#include "platform/db/paradox.h"
#include "platform/db/paradox_layout.h"

namespace vantelo::db {
namespace paradox_detail {
namespace {

constexpr int kWriteBlockCode = 4;                  // 4096-byte blocks
constexpr int kWriteBlockSize = kWriteBlockCode * 0x400;
constexpr int kMaxNameChars = 25;
constexpr int kMaxBlocks = 0xFFFF;

std::size_t utf8_chars(const std::string& s)
{
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string ascii_lower(const std::string& s)
{
    std::string r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return r;
}

std::string quoted(const FieldDef& f) { return "field '" + f.name + "'"; }

}  // namespace

std::vector<Column> columns_for(const std::vector<FieldDef>& fields)
{
    if (fields.empty()) throw EngineError("A Paradox table needs at least one field");
    if (fields.size() > 255)
        throw EngineError("A Paradox table holds at most 255 fields, not " + std::to_string(fields.size()));
    std::vector<Column> cols;
    std::vector<std::string> seen;
    int offset = 0;
    for (const FieldDef& f : fields) {
        if (f.name.empty()) throw EngineError("A field name is empty");
        if (utf8_chars(f.name) > kMaxNameChars)
            throw EngineError("Invalid field name '" + f.name + "': longer than 25 characters");
        for (unsigned char c : f.name)
            if (c < 0x20 || c == 0x7F) throw EngineError("Invalid field name '" + f.name + "': control character");
        if (f.name[0] == ' ') throw EngineError("Invalid field name '" + f.name + "': starts with a blank");
        std::string key = ascii_lower(f.name);
        for (const std::string& s : seen)
            if (s == key) throw EngineError("Duplicate field name '" + f.name + "'");
        seen.push_back(key);

        if (f.read_only)
            throw EngineError(quoted(f) + " is of a kind that cannot be written to a Paradox table");
        Column c{Kind::Alpha, 0x01, 'A', 0, 0, offset};
        switch (f.type) {
        case FieldType::String:
            if (f.size < 1 || f.size > 255)
                throw EngineError("Invalid field size " + std::to_string(f.size) + " for field '" + f.name +
                                  "' (a Paradox alpha field holds 1 to 255 bytes)");
            c = {Kind::Alpha, 0x01, 'A', f.size, 0, offset};
            break;
        case FieldType::SmallInt: c = {Kind::Short, 0x03, 'S', 2, 0, offset}; break;
        case FieldType::Integer:
            if (f.native == '+') c = {Kind::AutoInc, 0x16, '+', 4, 0, offset};
            else c = {Kind::Long, 0x04, 'I', 4, 0, offset};
            break;
        case FieldType::Float: c = {Kind::Number, 0x06, 'N', 8, 0, offset}; break;
        case FieldType::Currency: c = {Kind::Money, 0x05, '$', 8, 0, offset}; break;
        case FieldType::Date: c = {Kind::Date, 0x02, 'D', 4, 0, offset}; break;
        case FieldType::Boolean: c = {Kind::Logical, 0x09, 'L', 1, 0, offset}; break;
        case FieldType::LargeInt:
            throw EngineError(quoted(f) + ": a Paradox table has no 64-bit integer fields");
        case FieldType::Other:
            throw EngineError(quoted(f) + " is of a kind that cannot be written to a Paradox table");
        }
        offset += c.size;
        cols.push_back(c);
    }
    if (offset + static_cast<int>(kBlockHead) > kWriteBlockSize)
        throw EngineError("The record of " + std::to_string(offset) + " bytes is too long for a Paradox table (at most " +
                          std::to_string(kWriteBlockSize - kBlockHead) + ")");
    return cols;
}

namespace {

// The stored bits of a number or money field: the sign bit set for a positive value, every
// bit inverted for a negative one (so that the bytes sort as the numbers do); no negative zero.
std::uint64_t number_bits(double d)
{
    if (d == 0) d = 0;
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return (u & 0x8000000000000000ull) ? ~u : (u | 0x8000000000000000ull);
}

}  // namespace

void encode_record(const std::vector<Column>& columns, const std::vector<FieldDef>& fields, const Record& rec,
                   int code_page, unsigned char* out)
{
    const std::size_t size = columns.empty() ? 0 : static_cast<std::size_t>(columns.back().offset + columns.back().size);
    std::memset(out, 0, size);
    if (rec.size() != columns.size())
        throw EngineError("the record has " + std::to_string(rec.size()) + " values for " +
                          std::to_string(columns.size()) + " fields");
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column& c = columns[i];
        const Value& v = rec[i];
        unsigned char* p = out + c.offset;
        if (is_null(v)) continue;
        // The most common cell of a population table first: a real in a number field.
        if (const double* pd = std::get_if<double>(&v); pd && c.kind == Kind::Number && std::isfinite(*pd)) {
            put_be64(p, number_bits(*pd));
            continue;
        }
        auto mismatch = [&]() { return EngineError(quoted(fields[i]) + ": type mismatch"); };
        auto integer = [&](std::int64_t lo, std::int64_t hi) -> std::int64_t {
            std::int64_t x;
            if (auto pi = std::get_if<std::int64_t>(&v)) x = *pi;
            else if (auto pb = std::get_if<bool>(&v)) x = *pb ? 1 : 0;
            else throw mismatch();
            // The lowest value of the type would be stored as the blank pattern.
            if (x < lo || x > hi)
                throw EngineError("Value out of range for field '" + fields[i].name + "': " + std::to_string(x));
            return x;
        };
        switch (c.kind) {
        case Kind::Alpha: {
            const std::string* s = std::get_if<std::string>(&v);
            if (!s) throw mismatch();
            std::string bytes = encode(*s, code_page);
            if (bytes.size() > static_cast<std::size_t>(c.size))
                throw EngineError(quoted(fields[i]) + ": the text '" + *s + "' is longer than " +
                                  std::to_string(c.size) + " bytes");
            if (bytes.find('\0') != std::string::npos) throw EngineError(quoted(fields[i]) + ": the text holds a NUL character");
            std::memcpy(p, bytes.data(), bytes.size());
            break;
        }
        case Kind::Short:
            put_be16(p, static_cast<std::uint16_t>(static_cast<std::uint16_t>(integer(-32767, 32767)) ^ 0x8000u));
            break;
        case Kind::Long:
        case Kind::AutoInc:
            put_be32(p, static_cast<std::uint32_t>(integer(-2147483647, 2147483647)) ^ 0x80000000u);
            break;
        case Kind::Number:
        case Kind::Money: {
            double d;
            if (auto pd = std::get_if<double>(&v)) d = *pd;
            else if (auto pi = std::get_if<std::int64_t>(&v)) d = static_cast<double>(*pi);
            else throw mismatch();
            if (!std::isfinite(d)) throw EngineError(quoted(fields[i]) + ": the value is not a finite number");
            put_be64(p, number_bits(d));
            break;
        }
        case Kind::Date: {
            const Date* dt = std::get_if<Date>(&v);
            if (!dt) throw mismatch();
            static const int mdays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            bool leap = (dt->year % 4 == 0 && dt->year % 100 != 0) || dt->year % 400 == 0;
            if (dt->year < 1 || dt->year > 9999 || dt->month < 1 || dt->month > 12 || dt->day < 1 ||
                dt->day > mdays[dt->month - 1] + (dt->month == 2 && leap ? 1 : 0))
                throw EngineError(quoted(fields[i]) + ": invalid date " + std::to_string(dt->year) + "-" +
                                  std::to_string(dt->month) + "-" + std::to_string(dt->day));
            put_be32(p, static_cast<std::uint32_t>(day_number(*dt)) ^ 0x80000000u);
            break;
        }
        case Kind::Logical: {
            bool b;
            if (auto pb = std::get_if<bool>(&v)) b = *pb;
            else if (auto pi = std::get_if<std::int64_t>(&v)) b = *pi != 0;
            else throw mismatch();
            p[0] = b ? 0x81 : 0x80;
            break;
        }
        default: throw mismatch();
        }
    }
}

}  // namespace paradox_detail

using namespace paradox_detail;

namespace {

std::string record_prefix(std::size_t index) { return "record " + std::to_string(index + 1) + ", "; }

// The autoincrement counter after rec: the highest of start and rec's autoincrement values.
std::uint32_t max_auto_inc(const std::vector<Column>& cols, const Record& r, std::uint32_t start)
{
    std::uint32_t best = start;
    for (std::size_t i = 0; i < cols.size() && i < r.size(); ++i)
        if (cols[i].kind == Kind::AutoInc)
            if (auto p = std::get_if<std::int64_t>(&r[i]); p && *p > 0 && static_cast<std::uint64_t>(*p) > best)
                best = static_cast<std::uint32_t>(*p);
    return best;
}

// The header of a level 5 table of these columns, padded to its size (a multiple of 2048).
std::vector<unsigned char> build_header(const std::vector<Column>& cols, const std::vector<std::string>& raw_names,
                                        const std::string& raw_table_name, int code_page)
{
    const std::size_t nf = cols.size();
    std::size_t names_len = 0;
    for (const std::string& n : raw_names) names_len += n.size() + 1;
    const std::size_t table_name_at = 0x78 + nf * 2 + 4 + nf * 4;
    const std::size_t names_at = table_name_at + 79;
    const std::size_t numbers_at = names_at + names_len;
    const std::size_t sort_at = numbers_at + nf * 2;
    const std::size_t real_size = sort_at + 6;   // "ascii" and its NUL
    const std::size_t header_size = std::max<std::size_t>(0x800, (real_size + 0x7FF) / 0x800 * 0x800);

    std::vector<unsigned char> h(header_size, 0);
    int record_size = cols.back().offset + cols.back().size;
    put_u16le(&h[0x00], static_cast<std::uint16_t>(record_size));
    put_u16le(&h[0x02], static_cast<std::uint16_t>(header_size));
    h[0x04] = 2;                                  // not keyed
    h[0x05] = kWriteBlockCode;
    put_u16le(&h[0x21], static_cast<std::uint16_t>(nf));
    put_u32le(&h[0x25], 0xFF00FF00u);             // level 4+ marker; encryption is at 0x5C
    h[0x29] = 0x00;                               // sort order "ascii"
    h[0x2D] = 1;                                  // change counts
    h[0x2E] = 1;
    // Run-time pointers of Paradox's own, given relative to a nominal base of 0.
    put_u32le(&h[0x30], static_cast<std::uint32_t>(0x78 + nf * 2));
    put_u32le(&h[0x34], 0x78);
    h[0x39] = 0x0B;                               // level 5
    h[0x3E] = 0x1F;
    h[0x3F] = 0x0F;
    put_u16le(&h[0x51], static_cast<std::uint16_t>(real_size));
    h[0x56] = 0x20;
    put_u16le(&h[0x58], 0x010B);
    put_u16le(&h[0x5A], 0x010B);
    put_u16le(&h[0x64], static_cast<std::uint16_t>(nf + 1));
    put_u16le(&h[0x66], static_cast<std::uint16_t>(0x20 + nf * 6 + 4 + 79 + names_len));
    put_u16le(&h[0x6A], static_cast<std::uint16_t>(code_page));
    h[0x6C] = 1;
    h[0x6D] = 1;
    put_u16le(&h[0x6E], static_cast<std::uint16_t>(0x18 + nf * 8 + 4 + 79 + names_len + 8));
    put_u16le(&h[0x70], 1);

    std::size_t at = 0x78;
    for (const Column& c : cols) {
        h[at++] = c.type_byte;
        h[at++] = static_cast<unsigned char>(c.kind == Kind::Bcd ? c.decimals : c.size);
    }
    put_u32le(&h[at], static_cast<std::uint32_t>(table_name_at));
    at += 4;
    std::size_t name_at = names_at;
    for (const std::string& n : raw_names) {
        put_u32le(&h[at], static_cast<std::uint32_t>(name_at));
        at += 4;
        name_at += n.size() + 1;
    }
    std::memcpy(&h[table_name_at], raw_table_name.data(), raw_table_name.size());
    at = names_at;
    for (const std::string& n : raw_names) {
        std::memcpy(&h[at], n.data(), n.size());
        at += n.size() + 1;
    }
    for (std::size_t i = 0; i < nf; ++i) put_u16le(&h[numbers_at + 2 * i], static_cast<std::uint16_t>(i + 1));
    std::memcpy(&h[sort_at], "ascii", 5);
    return h;
}

std::string raw_table_name(const std::string& name, int code_page)
{
    try {
        return cut_gbk(encode(name, code_page), 78);
    } catch (const EngineError&) {
        return {};   // the name is informational only
    }
}

void set_header_counts(unsigned char* h, std::uint32_t records, int blocks, int first, int last)
{
    put_u32le(h + 0x06, records);
    put_u16le(h + 0x0A, static_cast<std::uint16_t>(blocks));
    put_u16le(h + 0x0C, static_cast<std::uint16_t>(blocks));
    put_u16le(h + 0x0E, static_cast<std::uint16_t>(first));
    put_u16le(h + 0x10, static_cast<std::uint16_t>(last));
    put_u16le(h + 0x3A, static_cast<std::uint16_t>(blocks));
}

// The file's layout must be the one t would be written with, holding `expected` records.
Layout matching_layout(const std::string& label, const std::vector<unsigned char>& data,
                       const std::vector<Column>& cols, std::size_t expected)
{
    Layout L = parse_layout(label, data.data(), data.size());
    if (!L.chain_problems.empty()) throw EngineError(label + ": " + L.chain_problems.front() + "; the table cannot be written");
    if (L.file_type == 0 || L.primary_key_fields > 0)
        throw EngineError(label + ": the table is keyed and cannot be written");
    bool same = L.columns.size() == cols.size() && L.num_records == expected;
    for (std::size_t i = 0; same && i < cols.size(); ++i)
        same = L.columns[i].type_byte == cols[i].type_byte && L.columns[i].size == cols[i].size;
    if (!same) throw EngineError(label + ": " + changed_file_message);
    return L;
}

void require_writable(const std::string& label, const TableData& t)
{
    if (t.read_only)
        throw EngineError(label + ": the table is read-only" + (t.read_only_reason.empty() ? "" : ": " + t.read_only_reason));
}

}  // namespace

void check_paradox_fields(const std::vector<FieldDef>& fields) { columns_for(fields); }

std::vector<FieldDef> paradox_fields_from(const std::vector<FieldDef>& fields)
{
    std::vector<FieldDef> out;
    out.reserve(fields.size());
    for (const FieldDef& f : fields) {
        FieldDef g;
        g.name = f.name;
        g.required = f.required;
        g.type = f.type;
        switch (f.type) {
        case FieldType::String: g.native = 'A'; g.size = g.native_size = f.size; break;
        case FieldType::SmallInt: g.native = 'S'; g.size = g.native_size = 2; break;
        case FieldType::Integer: g.native = 'I'; g.size = g.native_size = 4; break;
        case FieldType::LargeInt:
        case FieldType::Float: g.type = FieldType::Float; g.native = 'N'; g.size = g.native_size = 8; break;
        case FieldType::Currency: g.native = '$'; g.size = g.native_size = 8; break;
        case FieldType::Date: g.native = 'D'; g.size = g.native_size = 4; break;
        case FieldType::Boolean: g.native = 'L'; g.size = g.native_size = 1; break;
        case FieldType::Other:
            g.size = f.size;
            g.native_size = f.native_size;
            g.read_only = true;   // refused by the checks: no Paradox kind to write it as
            break;
        }
        out.push_back(g);
    }
    return out;
}

namespace {

// How many 4096-byte blocks are encoded before they are handed on: a bounded buffer whatever
// the size of the table.
constexpr std::size_t kBlocksPerWrite = 256;

// What a new file of these fields needs before its first record is encoded; raises on fields
// or a record count the format cannot hold.
struct NewFile {
    std::vector<Column> cols;
    std::vector<unsigned char> header;
    std::size_t record_size = 0;
    std::size_t per_block = 0;
    std::size_t blocks = 0;
    int code_page = 936;
};

NewFile plan_paradox(const TableData& shape, const RecordFeed& records, const std::string& table_name)
{
    NewFile f;
    f.cols = columns_for(shape.fields);
    f.code_page = shape.code_page > 0 ? shape.code_page : 936;
    std::vector<std::string> raw_names;
    for (const FieldDef& fd : shape.fields) {
        std::string n = encode(fd.name, f.code_page);
        if (n.find('\0') != std::string::npos) throw EngineError("Invalid field name '" + fd.name + "'");
        raw_names.push_back(std::move(n));
    }
    const int rs = f.cols.back().offset + f.cols.back().size;
    f.record_size = static_cast<std::size_t>(rs);
    f.per_block = static_cast<std::size_t>((kWriteBlockSize - static_cast<int>(kBlockHead)) / rs);
    const std::size_t n = records.count;
    f.blocks = (n + f.per_block - 1) / f.per_block;
    if (f.blocks > static_cast<std::size_t>(kMaxBlocks))
        throw EngineError("Too many records for a Paradox table: " + std::to_string(n));
    f.header = build_header(f.cols, raw_names, raw_table_name(table_name, f.code_page), f.code_page);
    set_header_counts(f.header.data(), static_cast<std::uint32_t>(n), static_cast<int>(f.blocks), f.blocks ? 1 : 0,
                      static_cast<int>(f.blocks));
    // The autoincrement counter goes in the header, so a table with such a field is read
    // through once before its records are written.
    std::uint32_t auto_inc = 0;
    bool has_auto_inc = false;
    for (const Column& c : f.cols) has_auto_inc = has_auto_inc || c.kind == Kind::AutoInc;
    Record scratch;
    for (std::size_t r = 0; has_auto_inc && r < n; ++r) auto_inc = max_auto_inc(f.cols, records.read(r, scratch), auto_inc);
    put_u32le(&f.header[0x49], auto_inc);
    return f;
}

// The header, then the data blocks a buffer at a time.
void produce_paradox(const NewFile& f, const TableData& shape, const RecordFeed& records, const ByteSink& put)
{
    put(f.header.data(), f.header.size());
    const std::size_t n = records.count;
    std::vector<unsigned char> buf(std::min(f.blocks, kBlocksPerWrite) * kWriteBlockSize);
    Record scratch;
    for (std::size_t b0 = 0; b0 < f.blocks; b0 += kBlocksPerWrite) {
        const std::size_t in_buf = std::min(kBlocksPerWrite, f.blocks - b0);
        std::memset(buf.data(), 0, in_buf * kWriteBlockSize);
        for (std::size_t b = b0; b < b0 + in_buf; ++b) {
            unsigned char* blk = buf.data() + (b - b0) * kWriteBlockSize;
            const std::size_t first = b * f.per_block;
            const std::size_t count = std::min(f.per_block, n - first);
            put_u16le(blk, static_cast<std::uint16_t>(b + 1 < f.blocks ? b + 2 : 0));
            put_u16le(blk + 2, static_cast<std::uint16_t>(b));
            put_u16le(blk + 4, static_cast<std::uint16_t>((count - 1) * f.record_size));
            for (std::size_t k = 0; k < count; ++k) {
                try {
                    encode_record(f.cols, shape.fields, records.read(first + k, scratch), f.code_page,
                                  blk + kBlockHead + k * f.record_size);
                } catch (const EngineError& e) {
                    throw EngineError(record_prefix(first + k) + e.what());
                }
            }
        }
        put(buf.data(), in_buf * kWriteBlockSize);
    }
}

}  // namespace

std::vector<unsigned char> build_paradox(const TableData& t, const std::string& table_name)
{
    const RecordFeed records = records_of(t);
    const NewFile f = plan_paradox(t, records, table_name);
    std::vector<unsigned char> out;
    out.reserve(f.header.size() + f.blocks * kWriteBlockSize);
    produce_paradox(f, t, records, [&](const unsigned char* p, std::size_t n) { out.insert(out.end(), p, p + n); });
    return out;
}

void write_paradox(const std::string& path, const TableData& t, const CurrentCheck& check)
{
    write_paradox(path, t, records_of(t), check);
}

void write_paradox(const std::string& path, const TableData& shape, const RecordFeed& records, const CurrentCheck& check)
{
    const std::string label = file_label(path);
    NewFile f;
    try {
        f = plan_paradox(shape, records, label);
    } catch (const EngineError& e) {
        throw EngineError(label + ": " + e.what());
    }
    write_file_atomically_streamed(
        path,
        [&](const ByteSink& put) {
            try {
                produce_paradox(f, shape, records, put);
            } catch (const EngineError& e) {
                throw EngineError(label + ": " + e.what());
            }
        },
        check);
}

namespace {

// The bytes of rec in a table of t's fields; a value that cannot be written is reported with
// the file and the record.
std::vector<unsigned char> encoded_record(const std::string& label, const TableData& t, std::size_t index,
                                          const Record& rec, std::vector<Column>& cols)
{
    std::vector<unsigned char> out;
    try {
        cols = columns_for(t.fields);
        out.resize(static_cast<std::size_t>(cols.back().offset + cols.back().size));
        encode_record(cols, t.fields, rec, t.code_page, out.data());
    } catch (const EngineError& e) {
        throw EngineError(label + ": " + record_prefix(index) + e.what());
    }
    return out;
}

// The file, locked for the change, must hold exactly the table as it was read: the same
// layout, and every record the same (so that neither another program's change to the record
// being posted nor a record moved into its place is overwritten).
Layout unchanged_layout(const std::string& label, FileChange& f, const TableData& image, const std::vector<Column>& cols)
{
    const std::vector<unsigned char>& data = f.bytes(declared_size);
    Layout L = matching_layout(label, data, cols, image.record_count());
    // Compared as a compact image, so that a large table is not decoded whole for one record.
    if (!same_table(read_paradox_image(label, data), image)) throw EngineError(label + ": " + changed_file_message);
    return L;
}

// rec as it reads back from a table of t's fields.
Record stored_form(const TableData& t, const Record& rec)
{
    TableData one;
    one.fields = t.fields;
    one.code_page = t.code_page;
    one.records.push_back(rec);
    return read_paradox_bytes("", build_paradox(one)).records.front();
}

void replace_with(FileChange& f, const std::vector<unsigned char>& data)
{
    f.replace([&](const ByteSink& put) { put(data.data(), data.size()); });
}

}  // namespace

Record paradox_update_record(const std::string& path, const TableData& image, std::size_t index, const Record& rec)
{
    const std::string label = file_label(path);
    require_writable(label, image);
    if (index >= image.record_count())
        throw EngineError(label + ": record " + std::to_string(index + 1) + " does not exist");
    std::vector<Column> cols;
    const std::vector<unsigned char> bytes = encoded_record(label, image, index, rec, cols);
    const Record stored = stored_form(image, rec);
    FileChange f(path);
    const Layout L = unchanged_layout(label, f, image, cols);
    std::size_t remaining = index;
    for (const Block& b : L.chain) {
        if (remaining < static_cast<std::size_t>(b.count)) {
            const std::size_t at = b.offset + kBlockHead + remaining * static_cast<std::size_t>(L.record_size);
            if (std::uint32_t ai = max_auto_inc(cols, rec, L.auto_inc); ai != L.auto_inc) {
                // The record and the header's counter together: through a new file.
                std::vector<unsigned char> data = f.bytes(declared_size);
                std::memcpy(data.data() + at, bytes.data(), bytes.size());
                put_u32le(data.data() + 0x49, ai);
                replace_with(f, data);
            } else {
                f.write_at(at, bytes.data(), bytes.size());
                f.commit();
            }
            return stored;
        }
        remaining -= static_cast<std::size_t>(b.count);
    }
    throw EngineError(label + ": record " + std::to_string(index + 1) + " not found in the data blocks");
}

Record paradox_append_record(const std::string& path, const TableData& image, const Record& rec)
{
    const std::string label = file_label(path);
    require_writable(label, image);
    const std::size_t index = image.record_count();
    std::vector<Column> cols;
    const std::vector<unsigned char> bytes = encoded_record(label, image, index, rec, cols);
    const Record stored = stored_form(image, rec);
    FileChange f(path);
    const Layout L = unchanged_layout(label, f, image, cols);
    std::vector<unsigned char> data = f.bytes(declared_size);
    const std::size_t rs = static_cast<std::size_t>(L.record_size);
    const std::uint32_t auto_inc = max_auto_inc(cols, rec, L.auto_inc);

    // The record, its block's count and the header's count change together, so the file is
    // always rewritten through a new file: no reader ever sees one without the others.
    if (!L.chain.empty() && L.chain.back().count < L.records_per_block()) {
        const Block& b = L.chain.back();
        // The last block may end short of the block size in the file.
        data.resize(std::max(data.size(), b.offset + static_cast<std::size_t>(L.block_size)), 0);
        std::memcpy(data.data() + b.offset + kBlockHead + static_cast<std::size_t>(b.count) * rs, bytes.data(),
                    bytes.size());
        put_u16le(data.data() + b.offset + 4, static_cast<std::uint16_t>(static_cast<std::size_t>(b.count) * rs));
        put_u32le(data.data() + 0x06, L.num_records + 1);
        put_u32le(data.data() + 0x49, auto_inc);
        replace_with(f, data);
        return stored;
    }

    // A new block at the physical end, linked after the last block of the chain.
    if (L.file_blocks + 1 > kMaxBlocks) throw EngineError(label + ": the table cannot hold more blocks");
    const int number = L.file_blocks + 1;
    const std::size_t at = static_cast<std::size_t>(L.header_size) + static_cast<std::size_t>(L.file_blocks) * L.block_size;
    data.resize(at + static_cast<std::size_t>(L.block_size));
    std::fill(data.begin() + static_cast<std::ptrdiff_t>(at), data.end(), 0);
    unsigned char* blk = data.data() + at;
    const int prev = L.chain.empty() ? 0 : L.chain.back().number;
    put_u16le(blk, 0);
    put_u16le(blk + 2, static_cast<std::uint16_t>(prev));
    put_u16le(blk + 4, 0);
    std::memcpy(blk + kBlockHead, bytes.data(), bytes.size());
    if (prev != 0) put_u16le(data.data() + L.chain.back().offset, static_cast<std::uint16_t>(number));
    set_header_counts(data.data(), L.num_records + 1, number, prev == 0 ? number : L.first_block, number);
    put_u32le(data.data() + 0x49, auto_inc);
    replace_with(f, data);
    return stored;
}

std::function<void(const Record&, std::size_t)> paradox_record_check(const std::string& path, const TableData& t)
{
    const std::string label = file_label(path);
    require_writable(label, t);
    std::vector<Column> cols = columns_for(t.fields);
    std::vector<unsigned char> buf(static_cast<std::size_t>(cols.back().offset + cols.back().size));
    return [label, cols = std::move(cols), fields = t.fields, code_page = t.code_page,
            buf = std::move(buf)](const Record& rec, std::size_t index) mutable {
        try {
            encode_record(cols, fields, rec, code_page, buf.data());
        } catch (const EngineError& e) {
            throw EngineError(label + ": " + record_prefix(index) + e.what());
        }
    };
}

}  // namespace vantelo::db
