#include "platform/db/table_files.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

#include "platform/core/errors.h"
#include "platform/core/numtext.h"
#include "platform/db/atomic_file.h"
#include "platform/db/byte_reader.h"
#include "platform/db/dbase.h"
#include "platform/db/encoding.h"
#include "platform/db/paradox.h"

namespace vantelo::db {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Number of characters of a UTF-8 text.
std::size_t utf8_length(const std::string& s)
{
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

bool valid_name(const std::string& name)
{
    if (name.empty()) return false;
    for (char ch : name) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || ch == ' ' || ch == ',' || ch == '(' || ch == ')' || ch == '"') return false;
    }
    return true;
}

int max_text_width(TableFormat f)
{
    switch (f) {
    case TableFormat::Paradox: return 255;
    case TableFormat::DBase:
    case TableFormat::FoxPro: return 254;
    case TableFormat::Ascii: return 255;
    }
    return 255;
}

bool hex_digit(char c) { return (c >= '0' && c <= '9') || (lower(c) >= 'a' && lower(c) <= 'f'); }

// Whether ext (without its dot) names a companion file of a table in the given format.
bool companion_extension(const std::string& ext, TableFormat format)
{
    switch (format) {
    case TableFormat::Paradox:
        if (equal_names(ext, "px") || equal_names(ext, "mb")) return true;
        return ext.size() == 3 && (lower(ext[0]) == 'x' || lower(ext[0]) == 'y') &&
               (hex_digit(ext[1]) || lower(ext[1]) == 'g') && hex_digit(ext[2]);
    case TableFormat::DBase:
    case TableFormat::FoxPro: return equal_names(ext, "dbt") || equal_names(ext, "fpt");
    case TableFormat::Ascii: return false;
    }
    return false;
}

}  // namespace

bool equal_names(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string file_extension(const std::string& path)
{
    auto slash = path.find_last_of('/');
    std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < start || dot == start) return {};
    return path.substr(dot);
}

ResolvedTable resolve_table(const std::string& name, TableType type)
{
    if (name.empty()) throw EngineError("No table name given");
    check_file_name(name, "table");
    std::string ext = file_extension(name);
    ResolvedTable r;
    r.path = name;
    // An explicit type: its format, and its extension when the name has none.
    auto typed = [&](TableFormat format, const char* default_ext) {
        r.format = format;
        if (ext.empty()) r.path += default_ext;
        return r;
    };
    switch (type) {
    case TableType::Default:
        if (ext.empty()) {
            r.path += ".db";
            r.format = TableFormat::Paradox;
        } else if (equal_names(ext, ".db")) {
            r.format = TableFormat::Paradox;
        } else if (equal_names(ext, ".dbf")) {
            r.format = TableFormat::DBase;
        } else {
            throw EngineError("Unknown table type: " + shown_name(ext));
        }
        break;
    case TableType::Paradox: return typed(TableFormat::Paradox, ".db");
    case TableType::DBase: return typed(TableFormat::DBase, ".dbf");
    case TableType::FoxPro: return typed(TableFormat::FoxPro, ".dbf");
    case TableType::Ascii: return typed(TableFormat::Ascii, ".txt");
    }
    return r;
}

TableData read_table(const ResolvedTable& t, bool compact)
{
    switch (t.format) {
    case TableFormat::Paradox: return read_paradox(t.path, compact);
    case TableFormat::DBase:
    case TableFormat::FoxPro: return read_dbase(t.path, compact);
    case TableFormat::Ascii: break;
    }
    throw EngineError("An ASCII table cannot be opened: " + shown_name(t.path));
}

void write_table(const ResolvedTable& t, const TableData& data, const TableData* expected)
{
    write_table(t, data, records_of(data), expected);
}

void write_table(const ResolvedTable& t, const TableData& shape, const RecordFeed& records, const TableData* expected)
{
    CurrentCheck check;
    if (expected) {
        // The file as it is under the lock, read as a compact image (a plain one would take
        // several times the file's size for a large table).
        check = [&]() {
            const TableData now = read_table(t, true);
            const std::string label = file_label(t.path);
            if (!same_table(now, *expected)) throw EngineError(label + ": " + changed_file_message);
        };
    }
    switch (t.format) {
    case TableFormat::Paradox: write_paradox(t.path, shape, records, check); return;
    case TableFormat::DBase: write_dbase(t.path, shape, records, false, check); return;
    case TableFormat::FoxPro: write_dbase(t.path, shape, records, true, check); return;
    case TableFormat::Ascii: {
        // A text copy is written from a plain image.
        TableData plain = shape_of(shape);
        plain.records.reserve(records.count);
        Record scratch;
        for (std::size_t r = 0; r < records.count; ++r) plain.records.push_back(records.read(r, scratch));
        write_ascii(t.path, plain);
        return;
    }
    }
}

Record write_record(const ResolvedTable& t, const TableData& image, std::size_t index, const Record& rec)
{
    switch (t.format) {
    case TableFormat::Paradox: return paradox_update_record(t.path, image, index, rec);
    case TableFormat::DBase:
    case TableFormat::FoxPro: return dbase_update_record(t.path, image, index, rec);
    case TableFormat::Ascii: break;
    }
    throw EngineError("An ASCII table cannot be changed: " + shown_name(t.path));
}

Record append_record(const ResolvedTable& t, const TableData& image, const Record& rec)
{
    switch (t.format) {
    case TableFormat::Paradox: return paradox_append_record(t.path, image, rec);
    case TableFormat::DBase:
    case TableFormat::FoxPro: return dbase_append_record(t.path, image, rec);
    case TableFormat::Ascii: break;
    }
    throw EngineError("An ASCII table cannot be changed: " + shown_name(t.path));
}

std::function<void(const Record&, std::size_t)> record_check(const ResolvedTable& t, const TableData& data)
{
    switch (t.format) {
    case TableFormat::Paradox: return paradox_record_check(t.path, data);
    case TableFormat::DBase:
    case TableFormat::FoxPro: return dbase_record_check(data);
    case TableFormat::Ascii: break;
    }
    throw EngineError("An ASCII table cannot be changed: " + t.path);
}

void create_table_with_records(const ResolvedTable& t, const std::vector<FieldDefinition>& defs,
                               const std::vector<Record>& records)
{
    if (file_exists(t.path)) throw EngineError("Table already exists: " + shown_name(t.path));
    std::vector<FieldDef> fields;
    for (const auto& d : defs) {
        FieldDef f;
        f.name = d.name;
        f.type = d.type;
        f.size = d.type == FieldType::String ? d.size : 0;
        f.required = d.required;
        fields.push_back(f);
    }
    TableData shape;
    shape.fields = fields_for_format(fields, t.format);
    shape.code_page = 936;
    const std::size_t width = shape.fields.size();
    for (std::size_t row = 0; row < records.size(); ++row)
        if (records[row].size() != width)
            throw EngineError("Record " + std::to_string(row) + " has " + std::to_string(records[row].size()) +
                              " values for " + std::to_string(width) + " fields");
    const RecordFeed feed{records.size(), [&](std::size_t row, Record& scratch) -> const Record& {
                              scratch.resize(width);
                              for (std::size_t c = 0; c < width; ++c)
                                  scratch[c] = value_for_field(records[row][c], shape.fields[c]);
                              return scratch;
                          }};
    if (!records.empty()) {
        // Every record is checked before the first byte is written.
        auto fits = record_check(t, shape);
        Record scratch;
        for (std::size_t row = 0; row < records.size(); ++row) {
            const Record& rec = feed.read(row, scratch);
            for (std::size_t c = 0; c < width; ++c)
                if (shape.fields[c].required && is_null(rec[c]))
                    throw EngineError("Field '" + shape.fields[c].name + "' must have a value");
            fits(rec, row);
        }
    }
    write_table(t, shape, feed);
}

void check_writable(const std::string& path, const TableData& data)
{
    if (data.read_only) {
        std::string why = data.read_only_reason.empty() ? std::string() : " (" + data.read_only_reason + ")";
        throw EngineError("Table is read-only: " + shown_name(path) + why);
    }
    for (const auto& f : data.fields)
        if (f.read_only) throw EngineError("Table is read-only: " + shown_name(path) + " (field '" + f.name + "' cannot be written)");
}

std::vector<FieldDef> fields_for_format(const std::vector<FieldDef>& fields, TableFormat format)
{
    if (fields.empty()) throw EngineError("A table needs at least one field");
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        if (!valid_name(f.name) || (format == TableFormat::Paradox && utf8_length(f.name) > 25))
            throw EngineError("Invalid field name '" + f.name + "'");
        for (std::size_t j = 0; j < i; ++j)
            if (equal_names(fields[j].name, f.name)) throw EngineError("Duplicate field name '" + f.name + "'");
        if (f.type == FieldType::String && (f.size < 1 || f.size > max_text_width(format)))
            throw EngineError("Invalid field size " + std::to_string(f.size) + " for field '" + f.name + "'");
        if (f.type == FieldType::Other && format != TableFormat::Ascii)
            throw EngineError("Field '" + f.name + "': field type not supported by the target format");
    }
    switch (format) {
    case TableFormat::Paradox: {
        std::vector<FieldDef> out = paradox_fields_from(fields);
        check_paradox_fields(out);
        return out;
    }
    case TableFormat::DBase:
    case TableFormat::FoxPro: {
        std::vector<FieldDef> out = dbase_fields_from(fields, 936);
        for (std::size_t i = 0; i < out.size(); ++i)
            for (std::size_t j = 0; j < i; ++j)
                if (equal_names(out[j].name, out[i].name))
                    throw EngineError("Duplicate field name '" + fields[i].name + "'");
        return out;
    }
    case TableFormat::Ascii: return fields;
    }
    return fields;
}

int find_field_in(const TableData& data, TableFormat format, const std::string& name)
{
    const auto& fs = data.fields;
    for (std::size_t i = 0; i < fs.size(); ++i)
        if (fs[i].name == name) return static_cast<int>(i);
    for (std::size_t i = 0; i < fs.size(); ++i)
        if (equal_names(fs[i].name, name)) return static_cast<int>(i);
    if (format == TableFormat::DBase || format == TableFormat::FoxPro) {
        std::string stored;
        try {
            stored = dbase_stored_name(name, data.code_page);
        } catch (const EngineError&) {
            return -1;  // a name the code page cannot hold is no field of this table
        }
        if (stored != name)
            for (std::size_t i = 0; i < fs.size(); ++i)
                if (equal_names(fs[i].name, stored)) return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::string> companion_files(const std::string& table_path, TableFormat format)
{
    namespace fs = std::filesystem;
    std::vector<std::string> out;
    fs::path p(table_path);
    std::string stem = p.stem().string();
    fs::path dir = p.parent_path();
    if (dir.empty()) dir = ".";
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        auto dot = name.find_last_of('.');
        if (dot == std::string::npos || !equal_names(name.substr(0, dot), stem)) continue;
        std::error_code ec2;
        if (companion_extension(name.substr(dot + 1), format) && it->is_regular_file(ec2))
            out.push_back((dir / name).string());
    }
    return out;
}

namespace {

// What a table reads beside itself, from its header: a memo file, indexes. A header that cannot
// be read says both.
struct CompanionNeeds {
    bool memo = true;
    bool indexes = true;
};

CompanionNeeds needs_of(const std::string& path, TableFormat format)
{
    std::vector<unsigned char> h;
    try {
        FileReader f(path);
        h.resize(std::min<std::size_t>(f.size(), 0x10000));
        h.resize(f.read(0, h.data(), h.size()));
    } catch (const Error&) {
        return {};
    }
    CompanionNeeds n{false, false};
    if (format == TableFormat::Paradox) {
        if (h.size() < 0x58) return {};
        const int file_type = h[0x04];
        const int fields = get_u16le(&h[0x21]);
        const int key_fields = get_u16le(&h[0x23]);
        const std::size_t descriptions = h[0x39] >= 5 ? 0x78 : 0x58;
        if ((file_type != 0 && file_type != 2) || fields < 1 || descriptions + 2 * static_cast<std::size_t>(fields) > h.size())
            return {};
        n.indexes = file_type == 0 || key_fields != 0;
        for (int i = 0; i < fields; ++i) {
            const unsigned char type = h[descriptions + 2 * static_cast<std::size_t>(i)];
            if (type >= 0x0C && type <= 0x10) n.memo = true;   // memo, blob, formatted memo, OLE, graphic
        }
        return n;
    }
    // dBASE and FoxPro: field descriptors of 32 bytes from byte 32 to the 0x0D mark.
    if (h.size() < 32) return {};
    const std::size_t end = std::min<std::size_t>(get_u16le(&h[8]), h.size());
    for (std::size_t at = 32;; at += 32) {
        if (at < end && h[at] == 0x0D) return n;
        if (at + 32 > end) return {};
        const char type = static_cast<char>(h[at + 11]);
        if (type == 'M' || type == 'G' || type == 'P' || type == 'B') n.memo = true;
    }
}

bool is_memo_file(const std::string& path)
{
    const std::string ext = file_extension(path);
    return equal_names(ext, ".mb") || equal_names(ext, ".dbt") || equal_names(ext, ".fpt");
}

}  // namespace

ReplacedCompanions replaced_companions(const std::string& replaced, TableFormat format, const std::string& keep_path)
{
    namespace fs = std::filesystem;
    const std::string ext = file_extension(replaced);
    if (equal_names(ext, ".db")) format = TableFormat::Paradox;
    else if (equal_names(ext, ".dbf")) format = TableFormat::DBase;
    std::vector<std::string> keep;
    for (TableFormat f : {TableFormat::Paradox, TableFormat::DBase})
        for (std::string& k : companion_files(keep_path, f)) keep.push_back(std::move(k));
    ReplacedCompanions out;
    const std::vector<std::string> companions = companion_files(replaced, format);
    if (companions.empty()) return out;
    const CompanionNeeds needs = needs_of(replaced, format);
    for (const std::string& c : companions) {
        bool kept = false;
        std::error_code ec;
        for (const std::string& k : keep)
            if (fs::equivalent(c, k, ec)) kept = true;
        if (kept) continue;
        (is_memo_file(c) ? needs.memo : needs.indexes) ? out.read.push_back(c) : out.unread.push_back(c);
    }
    return out;
}

std::int64_t parse_int64(std::string_view text)
{
    std::string_view t = text;
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    std::size_t i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
    unsigned base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    }
    if (i >= t.size()) throw ConvertError::not_integer(std::string(text));
    const std::uint64_t limit = neg ? std::uint64_t(1) << 63 : (std::uint64_t(1) << 63) - 1;
    std::uint64_t v = 0;
    for (; i < t.size(); ++i) {
        char c = t[i];
        unsigned d;
        if (c >= '0' && c <= '9') d = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
        else throw ConvertError::not_integer(std::string(text));
        if (v > (limit - d) / base) throw ConvertError::not_integer(std::string(text));
        v = v * base + d;
    }
    if (neg) return v == limit ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(v);
    return static_cast<std::int64_t>(v);
}

Value value_for_field(const Value& v, const FieldDef& f)
{
    if (is_null(v)) return v;
    switch (f.type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt:
        if (auto d = std::get_if<double>(&v)) return round_to_int64(*d);
        if (auto b = std::get_if<bool>(&v)) return std::int64_t(*b ? 1 : 0);
        return v;
    case FieldType::Float:
    case FieldType::Currency:
        if (auto n = std::get_if<std::int64_t>(&v)) return static_cast<double>(*n);
        if (auto b = std::get_if<bool>(&v)) return *b ? 1.0 : 0.0;
        return v;
    default: return v;
    }
}

}  // namespace vantelo::db
