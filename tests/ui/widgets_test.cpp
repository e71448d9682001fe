// The shared widget helpers: window creation, centring, field lists and the string grid.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <memory>

#include "platform/core/errors.h"
#include "platform/ui/field_list.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/windows.h"

using namespace vantelo::ui;

namespace {

class Labelled : public QDialog {
public:
    Labelled(const QString& label, QWidget* parent) : QDialog(parent) { setWindowTitle(label); }
};

TEST(NewWindow, OwnedStoredAsNewestAndGivenItsArguments)
{
    QWidget owner;
    Labelled* newest = nullptr;
    Labelled* a = new_window(&owner, newest, QStringLiteral("a"));
    Labelled* b = new_window(&owner, newest, QStringLiteral("b"));
    EXPECT_EQ(newest, b);
    EXPECT_EQ(a->parent(), &owner);
    EXPECT_EQ(b->windowTitle(), "b");
    EXPECT_TRUE(b->isWindow());

    QPointer<QDialog> tracked;
    QDialog* d = new_window(nullptr, tracked);
    EXPECT_EQ(tracked, d);
    delete d;
    EXPECT_TRUE(tracked.isNull());
}

TEST(CentreOnScreen, CentreOfTheAvailableArea)
{
    QWidget w;
    w.resize(200, 100);
    centre_on_screen(&w);
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(w.pos(), avail.center() - QPoint(100, 50));
}

TEST(FillList, ItemsWithTheTextShownAndNoItemChosen)
{
    QComboBox box;
    box.setEditable(true);
    box.addItem("old");
    int changes = 0;
    QObject::connect(&box, &QComboBox::currentIndexChanged, [&] { ++changes; });
    fill_list(&box, {"男性人口", "女性人口"}, "总人口");
    EXPECT_EQ(box.count(), 2);
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.currentText(), "总人口");
    EXPECT_EQ(box.insertPolicy(), QComboBox::NoInsert);
    EXPECT_EQ(box.completer(), nullptr);
    EXPECT_EQ(changes, 0);  // no change handler runs
}

TEST(CurrentItemText, TheItemLastClickedOrAListIndexError)
{
    QListWidget list;
    list.addItems({"男性人口", "女性人口"});
    list.setCurrentRow(-1);
    try {
        vantelo::ui::current_item_text(&list);
        ADD_FAILURE() << "no error";
    } catch (const vantelo::ListIndexError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
    }
    list.setCurrentRow(1);
    EXPECT_EQ(vantelo::ui::current_item_text(&list), "女性人口");
}

TEST(StringGrid, OwnCellsShownAndEditedWithFixedHeaders)
{
    StringGrid grid;
    grid.set_col_count(4);
    grid.set_row_count(3);
    EXPECT_EQ(grid.columnCount(), 4);
    EXPECT_EQ(grid.rowCount(), 3);
    grid.set_cell(1, 0, "字段名");
    grid.set_cell(1, 2, "年龄");
    grid.set_cell(9, 9, "outside");  // dropped
    EXPECT_EQ(grid.cell(1, 2), "年龄");
    EXPECT_EQ(grid.item(2, 1)->text(), "年龄");
    EXPECT_EQ(grid.cell(9, 9), "");
    EXPECT_FALSE(grid.item(0, 1)->flags() & Qt::ItemIsEditable);  // row 0 fixed
    EXPECT_TRUE(grid.item(2, 1)->flags() & Qt::ItemIsEditable);
    // A user's edit goes into the cells.
    grid.item(2, 3)->setText("20");
    EXPECT_EQ(grid.cells().cell(3, 2), "20");
    grid.set_row_count(2);  // texts of the rows that remain stay
    EXPECT_EQ(grid.cell(1, 0), "字段名");
    EXPECT_EQ(grid.row_count(), 2);
}

}  // namespace
