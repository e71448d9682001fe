#pragma once
// The shares of an age pyramid drawn from two population columns of a table.
#include <vector>

namespace vantelo::charts {

struct PyramidShares {
    std::vector<double> male;    // negative: drawn to the left
    std::vector<double> female;  // positive: drawn to the right
};

// Shares of the joint total, one per record (age row) i:
//     total = sum of male + sum of female
//     male share(i) = -male(i) / total,  female share(i) = female(i) / total
// computed in long double and stored as double. The two columns have one value per record and
// must be equally long (else RangeError). No records gives no shares and no division; a total of
// 0 with at least one record raises ZeroDivideError ("Floating point division by zero"); a sum
// beyond the real range raises the overflow error.
PyramidShares pyramid_shares(const std::vector<double>& male, const std::vector<double>& female);

}  // namespace vantelo::charts
