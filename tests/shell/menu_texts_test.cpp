// What the user sees of the menus and tool bars.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "shell/db_grid.h"
#include "shell/translations.h"
#include "shell_test_util.h"

namespace vantelo::shell::testing {
namespace {

using MenuTexts = MainWindowTest;

QStringList item_texts(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

TEST_F(MenuTexts, TopMenusUseFullWidthParenthesesInOrder)
{
    QStringList titles;
    for (QAction* a : win->menuBar()->actions()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"文件（&F）", "数据管理（&D）", "人口分析（&P）", "图形（&G）", "帮助（&H）"}));
    // The text tool bar drops the same menus under the same captions.
    const char* buttons[] = {"ToolButton1", "ToolButton2", "ToolButton3", "ToolButton4", "ToolButton5"};
    for (int i = 0; i < 5; ++i) {
        auto* b = win->findChild<QToolButton*>(buttons[i]);
        ASSERT_NE(b, nullptr) << buttons[i];
        EXPECT_EQ(b->text(), titles[i]);
        EXPECT_EQ(b->menu(), win->menuBar()->actions()[i]->menu());
        EXPECT_EQ(b->popupMode(), QToolButton::InstantPopup);
    }
}

// Alt and a top menu's letter opens that menu at once, as in every desktop program: the text
// tool bar's buttons show the same captions but take no key of their own. Alt+F, O then opens a
// table.
TEST_F(MenuTexts, AltLetterOpensTheMenuAtOnce)
{
    win->show();
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    const struct {
        Qt::Key key;
        const char* menu;
        const char* button;
    } cases[] = {
        {Qt::Key_F, "Flie1", "ToolButton1"},
        {Qt::Key_D, "DataManagement1", "ToolButton2"},
        {Qt::Key_P, "PopulationAnalysis1", "ToolButton3"},
        {Qt::Key_G, "Graph1", "ToolButton4"},
        {Qt::Key_H, "Help1", "ToolButton5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.menu);
        auto* menu = win->findChild<QMenu*>(c.menu);
        auto* button = win->findChild<QToolButton*>(c.button);
        ASSERT_NE(menu, nullptr);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->shortcut().isEmpty());
        QTest::keyClick(win.get(), c.key, Qt::AltModifier);
        EXPECT_EQ(QApplication::activePopupWidget(), menu);
        EXPECT_TRUE(menu->isVisible());
        EXPECT_NE(QApplication::focusWidget(), button);
        // Escape closes the menu, a second one leaves the menu bar.
        QTest::keyClick(menu, Qt::Key_Escape);
        EXPECT_FALSE(menu->isVisible());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : win.get(), Qt::Key_Escape);
    }
    QTest::keyClick(win.get(), Qt::Key_F, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_O);
    EXPECT_EQ(svc.open_dialogs, 1);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(MenuTexts, ItemsUseAsciiParentheses)
{
    struct Case {
        const char* menu;
        QStringList items;
    } cases[] = {
        {"Flie1", {"新建(&N)", "打开(&O)", "预测向导(&Y)", "保存(&S)", "关闭(&C)", "退出(&X)"}},
        {"DataManagement1", {"数据准备(&P)", "表结构(&T)", "修改表结构(&R)", "格式转换(&V)", "计算(&C)"}},
        {"N9", {"单区域(&S)", "分城乡(&U)"}},
        {"PopulationAnalysis1",
         {"数据质量评价(&E)", "生命表(&L)", "推算年末人口结构(&U)", "人口数据标准化(&Z)", "人口预测(&P)"}},
        {"N2", {"年龄结构法(&A)", "联合国法(&U)"}},
        {"N5", {"单区域人口预测(&S)", "分城乡人口预测(&M)"}},
        {"Graph1", {"线型图(&L)", "垂直直方图(&B)", "水平直方图(&H)", "点状图(&P)", "面积图(&A)", "-", "散点图(&S)",
                    "年龄结构图(&T)"}},
        {"Help1", {"关于(&A)", "内容(&C)"}},
    };
    for (const auto& c : cases) {
        auto* m = win->findChild<QMenu*>(c.menu);
        ASSERT_NE(m, nullptr) << c.menu;
        EXPECT_EQ(item_texts(m), c.items) << c.menu;
    }
}

TEST_F(MenuTexts, ImageToolBarHintsCloseBeforeSave)
{
    const char* hints[][2] = {
        {"ToolButton6", "新建数据表"},         {"ToolButton7", "打开数据表"},
        {"ToolButton8", "关闭数据表"},         {"ToolButton9", "保存数据表"},
        {"ToolButton10", "人口预测向导"},      {"ToolButton11", "单区域人口预测数据准备"},
        {"ToolButton12", "分城乡人口预测数据准备"},
    };
    QList<QToolButton*> order = win->ToolBar2->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
    QStringList names;
    for (auto* b : order)
        if (b->objectName().startsWith("ToolButton")) names << b->objectName();
    for (const auto& h : hints) {
        auto* b = win->findChild<QToolButton*>(h[0]);
        ASSERT_NE(b, nullptr) << h[0];
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(h[1])) << h[0];
        EXPECT_FALSE(b->icon().isNull()) << h[0];
    }
    EXPECT_EQ(names, (QStringList{"ToolButton6", "ToolButton7", "ToolButton8", "ToolButton9", "ToolButton10",
                                  "ToolButton11", "ToolButton12"}));
}

TEST_F(MenuTexts, WindowCaptionFormAndDialogs)
{
    EXPECT_EQ(win->windowTitle(), "Vantelo");
    EXPECT_EQ(quilta, win.get());
    EXPECT_TRUE(win->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(start_dir, QDir::currentPath());
    EXPECT_EQ(win->OpenDialog1.filter, "*.db|*.db|*.dbf|*.dbf");
    EXPECT_EQ(win->SaveDialog1.filter, "DB|*.DB|DBF|*.dbf");
    EXPECT_EQ(win->SaveDialog1.default_ext, "DB");
    EXPECT_FALSE(win->SaveDialog1.confirm_overwrite);
    EXPECT_NE(win->findChild<DBGrid*>("DBGrid1"), nullptr);
    EXPECT_NE(win->findChild<QWidget*>("DBNavigator1"), nullptr);
}

TEST_F(MenuTexts, ItemsWithoutTheirWindowStayDisabledUntilRegistered)
{
    for (const char* item : {"New1", "N8", "Table_info", "Projection1", "Line1", "About1"})
        EXPECT_FALSE(win->menu_item(item)->isEnabled()) << item;
    for (const char* item : {"Open1", "Save1", "Close1", "Exit1", "N10", "N11", "Content1"})
        EXPECT_TRUE(win->menu_item(item)->isEnabled()) << item;
    register_window("Table_info", [](Tquilta&) { return nullptr; });
    win->update_launchers();
    EXPECT_TRUE(win->menu_item("Table_info")->isEnabled());
    register_window("Table_info", {});
    win->update_launchers();
    EXPECT_FALSE(win->menu_item("Table_info")->isEnabled());
}

// Qt's own buttons and dialogs speak Chinese once the translation is loaded at start-up.
TEST(QtTranslation, StandardButtonsAndDialogsAreChinese)
{
    ASSERT_TRUE(install_qt_translations());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("确定"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
}

}  // namespace
}  // namespace vantelo::shell::testing
