#include "analysis/table_access.h"

#include "shell/menu.h"

namespace vantelo::analysis {

std::vector<double> current_table_column(const QString& field_name)
{
    db::Dataset& t = shell::quilta->Table1;
    const int n = t.record_count();
    std::vector<double> v;
    t.first();
    for (int i = 0; i < n; ++i) {
        v.push_back(t.field_by_name(field_name.toStdString()).as_float());
        t.next();
    }
    return v;
}

void raise_list_index(long long index)
{
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace vantelo::analysis
