#pragma once
// A stationary population of 101 single ages, P_s(x) = B_s L_s(x) with the reference life
// tables, for which the year-end estimate has a known answer: the population itself.
#include "tests/projection_windows/projection_table.h"
#include "tests/yearend/reference_life_table.h"

namespace yearend_reference {

constexpr int stationary_ages = 101;
constexpr double stationary_male_births = 51234, stationary_female_births = 48766;

inline InputRow stationary_row(int x)
{
    static const auto mm = test_rates(stationary_ages, true), mf = test_rates(stationary_ages, false);
    static const auto tm = life_table(mm, true), tf = life_table(mf, false);
    return {stationary_male_births * tm.L[x], stationary_female_births * tf.L[x], mm[x], mf[x], 0};
}

inline long double stationary_total()
{
    long double t = 0;
    for (int x = 0; x < stationary_ages; ++x)
        t += static_cast<long double>(stationary_row(x).male) + stationary_row(x).female;
    return t;
}

}  // namespace yearend_reference
