#include "platform/db/table_data.h"

namespace vantelo::db {

int FieldDef::display_width() const
{
    switch (type) {
    case FieldType::String: return size;
    case FieldType::SmallInt: return 6;
    case FieldType::Integer: return 11;
    case FieldType::LargeInt: return 20;
    case FieldType::Boolean: return 5;
    case FieldType::Float: return 20;
    case FieldType::Currency: return 20;
    case FieldType::Date: return 10;
    case FieldType::Other:
        // Shown kinds: a time as hh:mm:ss, a timestamp (or a FoxPro date-time, stored in 8
        // bytes) as "yyyy-mm-dd hh:mm:ss", a BCD number as up to 20 characters, bytes by size,
        // memo and blob kinds as 10.
        switch (native) {
        case 'T': return native_size == 8 ? 19 : 10;
        case '@': return 19;
        case '#': return 20;
        case 'Y': return native_size > 0 ? native_size : 10;
        default: return 10;
        }
    }
    return 10;
}

bool same_table(const TableData& a, const TableData& b)
{
    if (a.fields.size() != b.fields.size() || a.record_count() != b.record_count()) return false;
    for (std::size_t i = 0; i < a.fields.size(); ++i) {
        const FieldDef& x = a.fields[i];
        const FieldDef& y = b.fields[i];
        if (x.name != y.name || x.type != y.type) return false;
    }
    if (!a.compact && !b.compact) return a.records == b.records;
    Record ra, rb;
    for (std::size_t r = 0; r < a.record_count(); ++r) {
        if (a.compact) a.columns.read_record(r, ra);
        if (b.compact) b.columns.read_record(r, rb);
        if ((a.compact ? ra : a.records[r]) != (b.compact ? rb : b.records[r])) return false;
    }
    return true;
}

Record TableData::record(std::size_t row) const
{
    return compact ? columns.record(row) : records.at(row);
}

void TableData::reserve(std::size_t rows)
{
    if (compact) columns.reserve(rows);
    else records.reserve(rows);
}

void TableData::add_record(Record&& rec)
{
    if (compact) {
        columns.push_back(std::move(rec));
        rec.clear();
    } else {
        records.push_back(std::move(rec));
    }
}

void TableData::set_record(std::size_t row, const Record& rec)
{
    if (compact) columns.set(row, rec);
    else records.at(row) = rec;
}

void TableData::erase_record(std::size_t row)
{
    if (compact) columns.erase(row);
    else if (row < records.size()) records.erase(records.begin() + static_cast<std::ptrdiff_t>(row));
}

RecordFeed records_of(const TableData& t)
{
    RecordFeed f;
    f.count = t.record_count();
    if (t.compact)
        f.read = [&t](std::size_t row, Record& scratch) -> const Record& {
            t.columns.read_record(row, scratch);
            return scratch;
        };
    else
        f.read = [&t](std::size_t row, Record&) -> const Record& { return t.records[row]; };
    return f;
}

TableData compact_image(TableData t)
{
    if (t.compact) return t;
    t.columns = ColumnStore(t.fields.size());
    t.compact = true;
    t.columns.reserve(t.records.size());
    for (Record& r : t.records) t.columns.push_back(std::move(r));
    t.records = {};
    return t;
}

TableData shape_of(const TableData& t)
{
    TableData p;
    p.fields = t.fields;
    p.read_only = t.read_only;
    p.read_only_reason = t.read_only_reason;
    p.code_page = t.code_page;
    p.dbase_version = t.dbase_version;
    p.foxpro_marks = t.foxpro_marks;
    return p;
}

TableData plain_image(const TableData& t)
{
    if (!t.compact) return t;
    TableData p = shape_of(t);
    p.records.reserve(t.columns.size());
    for (std::size_t r = 0; r < t.columns.size(); ++r) p.records.push_back(t.columns.record(r));
    return p;
}

}  // namespace vantelo::db
