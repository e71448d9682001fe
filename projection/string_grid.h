#pragma once
// A string grid on screen: the year-parameter grid's text cells (column, row) with row 0 and
// column 0 fixed (the year headers and the row labels, greyed and not editable). The cells live
// in the grid's model, which the computing code reads and writes; the user's edits go straight
// into it, and refresh() shows what the computing code wrote.
#include <QTableWidget>

#include "projection/engine/year_grid.h"

namespace vantelo {

class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);

    QString cell(int col, int row) const;
    void set_cell(int col, int row, const QString& text);

    int col_count() const { return model_.col_count(); }
    int row_count() const { return model_.row_count(); }
    void set_col_count(int n);
    void set_row_count(int n);

    projection::GridModel& model() { return model_; }
    const projection::GridModel& model() const { return model_; }
    // Shows the model's size and texts.
    void refresh();
    // The model takes the size the form's design gave the grid.
    void take_design_size();

signals:
    // The user selected the cell (col, row) with the mouse or the keyboard.
    void select_cell(int col, int row);

private:
    void show_cell(int col, int row);
    void user_edited(QTableWidgetItem* item);

    projection::GridModel model_;
    bool filling_ = false;
};

}  // namespace vantelo
