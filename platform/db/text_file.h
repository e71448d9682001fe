#pragma once
// The reader of the program's text files (the projection's number files, the wizard's pages),
// a line at a time. What it reads is bounded: only a regular file opens (a FIFO or a device is
// refused at once, the open never waits for a FIFO's writer), no more than the size the file
// has when it is opened is read, a line may hold at most max_line_bytes bytes, and the file is
// read only as far as the caller asks for lines, a buffer of 64 KiB at a time.
//
// Errors are InOutError:
//   a missing file or folder             "File not found"
//   no permission to read it             "File access denied"
//   not a regular file (folder, FIFO...) "<name> is not a regular file, so it cannot be read as a text file"
//   a longer line                        "<name>: line <n> is longer than 65536 bytes, so it cannot be read as a text file"
//   another failure                      "Cannot open file <name>: <reason>", "Cannot read file <name>: <reason>"
// with the name shown as shown_name shows it.
#include <cstddef>
#include <string>
#include <vector>

namespace vantelo::db {

class TextFileReader {
public:
    static constexpr std::size_t max_line_bytes = 65536;

    explicit TextFileReader(const std::string& path);
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // The next line into `line`, with its LF when it has one (a last line may lack it; CR is
    // left as it is); false at the end of the file. A line of more than max_line_bytes bytes
    // before its LF raises.
    bool read_line(std::string& line);

private:
    // Refills the buffer; false at the end of what may be read.
    bool fill();

    std::string path_;
    int fd_ = -1;
    std::size_t left_ = 0;   // bytes of the file not yet read (its size when opened)
    std::vector<char> buf_;
    std::size_t pos_ = 0, end_ = 0;
    std::size_t line_no_ = 0;
};

}  // namespace vantelo::db
