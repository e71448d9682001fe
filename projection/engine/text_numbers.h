#pragma once
// The number text files of the projection (fertility patterns, the wizard's pages): numbers
// separated by blanks and line ends, written with CR LF.
#include <optional>
#include <string>
#include <vector>

#include "platform/core/checked.h"
#include "platform/db/text_file.h"

namespace vantelo::projection {

// Reads a text file of numbers a line at a time (db::TextFileReader: only a regular file, lines
// of at most 65536 bytes, only as far as the numbers asked for), with its refusals, all
// InOutError: a missing file ("File not found"), a file that cannot be opened ("File access
// denied"), one that is not a regular file, a line too long, a failed read.
class NumberTextReader {
public:
    explicit NumberTextReader(const std::string& path);

    // True when no byte is left.
    bool at_end();
    // The next number: blanks, tabs, CR and LF are skipped; at the end of the file there is
    // none (nullopt); otherwise the number runs to the first blank or control character and the
    // character that ends it is consumed. A token that is not a number raises InOutError
    // "Invalid numeric input".
    std::optional<real> read_number();
    // Skips to the start of the next line; nothing when the last number's line end was consumed
    // already.
    void skip_line();

private:
    // Makes the current line hold an unread byte; false at the end of the file.
    bool load();

    db::TextFileReader file_;
    std::string line_;       // the current line with its LF
    std::size_t pos_ = 0;    // the next byte of line_
    bool line_ended_ = false;  // the last number was ended by LF
};

// Creates (or overwrites) a text file with `lines`, each followed by CR LF. The lines go to a
// temporary file in the same folder, renamed over the target when all is written, so a failure
// leaves an existing file as it was; a failure raises InOutError naming the file and the
// reason (the name refused by db::check_file_name, "... cannot be written as a text file",
// a missing folder, no permission, no space).
void write_text_lines(const std::string& path, const std::vector<std::string>& lines);

// A text file to be written: its lines, each to be followed by CR LF.
struct TextFileLines {
    std::string path;
    std::vector<std::string> lines;
};

// Several text files written as write_text_lines writes one, all as one change
// (db::write_files_atomically): none is replaced or created unless all can be.
void write_text_files(const std::vector<TextFileLines>& files);

}  // namespace vantelo::projection
