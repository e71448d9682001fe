#pragma once
// The table a series can be filled from. The program adapts its table engine to this; the
// chart knows nothing else of it. Records are addressed by index, so filling a series never
// moves the table's current record.
#include <QString>

#include "platform/core/checked.h"

namespace vantelo::chart {

class DataSource {
public:
    virtual ~DataSource() = default;

    virtual int record_count() const = 0;
    virtual int field_count() const = 0;
    virtual QString field_name(int field) const = 0;

    // The field's value in record `record` as a real number: an empty field reads 0; a text
    // that is not a number raises the program's conversion error.
    virtual vantelo::real value(int record, int field) const = 0;

    // The field's value as display text (point labels).
    virtual QString text(int record, int field) const = 0;
};

// The index of the field named `name`, letter case ignored; raises ChartError
// "Field '<name>' not found" when the source has no such field.
int find_field(const DataSource& source, const QString& name);

}  // namespace vantelo::chart
