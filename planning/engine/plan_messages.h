#pragma once
// The texts target planning shows for inputs the user must correct. The computing files raise
// them as InputMessage; the dialog shows them in an information box with one OK button.
#include "platform/core/input_message.h"
#include "projection/engine/input_message.h"

namespace vantelo::planning {

using projection::msg_bad_data;

inline constexpr const char* msg_not_enough_variables = "Not enough variable selected!";
inline constexpr const char* msg_redefine_years = "Please Redefine the Restrospect Years Aagain!";
// Some gene of the search admits no value: a reference rate of 0, a band factor k of 1 or
// less, or a reference rate F with F/k not below the age's upper bound.
inline constexpr const char* msg_cannot_search = "Fertility rates of ages 15-49 cannot be searched!";

}  // namespace vantelo::planning
