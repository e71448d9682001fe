#include "analysis/engine/standardization.h"

#include "platform/core/checked.h"
#include "platform/core/input_message.h"
#include "platform/core/numtext.h"

namespace vantelo::analysis {

void turn_into_shares(const std::vector<projection::k_ar*>& arrays, int n)
{
    real s = 0;
    for (int i = 0; i < n; ++i)
        for (projection::k_ar* a : arrays) s = checked_add(s, at(*a, i));
    if (s == 0) checked_div(real(1), s);  // the division error, before any value changes
    for (projection::k_ar* a : arrays)
        for (int i = 0; i < n; ++i) at(*a, i) = to_double(checked_div(at(*a, i), s));
}

double standardization_total(std::string_view text)
{
    if (text.empty()) throw InputMessage(msg_total_population);
    return to_double(parse_float(text));
}

void scale_shares(const std::vector<projection::k_ar*>& arrays, int n, double total)
{
    for (projection::k_ar* a : arrays)
        for (int i = 0; i < n; ++i) at(*a, i) = to_double(checked_mul(real(at(*a, i)), total));
}

}  // namespace vantelo::analysis
