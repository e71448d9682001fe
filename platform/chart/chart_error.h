#pragma once
// The chart component's error: raised with the exact text the program shows in its error box.
#include <string>

#include "platform/core/errors.h"

namespace vantelo::chart {

class ChartError : public vantelo::Error {
public:
    using vantelo::Error::Error;
};

}  // namespace vantelo::chart
