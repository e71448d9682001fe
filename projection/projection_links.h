#pragma once
// What the projection windows use of the main window and the chart window: the current
// table's fields, the column colours of the main data grid, and new chart windows.
#include <QColor>
#include <QStringList>
#include <functional>
#include <vector>

#include "projection/result_charts.h"

class QWidget;

namespace vantelo::db {
class Dataset;
}

namespace vantelo::projection {

// What the main window lends the projection windows: its current table (Table1) and the
// column colouring of its data grid (DBGrid1), by field name.
struct MainWindowLink {
    db::Dataset* table = nullptr;
    std::function<void(const QString& field_name, const QColor& colour)> colour_column;
};
void set_main_window_link(MainWindowLink link);

// Number of fields of the current table (Table1) and their names in table order.
int main_table_field_count();
QStringList main_table_field_names();
// Number of records of the current table (0 without one).
int main_table_record_count();
// Reads a whole column of the current table, record by record from the first.
std::vector<double> main_table_column(const QString& field_name);
// Background colour of column `col` of the main window's data grid.
void set_main_grid_column_colour(int col, const QColor& colour);

// Creates a chart window owned by `owner` (hidden, to open maximised), makes it the newest
// chart window and returns what the animations need of it.
ChartWindowOps new_chart_window(QWidget* owner);
// The chart window's stepping buttons read the workspace's pyramid.
void install_workspace_pyramid();
// The projection year the chart window's "<<<" shows next.
void set_pyramid_year_cursor(int year);

}  // namespace vantelo::projection
