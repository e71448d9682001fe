#pragma once
// TODO(shared pieces): replaced by the table adapter of the platform once it lands.
#include <memory>
#include <string>

#include "platform/chart/data_source.h"
#include "platform/db/dataset.h"

namespace vantelo {
class ListIndexError : public Error {
public:
    explicit ListIndexError(long long index) : Error("List index out of bounds (" + std::to_string(index) + ")") {}
};
}  // namespace vantelo

namespace vantelo::charts {

// The field's value in the current record, strictly as a real.
double strict_real(const db::Field& f);

// Table1 as a chart data source; strict: an empty or non-numeric field read as a real raises
// "Invalid variant type conversion" instead of reading 0.
std::unique_ptr<chart::DataSource> table_chart_source(const db::Dataset& table, bool strict);

}  // namespace vantelo::charts
