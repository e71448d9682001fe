#include "projection/engine/text_numbers.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/core/numtext.h"
#include "platform/db/atomic_file.h"

namespace vantelo::projection {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const
    {
        if (f) std::fclose(f);
    }
};

[[noreturn]] void raise_open_error(int err)
{
    if (err == ENOENT || err == ENOTDIR) throw InOutError("File not found");
    if (err == EACCES || err == EISDIR || err == EPERM) throw InOutError("File access denied");
    throw InOutError("I/O error " + std::to_string(err));
}

bool is_space(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

}  // namespace

NumberTextReader::NumberTextReader(const std::string& path)
{
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) raise_open_error(errno);
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) text_.append(buf, n);
    // A folder opens for reading on Linux but fails at the first read.
    if (std::ferror(f.get())) {
        if (errno == EISDIR) throw InOutError("File access denied");
        throw InOutError("Disk read error");
    }
}

std::optional<real> NumberTextReader::read_number()
{
    line_ended_ = false;
    while (pos_ < text_.size() && is_space(text_[pos_])) ++pos_;
    if (pos_ >= text_.size()) return std::nullopt;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) > ' ') ++pos_;
    const std::string_view token(text_.data() + start, pos_ - start);
    real value;
    try {
        value = parse_float(token);
    } catch (const ConvertError&) {
        throw InOutError("Invalid numeric input");
    }
    if (pos_ < text_.size()) {
        line_ended_ = text_[pos_] == '\n';
        ++pos_;
    }
    return value;
}

void NumberTextReader::skip_line()
{
    if (line_ended_) {
        line_ended_ = false;
        return;
    }
    while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    if (pos_ < text_.size()) ++pos_;
}

void write_text_lines(const std::string& path, const std::vector<std::string>& lines)
{
    try {
        db::write_file_atomically_streamed(path, [&](const db::ByteSink& put) {
            for (const std::string& line : lines) {
                const std::string l = line + "\r\n";
                put(reinterpret_cast<const unsigned char*>(l.data()), l.size());
            }
        });
    } catch (const EngineError& e) {
        throw InOutError(e.what());
    }
}

}  // namespace vantelo::projection
