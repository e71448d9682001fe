#pragma once
// What the projection windows use of the main window and the chart window: the current
// table's fields, the column colours of the main data grid, and new chart windows.
#include <QColor>
#include <QStringList>

#include "projection/result_charts.h"

class QWidget;

namespace vantelo::projection {

// Number of fields of the current table (Table1) and their names in table order.
int main_table_field_count();
QStringList main_table_field_names();
// Reads a whole column of the current table, record by record from the first.
std::vector<double> main_table_column(const QString& field_name);
// Background colour of column `col` of the main window's data grid.
void set_main_grid_column_colour(int col, const QColor& colour);

// Creates a chart window owned by `owner` (hidden, to open maximised), makes it the newest
// chart window and returns what the animations need of it.
ChartWindowOps new_chart_window(QWidget* owner);
// The projection year the chart window's "<<<" shows next.
void set_pyramid_year_cursor(int year);

}  // namespace vantelo::projection
