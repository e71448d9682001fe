// ASCII copies of tables: delimited text for other programs, with a schema file beside it.
//
// The data file holds one line per record, ended by CR LF; fields are separated by ",";
// texts are in double quotes with a quote inside doubled; numbers are in the general format
// (up to 15 significant digits, '.' as the decimal point); dates are yyyy-mm-dd; Booleans T
// or F; a null field is left empty. Everything is written in GBK.
//
// The schema file "<name>.sch" describes the layout:
//   [name]
//   FILETYPE=VARYING
//   CHARSET=GBK
//   DELIMITER="
//   SEPARATOR=,
//   Field1=<name>,<type>,<width>,00,00     (type CHAR, SHORT, LONGINT, FLOAT, BOOL, DATE)
#include <charconv>
#include <filesystem>

#include "platform/core/errors.h"
#include "platform/core/numtext.h"
#include "platform/db/atomic_file.h"
#include "platform/db/dbase.h"
#include "platform/db/encoding.h"

namespace vantelo::db {
namespace {

constexpr int ascii_code_page = 936;

void append(std::vector<unsigned char>& out, std::string_view s) { out.insert(out.end(), s.begin(), s.end()); }

void append_quoted(std::vector<unsigned char>& out, const std::string& utf8)
{
    std::string bytes = encode(utf8, ascii_code_page);
    out.push_back('"');
    for (char c : bytes) {
        out.push_back(static_cast<unsigned char>(c));
        if (c == '"') out.push_back('"');
    }
    out.push_back('"');
}

std::string digits(long long v, int width)
{
    std::string s = std::to_string(v);
    while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
    return s;
}

void append_value(std::vector<unsigned char>& out, const FieldDef& f, const Value& v)
{
    if (is_null(v)) return;
    if (auto s = std::get_if<std::string>(&v)) {
        append_quoted(out, *s);
    } else if (auto i = std::get_if<std::int64_t>(&v)) {
        char buf[24];
        auto res = std::to_chars(buf, buf + sizeof buf, *i);
        out.insert(out.end(), buf, res.ptr);
    } else if (auto d = std::get_if<double>(&v)) {
        append(out, format_general(static_cast<real>(*d)));
    } else if (auto b = std::get_if<bool>(&v)) {
        out.push_back(*b ? 'T' : 'F');
    } else if (auto dt = std::get_if<Date>(&v)) {
        append(out, digits(dt->year, 4) + "-" + digits(dt->month, 2) + "-" + digits(dt->day, 2));
    } else {
        throw EngineError("Type mismatch for field '" + f.name + "'");
    }
}

struct SchemaType {
    const char* name;
    int width;
};

SchemaType schema_type(const FieldDef& f)
{
    switch (f.type) {
    case FieldType::String: return {"CHAR", f.size};
    case FieldType::SmallInt: return {"SHORT", 6};
    case FieldType::Integer: return {"LONGINT", 11};
    case FieldType::LargeInt: return {"LONGINT", 20};
    case FieldType::Float:
    case FieldType::Currency: return {"FLOAT", 20};
    case FieldType::Boolean: return {"BOOL", 1};
    case FieldType::Date: return {"DATE", 10};
    case FieldType::Other: return {"CHAR", f.display_width()};
    }
    return {"CHAR", f.display_width()};
}

std::string schema_path(const std::string& path)
{
    std::filesystem::path p(path);
    p.replace_extension(".sch");
    return p.string();
}

}  // namespace

std::vector<unsigned char> build_ascii(const TableData& t)
{
    std::vector<unsigned char> out;
    out.reserve(t.records.size() * (t.fields.size() * 12 + 2));
    for (const Record& rec : t.records) {
        if (rec.size() != t.fields.size()) throw EngineError("The record does not match the table's fields");
        for (std::size_t c = 0; c < rec.size(); ++c) {
            if (c > 0) out.push_back(',');
            append_value(out, t.fields[c], rec[c]);
        }
        out.push_back('\r');
        out.push_back('\n');
    }
    return out;
}

std::vector<unsigned char> build_ascii_schema(const TableData& t, const std::string& table_name)
{
    std::vector<unsigned char> out;
    auto line = [&](const std::string& s) {
        append(out, encode(s, ascii_code_page));
        append(out, "\r\n");
    };
    line("[" + table_name + "]");
    line("FILETYPE=VARYING");
    line("CHARSET=GBK");
    line("DELIMITER=\"");
    line("SEPARATOR=,");
    for (std::size_t i = 0; i < t.fields.size(); ++i) {
        const FieldDef& f = t.fields[i];
        if (f.name.empty() || f.name.find_first_of(",\r\n") != std::string::npos)
            throw EngineError("Invalid field name '" + f.name + "'");
        SchemaType st = schema_type(f);
        line("Field" + std::to_string(i + 1) + "=" + f.name + "," + st.name + "," + digits(st.width, 2) + ",00,00");
    }
    return out;
}

void write_ascii(const std::string& path, const TableData& t)
{
    std::string name = std::filesystem::path(path).stem().string();
    // Both files are built first, so that a value that cannot be written changes nothing.
    std::vector<unsigned char> data = build_ascii(t);
    std::vector<unsigned char> schema = build_ascii_schema(t, name);
    // One change: neither file is replaced unless both can be (see FileSetChange for a kill
    // between the two renames: the new data file beside the old schema).
    write_files_atomically({{path, std::move(data)}, {schema_path(path), std::move(schema)}});
}

}  // namespace vantelo::db
