// The text-file reader: lines as the file holds them, and only as much of the file as it had
// when it was opened.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/core/errors.h"
#include "platform/db/text_file.h"
#include "tests/db_engine/engine_test_util.h"

namespace vantelo::db {
namespace {

using testing_util::error_of;
using testing_util::ScratchDir;

std::vector<std::string> lines_of(TextFileReader& in)
{
    std::vector<std::string> out;
    std::string line;
    while (in.read_line(line)) out.push_back(line);
    return out;
}

TEST(TextFileReader, LinesKeepTheirEndsAndALastLineMayLackOne)
{
    ScratchDir dir;
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"\n", {"\n"}},
        {"a\r\nb\n\nc", {"a\r\n", "b\n", "\n", "c"}},
        {"1 2\r\n3 4\r\n", {"1 2\r\n", "3 4\r\n"}},
        // a line across the 64 KiB buffer
        {std::string(65530, 'x') + "\n" + std::string(100, 'y'), {std::string(65530, 'x') + "\n", std::string(100, 'y')}},
    };
    for (const Case& c : cases) {
        const std::string path = dir.path("t.txt");
        std::ofstream(path, std::ios::binary) << c.bytes;
        TextFileReader in(path);
        EXPECT_EQ(lines_of(in), c.lines);
    }
}

// What is added after the open is not read: the read is bounded by the size the file had.
TEST(TextFileReader, ReadsNoMoreThanTheSizeAtTheOpen)
{
    ScratchDir dir;
    const std::string path = dir.path("grow.txt");
    std::ofstream(path, std::ios::binary) << "1\n2\n";
    TextFileReader in(path);
    std::ofstream(path, std::ios::binary | std::ios::app) << "3\n";
    EXPECT_EQ(lines_of(in), (std::vector<std::string>{"1\n", "2\n"}));
}

TEST(TextFileReader, OpenRefusals)
{
    ScratchDir dir;
    EXPECT_EQ(error_of([&] { TextFileReader in(dir.path("missing.txt")); }), "File not found");
    EXPECT_EQ(error_of([&] { TextFileReader in(dir.path("none/missing.txt")); }), "File not found");
    EXPECT_EQ(error_of([&] { TextFileReader in(dir.dir()); }),
              dir.dir() + " is not a regular file, so it cannot be read as a text file");
    EXPECT_THROW(TextFileReader in("/dev/null"), InOutError);
}

}  // namespace
}  // namespace vantelo::db
