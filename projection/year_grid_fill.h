#pragma once
// Filling year-parameter grids: interpolation of a row (or of the 35 pattern rows) between two
// year columns, and the fertility-pattern text files. The grid is reached through a small
// interface of cell texts, so the same code serves every grid of the projection forms.
#include <functional>
#include <string>
#include <vector>

#include "platform/core/checked.h"

namespace vantelo::projection {

struct GridCells {
    std::function<std::string(int col, int row)> get;
    std::function<void(int col, int row, const std::string& text)> set;
};

enum class InterpolationMode { none, copy, linear, exponential };

// Fills row `row` from column s = start_year - base to column e = end_year - base: with
// t = (c - s)/(e - s), copy writes v_s (the end column too), linear v_s + (v_e - v_s) t,
// exponential v_s exp(ln(v_e/v_s) t); values in the general format. s < 1, s >= e or e beyond
// the last year column (years) raise InputMessage "插值设定错误！请重新设定。" before anything is
// written. A cell that is not a number raises the conversion error; exponential needs
// v_e/v_s > 0 (else the invalid-operation or division error). Cells written before a failure stay.
void interpolate_grid_row(const GridCells& g, int row, int base_year, int years, int start_year, int end_year,
                          InterpolationMode mode);

// The same for rows 1..35 of a pattern grid; afterwards row 36 of every column 1..years holds
// the sum of rows 1..35 in "####.########".
void interpolate_pattern_rows(const GridCells& g, int base_year, int years, int start_year, int end_year,
                              InterpolationMode mode);

// Reads 35 numbers from a fertility-pattern file, each the next number in the file (leading
// blanks and empty lines skipped, ending at a blank or control character) after which the rest
// of its line is skipped; missing numbers read 0. A missing file raises "File not found", a
// malformed number "Invalid numeric input" (InOutError).
std::vector<real> read_pattern_file(const std::string& path);

// Writes the texts one per line with CR LF; a failure raises InOutError.
void write_pattern_file(const std::string& path, const std::vector<std::string>& texts);

}  // namespace vantelo::projection
