// Fertility-pattern text files: reading into a grid column, writing from it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "projection/engine/fertility_pattern_file.h"
#include "projection/engine/year_grid.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

std::string temp_path(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() / "vantelo_pattern_test";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

std::string write_file(const std::string& name, const std::string& bytes)
{
    const std::string p = temp_path(name);
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

GridModel pattern_grid()
{
    GridModel g(3, 37);
    for (int c = 1; c <= 2; ++c)
        for (int i = 1; i <= 36; ++i) g.set_cell(c, i, "old");
    return g;
}

}  // namespace

TEST(PatternFile, ReadsOneNumberPerLineSkippingBlanksAndRestOfLine)
{
    std::string bytes = "\r\n   .05 ignored words\r\n";  // an empty line, then leading blanks
    for (int i = 2; i <= 35; ++i) bytes += "\t" + std::to_string(i) + "e-3\r\n";
    bytes += "99\r\n";  // a 36th number is never read
    const std::string p = write_file("good.txt", bytes);
    GridModel g = pattern_grid();
    read_pattern_into_grid(g, 2, p);
    EXPECT_EQ(g.cell(2, 1), "0.05");
    EXPECT_EQ(g.cell(2, 2), "0.002");
    EXPECT_EQ(g.cell(2, 35), "0.035");
    EXPECT_EQ(g.cell(2, 36), "old");  // the total is not recomputed
    EXPECT_EQ(g.cell(1, 1), "old");
}

TEST(PatternFile, ShortFileFillsTheRestWithZero)
{
    const std::string p = write_file("short.txt", "0.5\r\n0.25\n0.25");
    GridModel g = pattern_grid();
    read_pattern_into_grid(g, 1, p);
    EXPECT_EQ(g.cell(1, 1), "0.5");
    EXPECT_EQ(g.cell(1, 3), "0.25");
    for (int i = 4; i <= 35; ++i) EXPECT_EQ(g.cell(1, i), "0") << i;
}

TEST(PatternFile, Refusals)
{
    {
        const std::string p = write_file("bad.txt", "0.1\r\n0.2\r\n1,5\r\n0.3\r\n");
        GridModel g = pattern_grid();
        try {
            read_pattern_into_grid(g, 1, p);
            ADD_FAILURE();
        } catch (const InOutError& e) {
            EXPECT_STREQ(e.what(), "Invalid numeric input");
        }
        EXPECT_EQ(g.cell(1, 2), "0.2");  // written before the bad number
        EXPECT_EQ(g.cell(1, 3), "old");
    }
    {
        GridModel g = pattern_grid();
        try {
            read_pattern_into_grid(g, 1, temp_path("does_not_exist.txt"));
            ADD_FAILURE();
        } catch (const InOutError& e) {
            EXPECT_STREQ(e.what(), "File not found");
        }
    }
    {
        GridModel g = pattern_grid();
        EXPECT_THROW(write_pattern_from_grid(g, 1, temp_path("no_such_dir/out.txt")), InOutError);
    }
}

TEST(PatternFile, WritesCellTextsUnchangedWithCrLf)
{
    GridModel g = pattern_grid();
    std::string expected;
    for (int i = 1; i <= 35; ++i) {
        const std::string t = i == 3 ? ".05" : (i == 4 ? "0.0" : std::to_string(i));
        g.set_cell(1, i, t);
        expected += t + "\r\n";
    }
    const std::string p = temp_path("out.txt");
    std::ofstream(p) << "previous content that is longer than what gets written, to be overwritten entirely";
    write_pattern_from_grid(g, 1, p);
    EXPECT_EQ(slurp(p), expected);

    GridModel back = pattern_grid();
    read_pattern_into_grid(back, 2, p);
    EXPECT_EQ(back.cell(2, 3), "0.05");
    EXPECT_EQ(back.cell(2, 4), "0");
    EXPECT_EQ(back.cell(2, 35), "35");
}
