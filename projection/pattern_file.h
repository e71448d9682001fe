#pragma once
// The fertility-pattern text files of the pattern grids: 35 numbers, one per line, for ages 15
// to 49.
#include <string>
#include <vector>

#include "platform/core/checked.h"

namespace vantelo::projection {
// Reads 35 numbers from a fertility-pattern file, each the next number in the file (leading
// blanks and empty lines skipped, ending at a blank or control character) after which the rest
// of its line is skipped; missing numbers read 0. A missing file raises "File not found", a
// malformed number "Invalid numeric input" (InOutError).
std::vector<real> read_pattern_file(const std::string& path);

// Writes the texts one per line with CR LF; a failure raises InOutError.
void write_pattern_file(const std::string& path, const std::vector<std::string>& texts);

}  // namespace vantelo::projection
