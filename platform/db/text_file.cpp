#include "platform/db/text_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/core/errors.h"
#include "platform/db/byte_reader.h"

namespace vantelo::db {
namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;

}  // namespace

TextFileReader::TextFileReader(const std::string& path) : path_(path)
{
    struct stat st;
    int err = 0;
    fd_ = open_for_reading(path, st, err);
    if (fd_ < 0) {
        if (err == 0) throw InOutError(shown_name(path) + " is not a regular file, so it cannot be read as a text file");
        if (err == ENOENT || err == ENOTDIR) throw InOutError("File not found");
        if (err == EACCES || err == EPERM) throw InOutError("File access denied");
        throw InOutError("Cannot open file " + shown_name(path) + ": " + std::strerror(err));
    }
    left_ = static_cast<std::size_t>(st.st_size);
    buf_.resize(std::min(kBufferBytes, std::max<std::size_t>(left_, 1)));
}

TextFileReader::~TextFileReader() { ::close(fd_); }

bool TextFileReader::fill()
{
    if (left_ == 0) return false;
    for (;;) {
        const ssize_t n = ::read(fd_, buf_.data(), std::min(buf_.size(), left_));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            throw InOutError("Cannot read file " + shown_name(path_) + ": " + std::strerror(err));
        }
        if (n == 0) {   // cut short since it was opened
            left_ = 0;
            return false;
        }
        pos_ = 0;
        end_ = static_cast<std::size_t>(n);
        left_ -= end_;
        return true;
    }
}

bool TextFileReader::read_line(std::string& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        if (pos_ == end_ && !fill()) return any;
        any = true;
        const char* from = buf_.data() + pos_;
        const char* lf = static_cast<const char*>(std::memchr(from, '\n', end_ - pos_));
        const std::size_t take = lf ? static_cast<std::size_t>(lf - from) : end_ - pos_;
        if (line.size() + take > max_line_bytes)
            throw InOutError(shown_name(path_) + ": line " + std::to_string(line_no_ + 1) + " is longer than " +
                             std::to_string(max_line_bytes) + " bytes, so it cannot be read as a text file");
        line.append(from, take + (lf ? 1 : 0));
        pos_ += take + (lf ? 1 : 0);
        if (lf) {
            ++line_no_;
            return true;
        }
    }
}

}  // namespace vantelo::db
