#include <gtest/gtest.h>

#include "platform/core/numtext.h"

using namespace vantelo;

struct PatternCase {
    long double value;
    const char* pattern;
    const char* expected;
};

void PrintTo(const PatternCase& c, std::ostream* os) { *os << c.pattern << " of " << static_cast<double>(c.value); }

class PatternTest : public testing::TestWithParam<PatternCase> {};

TEST_P(PatternTest, Formats)
{
    const auto& c = GetParam();
    EXPECT_EQ(format_pattern(c.value, c.pattern), c.expected) << c.pattern << " " << static_cast<double>(c.value);
}

INSTANTIATE_TEST_SUITE_P(Patterns, PatternTest, testing::Values(
    PatternCase{0.05L, "#####.##", ".05"},              // no leading zero
    PatternCase{0, "#####.####", ""},                    // nothing at all for 0
    PatternCase{0.00004L, "#####.####", ""},             // rounds to 0
    PatternCase{105.12345L, "#####.####", "105.1235"},   // ties away from zero
    PatternCase{0.125L, "#####.##", ".13"},
    PatternCase{-0.125L, "#####.##", "-.13"},
    PatternCase{12.5L, "#####.####", "12.5"},            // no trailing zeros
    PatternCase{1.6L, "#####.##", "1.6"},
    PatternCase{1234567.891L, "#####.##", "1234567.89"}, // more integer digits than places
    PatternCase{0.0123456789L, "##.######", ".012346"},
    PatternCase{81, "####.####", "81"},
    PatternCase{0.999999L, "####.####", "1"},
    PatternCase{0.00012345678L, "#####.########", ".00012346"}));

struct GeneralCase {
    long double value;
    const char* expected;
};

void PrintTo(const GeneralCase& c, std::ostream* os) { *os << static_cast<double>(c.value); }

class GeneralTest : public testing::TestWithParam<GeneralCase> {};

TEST_P(GeneralTest, Formats) { EXPECT_EQ(format_general(GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(General, GeneralTest, testing::Values(
    GeneralCase{0, "0"}, GeneralCase{1, "1"}, GeneralCase{-2.25L, "-2.25"},
    GeneralCase{0.1L, "0.1"}, GeneralCase{0.0001L, "0.0001"}, GeneralCase{0.00001L, "1E-5"},
    GeneralCase{1e-7L, "1E-7"}, GeneralCase{0.000123L, "0.000123"},
    GeneralCase{123456789012345.0L, "123456789012345"}, GeneralCase{1e15L, "1E15"},
    GeneralCase{1.0L / 3, "0.333333333333333"}, GeneralCase{2.0L / 3, "0.666666666666667"},
    GeneralCase{static_cast<double>(0.1), "0.1"}));

TEST(ParseFloat, AcceptsPlainDecimals)
{
    EXPECT_EQ(parse_float("1.5"), 1.5L);
    EXPECT_EQ(parse_float(" -2.25 "), -2.25L);
    EXPECT_EQ(parse_float(".5"), 0.5L);
    EXPECT_EQ(parse_float("1e-7"), 1e-7L);
    EXPECT_EQ(parse_float("3."), 3.0L);
    EXPECT_EQ(parse_float("+4E2"), 400.0L);
}

TEST(ParseFloat, RefusesWhatIsNotANumber)
{
    for (const char* bad : {"", " ", "abc", "1,5", "1 000", "inf", "nan", "1e", ".", "-", "1.2.3", "0x10", "1e99999"}) {
        try {
            parse_float(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid floating point value");
        }
    }
}

TEST(ParseInt, ReadsAndRefuses)
{
    EXPECT_EQ(parse_int("42"), 42);
    EXPECT_EQ(parse_int("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(parse_int("$1F"), 31);
    for (const char* bad : {"", "1.0", "2147483648", "x", "1e3"}) {
        try {
            parse_int(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid integer value");
        }
    }
}

TEST(Rounding, HalfToEvenForPopulations)
{
    EXPECT_EQ(round_half_even(2.5L), 2.0L);
    EXPECT_EQ(round_half_even(3.5L), 4.0L);
    EXPECT_EQ(round_half_even(-2.5L), -2.0L);
    EXPECT_EQ(round_half_even(2.4999L), 2.0L);
    EXPECT_EQ(round_half_away(2.5L), 3.0L);
    EXPECT_EQ(round_to_int64(1234567.5L), 1234568);
}
