// What a string grid shows: whole cell texts, and the label column in view while it scrolls.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTableView>

#include "platform/ui/string_grid.h"

using namespace vantelo::ui;

TEST(StringGridView, ColumnsWidenToTheirWholeTextsAndNeverNarrow)
{
    StringGrid g;
    g.resize(300, 200);
    g.set_col_count(4);
    g.set_row_count(3);
    const int design = g.columnWidth(2);
    const QString long_text = QStringLiteral("0.00955555555555556");
    g.set_cell(2, 1, long_text);
    g.set_cell(3, 1, QStringLiteral("1"));
    EXPECT_GE(g.columnWidth(2), g.fontMetrics().horizontalAdvance(long_text));
    EXPECT_EQ(g.columnWidth(3), design);
    g.set_cell(2, 1, QStringLiteral("2"));
    EXPECT_GE(g.columnWidth(2), g.fontMetrics().horizontalAdvance(long_text));
}

TEST(StringGridView, LabelColumnStaysInViewWhileTheGridScrollsSideways)
{
    StringGrid g;
    g.resize(250, 200);
    g.set_col_count(30);
    g.set_row_count(4);
    g.set_cell(0, 1, QStringLiteral("1孩总和生育率"));
    for (int c = 1; c < 30; ++c) g.set_cell(c, 1, QStringLiteral("1.23456789012345"));
    g.show();
    g.horizontalScrollBar()->setValue(g.horizontalScrollBar()->maximum());
    ASSERT_GT(g.horizontalScrollBar()->maximum(), 0);
    auto* frozen = g.findChild<QTableView*>(QStringLiteral("frozen_label_column"));
    ASSERT_NE(frozen, nullptr);
    EXPECT_TRUE(frozen->isVisible());
    EXPECT_EQ(frozen->geometry().left(), g.viewport()->geometry().left());
    EXPECT_EQ(frozen->width(), g.columnWidth(0));
    EXPECT_FALSE(frozen->isColumnHidden(0));
    EXPECT_TRUE(frozen->isColumnHidden(29));
    EXPECT_EQ(frozen->model()->index(1, 0).data().toString(), QStringLiteral("1孩总和生育率"));
    // The cell under the frozen column's top-left is the label, not the scrolled cells.
    EXPECT_EQ(frozen->indexAt(QPoint(2, g.rowHeight(0) + 2)).column(), 0);
}
