#pragma once
// Year-parameter grids: cells of text addressed (column, row), row 0 holding the calendar years
// and column 0 the row labels; column c (1..Y) is projection year c - 1. The interpolation rules
// that fill a row between two year columns, and the relay of the total TFR.
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/checked.h"

namespace vantelo::projection {

struct ProjectionWorkspace;

// The text cells of one grid. Reading a cell outside the grid gives ""; writing one outside is
// kept (not shown) and read back.
class GridModel {
public:
    GridModel() = default;
    GridModel(int col_count, int row_count) { set_size(col_count, row_count); }

    int col_count() const { return cols_; }
    int row_count() const { return rows_; }
    // Changes the shown size; cells keep their texts.
    void set_col_count(int cols) { set_size(cols, rows_); }
    void set_row_count(int rows) { set_size(cols_, rows); }
    void set_size(int cols, int rows);

    const std::string& cell(int col, int row) const;
    void set_cell(int col, int row, std::string text);

    // The cell read as a number: "'%s' is not a valid floating point value" otherwise.
    real number(int col, int row) const;

    // Writes the calendar-year headers B + c into row 0 of columns 1..cols-1.
    void set_year_headers(int base_year);

private:
    int cols_ = 0, rows_ = 0;
    std::vector<std::string> cells_;  // rows_ x cols_, row-major
    std::map<std::pair<int, int>, std::string> outside_;
};

enum class InterpolationMode { none, copy, linear, exponential };

// Fills row r between the year columns of start_year and end_year (both included), base year B,
// Y projected years. With s = start_year - B, e = end_year - B, n = e - s, v_s and v_e the
// numbers in (s, r) and (e, r), and t = (c - s)/n, column c gets, in the general format:
//   copy: v_s (the end column too);  linear: v_s + (v_e - v_s) t;
//   exponential: v_s exp(ln(v_e/v_s) t).
// Refuses s < 1, s >= e and e > Y with InputMessage "插值设定错误！请重新设定。" before reading
// any cell. A cell that is not a number raises the conversion error; exponential with v_s = 0
// raises the division error and v_e/v_s <= 0 the invalid-operation error. Mode none reads the
// two end cells and writes nothing.
void interpolate_grid_row(GridModel& g, int r, int start_year, int end_year, int base_year,
                          int year_count, InterpolationMode mode);

// Which year columns get the total row after a pattern interpolation.
enum class TotalColumns {
    every_year,    // columns 1..Y
    interpolated,  // the columns of start_year..end_year only
};

// The shape of a pattern grid: its value rows 1..rows, the total in row rows + 1 written with
// total_pattern, in the columns named by totals. The default is the projection form's
// fertility-pattern grid (ages 15..49); the urban/rural form's migration pattern has 101 rows,
// "####.####" totals and totals only in the interpolated columns.
struct PatternGridShape {
    int rows = 35;
    std::string_view total_pattern = "####.########";
    TotalColumns totals = TotalColumns::every_year;
};

// The same rule on rows 1..rows of a pattern grid, row by row (cells written before a failing
// row stay written); afterwards the total row of each total column gets the sum of rows
// 1..rows. rows < 1 raises the range error before any cell is read.
void interpolate_pattern_rows(GridModel& g, int start_year, int end_year, int base_year, int year_count,
                              InterpolationMode mode, const PatternGridShape& shape = {});

// What the TFR box does after its interpolation: base_tfr_text = tfr_value written with
// "#####.##"; then the total-TFR grid gets cell (0, 1) "总和生育率", Y + 1 columns with year
// headers and, in row 1 of column c, the sum of rows 1..parity_count of the TFR grid's column c
// written with "#####.########". tfr_value is left holding the last column's sum.
void relay_total_tfr(ProjectionWorkspace& ws, const GridModel& tfr_grid, GridModel& total_grid, int base_year);

}  // namespace vantelo::projection
