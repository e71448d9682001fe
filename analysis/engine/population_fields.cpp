#include "analysis/engine/population_fields.h"

#include "projection/engine/input_message.h"

namespace vantelo::analysis {

void load_population_field(projection::k_ar& target, const std::vector<double>& column)
{
    projection::resize_array(target, static_cast<long long>(column.size()));
    for (size_t i = 0; i < column.size(); ++i) target[i] = column[i];
    for (double v : target)
        if (v < 0) throw InputMessage(projection::msg_bad_data);
}

}  // namespace vantelo::analysis
