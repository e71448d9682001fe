#include "charts/engine/pyramid_shares.h"

#include "platform/core/checked.h"

namespace vantelo::charts {

PyramidShares pyramid_shares(const std::vector<double>& male, const std::vector<double>& female)
{
    if (male.size() != female.size()) throw RangeError();
    PyramidShares out;
    if (male.empty()) return out;
    real male_sum = 0, female_sum = 0;
    for (std::size_t i = 0; i < male.size(); ++i) {
        male_sum = checked_add(male_sum, static_cast<real>(male[i]));
        female_sum = checked_add(female_sum, static_cast<real>(female[i]));
    }
    const real total = checked_add(male_sum, female_sum);
    if (total == 0) throw ZeroDivideError();
    out.male.reserve(male.size());
    out.female.reserve(female.size());
    for (std::size_t i = 0; i < male.size(); ++i) {
        out.male.push_back(to_double(checked_div(-static_cast<real>(male[i]), total)));
        out.female.push_back(to_double(checked_div(static_cast<real>(female[i]), total)));
    }
    return out;
}

}  // namespace vantelo::charts
