// Number texts must not follow the process locale: Qt sets it from LANG, and a German locale
// writes and reads "1,5" for one and a half.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/core/numtext.h"

using namespace vantelo;

namespace {

// Builds a German locale in a private folder (no root, no system change) and switches to it.
bool switch_to_german_locale(const std::filesystem::path& dir)
{
    std::string cmd = "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0 && !std::filesystem::exists(dir / "de_DE.UTF-8")) return false;
    setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

}  // namespace

TEST(NumberTexts, IgnoreAGermanProcessLocale)
{
    auto dir = std::filesystem::temp_directory_path() / "vantelo-locale-test";
    std::filesystem::create_directories(dir);
    if (!switch_to_german_locale(dir)) GTEST_SKIP() << "localedef could not build de_DE.UTF-8";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the German locale is not in force";

    EXPECT_EQ(format_pattern(1234.5678L, "#####.##"), "1234.57");
    EXPECT_EQ(format_pattern(0.05L, "#####.##"), ".05");
    EXPECT_EQ(format_general(-2.25L), "-2.25");
    EXPECT_EQ(format_general(1e-7L), "1E-7");
    EXPECT_EQ(parse_float("1.5"), 1.5L);
    EXPECT_THROW(parse_float("1,5"), ConvertError);

    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
}
