#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "tests/common/temp_dir.h"

#include "platform/ui/scripted_services.h"
#include "projection/pop_data_resultFrm1.h"
#include "../projection_reports/rtf_reader.h"

using namespace vantelo;

namespace {

std::string slurp(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::u16string text_of(const std::filesystem::path& p)
{
    auto r = rtftest::read_rtf(slurp(p));
    EXPECT_TRUE(r.ok) << r.error;
    return r.text;
}

using vantelo::test_support::TempDir;

}  // namespace

TEST(TextReportWindow, LayoutAndLines)
{
    Tpop_data_resultForm1 w;
    EXPECT_EQ(w.windowTitle(), "人口预测结果");
    auto* save = w.findChild<QPushButton*>("Button1");
    auto* cancel = w.findChild<QPushButton*>("Button2");
    ASSERT_TRUE(save && cancel);
    EXPECT_EQ(save->text(), "存盘");
    EXPECT_EQ(cancel->text(), "取消");
    EXPECT_FALSE(w.RichEdit1()->isReadOnly());
    EXPECT_EQ(w.RichEdit1()->lineWrapMode(), QTextEdit::NoWrap);
    EXPECT_EQ(w.RichEdit1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(w.RichEdit1()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    w.add_line("总人口数");
    w.add_line("2001    166362");
    w.insert_line(0, "");
    EXPECT_EQ(w.lines(), (std::vector<std::string>{"", "总人口数", "2001    166362"}));
    w.clear_lines();
    EXPECT_TRUE(w.lines().empty());
}

TEST(TextReportWindow, SaveWritesRtfOfTheCurrentTextAndACancelWritesNothing)
{
    TempDir dir;
    ui::ScopedScriptedServices s;
    Tpop_data_resultForm1 w;
    w.set_lines({"", "总人口数", "2001    166362"});
    auto* save = w.findChild<QPushButton*>("Button1");

    // a cancelled first dialog writes nothing
    s.save_answers.push_back("");
    save->click();
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    // a name ending in .txt still gets RTF
    auto file = dir.path() / "report.txt";
    s.save_answers.push_back(QString::fromStdString(file.string()));
    save->click();
    EXPECT_EQ(text_of(file), u"\n总人口数\n2001    166362\n");

    // a later cancelled dialog leaves that file as it was, although the text has changed
    QTextCursor c(w.RichEdit1()->document());
    c.movePosition(QTextCursor::End);
    c.insertText("\n手工补充");
    s.save_answers.push_back("");
    save->click();
    EXPECT_EQ(text_of(file), u"\n总人口数\n2001    166362\n");
    EXPECT_EQ(w.SaveDialog1.file_name, QString::fromStdString(file.string()));

    // OK on the name the dialog keeps saves the user's edit
    save->click();
    EXPECT_EQ(text_of(file), u"\n总人口数\n2001    166362\n手工补充\n");
    EXPECT_EQ(s.save_dialogs, 4);
    EXPECT_TRUE(s.messages.empty());
    EXPECT_EQ(w.result(), 0);  // 存盘 does not close the window
}

TEST(TextReportWindow, AnEmptyReportIsADocumentWithoutText)
{
    TempDir dir;
    ui::ScopedScriptedServices s;
    Tpop_data_resultForm1 w;
    auto file = dir.path() / "empty.rtf";
    s.save_answers.push_back(QString::fromStdString(file.string()));
    w.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(text_of(file), u"");
}

TEST(TextReportWindow, AFileThatCannotBeCreatedIsReportedAndNothingChanges)
{
    ui::ScopedScriptedServices s;
    Tpop_data_resultForm1 w;
    w.set_lines({"a"});
    s.save_answers.push_back("/no-such-folder/x/report.rtf");
    w.findChild<QPushButton*>("Button1")->click();
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0].kind, ui::ScriptedServices::Message::Error);
    EXPECT_EQ(s.messages[0].text,
              "Cannot create file /no-such-folder/x/report.rtf: the folder /no-such-folder/x does not exist");
    EXPECT_EQ(w.lines(), std::vector<std::string>{"a"});
}

TEST(TextReportWindow, CancelClosesWithCancel)
{
    Tpop_data_resultForm1 w;
    w.show();
    w.findChild<QPushButton*>("Button2")->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
}
