#include "projection/engine/text_numbers.h"

#include "platform/core/numtext.h"
#include "platform/db/atomic_file.h"

namespace vantelo::projection {
namespace {

bool is_space(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

}  // namespace

NumberTextReader::NumberTextReader(const std::string& path) : file_(path) {}

bool NumberTextReader::load()
{
    while (pos_ >= line_.size()) {
        if (!file_.read_line(line_)) return false;
        pos_ = 0;
    }
    return true;
}

bool NumberTextReader::at_end() { return !load(); }

std::optional<real> NumberTextReader::read_number()
{
    line_ended_ = false;
    for (;;) {
        if (!load()) return std::nullopt;
        if (!is_space(line_[pos_])) break;
        ++pos_;
    }
    // A token ends within its line: the LF is a control character.
    const std::size_t start = pos_;
    while (pos_ < line_.size() && static_cast<unsigned char>(line_[pos_]) > ' ') ++pos_;
    const std::string_view token(line_.data() + start, pos_ - start);
    real value;
    try {
        value = parse_float(token);
    } catch (const ConvertError&) {
        throw InOutError("Invalid numeric input");
    }
    if (pos_ < line_.size()) {
        line_ended_ = line_[pos_] == '\n';
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
    pos_ = line_.size();
}

void write_text_lines(const std::string& path, const std::vector<std::string>& lines)
{
    write_text_files({TextFileLines{path, lines}});
}

void write_text_files(const std::vector<TextFileLines>& files)
{
    // Small files, each handed over whole.
    std::vector<db::FileBytesToWrite> bytes;
    for (const TextFileLines& f : files) {
        std::vector<unsigned char>& b = bytes.emplace_back(db::FileBytesToWrite{f.path, {}}).bytes;
        for (const std::string& line : f.lines) {
            b.insert(b.end(), line.begin(), line.end());
            b.push_back('\r');
            b.push_back('\n');
        }
    }
    try {
        db::write_files_atomically(bytes, "text file");
    } catch (const EngineError& e) {
        throw InOutError(e.what());
    }
}

}  // namespace vantelo::projection
