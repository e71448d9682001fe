#pragma once
// The structure grid of the table structure and restructure windows: one row per field of the
// table, columns number, name, type, width.
#include <QString>
#include <vector>

#include "platform/db/dataset.h"
#include "shell/app_state.h"

class QTableWidget;

namespace vantelo::shell {

// The type name shown for a field: "Char", "Integer", "Boolean", "Float", "Date"; any kind
// without a name of its own shows as "Char" with its display width.
QString structure_type_name(db::FieldType type);
bool structure_shows_width(db::FieldType type);

// Fills the grid from the fields of the open table: for field i, cell (row i, column 1) the name,
// column 2 the type name, column 3 the display width for character kinds, column 0 the grid's
// row count at that moment (i + 1); the row count grows by one after every field but the last.
// The grid is expected to start with one row and four columns.
void fill_structure_grid(QTableWidget* grid, db::Dataset& table);

// The structure held by a filled grid: one element per row, State 0, Width the integer value of
// column 3 for "Char" rows and 0 otherwise.
std::vector<Table_structure_info> structure_from_grid(QTableWidget* grid);

}  // namespace vantelo::shell
