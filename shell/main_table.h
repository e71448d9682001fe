#pragma once
// The current table as every window reads it: the main window's Table1, its field names, its
// fields as columns of reals, and the column colours of the main window's grid (DBGrid1).
//
// The main window lends these when it is built (and takes them back when it goes); a test may
// lend a table of its own with set_main_window_link().
#include <QColor>
#include <QStringList>
#include <functional>
#include <vector>

namespace vantelo::db {
class Dataset;
class Query;
}  // namespace vantelo::db

namespace vantelo::shell {

// What the main window lends the other windows: its current table (Table1), its statement
// runner (Query1) and the column colouring of its data grid, by field name.
struct MainWindowLink {
    db::Dataset* table = nullptr;
    std::function<void(const QString& field_name, const QColor& colour)> colour_column;
    db::Query* query = nullptr;
};
void set_main_window_link(MainWindowLink link);
const MainWindowLink& main_window_link();

// Table1 itself; raises "Dataset is not open" when no table is lent.
db::Dataset& main_table();
// Query1 itself; raises "Dataset is not open" when none is lent.
db::Query& main_query();

// Number of fields of the current table (0 when none is open) and their names in table order.
int main_table_field_count();
QStringList main_table_field_names();

// A whole field of the current table as reals, record by record from the first (the table's
// cursor ends on its last record). An empty field reads 0. Raises "Field '<name>' not found"
// for a name the table does not have and the conversion error for a text that is no number.
std::vector<double> main_table_column(const QString& field_name);
// The same, strict: an empty or non-numeric field raises "Invalid variant type conversion".
std::vector<double> main_table_column_strict(const QString& field_name);

// Background colour of column `col` of the main window's grid (columns outside the table are
// ignored), and every column of the current table back to white.
void set_main_grid_column_colour(int col, const QColor& colour);
void reset_main_grid_colours();

}  // namespace vantelo::shell
