// Shares of an age pyramid from two population columns.
#include <gtest/gtest.h>

#include <cmath>

#include "charts/engine/pyramid_shares.h"
#include "platform/core/errors.h"

using vantelo::charts::pyramid_shares;

TEST(PyramidShares, SharesOfTheJointTotalMalesNegative)
{
    // Males 60, 40 and females 50, 50: total 200, so -60/200, -40/200, 50/200, 50/200.
    const auto s = pyramid_shares({60, 40}, {50, 50});
    ASSERT_EQ(s.male.size(), 2u);
    ASSERT_EQ(s.female.size(), 2u);
    EXPECT_DOUBLE_EQ(s.male[0], -0.3);
    EXPECT_DOUBLE_EQ(s.male[1], -0.2);
    EXPECT_DOUBLE_EQ(s.female[0], 0.25);
    EXPECT_DOUBLE_EQ(s.female[1], 0.25);
}

TEST(PyramidShares, SharesSumToOneInMagnitude)
{
    std::vector<double> m, f;
    for (int x = 0; x < 101; ++x) {
        m.push_back(1000 + 13 * ((x * 7) % 17));
        f.push_back(990 + 11 * ((x * 5) % 19));
    }
    const auto s = pyramid_shares(m, f);
    long double sum = 0;
    for (std::size_t i = 0; i < m.size(); ++i) {
        EXPECT_LE(s.male[i], 0);
        EXPECT_GE(s.female[i], 0);
        sum += -s.male[i] + s.female[i];
    }
    EXPECT_NEAR(static_cast<double>(sum), 1.0, 1e-12);
}

TEST(PyramidShares, NoRecordsGiveNoSharesAndNoDivision)
{
    const auto s = pyramid_shares({}, {});
    EXPECT_TRUE(s.male.empty());
    EXPECT_TRUE(s.female.empty());
}

TEST(PyramidShares, ZeroTotalIsADivisionByZero)
{
    EXPECT_THROW(pyramid_shares({0, 0}, {0, 0}), vantelo::ZeroDivideError);
    // A total of 0 from values of both signs too, though no single value is 0.
    EXPECT_THROW(pyramid_shares({10}, {-10}), vantelo::ZeroDivideError);
}

TEST(PyramidShares, ColumnsOfUnequalLengthAreARangeError)
{
    EXPECT_THROW(pyramid_shares({1, 2}, {1}), vantelo::RangeError);
}
