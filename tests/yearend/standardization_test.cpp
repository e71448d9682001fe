// The standardisation's arithmetic: shares of the joint total, then the given total.
#include <gtest/gtest.h>

#include "analysis/engine/population_fields.h"
#include "analysis/engine/standardization.h"
#include "tests/common/error_text.h"

namespace vantelo::analysis {
namespace {

using projection::k_ar;
using test_errors::error_text;

std::vector<double> standardized(std::vector<k_ar> arrays, int n, double g)
{
    std::vector<k_ar*> p;
    for (k_ar& a : arrays) p.push_back(&a);
    turn_into_shares(p, n);
    scale_shares(p, n, g);
    std::vector<double> flat;
    for (const k_ar& a : arrays) flat.insert(flat.end(), a.begin(), a.end());
    return flat;
}

TEST(Standardization, ByHand)
{
    struct Case {
        const char* name;
        std::vector<k_ar> arrays;
        double total;
        std::vector<double> expected;
    };
    const std::vector<Case> cases = {
        {"3 men and 1 woman at one age, total 100", {{3}, {1}}, 100, {75, 25}},
        {"one age group takes the whole total", {{2}, {2}}, 1e7, {5e6, 5e6}},
        {"two ages, four arrays", {{1, 2}, {3, 4}, {5, 6}, {7, 12}}, 400, {10, 20, 30, 40, 50, 60, 70, 120}},
        {"a negative value is standardised too", {{-1, 3}, {2, 0}}, 8, {-2, 6, 4, 0}},
        {"a negative total", {{1, 1}, {1, 1}}, -100, {-25, -25, -25, -25}},
        {"a total of zero", {{1, 1}, {1, 1}}, 0, {0, 0, 0, 0}},
        {"the same field in two lists", {{1, 3}, {1, 3}}, 80, {10, 30, 10, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int n = static_cast<int>(c.arrays[0].size());
        const std::vector<double> got = standardized(c.arrays, n, c.total);
        ASSERT_EQ(got.size(), c.expected.size());
        for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.expected[i], 1e-9 * std::max(1.0, std::fabs(c.expected[i])));
    }
}

TEST(Standardization, ColumnsSumToTheTotal)
{
    k_ar m(101), f(101);
    for (int x = 0; x < 101; ++x) {
        m[x] = 12345.0 - 97 * x + (x % 7) * 13.5;
        f[x] = 12000.0 - 90 * x + (x % 5) * 21.25;
    }
    std::vector<k_ar*> p{&m, &f};
    turn_into_shares(p, 101);
    long double shares = 0;
    for (int x = 0; x < 101; ++x) shares += static_cast<long double>(m[x]) + f[x];
    EXPECT_NEAR(static_cast<double>(shares), 1.0, 1e-12);
    scale_shares(p, 101, 10000000);
    long double sum = 0;
    for (int x = 0; x < 101; ++x) sum += static_cast<long double>(m[x]) + f[x];
    EXPECT_NEAR(static_cast<double>(sum), 1e7, 1e-6);
}

TEST(Standardization, Refusals)
{
    k_ar zero{0, 0}, also_zero{0, 0};
    EXPECT_EQ(error_text([&] { turn_into_shares({&zero, &also_zero}, 2); }), "Floating point division by zero");
    EXPECT_EQ(zero, (k_ar{0, 0}));
    k_ar shorter{1};
    EXPECT_EQ(error_text([&] { turn_into_shares({&shorter}, 2); }), "Range check error");
    EXPECT_EQ(error_text([] { standardization_total(""); }), "总人口数据不正确.");
    EXPECT_EQ(error_text([] { standardization_total("1千万"); }), "'1千万' is not a valid floating point value");
    EXPECT_EQ(standardization_total("-5e3"), -5000);
}

TEST(Standardization, LoaderKeepsWhatItReadAndRefusesNegatives)
{
    k_ar a{9, 9, 9, 9, 9};
    EXPECT_EQ(error_text([&] { load_population_field(a, {1, -2, 3}); }), "数据格式不正确.");
    EXPECT_EQ(a, (k_ar{1, -2, 3}));
    EXPECT_EQ(error_text([&] { load_population_field(a, {0, 5}); }), "(no error)");
    EXPECT_EQ(a, (k_ar{0, 5}));
}

}  // namespace
}  // namespace vantelo::analysis
