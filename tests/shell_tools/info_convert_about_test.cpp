// 数据管理 > 表结构 and 格式转换, and 帮助 > 关于.
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "shell/About_Frm1.h"
#include "shell/Convert_table.h"
#include "shell/Table_info.h"
#include "tests/db_dbase/independent.h"
#include "tests/db_paradox/pxlib_reader.h"
#include "tests/common/widget_events.h"
#include "tools_test_util.h"

namespace vantelo::shell::testing {
namespace {

using TableInfo = ToolsTest;

TEST_F(TableInfo, BooleanAndOneFieldTables)
{
    db::execute_statement("Create table \"" + path("kinds.dbf").toStdString() +
                          "\" (名称 Char(12),是否 Boolean,日期 Date,人数 integer)");
    open(path("kinds.dbf"));
    win->Table_infoClick();
    auto* w = last_shown<TTable_info_frm>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "表结构");
    EXPECT_EQ(w->size(), QSize(417, 220));
    EXPECT_EQ(w->findChild<QLabel*>("Label1")->text(), "字段号:");
    EXPECT_EQ(grid_rows(w->StringGrid1), (QList<QStringList>{{"1", "名称", "Char", "12"},
                                                             {"2", "是否", "Boolean", ""},
                                                             {"3", "日期", "Date", ""},
                                                             {"4", "人数", "Integer", ""}}));
    // Any click closes it.
    w->show();
    click_cell(w->StringGrid1, 1, 1);
    EXPECT_TRUE(w->isHidden());
    win->Table_infoClick();
    w = last_shown<TTable_info_frm>();
    w->show();
    test_events::click(w->findChild<QLabel*>("Label3"), QPoint(2, 2));
    EXPECT_TRUE(w->isHidden());

    db::execute_statement("Create table \"" + path("one.db").toStdString() + "\" (年龄 integer)");
    open(path("one.db"));
    win->Table_infoClick();
    EXPECT_EQ(grid_rows(last_shown<TTable_info_frm>()->StringGrid1),
              (QList<QStringList>{{"1", "年龄", "Integer", ""}}));
    // Without a table: the check's message and no window.
    win->Close1Click();
    shown.clear();
    svc.clear();
    win->Table_infoClick();
    EXPECT_EQ(svc.message_texts(), (QStringList{"没有打开的数据表!请先打开数据表."}));
    EXPECT_TRUE(shown.empty());
}

class Convert : public ToolsTest {
protected:
    Tconvert_table_frm* open_window()
    {
        win->Convert1Click();
        auto* w = last_shown<Tconvert_table_frm>();
        EXPECT_NE(w, nullptr);
        w->show();
        return w;
    }
    void convert(Tconvert_table_frm* w, const QString& target, const QString& format = {})
    {
        if (!format.isEmpty()) {
            ASSERT_TRUE(test_events::pick_text(w->ComboBox2, format));
        }
        svc.save_answers.push_back(target);
        w->Button1->click();
    }
    // A Cancel in the window's file dialog: no message, the window stays open.
    void cancel(Tconvert_table_frm* w)
    {
        svc.clear();
        svc.save_answers.push_back(QString());
        w->Button1->click();
        EXPECT_EQ(svc.save_dialogs, 1);
        EXPECT_TRUE(svc.messages.empty());
        EXPECT_FALSE(w->isHidden());
    }
    void expect_source_current(const QString& source)
    {
        EXPECT_EQ(win->Table1.table_name(), source.toStdString());
        EXPECT_TRUE(win->Table1.active());
        EXPECT_EQ(table_open, 1);
        EXPECT_EQ(current_table_file, source);
    }
};

TEST_F(Convert, WindowTextsAndStart)
{
    const QString source = single_region("src.db");
    Tconvert_table_frm* w = open_window();
    EXPECT_EQ(w->windowTitle(), "数据格式转换");
    EXPECT_EQ(w->size(), QSize(257, 156));
    EXPECT_EQ(w->Edit1->text(), source);
    EXPECT_EQ(w->findChild<QLabel*>("Label1")->text(), "源数据表名");
    EXPECT_EQ(w->findChild<QLabel*>("Label2")->text(), "目标数据格式:");
    QStringList items;
    for (int i = 0; i < w->ComboBox2->count(); ++i) items << w->ComboBox2->itemText(i);
    EXPECT_EQ(items, (QStringList{"ASCII", "DBase", "FoxPro", "Paradox"}));
    EXPECT_EQ(w->ComboBox2->currentIndex(), -1);
    EXPECT_EQ(w->ComboBox2->currentText(), "ASCII");
    EXPECT_TRUE(w->SaveDialog1.filter.isEmpty());
    EXPECT_TRUE(w->SaveDialog1.default_ext.isEmpty());
}

TEST_F(Convert, ParadoxCopyReadByPxlib)
{
    const QString source = single_region("src.dbf");
    // Some values to carry over.
    db::Dataset& t = win->Table1;
    for (t.first(); !t.eof(); t.next()) {
        t.edit();
        t.field_by_name("男性人口").set_as_float(1000.5 + t.rec_no());
        t.post();
    }
    Tconvert_table_frm* w = open_window();
    convert(w, path("cv1"), "Paradox");
    ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
    EXPECT_TRUE(w->isHidden());
    expect_source_current(source);
    pxtest::PxTable px = pxtest::px_read(path("cv1.db").toStdString());
    ASSERT_EQ(px.fields.size(), 6u);
    EXPECT_EQ(dbase_test::to_utf8(px.fields[0].name), "年龄");
    EXPECT_EQ(dbase_test::to_utf8(px.fields[5].name), "年龄别生育");   // the dBASE source's name
    ASSERT_EQ(px.records.size(), 81u);
    for (int k = 0; k < 81; ++k) {
        EXPECT_EQ(px.records[k][0].l, k);
        EXPECT_EQ(px.records[k][1].d, 1000.5 + k);
        EXPECT_EQ(px.records[k][2].d, 0.0);
    }
}

TEST_F(Convert, UntouchedFormatGivesAscii)
{
    single_region("src.db");
    Tconvert_table_frm* w = open_window();
    convert(w, path("cv2"));
    ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
    QFile f(path("cv2.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_EQ(lines.size(), 82);   // 81 lines, each ended by CR LF
    EXPECT_TRUE(lines.last().isEmpty());
    for (int k = 0; k < 81; ++k) EXPECT_EQ(lines[k], QByteArray::number(k) + ",0,0,0,0,0\r") << k;
}

TEST_F(Convert, DbaseAndFoxProCopiesReadByOgr)
{
    single_region("src.db");
    for (const char* format : {"DBase", "FoxPro"}) {
        SCOPED_TRACE(format);
        const QString target = path(QString("cv3_%1.dbf").arg(format));
        Tconvert_table_frm* w = open_window();
        convert(w, target, format);
        ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
        const QByteArray bytes = file_bytes(target);
        ASSERT_GT(bytes.size(), 32);
        EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x03);
        if (QString(format) == "FoxPro") {
            EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 0x7A);
        }
        dbase_test::IndepTable ogr = dbase_test::ogr_read(target.toStdString());
        ASSERT_EQ(ogr.fields.size(), 6u);
        EXPECT_EQ(ogr.fields[1].name, "男性人口");
        EXPECT_EQ(ogr.fields[5].name, "年龄别生育");
        ASSERT_EQ(ogr.rows.size(), 81u);
        for (int k = 0; k < 81; ++k) {
            EXPECT_EQ(std::stod(ogr.rows[k][0].value_or("-1")), k);
            EXPECT_EQ(std::stod(ogr.rows[k][3].value_or("-1")), 0.0);
        }
    }
}

TEST_F(Convert, CancelTheSourceItselfAndTypedFormats)
{
    const QString source = single_region("src.db");
    const QByteArray before = file_bytes(source);
    Tconvert_table_frm* w = open_window();
    // A cancelled dialog: nothing happens, the window stays open.
    cancel(w);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    // The current table's own file, by its name or by a name that resolves to it.
    for (const QString& target : {source, path("src")}) {
        svc.clear();
        convert(w, target, "Paradox");
        EXPECT_EQ(svc.message_texts(), (QStringList{"Cannot copy a table onto itself: " + source}));
        EXPECT_EQ(svc.messages.at(0).kind, ui::ScriptedServices::Message::Error);
        EXPECT_FALSE(w->isHidden());
        EXPECT_EQ(file_bytes(source), before);
        expect_source_current(source);
    }
    // A typed format that names none of the list's items is refused, not taken for ASCII.
    svc.clear();
    w->ComboBox2->setCurrentIndex(-1);
    w->ComboBox2->setEditText("paradox");
    svc.save_answers.push_back(path("typed"));
    w->Button1->click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"\"paradox\"不是可选的数据格式."}));
    EXPECT_EQ(svc.save_dialogs, 0);
    EXPECT_FALSE(QFileInfo::exists(path("typed.txt")));
    EXPECT_FALSE(QFileInfo::exists(path("typed.db")));
    // Typing a format's exact name is as good as choosing it.
    svc.clear();
    svc.save_answers.clear();
    w->ComboBox2->setEditText("Paradox");
    svc.save_answers.push_back(path("typed"));
    w->Button1->click();
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_TRUE(QFileInfo::exists(path("typed.db")));
    // 取消.
    w = open_window();
    w->Button2->click();
    EXPECT_TRUE(w->isHidden());
}

// A copy whose second file cannot be written changes neither: the text copy keeps its five
// old lines when its schema is read-only; a Paradox copy onto a table whose memo file is
// read-only leaves the table and its memo file as they were. The message names the file.
TEST_F(Convert, ACopyThatCannotWriteEveryFileChangesNone)
{
    const QString source = single_region("src.db");
    struct Case {
        const char* format;
        QString target;
        QString blocked;
        QByteArray target_bytes;
    };
    const Case cases[] = {
        {"ASCII", path("out.txt"), path("out.sch"), "1\r\n2\r\n3\r\n4\r\n5\r\n"},
        {"Paradox", path("old.db"), path("old.mb"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        if (c.target_bytes.isEmpty()) {
            svc.clear();
            convert(open_window(), c.target, c.format);
            ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
        } else {
            QFile t(c.target);
            ASSERT_TRUE(t.open(QIODevice::WriteOnly));
            t.write(c.target_bytes);
        }
        {
            QFile b(c.blocked);
            ASSERT_TRUE(b.open(QIODevice::WriteOnly));
            b.write("kept");
        }
        QFile::setPermissions(c.blocked, QFile::ReadOwner | QFile::ReadGroup);
        const QByteArray before = file_bytes(c.target);
        const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        svc.clear();
        Tconvert_table_frm* w = open_window();
        convert(w, c.target, c.format);
        EXPECT_EQ(svc.message_texts(), (QStringList{"Cannot open file for writing " + c.blocked + ": Permission denied"}));
        EXPECT_EQ(file_bytes(c.target), before);
        EXPECT_EQ(file_bytes(c.blocked), "kept");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), files);
        expect_source_current(source);
        w->Button2->click();
    }
}

// After a conversion from a window, a cancelled dialog of that window converts nothing again,
// although the dialog still holds the earlier name.
TEST_F(Convert, CancelAfterAConversionConvertsNothing)
{
    const QString source = single_region("src.db");
    Tconvert_table_frm* w = open_window();
    convert(w, path("cv.db"), "Paradox");
    ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
    ASSERT_TRUE(QFileInfo::exists(path("cv.db")));
    ASSERT_TRUE(QFile::remove(path("cv.db")));
    w->show();
    cancel(w);
    EXPECT_FALSE(QFileInfo::exists(path("cv.db")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"src.db"});
    expect_source_current(source);
}

using About = ToolsTest;

TEST_F(About, TextsAndAClickCloses)
{
    win->About1Click();   // no table needed
    auto* w = last_shown<TAbout_Frm>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(win->menu_item("About1")->isEnabled());
    EXPECT_EQ(w->windowTitle(), "关于Vantelo");
    EXPECT_EQ(w->size(), QSize(425, 324));
    EXPECT_EQ(w->Label1->text(), "Vantelo");
    EXPECT_EQ(w->Label2->text(), "(VORN)");
    EXPECT_EQ(w->Label1->font().pixelSize(), 19);
    EXPECT_EQ(w->Label2->font().pixelSize(), 16);
    w->show();
    test_events::click(w->Panel1, QPoint(4, 4));
    EXPECT_TRUE(w->isHidden());
    win->About1Click();
    w = last_shown<TAbout_Frm>();
    w->show();
    test_events::press(w->Shape1, QPoint(1, 1), Qt::LeftButton);
    EXPECT_TRUE(w->isHidden());
}

}  // namespace
}  // namespace vantelo::shell::testing
