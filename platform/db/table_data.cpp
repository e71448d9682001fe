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
    if (a.fields.size() != b.fields.size() || a.records.size() != b.records.size()) return false;
    for (std::size_t i = 0; i < a.fields.size(); ++i) {
        const FieldDef& x = a.fields[i];
        const FieldDef& y = b.fields[i];
        if (x.name != y.name || x.type != y.type) return false;
    }
    return a.records == b.records;
}

}  // namespace vantelo::db
