#pragma once
// The projection wizard's text files. Population and death rates: one line per age from age 0,
// the male number, two blanks and the female number. Fertility rates: one line per age from
// age 15, one number. Lines end with CR LF.
#include <string>
#include <vector>

#include "platform/core/checked.h"

namespace vantelo::projection {

// Reads a wizard file into rows of `per_line` numbers (1 or 2), one row per line, until the end
// of the file or until `max_rows` rows are read (the rows the page holds: the rest of the file
// is not read). Each row takes its numbers in order, skipping blanks and line ends before each
// (so a line holding one number of two takes the second from the next line), then skips the
// rest of its line; a last empty line gives a row of zeros.
// The file must hold every number of the first `required_rows` rows; rows after them are read
// as they come (a number missing at the end of the file is 0).
// Refuses, before anything is returned: what NumberTextReader refuses (a missing file: InOutError
// "File not found"; one that is not a regular file; a line too long), a token that is not a
// number ("Invalid numeric input"), a file whose numbers end inside the first `required_rows`
// rows (InputMessage short_file_message(path, required_rows, complete rows)).
std::vector<std::vector<real>> read_wizard_rows(const std::string& path, int per_line, int required_rows,
                                                int max_rows);

// "文件<path>中的数据不够: 需要<required>个年龄的数据, 只有<found>个."
std::string short_file_message(const std::string& path, int required, int found);

// Writes one line per row: the row's texts, unchanged, joined by two blanks, then CR LF. An
// existing file is replaced only when everything is written (write_text_lines); a failure raises
// InOutError.
void write_wizard_rows(const std::string& path, const std::vector<std::vector<std::string>>& rows);

}  // namespace vantelo::projection
