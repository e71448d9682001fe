#pragma once
// Standardisation of an age-sex structure: K arrays of people by age (male and female, or the
// rural and urban males and females) are turned into shares of their joint total and then
// multiplied by a given total population. The window checks the new column names between the
// two steps and writes the scaled arrays into the table.
#include <string_view>
#include <vector>

#include "projection/engine/workspace.h"

namespace vantelo::analysis {

inline constexpr const char* msg_total_population = "总人口数据不正确.";

// S = the sum over ages i = 0..n-1 of the K arrays' values at i (age by age, the arrays in
// order, in extended precision); then every A_k[i] := A_k[i] / S in place, so that the arrays
// hold each age-sex cell's share of the joint total. Negative values are taken as they are.
// S = 0 raises the division error before any value changes; an array shorter than n the range
// error.
void turn_into_shares(const std::vector<projection::k_ar*>& arrays, int n);

// The total G of the standardisation from the text of its box: an empty text raises
// InputMessage "总人口数据不正确.", a text that is not a number the conversion error. G is not
// tested further (zero or negative totals are used as they are).
double standardization_total(std::string_view text);

// A_k[i] := A_k[i] * G for i = 0..n-1, in place (unrounded; the table gets the rounded values).
void scale_shares(const std::vector<projection::k_ar*>& arrays, int n, double total);

}  // namespace vantelo::analysis
