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
    case FieldType::Other: return native_size > 0 && native_size < 20 ? native_size : 10;
    }
    return 10;
}

}  // namespace vantelo::db
