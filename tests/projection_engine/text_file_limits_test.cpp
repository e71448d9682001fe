// The projection's number files within bounds. Reading: each hostile file is made at run time
// and read in a child process held to 512 MB of address space and 60 seconds, where it ends
// with its message or with the right numbers. Writing: one rule for the names, and failures
// that say why.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "platform/db/atomic_file.h"
#include "projection/engine/fertility_pattern_file.h"
#include "projection/engine/wizard_file.h"
#include "projection/engine/year_grid.h"
#include "tests/common/temp_dir.h"
#include "tests/db_common/limited_child.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

// What the read gave: its numbers, or "error: " and the message of what it raised.
std::string outcome(const db::test_common::ChildResult& r) { return r.raised ? "error: " + r.text : r.text; }

std::string write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// bytes, then a hole up to a size of 2 GiB: a sparse file that takes no disk space.
std::string with_hole(const std::string& path, const std::string& bytes)
{
    write_file(path, bytes);
    std::filesystem::resize_file(path, std::uintmax_t{2} << 30);
    return path;
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// The numbers read, as "count: first .. last" (each as the general format writes it).
std::string pattern_summary(const std::string& path)
{
    const std::vector<real> v = read_pattern_numbers(path, 35);
    long double sum = 0;
    for (real x : v) sum += x;
    return std::to_string(v.size()) + " numbers, sum " + std::to_string(static_cast<double>(sum));
}

std::string wizard_summary(const std::string& path, int per_line, int required, int max_rows)
{
    const auto rows = read_wizard_rows(path, per_line, required, max_rows);
    long double sum = 0;
    for (const auto& row : rows)
        for (real x : row) sum += x;
    return std::to_string(rows.size()) + " rows, sum " + std::to_string(static_cast<double>(sum));
}

std::string not_regular(const std::string& path)
{
    return "error: " + path + " is not a regular file, so it cannot be read as a text file";
}

std::string too_long(const std::string& path, int line)
{
    return "error: " + path + ": line " + std::to_string(line) +
           " is longer than 65536 bytes, so it cannot be read as a text file";
}

}  // namespace

// Each reader of the number files, on each hostile file: refused at once when it is not a
// regular file (a FIFO never blocks), stopped at the first line beyond the bound, and read only
// as far as the page needs (the rows before a 2 GiB hole, never the hole).
TEST(TextFileLimits, HostileFilesEndWithTheirMessageOrTheRightNumbers)
{
    test_support::TempDir dir("vantelo-text-limits");
    const std::string fifo = dir.file("fifo.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::filesystem::create_directory(dir.file("folder.txt"));
    const std::string sparse = with_hole(dir.file("sparse.txt"), "");
    const std::string long_line =
        write_file(dir.file("long.txt"), "0.5\r\n" + std::string(70000, '7') + "\r\n0.5\r\n");
    const std::string long_tail = write_file(dir.file("tail.txt"), "0.5 " + std::string(70000, ' ') + "\r\n");
    // What the pages need, then a hole of zeros that would take 2 GiB to hold.
    const std::string pattern_then_hole = with_hole(dir.file("pattern_hole.txt"), repeat("0.02\r\n", 35));
    const std::string pairs_then_hole = with_hole(dir.file("pairs_hole.txt"), repeat("1000  1001\r\n", 81));
    const std::string ones_then_hole = with_hole(dir.file("ones_hole.txt"), repeat("0.05\r\n", 36));

    struct Case {
        const char* name;
        std::function<std::string()> read;
        std::string expected;
    };
    const Case cases[] = {
        {"pattern: /dev/zero", [] { return pattern_summary("/dev/zero"); }, not_regular("/dev/zero")},
        {"pattern: a FIFO", [&] { return pattern_summary(fifo); }, not_regular(fifo)},
        {"pattern: a folder", [&] { return pattern_summary(dir.file("folder.txt")); },
         not_regular(dir.file("folder.txt"))},
        {"pattern: 2 GiB of zeros", [&] { return pattern_summary(sparse); }, too_long(sparse, 1)},
        {"pattern: a long line", [&] { return pattern_summary(long_line); }, too_long(long_line, 2)},
        {"pattern: a long rest of a line", [&] { return pattern_summary(long_tail); }, too_long(long_tail, 1)},
        // 35 numbers of 0.02 sum to 0.7
        {"pattern: 35 lines before a hole", [&] { return pattern_summary(pattern_then_hole); },
         "35 numbers, sum 0.700000"},
        {"wizard: /dev/zero", [] { return wizard_summary("/dev/zero", 2, 81, 81); }, not_regular("/dev/zero")},
        {"wizard: a FIFO", [&] { return wizard_summary(fifo, 2, 81, 81); }, not_regular(fifo)},
        {"wizard: 2 GiB of zeros", [&] { return wizard_summary(sparse, 2, 81, 81); }, too_long(sparse, 1)},
        {"wizard: a long line", [&] { return wizard_summary(long_line, 1, 1, 36); }, too_long(long_line, 2)},
        // 81 rows of 1000 and 1001: 81 * 2001 = 162081
        {"wizard: 81 rows before a hole", [&] { return wizard_summary(pairs_then_hole, 2, 81, 81); },
         "81 rows, sum 162081.000000"},
        // the fertility page: 36 rows of 0.05 = 1.8
        {"wizard: 36 rows before a hole", [&] { return wizard_summary(ones_then_hole, 1, 35, 36); },
         "36 rows, sum 1.800000"},
    };
    for (const Case& c : cases) {
        const db::test_common::ChildResult r = db::test_common::run_limited(c.read);
        EXPECT_TRUE(r.answered) << c.name << ": " << r.ending;
        EXPECT_EQ(outcome(r), c.expected) << c.name;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

// A wizard file is read no further than the page's rows: what follows them, however bad, is
// not read; a long file of short lines gives the page's rows and no more.
TEST(TextFileLimits, WizardRowsStopAtThePage)
{
    test_support::TempDir dir("vantelo-text-limits");
    const std::string after = write_file(dir.file("after.txt"), "1 2\r\n3 4\r\nx y\r\n" + std::string(70000, 'z'));
    EXPECT_EQ(read_wizard_rows(after, 2, 2, 2), (std::vector<std::vector<real>>{{1, 2}, {3, 4}}));
    const std::string many = write_file(dir.file("many.txt"), repeat("0.25\r\n", 100000));
    const auto rows = read_wizard_rows(many, 1, 35, 36);
    ASSERT_EQ(rows.size(), 36u);
    EXPECT_EQ(rows[35][0], real(0.25));
    // A line of exactly 65536 bytes before its LF (the CR counts) is still read; one more is not.
    const std::string full = write_file(dir.file("full.txt"), "0.5" + std::string(65532, ' ') + "\r\n0.75\r\n");
    EXPECT_EQ(read_wizard_rows(full, 1, 2, 2), (std::vector<std::vector<real>>{{0.5}, {0.75}}));
    const std::string over = write_file(dir.file("over.txt"), "0.5" + std::string(65533, ' ') + "\r\n0.75\r\n");
    try {
        read_wizard_rows(over, 1, 2, 2);
        ADD_FAILURE();
    } catch (const InOutError& e) {
        EXPECT_EQ("error: " + std::string(e.what()), too_long(over, 1));
    }
}

// Every file the number writers make follows the one rule for names: a control character, a
// line end or a bidirectional control in the name is refused before anything is written.
TEST(TextFileWrite, NamesWithControlCharactersAreRefused)
{
    test_support::TempDir dir("vantelo-text-names");
    GridModel grid(2, 37);
    struct Name {
        std::string name, shown;
    };
    const Name names[] = {
        {"a\x1B[2Jb.txt", "a\\x1B[2Jb.txt"},
        {"two\nlines.txt", "two\\x0Alines.txt"},
        {"evil\xE2\x80\xAEtxt.exe", "evil\\xE2\\x80\\xAEtxt.exe"},
        {"c1\xC2\x9B.txt", "c1\\xC2\\x9B.txt"},
    };
    const std::function<void(const std::string&)> writers[] = {
        [](const std::string& p) { write_wizard_rows(p, {{"1", "2"}}); },
        [&](const std::string& p) { write_pattern_from_grid(grid, 1, p); },
    };
    for (const Name& n : names)
        for (const auto& write : writers) {
            try {
                write(dir.file(n.name));
                ADD_FAILURE() << n.shown;
            } catch (const InOutError& e) {
                EXPECT_EQ(std::string(e.what()), "Invalid file name (control character): " + dir.file(n.shown));
            }
        }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    // A name in GBK bytes is a name like any other.
    write_wizard_rows(dir.file("\xC8\xCB\xBF\xDA.txt"), {{"1", "2"}});
    EXPECT_EQ(slurp(dir.file("\xC8\xCB\xBF\xDA.txt")), "1  2\r\n");
}

// A text file that cannot be written says why, as a text file, and leaves what was there.
TEST(TextFileWrite, FailuresNameTheirReason)
{
    test_support::TempDir dir("vantelo-text-write");
    const std::string kept = write_file(dir.file("kept.txt"), "old\r\n");
    ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
    const std::string full = write_file(dir.file("full.txt"), "old\r\n");
    const std::string fifo = dir.file("fifo.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::filesystem::create_directory(dir.file("folder.txt"));
    struct Case {
        const char* name;
        std::string path;
        int fault;   // errno of a failing write, or 0
        std::string message;
    };
    const Case cases[] = {
        {"folder missing", dir.file("none/out.txt"), 0,
         "Cannot create file " + dir.file("none/out.txt") + ": the folder " + dir.file("none") + " does not exist"},
        {"read-only file", kept, 0, "Cannot open file for writing " + kept + ": Permission denied"},
        {"no space", full, ENOSPC, "Cannot write file " + full + ": No space left on device"},
        {"a FIFO", fifo, 0, fifo + " is not a regular file, so it cannot be written as a text file"},
        {"a folder", dir.file("folder.txt"), 0,
         dir.file("folder.txt") + " is not a regular file, so it cannot be written as a text file"},
    };
    for (const Case& c : cases) {
        db::set_write_fault_hook([&](const char* call) { return std::string(call) == "write" ? c.fault : 0; });
        try {
            write_wizard_rows(c.path, {{"1", "2"}});
            ADD_FAILURE() << c.name;
        } catch (const InOutError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
        db::set_write_fault_hook({});
    }
    EXPECT_EQ(slurp(kept), "old\r\n");
    EXPECT_EQ(slurp(full), "old\r\n");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none")));
}
