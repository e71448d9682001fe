#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include <filesystem>
#include <fstream>
#include <sstream>
#include "platform/db/atomic_file.h"
#include "tests/db_common/file_change_trials.h"
#include "tests/common/temp_dir.h"

#include <QString>

#include "platform/core/errors.h"
#include "platform/db/atomic_file.h"
#include "projection/rtf_writer.h"
#include "rtf_reader.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}


}  // namespace

TEST(RtfWriter, ChineseAsSignedUnicodeEscapes)
{
    // 年 U+5E74 = 24180; 龄 U+9F84 = 40836 - 65536 = -24700; 预 U+9884 = 39044 - 65536 = -26492
    std::string doc = rtf_document({"年龄预"}, "MS Sans Serif");
    EXPECT_NE(doc.find("\\u24180?\\u-24700?\\u-26492?\\par\r\n"), std::string::npos) << doc;
    for (unsigned char c : doc) EXPECT_LT(c, 0x80);
}

TEST(RtfWriter, HeaderCarriesFontCharsetAndA4PageAndEndsControlWordsBeforeText)
{
    std::string doc = rtf_document({"2001    166362"}, "MS Sans Serif");
    EXPECT_EQ(doc,
              "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052{\\fonttbl{\\f0\\fnil\\fcharset134 MS Sans Serif;}}\r\n"
              "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134\r\n"
              "\\viewkind4\\uc1\\pard\\f0\\fs20 2001    166362\\par\r\n"
              "}\r\n");
}

TEST(RtfWriter, SpecialCharactersAreEscaped)
{
    std::string doc = rtf_document({"a\\b{c}\td\x01"}, "F");
    EXPECT_NE(doc.find("a\\\\b\\{c\\}\\tab d\\par"), std::string::npos) << doc;
}

TEST(RtfWriter, ReadBackGivesTheLinesInOrder)
{
    std::vector<std::string> lines{"", "总人口数", "2001    166362", "2010年 年龄结构", "年龄  男性        女性",
                                   "{x}\\y", "𝄞 beyond the basic plane"};
    auto r = rtftest::read_rtf(rtf_document(lines, "MS Sans Serif"));
    ASSERT_TRUE(r.ok) << r.error;
    std::u16string expected;
    for (const auto& l : lines) {
        expected += QString::fromStdString(l).toStdU16String();
        expected += u'\n';
    }
    EXPECT_EQ(r.text, expected);
    EXPECT_EQ(r.font_name, "MS Sans Serif");
    EXPECT_EQ(r.charset, 134);
}

TEST(RtfWriter, NoLinesIsADocumentWithoutText)
{
    auto r = rtftest::read_rtf(rtf_document({}, "MS Sans Serif"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.text.empty());
}

TEST(RtfFile, WritesCrLfAndReplacesAnExistingFile)
{
    vantelo::test_support::TempDir dir("vantelo-rtf");
    std::string path = dir.file("report.txt");
    { std::ofstream(path) << "old contents that are longer than the new document will be, by far, surely"; }
    write_rtf_file(path, {"年", "b"}, "MS Sans Serif");
    std::string data = slurp(path);
    EXPECT_EQ(data.rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(data.find("old"), std::string::npos);
    // every line end is CR LF
    for (size_t i = 0; i < data.size(); ++i)
        if (data[i] == '\n') {
            EXPECT_EQ(data[i - 1], '\r');
        }
    auto r = rtftest::read_rtf(data);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, u"年\nb\n");
}

TEST(RtfFile, AFileThatCannotBeCreatedNamesIt)
{
    std::string path = "/nonexistent-folder/sub/report.rtf";
    try {
        write_rtf_file(path, {"x"}, "F");
        FAIL();
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(),
                     "Cannot create file /nonexistent-folder/sub/report.rtf: the folder /nonexistent-folder/sub does "
                     "not exist");
    }
}

// Each failure names its reason in words for a report, and leaves what was there.
TEST(RtfFile, FailuresNameTheirReason)
{
    vantelo::test_support::TempDir dir("vantelo-rtf");
    const std::string kept = dir.file("kept.rtf");
    { std::ofstream(kept) << "old"; }
    ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
    const std::string full = dir.file("full.rtf");
    { std::ofstream(full) << "old"; }
    std::filesystem::create_directory(dir.file("folder.rtf"));
    struct Case {
        std::string path;
        int fault;   // errno of a failing write, or 0
        std::string message;
    };
    const Case cases[] = {
        {kept, 0, "Cannot open file for writing " + kept + ": Permission denied"},
        {full, ENOSPC, "Cannot write file " + full + ": No space left on device"},
        {dir.file("folder.rtf"), 0, dir.file("folder.rtf") + " is not a regular file, so it cannot be written as a report"},
        {dir.file("r\x1B]0;x\x07.rtf"), 0, "Invalid file name (control character): " + dir.file("r\\x1B]0;x\\x07.rtf")},
    };
    for (const Case& c : cases) {
        vantelo::db::set_write_fault_hook([&](const char* call) { return std::string(call) == "write" ? c.fault : 0; });
        try {
            write_rtf_file(c.path, {"x"}, "F");
            ADD_FAILURE() << c.message;
        } catch (const InOutError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        vantelo::db::set_write_fault_hook({});
    }
    EXPECT_EQ(slurp(kept), "old");
    EXPECT_EQ(slurp(full), "old");
    EXPECT_FALSE(std::filesystem::exists(dir.file("r\x1B]0;x\x07.rtf")));
}

// The text report saved as RTF killed or failing (EIO, ENOSPC) at each of its writing calls, onto an existing file
// and onto a new name: a failure has changed nothing, a save reported done is complete, a kill
// leaves the old file or the whole new one, and the same save made again completes and leaves
// no temporary file.
TEST(RtfFile, KilledOrFailingAtAnyWriteTheFileIsBeforeOrAfter)
{
    const vantelo::db::test_common::HookReset reset_hook;
    const auto counts = vantelo::db::test_common::single_file_save_trials(
        "report.txt", [](const std::string& path) { write_rtf_file(path, {"年", "b"}, "MS Sans Serif"); });
    std::printf("  The text report saved as RTF: %d kills, %d errors\n", counts.kill_trials, counts.error_trials);
}
