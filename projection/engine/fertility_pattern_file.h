#pragma once
// Fertility-pattern text files: 35 numbers, one per line, for ages 15 to 49.
#include <functional>
#include <string>
#include <vector>

#include "platform/core/checked.h"

namespace vantelo::projection {

class GridModel;

// Reads `count` numbers the way the pattern and wizard files are read: for each number, blanks,
// tabs and line ends are skipped; at the end of the file the number is 0; otherwise the number
// runs to the first blank or control character; then the rest of its line is skipped.
// The file is read no further than the line of the last number asked for.
// Refuses what NumberTextReader refuses (a missing file: InOutError "File not found"; a file
// that cannot be opened: "File access denied"; one that is not a regular file; a line of more
// than 65536 bytes), a token that is not a number ("Invalid numeric input"); the numbers before
// the refusal are handed to `sink` before it raises.
void read_numbers_by_line(const std::string& path, int count, const std::function<void(int, real)>& sink);

// The same as a list (count numbers; missing ones are 0).
std::vector<real> read_pattern_numbers(const std::string& path, int count = 35);

// Pattern 读入: reads 35 numbers into rows 1..35 of column `col`, each in the general format.
// Cells written before a failure stay written; row 36 is not recomputed.
void read_pattern_into_grid(GridModel& g, int col, const std::string& path);

// Pattern 保存: writes the texts of rows 1..35 of column `col`, unchanged, each followed by
// CR LF; an existing file is replaced (write_text_lines). A failure raises InOutError.
void write_pattern_from_grid(const GridModel& g, int col, const std::string& path);

}  // namespace vantelo::projection
