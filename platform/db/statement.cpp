// Runs the statements of the program's local SQL on table files.
#include <optional>

#include "platform/core/errors.h"
#include "platform/db/atomic_file.h"
#include "platform/db/byte_reader.h"
#include "platform/db/dataset.h"
#include "platform/db/encoding.h"
#include "platform/db/paradox.h"
#include "platform/db/sql.h"
#include "platform/db/table_files.h"

namespace vantelo::db {

namespace {

FieldDef field_of(const SqlItem& it)
{
    FieldDef f;
    f.name = it.name;
    f.type = it.type;
    f.size = static_cast<int>(it.size);
    return f;
}

// Create: a new empty table; an existing file is never replaced.
void create_table(const ResolvedTable& r, const SqlStatement& st)
{
    if (file_exists(r.path)) throw EngineError("Table already exists: " + shown_name(r.path));
    std::vector<FieldDef> defs;
    for (const auto& it : st.items) defs.push_back(field_of(it));
    TableData t;
    t.fields = fields_for_format(defs, r.format);
    t.code_page = 936;
    write_table(r, t);
}

// Add: the new fields go last, in the order of the statements; field k of record i holds
// values[k][i] when values are given, else reads empty. Every check is made before the first
// byte; then the file is rewritten whole through a temporary file, streamed from the table as
// read (and, with expected, refused unless that is the table the caller read), so a failure
// leaves it as it was.
void add_fields(const ResolvedTable& r, const std::vector<SqlStatement>& statements,
                const std::vector<std::vector<Value>>* values, const TableData* expected)
{
    const TableData image = read_table(r, true);
    check_writable(r.path, image);
    if (expected && !same_table(image, *expected)) throw EngineError(file_label(r.path) + ": " + changed_file_message);
    TableData shape = shape_of(image);
    for (const SqlStatement& st : statements) {
        const SqlItem& it = st.items.front();
        FieldDef f = fields_for_format({field_of(it)}, r.format).front();
        for (const auto& old : shape.fields)
            if (equal_names(old.name, f.name) || equal_names(old.name, it.name))
                throw EngineError("Duplicate field name '" + it.name + "'");
        shape.fields.push_back(f);
    }
    if (r.format == TableFormat::Paradox) check_paradox_fields(shape.fields);
    const std::size_t old_count = image.fields.size(), n = image.record_count();
    if (values) {
        for (const auto& column : *values)
            if (column.size() != n)
                throw EngineError("The new fields need one value per record: " + std::to_string(n) + " records, " +
                                  std::to_string(column.size()) + " values");
    }
    const RecordFeed old_records = records_of(image);
    const RecordFeed records{n, [&](std::size_t row, Record& scratch) -> const Record& {
                                 const Record& rec = old_records.read(row, scratch);
                                 if (&rec != &scratch) scratch = rec;
                                 for (std::size_t k = 0; k < statements.size(); ++k)
                                     scratch.push_back(values ? value_for_field((*values)[k][row], shape.fields[old_count + k])
                                                              : Value{});
                                 return scratch;
                             }};
    if (values) {
        // Each new value fits its field, checked before anything is written.
        auto fits = record_check(r, shape);
        Record scratch;
        for (std::size_t row = 0; row < n; ++row) fits(records.read(row, scratch), row);
    }
    write_table(r, shape, records, &image);
}

// Drop: the field and its values go; the other fields and the order of records stay.
void drop_field(const ResolvedTable& r, const SqlStatement& st)
{
    const TableData image = read_table(r, true);
    check_writable(r.path, image);
    int i = find_field_in(image, r.format, st.drop_name);
    if (i < 0) throw EngineError("Field '" + shown_in_code_page(st.drop_name, image.code_page) + "' not found");
    if (image.fields.size() == 1) throw EngineError("Cannot drop the last field of a table");
    TableData shape = shape_of(image);
    shape.fields.erase(shape.fields.begin() + i);
    const RecordFeed old_records = records_of(image);
    const RecordFeed records{image.record_count(), [&](std::size_t row, Record& scratch) -> const Record& {
                                 const Record& rec = old_records.read(row, scratch);
                                 if (&rec != &scratch) scratch = rec;
                                 if (static_cast<std::size_t>(i) < scratch.size()) scratch.erase(scratch.begin() + i);
                                 return scratch;
                             }};
    write_table(r, shape, records, &image);
}

}  // namespace

void execute_statement(const std::string& statement)
{
    SqlStatement st = parse_statement(statement);
    ResolvedTable r = resolve_table(st.path, TableType::Default);
    switch (st.kind) {
    case SqlStatement::Kind::Create: create_table(r, st); return;
    case SqlStatement::Kind::Add: add_fields(r, {st}, nullptr, nullptr); return;
    case SqlStatement::Kind::Drop: drop_field(r, st); return;
    }
}

void add_filled_fields(const std::vector<std::string>& statements, const std::vector<std::vector<Value>>& values,
                       const TableData* expected)
{
    if (statements.empty()) return;
    if (values.size() != statements.size())
        throw EngineError("The new fields need one value per record: " + std::to_string(statements.size()) +
                          " fields, values for " + std::to_string(values.size()));
    std::vector<SqlStatement> parsed;
    std::optional<ResolvedTable> table;
    for (const std::string& text : statements) {
        SqlStatement st = parse_statement(text);
        if (st.kind != SqlStatement::Kind::Add) throw EngineError("Not a statement that adds a field: " + text);
        ResolvedTable r = resolve_table(st.path, TableType::Default);
        if (table && r.path != table->path) throw EngineError("The statements name different tables: " + shown_name(st.path));
        table = r;
        parsed.push_back(std::move(st));
    }
    add_fields(*table, parsed, &values, expected);
}

void Query::exec_add_fields(const std::vector<std::string>& statements, const std::vector<std::vector<Value>>& values,
                            const TableData* expected)
{
    for (const std::string& text : statements) {
        sql_ = {text};
        if (on_execute) on_execute(text);
    }
    add_filled_fields(statements, values, expected);
}

}  // namespace vantelo::db
