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

// A cell by column and row ("" for a cell never set), and setting one; the number column
// (column 0) is the grid's fixed column: grey, and never current, selected or edited.
QString structure_cell(const QTableWidget* grid, int col, int row);
void set_structure_cell(QTableWidget* grid, int col, int row, const QString& text);
// Gives every row's number cell the fixed column's look and behaviour.
void make_number_column_fixed(QTableWidget* grid);

// Cell (0, r) := the text of r + 1 for every row r.
void renumber_structure_grid(QTableWidget* grid);
// Whether row r has a name and a type, and a width when its type is "Char".
bool structure_row_complete_at(const QTableWidget* grid, int row);
// Appends an empty row when the last row is complete; true when it did.
bool append_structure_row_if_complete(QTableWidget* grid);
// Removes the last row when its name is empty; a grid keeps at least one row.
void remove_empty_last_structure_row(QTableWidget* grid);
// Removes row r, the rows below moving up; a grid keeps at least one row (whose cells then stay).
void delete_structure_row(QTableWidget* grid, int row);
// Moves row r and those below one row down and empties cells 1..3 of row r.
void insert_structure_row(QTableWidget* grid, int row);

// The structure held by a filled grid: one element per row, State 0, Width the integer value of
// column 3 for "Char" rows and 0 otherwise.
std::vector<Table_structure_info> structure_from_grid(QTableWidget* grid);

}  // namespace vantelo::shell
