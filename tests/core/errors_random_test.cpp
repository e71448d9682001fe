// The error texts of lists and strict conversions, and the random-number seam.
#include <gtest/gtest.h>

#include <vector>

#include "platform/core/errors.h"
#include "platform/core/random.h"

using namespace vantelo;

TEST(ErrorTexts, ListIndexAndVariantConversion)
{
    EXPECT_STREQ(ListIndexError(5).what(), "List index out of bounds (5)");
    EXPECT_STREQ(ListIndexError(-1).what(), "List index out of bounds (-1)");
    EXPECT_STREQ(VariantError().what(), "Invalid variant type conversion");
    // Both are errors of the program's own, so the handler guard shows them.
    EXPECT_THROW(throw ListIndexError(0), Error);
    EXPECT_THROW(throw VariantError(), Error);
}

TEST(RandomSeam, AScriptedSourceAnswersUntilRestored)
{
    std::vector<double> script{0.25, 0.0, 0.999};
    size_t next = 0;
    {
        ScopedRandomSource scripted([&] { return script.at(next++); });
        randomize();  // reseeding the default generator leaves the scripted source in force
        EXPECT_EQ(random_uniform(), 0.25);
        EXPECT_EQ(random_uniform(), 0.0);
        EXPECT_EQ(random_uniform(), 0.999);
    }
    // Restored: the default generator answers, the script is not asked again.
    const double r = random_uniform();
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, 1.0);
    EXPECT_EQ(next, 3u);
}

TEST(RandomSeam, ReseedingRepeatsTheSequenceAndStaysInRange)
{
    randomize(12345);
    std::vector<double> first;
    for (int i = 0; i < 1000; ++i) first.push_back(random_uniform());
    randomize(12345);
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(random_uniform(), first[static_cast<size_t>(i)]) << i;
    for (double r : first) {
        EXPECT_GE(r, 0.0);
        EXPECT_LT(r, 1.0);
    }
    randomize(54321);
    EXPECT_NE(random_uniform(), first[0]);

    // Reseeding from the clock takes the milliseconds since midnight.
    const std::uint32_t ms = milliseconds_of_day();
    EXPECT_LT(ms, 86400000u);
    randomize();
    const double a = random_uniform();
    EXPECT_GE(a, 0.0);
    EXPECT_LT(a, 1.0);
}
