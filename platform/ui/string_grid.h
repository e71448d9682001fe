#pragma once
// A string grid on screen: text cells (column, row) with row 0 and column 0 fixed (headers and
// row labels, greyed and not editable). The cells live in a store the computing code reads and
// writes (GridCells); the user's edits go straight into it, and refresh() shows what the
// computing code wrote. A grid made without a store keeps its cells in one of its own.
#include <QTableView>
#include <QTableWidget>
#include <memory>
#include <string>
#include <vector>

namespace vantelo::ui {

// The text cells a string grid shows. Reading a cell outside the grid gives "".
class GridCells {
public:
    virtual ~GridCells() = default;
    virtual int col_count() const = 0;
    virtual int row_count() const = 0;
    virtual void set_size(int cols, int rows) = 0;  // cells keep their texts
    virtual std::string cell(int col, int row) const = 0;
    virtual void set_cell(int col, int row, std::string text) = 0;
};

// Cells kept in the grid's own store; writes outside the grid are dropped.
class TextCells : public GridCells {
public:
    int col_count() const override { return cols_; }
    int row_count() const override { return rows_; }
    void set_size(int cols, int rows) override;
    std::string cell(int col, int row) const override;
    void set_cell(int col, int row, std::string text) override;

private:
    int cols_ = 0, rows_ = 0;
    std::vector<std::vector<std::string>> cells_;  // [row][col]
};

class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    // A grid over cells of its own.
    explicit StringGrid(QWidget* parent = nullptr);
    // A grid over `cells` (not owned; must outlive the grid).
    StringGrid(QWidget* parent, GridCells& cells);

    QString cell(int col, int row) const;
    void set_cell(int col, int row, const QString& text);

    int col_count() const { return cells_->col_count(); }
    int row_count() const { return cells_->row_count(); }
    void set_col_count(int n);  // n < 0 raises the range error
    void set_row_count(int n);

    GridCells& cells() { return *cells_; }
    // Shows the store's size and texts.
    void refresh();
    // The store takes the size the form's design gave the grid.
    void take_design_size();

signals:
    // The user selected the cell (col, row) with the mouse or the keyboard.
    void select_cell(int col, int row);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    void set_up();
    // The label column (column 0) stays in view while the grid scrolls sideways: a view of the
    // same cells showing only that column lies over the left edge of the grid.
    void place_frozen_column();
    void show_only_label_column();
    void show_cell(int col, int row);
    void user_edited(QTableWidgetItem* item);

    std::unique_ptr<TextCells> own_;
    GridCells* cells_ = nullptr;
    bool filling_ = false;
    QTableView* frozen_ = nullptr;
};

}  // namespace vantelo::ui
