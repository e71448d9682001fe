// Runs the statements of the program's local SQL on table files.
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

// Add: the new field goes last and reads empty in every record. The file is rewritten whole
// through a temporary file, streamed from the table as read, so a failure leaves it as it was.
void add_field(const ResolvedTable& r, const SqlStatement& st)
{
    const TableData image = read_table(r, true);
    check_writable(r.path, image);
    const SqlItem& it = st.items.front();
    FieldDef f = fields_for_format({field_of(it)}, r.format).front();
    for (const auto& old : image.fields)
        if (equal_names(old.name, f.name) || equal_names(old.name, it.name))
            throw EngineError("Duplicate field name '" + it.name + "'");
    TableData shape = shape_of(image);
    shape.fields.push_back(f);
    if (r.format == TableFormat::Paradox) check_paradox_fields(shape.fields);
    const RecordFeed old_records = records_of(image);
    const RecordFeed records{image.record_count(), [&](std::size_t row, Record& scratch) -> const Record& {
                                 const Record& rec = old_records.read(row, scratch);
                                 if (&rec != &scratch) scratch = rec;
                                 scratch.emplace_back();
                                 return scratch;
                             }};
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
    case SqlStatement::Kind::Add: add_field(r, st); return;
    case SqlStatement::Kind::Drop: drop_field(r, st); return;
    }
}

}  // namespace vantelo::db
