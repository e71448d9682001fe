// 数据管理 > 计算: the window's lists and modes, the operator by the list's text, the messages, and
// the computed table read back by independent readers.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>

#include "shell/compute_Frm1.h"
#include "tests/common/text_fit.h"
#include "tests/common/widget_events.h"
#include "tests/db_common/fault_trials.h"
#include "tests/db_common/temp_table_dir.h"
#include "tests/db_dbase/independent.h"
#include "tests/db_paradox/pxlib_reader.h"
#include "tools_test_util.h"

namespace vantelo::shell::testing {
namespace {

QStringList items(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

class Compute : public ToolsTest {
protected:
    Tcompute_Frm* open_window()
    {
        win->Compute1Click();
        auto* w = last_shown<Tcompute_Frm>();
        EXPECT_NE(w, nullptr);
        w->show();
        return w;
    }
    // Names chosen from the lists (the operator too, unless op is empty).
    void choose(Tcompute_Frm* w, const QString& target, const QString& a, const QString& op, const QString& b)
    {
        ASSERT_TRUE(test_events::pick_text(w->ComboBox1, target));
        ASSERT_TRUE(test_events::pick_text(w->ComboBox2, a));
        if (!op.isEmpty()) {
            ASSERT_TRUE(test_events::pick_text(w->ComboBox3, op));
        }
        if (!b.isEmpty()) {
            ASSERT_TRUE(test_events::pick_text(w->ComboBox4, b));
        }
    }
    std::vector<double> column(const std::string& name)
    {
        db::Dataset r;
        r.set_table_name(current_table_file.toStdString());
        r.open();
        std::vector<double> out;
        for (r.first(); !r.eof(); r.next()) out.push_back(r.field_by_name(name).as_float());
        return out;
    }
};

TEST_F(Compute, WindowTextsListsAndModes)
{
    const QString file = single_region("single.DB");
    Tcompute_Frm* w = open_window();
    EXPECT_EQ(w->windowTitle(), "计算");
    EXPECT_EQ(w->size(), QSize(483, 156));
    EXPECT_EQ(w->ComboBox5->currentText(), file);
    const QStringList fields = {"年龄", "男性人口", "女性人口", "男性死亡率", "女性死亡率", "年龄别生育率"};
    EXPECT_EQ(items(w->ComboBox1), fields);
    EXPECT_EQ(items(w->ComboBox2), fields);
    EXPECT_EQ(items(w->ComboBox4), fields);
    EXPECT_EQ(w->ComboBox1->currentText(), "");
    EXPECT_TRUE(w->RadioButton1->isChecked());
    EXPECT_EQ(w->RadioButton1->text(), "运算");
    EXPECT_EQ(w->RadioButton2->text(), "替换");
    EXPECT_EQ(w->RadioButton3->text(), "变换");
    EXPECT_EQ(items(w->ComboBox3), (QStringList{"+", "-", "*", "/"}));
    EXPECT_EQ(w->ComboBox3->currentText(), "+");
    EXPECT_EQ(w->ComboBox3->currentIndex(), -1);
    EXPECT_EQ(w->BitBtn1->text(), "确认");
    EXPECT_EQ(w->BitBtn2->text(), "取消");

    w->RadioButton2->click();
    EXPECT_FALSE(w->ComboBox3->isEnabled());
    EXPECT_FALSE(w->ComboBox4->isEnabled());
    EXPECT_EQ(w->ComboBox3->count(), 0);
    EXPECT_EQ(w->ComboBox3->currentText(), "");
    w->RadioButton3->click();
    EXPECT_TRUE(w->ComboBox2->isEnabled());
    EXPECT_TRUE(w->ComboBox3->isEnabled());
    EXPECT_FALSE(w->ComboBox4->isEnabled());
    EXPECT_EQ(items(w->ComboBox3), (QStringList{"ABS()", "Ln()", "1/10", "%", "1/1000", "*10", "*100", "*1000",
                                                "1/X", "Exp()", "Round()"}));
    EXPECT_EQ(w->ComboBox3->currentText(), "ABS()");
    EXPECT_EQ(w->ComboBox3->currentIndex(), -1);
    w->RadioButton1->click();
    EXPECT_TRUE(w->ComboBox3->isEnabled());
    EXPECT_TRUE(w->ComboBox4->isEnabled());
    EXPECT_EQ(w->ComboBox3->currentText(), "+");
    EXPECT_EQ(w->ComboBox3->currentIndex(), -1);

    // The table name's handler refills the lists on the user's edits only.
    win->Table1.close();
    db::execute_statement("alter table \"" + file.toStdString() + "\" add 新 Float");
    win->Table1.open();
    EXPECT_EQ(w->ComboBox1->count(), 6);
    QTest::keyClick(w->ComboBox5->lineEdit(), Qt::Key_End);
    QTest::keyClicks(w->ComboBox5->lineEdit(), "x");
    EXPECT_EQ(w->ComboBox1->count(), 7);
    EXPECT_EQ(w->ComboBox4->itemText(6), "新");
    w->BitBtn2->click();
    EXPECT_TRUE(w->isHidden());
}

// The field boxes show the whole names of both input layouts (up to eight characters, such as
// 农村年龄别生育率), the operator box every operator and transformation, and every caption its
// whole text, at the window's own size.
TEST_F(Compute, EveryNameAndCaptionShowsWhole)
{
    for (bool urban_rural : {false, true}) {
        SCOPED_TRACE(urban_rural ? "urban/rural" : "single region");
        const QString file = path(urban_rural ? "u.DB" : "s.DB");
        prepare(file, urban_rural);
        win->SaveDialog1.file_name.clear();
        ASSERT_EQ(table_open, 1);
        Tcompute_Frm* w = open_window();
        ASSERT_EQ(w->size(), QSize(483, 156));
        QCoreApplication::processEvents();
        ASSERT_EQ(w->ComboBox1->count(), urban_rural ? 11 : 6);
        for (QRadioButton* mode : {w->RadioButton1, w->RadioButton2, w->RadioButton3}) {
            SCOPED_TRACE(mode->text().toStdString());
            mode->click();
            // Each field chosen in turn shows whole in each field box.
            for (int i = 0; i < w->ComboBox1->count(); ++i) {
                for (QComboBox* box : {w->ComboBox1, w->ComboBox2, w->ComboBox4}) box->setCurrentIndex(i);
                const QStringList clipped = test_text_fit::clipped_texts(w);
                ASSERT_TRUE(clipped.isEmpty()) << clipped.join('\n').toStdString();
            }
        }
        w->BitBtn2->click();
    }
}

TEST_F(Compute, AcceptanceOnTheSingleRegionTable)
{
    const QString file = single_region("single.DB");
    Tcompute_Frm* w = open_window();
    // 1. "*" chosen: 男性人口 = k^2.
    choose(w, "男性人口", "年龄", "*", "年龄");
    w->BitBtn1->click();
    ASSERT_TRUE(svc.messages.empty()) << svc.message_texts().join("|").toStdString();
    // 2. Operator untouched ("+"): 女性人口 = 2k.
    w->RadioButton1->click();
    choose(w, "女性人口", "年龄", "", "年龄");
    w->BitBtn1->click();
    // The window stays open after each computation.
    EXPECT_FALSE(w->isHidden());
    // pxlib's view of the file.
    pxtest::PxTable px = pxtest::px_read(file.toStdString());
    ASSERT_EQ(px.records.size(), 81u);
    for (int k = 0; k < 81; ++k) {
        EXPECT_EQ(px.records[k][1].d, k * k) << k;
        EXPECT_EQ(px.records[k][2].d, 2 * k) << k;
    }
    EXPECT_EQ(px.records[9][1].d, 81);
    EXPECT_EQ(px.records[80][1].d, 6400);
    EXPECT_EQ(px.records[80][2].d, 160);

    // 3. "/" by 男性死亡率 (all 0): one "Data Error!", nothing changed.
    const QByteArray before = file_bytes(file);
    choose(w, "女性人口", "年龄", "/", "男性死亡率");
    w->BitBtn1->click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"Data Error!"}));
    EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Information);
    EXPECT_EQ(file_bytes(file), before);

    // 4. 1/10 of 年龄 into 男性死亡率, then Round() into 女性死亡率.
    svc.clear();
    w->RadioButton3->click();
    choose(w, "男性死亡率", "年龄", "1/10", "");
    w->BitBtn1->click();
    choose(w, "女性死亡率", "男性死亡率", "Round()", "");
    w->BitBtn1->click();
    EXPECT_TRUE(svc.messages.empty());
    px = pxtest::px_read(file.toStdString());
    EXPECT_EQ(px.records[25][3].d, 2.5);
    EXPECT_EQ(px.records[5][4].d, 0);
    EXPECT_EQ(px.records[15][4].d, 2);
    EXPECT_EQ(px.records[25][4].d, 2);
    EXPECT_EQ(px.records[35][4].d, 4);

    // 5. Exp() of 男性人口 (k^2) into 女性人口: the overflow at record 27 in the default error box.
    choose(w, "女性人口", "男性人口", "Exp()", "");
    w->BitBtn1->click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"Floating point overflow"}));
    EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Error);
    px = pxtest::px_read(file.toStdString());
    EXPECT_EQ(px.records[1][2].d, 2.718281828459045);
    EXPECT_NEAR(px.records[26][2].d / std::exp(676.0), 1, 1e-15);
    EXPECT_EQ(px.records[27][2].d, 54);
    EXPECT_EQ(px.records[80][2].d, 160);

    // 6. Ln() of 年龄: "Data Error!" at record 0; a target typed as "zz"; 变换 untouched on -1.5.
    svc.clear();
    const QByteArray before6 = file_bytes(file);
    choose(w, "女性人口", "年龄", "Ln()", "");
    w->BitBtn1->click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"Data Error!"}));
    svc.clear();
    ASSERT_TRUE(test_events::pick_text(w->ComboBox3, "ABS()"));
    w->ComboBox1->setEditText("zz");
    w->BitBtn1->click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"Field 'zz' not found"}));
    EXPECT_EQ(file_bytes(file), before6);
    svc.clear();
    db::Dataset& t = win->Table1;
    t.move_to(3);
    t.edit();
    t.field_by_name("男性死亡率").set_as_float(-1.5);
    t.post();
    w->RadioButton3->click();   // "ABS()" shown, nothing chosen
    choose(w, "女性死亡率", "男性死亡率", "", "");
    w->BitBtn1->click();
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_EQ(column("女性死亡率")[3], 1.5);
    EXPECT_EQ(column("女性死亡率")[25], 2.5);
    // The main grid shows the new values.
    EXPECT_EQ(t.value_at(3, 4), db::Value(1.5));
}

// A write error at each writing call of 确认, on either format: the table gets every new value
// or none; a failure is shown in the error box and the main table shows the file as it is.
TEST_F(Compute, AFailedWriteChangesNothing)
{
    for (const char* name : {"single.DB", "single.dbf"}) {
        SCOPED_TRACE(name);
        const QString file = single_region(name);
        const std::string path = file.toStdString();
        const std::vector<unsigned char> original = db::test_common::file_bytes(path);
        Tcompute_Frm* w = open_window();
        db::test_common::FaultTrials t;
        t.folder = std::filesystem::path(path).parent_path().string();
        t.kills = false;  // the engine-level trials kill the same write in a child process
        t.setup = [&] {
            win->Table1.close();
            db::write_file_atomically(path, original);
            win->Table1.open();
            svc.clear();
        };
        t.command = [&]() -> std::string {
            w->RadioButton1->click();
            choose(w, "男性人口", "年龄", "*", "年龄");
            w->BitBtn1->click();
            return svc.message_texts().join('\n').toStdString();
        };
        t.snapshot = [&] { return db::test_common::describe_table_file(path); };
        t.on_failure = [&](const std::string&) {
            ASSERT_EQ(svc.messages.size(), 1u);
            EXPECT_EQ(svc.messages[0].kind, ui::ScriptedServices::Message::Error);
            EXPECT_EQ(db::test_common::describe_table(win->Table1.data()), db::test_common::describe_table_file(path));
        };
        const auto n = db::test_common::run_fault_trials(t);
        EXPECT_GT(n.reported_failed, 0);
        db::test_common::print_trial_counts(std::string("compute window, ") + name, n);
        w->close();
    }
}

TEST_F(Compute, TypedOperatorsAndEmptyBoxes)
{
    const QString file = single_region("single.dbf");
    const QByteArray before = file_bytes(file);
    Tcompute_Frm* w = open_window();
    choose(w, "男性人口", "年龄", "", "年龄");
    // A typed operator that is no item: refused, nothing computed.
    w->ComboBox3->setEditText("x");
    w->BitBtn1->click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"\"x\"不是可选的运算."}));
    EXPECT_EQ(file_bytes(file), before);
    // A typed "*" is the item "*", never a + b.
    svc.clear();
    w->ComboBox3->setEditText("*");
    w->BitBtn1->click();
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_EQ(column("男性人口")[7], 49);
    // An empty text the mode needs: nothing happens, silently.
    const QByteArray after = file_bytes(file);
    w->ComboBox4->setEditText("");
    w->BitBtn1->click();
    w->ComboBox3->setEditText("");
    w->BitBtn1->click();
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_EQ(file_bytes(file), after);
    // 替换 reads no b: an empty or unknown ComboBox4 is no error.
    w->RadioButton2->click();
    w->ComboBox4->setEditText("no such field");
    choose(w, "女性人口", "男性人口", "", "");
    w->BitBtn1->click();
    EXPECT_TRUE(svc.messages.empty());
    // Typed "ln()" in 变换 is refused rather than taken for ABS().
    w->RadioButton3->click();
    w->ComboBox3->setEditText("ln()");
    w->BitBtn1->click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"\"ln()\"不是可选的运算."}));
    // ogr2ogr's view of the dBASE file.
    dbase_test::IndepTable ogr = dbase_test::ogr_read(file.toStdString());
    ASSERT_EQ(ogr.rows.size(), 81u);
    for (int k = 0; k < 81; ++k) {
        EXPECT_EQ(std::stod(ogr.rows[k][1].value_or("-1")), k * k) << k;
        EXPECT_EQ(std::stod(ogr.rows[k][2].value_or("-1")), k * k) << k;
    }
}

TEST_F(Compute, NoTableNoWindow)
{
    win->Compute1Click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"没有打开的数据表!请先打开数据表."}));
    EXPECT_TRUE(shown.empty());
    svc.clear();
    win->Convert1Click();
    EXPECT_EQ(svc.message_texts(), (QStringList{"没有打开的数据表!请先打开数据表."}));
    EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace vantelo::shell::testing
