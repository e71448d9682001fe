#include <gtest/gtest.h>

#include "platform/core/checked.h"

using namespace vantelo;

TEST(Checked, RealErrorsRaiseInsteadOfInfinities)
{
    EXPECT_THROW(checked_div(1, 0), ZeroDivideError);
    EXPECT_THROW(checked_div(0, 0), InvalidOpError);
    EXPECT_THROW(checked_ln(0), InvalidOpError);
    EXPECT_THROW(checked_ln(-1), InvalidOpError);
    EXPECT_THROW(checked_sqrt(-1), InvalidOpError);
    EXPECT_THROW(checked_exp(1e6L), FpOverflowError);
    EXPECT_THROW(to_double(1e400L), FpOverflowError);
    EXPECT_EQ(checked_div(1, 4), 0.25L);
}

TEST(Checked, IntegerOverflowAndRange)
{
    EXPECT_THROW(checked_add(std::int32_t{2147483647}, std::int32_t{1}), IntOverflowError);
    EXPECT_THROW(checked_sub(std::int32_t{-2147483647 - 1}, std::int32_t{1}), IntOverflowError);
    EXPECT_THROW(checked_mul(std::int32_t{65536}, std::int32_t{65536}), IntOverflowError);
    std::vector<double> v(3);
    EXPECT_THROW(at(v, 3), RangeError);
    EXPECT_THROW(at(v, -1), RangeError);
    EXPECT_NO_THROW(at(v, 2) = 1);
    EXPECT_STREQ(RangeError().what(), "Range check error");
}
