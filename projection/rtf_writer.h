#pragma once
// A small Rich Text Format writer for the text report window: the report's lines in one
// paragraph each, in the box's font with the GB2312 character set. Every character outside
// 7-bit ASCII is written as a \uN? escape of its UTF-16 code unit (N signed 16-bit, as the
// format requires), so the file is plain ASCII; lines end with CR LF.
#include <string>
#include <vector>

namespace vantelo::projection {

// The RTF document of the UTF-8 lines in the font `font_name` at `half_points` (20 = 10 pt).
// Backslashes and braces are escaped, a tab becomes \tab, other control characters are
// dropped. No lines gives a document without text. Invalid UTF-8 bytes become U+FFFD.
std::string rtf_document(const std::vector<std::string>& lines, const std::string& font_name, int half_points = 20);

// Writes the document to `path`, replacing an existing file through a temporary file
// (db::write_file_atomically). A failure leaves an existing file as it was and raises
// InOutError naming the file and the reason: a name refused by db::check_file_name, "Cannot
// create file <path>: the folder <folder> does not exist", "...: Permission denied", "Cannot
// write file <path>: No space left on device", "<path> is not a regular file, so it cannot be
// written as a report".
void write_rtf_file(const std::string& path, const std::vector<std::string>& lines, const std::string& font_name,
                    int half_points = 20);

}  // namespace vantelo::projection
