#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/core/errors.h"
#include "projection/pattern_file.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

std::string temp_file(const std::string& name, const std::string& contents)
{
    auto p = std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()));
    std::ofstream(p, std::ios::binary) << contents;
    return p.string();
}

}  // namespace

TEST(PatternFile, ReadsANumberPerLineAndSkipsTheRest)
{
    std::string contents = "  .05 first age\r\n\r\n0.1\t comment\n1E-2\n";
    auto path = temp_file("pattern", contents);
    auto v = read_pattern_file(path);
    ASSERT_EQ(v.size(), 35u);
    EXPECT_EQ(v[0], 0.05L);
    EXPECT_EQ(v[1], 0.1L);
    EXPECT_EQ(v[2], 0.01L);
    for (size_t i = 3; i < 35; ++i) EXPECT_EQ(v[i], 0) << i;  // fewer than 35 numbers: 0
    std::filesystem::remove(path);
}

TEST(PatternFile, Failures)
{
    auto path = temp_file("badpattern", "0.1\nabc\n");
    try {
        read_pattern_file(path);
        FAIL();
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "Invalid numeric input");
    }
    std::filesystem::remove(path);
    try {
        read_pattern_file("/no/such/pattern.txt");
        FAIL();
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
}

TEST(PatternFile, WritesTheTextsWithCrLf)
{
    auto path = temp_file("outpattern", "");
    write_pattern_file(path, {".05", "0.0", ""});
    std::ifstream in(path, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(all, ".05\r\n0.0\r\n\r\n");
    std::filesystem::remove(path);
}
