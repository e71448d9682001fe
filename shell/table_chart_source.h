#pragma once
// A table as the chart component's data source, so that a series can be bound to fields of the
// current table (Table1): records by index, fields by name (letter case ignored), values read
// as reals as the table reads them (an empty field reads 0, a text that is no number raises the
// conversion error) or strictly (an empty field or a text that is no number raises "Invalid
// variant type conversion"), texts as the main window's grid shows them. Filling a series never
// moves the table's cursor.
#include "platform/chart/data_source.h"

namespace vantelo::db {
class Dataset;
}

namespace vantelo::shell {

class TableChartSource : public chart::DataSource {
public:
    // The table is not owned and must outlive the source; a closed table has no records and no
    // fields.
    enum Reading { lenient, strict };
    explicit TableChartSource(db::Dataset& table, Reading reading = lenient) : table_(table), reading_(reading) {}

    int record_count() const override;
    int field_count() const override;
    QString field_name(int field) const override;
    vantelo::real value(int record, int field) const override;
    QString text(int record, int field) const override;

private:
    db::Dataset& table_;
    Reading reading_;
};

}  // namespace vantelo::shell
