#pragma once
// What the projection windows use of the main window and the chart window: the current
// table's fields, the column colours of the main data grid (both from shell/main_table.h), and
// new chart windows.
#include "projection/result_charts.h"
#include "shell/main_table.h"

class QWidget;

namespace vantelo::projection {

// The current table and the main window's grid, as every window reads them.
using shell::main_table_column;
using shell::main_table_field_count;
using shell::main_table_field_names;
using shell::MainWindowLink;
using shell::reset_main_grid_colours;
using shell::set_main_grid_column_colour;
using shell::set_main_window_link;

// Creates a chart window owned by `owner` (hidden, to open maximised), makes it the newest
// chart window and returns what the animations need of it.
ChartWindowOps new_chart_window(QWidget* owner);
// The chart window's stepping buttons read the workspace's pyramid.
void install_workspace_pyramid();
// The projection year the chart window's "<<<" shows next.
void set_pyramid_year_cursor(int year);

}  // namespace vantelo::projection
