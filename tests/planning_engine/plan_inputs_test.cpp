#include <gtest/gtest.h>

#include "planning/engine/plan_inputs.h"

namespace vantelo::planning {
namespace {

using Check = void (*)(const std::vector<double>&);

struct LoaderCase {
    const char* name;
    Check check;
    std::vector<double> values;
    bool refused;
};

class LoaderCheck : public testing::TestWithParam<LoaderCase> {};

TEST_P(LoaderCheck, RefusesWithTheDataMessage)
{
    const LoaderCase& c = GetParam();
    if (!c.refused) {
        EXPECT_NO_THROW(c.check(c.values));
        return;
    }
    try {
        c.check(c.values);
        FAIL() << "accepted";
    } catch (const InputMessage& m) {
        EXPECT_STREQ(m.what(), "数据格式不正确.");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Planning, LoaderCheck,
    testing::Values(LoaderCase{"population_zero_passes", check_population_values, {0, 5, 0}, false},
                    LoaderCase{"population_below_zero", check_population_values, {5, -0.5, 3}, true},
                    LoaderCase{"death_rate_one_passes", check_death_rate_values, {0, 0.5, 1}, false},
                    LoaderCase{"death_rate_just_above_one", check_death_rate_values, {0.1, 1.0000001}, true},
                    LoaderCase{"death_rate_below_zero", check_death_rate_values, {-0.01, 0.1}, true},
                    LoaderCase{"fertility_one_passes", check_fertility_values, {0, 1, 0.2}, false},
                    LoaderCase{"fertility_above_one", check_fertility_values, {0.1, 1.5}, true},
                    LoaderCase{"fertility_sum_zero", check_fertility_values, {0, 0, 0}, true},
                    LoaderCase{"fertility_sum_zero_with_negatives", check_fertility_values, {-0.5, 0.5}, true},
                    LoaderCase{"fertility_negative", check_fertility_values, {0.5, -0.1}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchParams, DefaultTextsGiveTheDefaults)
{
    const SearchParams p = read_search_params(SearchParamTexts{});
    EXPECT_EQ(p.population_size, 100);
    EXPECT_EQ(p.crossover_prob, 0.2);
    EXPECT_EQ(p.mutation_prob, 0.5);
    EXPECT_EQ(p.selection_q, 0.05);
    EXPECT_EQ(p.max_generations, 300);
    EXPECT_EQ(p.run_count, 500);
    EXPECT_EQ(p.band_factor, 2.0);
}

TEST(SearchParams, FirstBadTextInEditOrderRaisesItsConversionError)
{
    SearchParamTexts t;
    t.edit5 = "3.5";   // an integer edit
    t.edit12 = "x";    // read after Edit5
    try {
        read_search_params(t);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'3.5' is not a valid integer value");
    }
    t.edit5 = "300";
    try {
        read_search_params(t);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid floating point value");
    }
}

}  // namespace
}  // namespace vantelo::planning
