#pragma once
// Shared set-up of the table tools' window tests: a main window with the tools registered, a
// window runner that keeps every window shown (and may act on it, e.g. to click a pop-up), an
// input table made by the program's own data preparation, and the independent readers.
#include <QApplication>
#include <QKeyEvent>
#include <QTableWidget>
#include <functional>

#include "shell/launch.h"
#include "shell/structure_grid.h"
#include "shell/table_tools.h"
#include "tests/shell/shell_test_util.h"

namespace vantelo::shell::testing {

class ToolsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        register_table_tools();
        MainWindowTest::SetUp();
        ui::set_window_runner([this](QWidget* w, bool modal) {
            shown.push_back(w);
            EXPECT_TRUE(modal);
            if (on_show) on_show(w);
            return 0;
        });
    }
    void TearDown() override
    {
        for (const char* item : {"New1", "Table_info", "Restructure1", "Convert1", "Compute1", "About1"})
            register_window(item, {});
        MainWindowTest::TearDown();
    }
    // The single-region input table (81 records, 年龄 = k, the rest 0), made current.
    QString single_region(const QString& name)
    {
        prepare(path(name));
        win->SaveDialog1.file_name.clear();
        EXPECT_EQ(table_open, 1);
        return path(name);
    }
    template <class W>
    W* last_shown()
    {
        return shown.empty() ? nullptr : qobject_cast<W*>(shown.back());
    }

    std::vector<QWidget*> shown;
    std::function<void(QWidget*)> on_show;
};

// The texts of a grid row, columns 0..3.
inline QStringList row_texts(const QTableWidget* g, int r)
{
    QStringList out;
    for (int c = 0; c < 4; ++c) out << structure_cell(g, c, r);
    return out;
}

inline QList<QStringList> grid_rows(const QTableWidget* g)
{
    QList<QStringList> out;
    for (int r = 0; r < g->rowCount(); ++r) out << row_texts(g, r);
    return out;
}

// A key as the keyboard delivers it to the focused grid, with the character it types.
inline void key(QWidget* w, int k, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}

inline void type_char(QWidget* w, QChar c)
{
    const int k = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.isDigit() ? Qt::Key_0 + (c.unicode() - '0') : 0;
    key(w, k, QString(c));
}

// A click (press and release) of the given button at the centre of a cell of a grid.
inline void click_cell(QTableWidget* g, int row, int col, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint p = g->visualRect(g->model()->index(row, col)).center();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), g->viewport()->mapToGlobal(QPointF(p)), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), g->viewport()->mapToGlobal(QPointF(p)), button,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &release);
}

// A row entered as the user would: the name typed into its cell, the type chosen by its letter
// key in the type column, and the width's digits typed into the width column.
inline void enter_row(QTableWidget* g, int row, const QString& name, QChar type_key, const QString& width = {})
{
    set_structure_cell(g, 1, row, name);
    click_cell(g, row, 2);
    type_char(g, type_key);
    if (width.isEmpty()) return;
    click_cell(g, row, 3);
    for (QChar d : width) type_char(g, d);
}

}  // namespace vantelo::shell::testing
