#pragma once
// What the wizard's data pages share: their grid of ages (row 0 the titles, column 0 the ages,
// the data cells typed, read from a wizard text file or saved to one).
#include <QStringList>
#include <vector>

#include "platform/ui/services.h"

class QWidget;

namespace vantelo::ui {
class StringGrid;
}

namespace vantelo::projection {

// The grid of a new page: titles in row 0, then `rows` rows holding the ages first_age,
// first_age + 1, ... and "0.0" in every data column.
void fill_age_grid(ui::StringGrid& g, const QStringList& titles, int first_age, int rows);

// Data column `col` of rows 1..rows read as numbers; a cell that is not a number raises the
// conversion error.
std::vector<double> age_grid_column(const ui::StringGrid& g, int col, int rows);

// 读取: the open dialog; with a file name, the file's rows (read_wizard_rows: one number per
// data column, `required` rows at least) go, in the general format, into rows 1, 2, ... of the
// data columns; rows beyond the grid are dropped. A refused file changes no cell.
void read_age_grid(QWidget* parent, ui::StringGrid& g, ui::FileDialogState& dialog, int required);

// 保存: the save dialog; with a file name, every data row of the grid, its texts unchanged
// (write_wizard_rows).
void save_age_grid(QWidget* parent, const ui::StringGrid& g, ui::FileDialogState& dialog);

}  // namespace vantelo::projection
