// The wizard's text files: rows of one or two numbers per line, read until the end of the file,
// and the writer of its grids.
#include <gtest/gtest.h>

#include <cstdio>

#include <filesystem>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "platform/db/atomic_file.h"
#include "tests/db_common/file_change_trials.h"
#include "platform/core/input_message.h"
#include "tests/common/error_text.h"
#include "projection/engine/wizard_file.h"
#include "tests/common/temp_dir.h"

using namespace vantelo;
using namespace vantelo::projection;
using Rows = std::vector<std::vector<real>>;

namespace {

struct Files {
    test_support::TempDir dir{"vantelo-wizard-file"};
    std::string write(const std::string& name, const std::string& bytes)
    {
        const std::string p = (dir.path() / name).string();
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }
};

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}


}  // namespace

TEST(WizardFileRead, TwoNumbersPerLine)
{
    struct Case {
        const char* name;
        std::string bytes;
        int required;
        Rows expected;
    };
    const Case cases[] = {
        {"CR LF lines", "1  2\r\n3  4\r\n", 2, {{1, 2}, {3, 4}}},
        {"blanks, tabs and the rest of a line", "  5\t6 seven 8\r\n\t.5 -0.25\n", 2, {{5, 6}, {0.5, -0.25}}},
        {"no line end after the last number", "1 2\r\n3 4", 2, {{1, 2}, {3, 4}}},
        {"a last empty line gives a row of zeros", "1 2\r\n3 4\r\n\r\n", 2, {{1, 2}, {3, 4}, {0, 0}}},
        {"a line of one number takes the second from the next line", "1\r\n2 9\r\n3 4\r\n5 6\r\n", 2,
         {{1, 2}, {3, 4}, {5, 6}}},
        {"extra lines are read too", "1 2\r\n3 4\r\n5 6\r\n", 1, {{1, 2}, {3, 4}, {5, 6}}},
        {"exponents", "1E3 25e-2\r\n", 1, {{1000, 0.25}}},
    };
    for (const Case& c : cases) {
        Files f;
        EXPECT_EQ(read_wizard_rows(f.write("p.txt", c.bytes), 2, c.required, 10), c.expected) << c.name;
    }
}

TEST(WizardFileRead, OneNumberPerLine)
{
    Files f;
    std::string bytes;
    for (int i = 0; i < 35; ++i) bytes += std::to_string(i) + "e-3\r\n";
    // 35 lines: the age-50 row is optional
    Rows rows = read_wizard_rows(f.write("f35.txt", bytes), 1, 35, 36);
    ASSERT_EQ(rows.size(), 35u);
    EXPECT_EQ(rows[34][0], real(34) / 1000);
    rows = read_wizard_rows(f.write("f36.txt", bytes + "0.01 old text\r\n"), 1, 35, 36);
    ASSERT_EQ(rows.size(), 36u);
    EXPECT_EQ(rows[35][0], real(1) / 100);
}

TEST(WizardFileRead, RefusalsWithTheirMessages)
{
    Files f;
    struct Case {
        const char* name;
        std::string bytes;
        int required;
        std::string message;  // "{}" stands for the path
    };
    const Case cases[] = {
        {"fewer lines than ages", "1 2\r\n3 4\r\n", 5, "文件{}中的数据不够: 需要5个年龄的数据, 只有2个."},
        {"the last line lacks its female number", "1 2\r\n3 4\r\n5\r\n", 3, "文件{}中的数据不够: 需要3个年龄的数据, 只有2个."},
        {"a trailing empty line does not count as data", "1 2\r\n\r\n", 2, "文件{}中的数据不够: 需要2个年龄的数据, 只有1个."},
        {"an empty file", "", 1, "文件{}中的数据不够: 需要1个年龄的数据, 只有0个."},
        {"a decimal comma", "1 2\r\n1,5 3\r\n", 2, "Invalid numeric input"},
        {"a word", "1 2\r\nabc 3\r\n", 2, "Invalid numeric input"},
        {"a bad token after the last age", "1 2\r\n3 4\r\nx y\r\n", 2, "Invalid numeric input"},
        {"not a number", "1 2\r\n3 nan\r\n", 2, "Invalid numeric input"},
    };
    for (const Case& c : cases) {
        const std::string p = f.write("bad.txt", c.bytes);
        std::string expected = c.message;
        if (auto at = expected.find("{}"); at != std::string::npos) expected.replace(at, 2, p);
        EXPECT_EQ(test_errors::error_text([&] { read_wizard_rows(p, 2, c.required, 10); }), expected) << c.name;
    }
    EXPECT_EQ(test_errors::error_text([&] { read_wizard_rows(f.path("missing.txt"), 2, 1, 1); }), "File not found");
    EXPECT_EQ(test_errors::error_text([&] { read_wizard_rows(f.path("no_dir/missing.txt"), 1, 1, 1); }), "File not found");
    // the kinds: a short file is an input to correct, the others input/output errors
    EXPECT_THROW(read_wizard_rows(f.write("s.txt", "1 2\r\n"), 2, 2, 2), InputMessage);
    EXPECT_THROW(read_wizard_rows(f.write("n.txt", "1 a\r\n"), 2, 1, 1), InOutError);
}

TEST(WizardFileWrite, TextsUnchangedTwoBlanksApartWithCrLf)
{
    Files f;
    const std::string p = f.path("out.txt");
    std::ofstream(p) << "an older and much longer content that must go entirely, every byte of it";
    write_wizard_rows(p, {{"1000", ".5"}, {"0.0", "1E-6"}, {"", "7"}});
    EXPECT_EQ(slurp(p), "1000  .5\r\n0.0  1E-6\r\n  7\r\n");
    write_wizard_rows(p, {{".066667"}, {"0.0"}});
    EXPECT_EQ(slurp(p), ".066667\r\n0.0\r\n");

    // read back by the wizard's reader and by a plain stream reader
    write_wizard_rows(p, {{"1050", "1000"}, {"2.5", ".25"}});
    EXPECT_EQ(read_wizard_rows(p, 2, 2, 2), (Rows{{1050, 1000}, {2.5, 0.25}}));
    std::istringstream in(slurp(p));
    double a, b, c, d;
    in >> a >> b >> c >> d;
    EXPECT_EQ(std::vector<double>({a, b, c, d}), std::vector<double>({1050, 1000, 2.5, 0.25}));
}

TEST(WizardFileWrite, AFailureIsAnInputOutputErrorAndLeavesNoFile)
{
    Files f;
    EXPECT_THROW(write_wizard_rows(f.path("no_dir/out.txt"), {{"1", "2"}}), InOutError);
    EXPECT_FALSE(std::filesystem::exists(f.path("no_dir")));
}

// The wizard table saved killed or failing (EIO, ENOSPC) at each of its writing calls, onto an existing file
// and onto a new name: a failure has changed nothing, a save reported done is complete, a kill
// leaves the old file or the whole new one, and the same save made again completes and leaves
// no temporary file.
TEST(WizardFileWrite, KilledOrFailingAtAnyWriteTheFileIsBeforeOrAfter)
{
    const vantelo::db::test_common::HookReset reset_hook;
    const auto counts = vantelo::db::test_common::single_file_save_trials(
        "out.txt", [](const std::string& path) { write_wizard_rows(path, {{"1000", ".5"}, {"0.0", "1E-6"}}); });
    std::printf("  The wizard table saved: %d kills, %d errors\n", counts.kill_trials, counts.error_trials);
}
