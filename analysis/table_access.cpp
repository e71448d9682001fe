#include "analysis/table_access.h"

#include <string>

namespace vantelo::analysis {

void raise_list_index(long long index)
{
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace vantelo::analysis
