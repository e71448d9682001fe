#include "shell/table_chart_source.h"

#include "platform/db/dataset.h"
#include "shell/dataset_model.h"

namespace vantelo::shell {

int TableChartSource::record_count() const { return table_.active() ? table_.record_count() : 0; }

int TableChartSource::field_count() const { return table_.active() ? table_.field_count() : 0; }

QString TableChartSource::field_name(int field) const { return QString::fromStdString(table_.field_def(field).name); }

vantelo::real TableChartSource::value(int record, int field) const
{
    if (reading_ == strict) return db::value_as_real_strict(table_.value_at(record, field));
    return db::value_as_real(table_.value_at(record, field), table_.field_def(field));
}

QString TableChartSource::text(int record, int field) const
{
    return DatasetModel::display_text(table_.value_at(record, field), table_.field_def(field).type);
}

}  // namespace vantelo::shell
