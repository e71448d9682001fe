#include "platform/chart/data_source.h"

#include "platform/chart/chart_error.h"

namespace vantelo::chart {

int find_field(const DataSource& source, const QString& name)
{
    const int n = source.field_count();
    for (int i = 0; i < n; ++i)
        if (source.field_name(i).compare(name, Qt::CaseInsensitive) == 0) return i;
    throw ChartError(("Field '" + name + "' not found").toStdString());
}

}  // namespace vantelo::chart
