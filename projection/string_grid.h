#pragma once
// A string grid: cells of text addressed (column, row), with row 0 and column 0 fixed (the
// year headers and the row labels, shown greyed and not editable). Cells are kept sparsely:
// a cell never written reads as an empty text, and a cell written outside the grid's size is
// kept although it is not shown. The user's edits go straight into the cells.
#include <QTableWidget>
#include <map>
#include <utility>

namespace vantelo {

class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);

    QString cell(int col, int row) const;
    void set_cell(int col, int row, const QString& text);

    int col_count() const { return columnCount(); }
    int row_count() const { return rowCount(); }
    void set_col_count(int n);
    void set_row_count(int n);

signals:
    // The user selected the cell (col, row) with the mouse or the keyboard.
    void select_cell(int col, int row);

private:
    void show_cell(int col, int row);
    void refresh();
    void user_edited(QTableWidgetItem* item);

    std::map<std::pair<int, int>, QString> cells_;
    bool filling_ = false;
};

}  // namespace vantelo
