#include "projection/engine/fertility_pattern_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/core/numtext.h"
#include "projection/engine/year_grid.h"

namespace vantelo::projection {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const
    {
        if (f) std::fclose(f);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void raise_open_error(int err)
{
    if (err == ENOENT) throw InOutError("File not found");
    if (err == EACCES || err == EISDIR || err == EPERM) throw InOutError("File access denied");
    throw InOutError("I/O error " + std::to_string(err));
}

bool is_space(int ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

}  // namespace

void read_numbers_by_line(const std::string& path, int count, const std::function<void(int, real)>& sink)
{
    errno = 0;
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) raise_open_error(errno);
    for (int i = 0; i < count; ++i) {
        int ch = std::fgetc(f.get());
        while (ch != EOF && is_space(ch)) ch = std::fgetc(f.get());
        real value = 0;
        if (ch != EOF) {
            std::string token;
            while (ch != EOF && static_cast<unsigned char>(ch) > ' ') {
                token.push_back(static_cast<char>(ch));
                ch = std::fgetc(f.get());
            }
            try {
                value = parse_float(token);
            } catch (const ConvertError&) {
                throw InOutError("Invalid numeric input");
            }
            // Skip the rest of the line.
            while (ch != EOF && ch != '\n') ch = std::fgetc(f.get());
        }
        if (std::ferror(f.get())) throw InOutError("Disk read error");
        sink(i, value);
    }
}

std::vector<real> read_pattern_numbers(const std::string& path, int count)
{
    std::vector<real> out;
    read_numbers_by_line(path, count, [&](int, real v) { out.push_back(v); });
    return out;
}

void read_pattern_into_grid(GridModel& g, int col, const std::string& path)
{
    read_numbers_by_line(path, 35, [&](int i, real v) { g.set_cell(col, i + 1, format_general(v)); });
}

void write_pattern_from_grid(const GridModel& g, int col, const std::string& path)
{
    errno = 0;
    File f(std::fopen(path.c_str(), "wb"));
    if (!f) {
        if (errno == ENOENT) throw InOutError("Path not found");
        raise_open_error(errno);
    }
    for (int i = 1; i <= 35; ++i) {
        const std::string line = g.cell(col, i) + "\r\n";
        if (std::fwrite(line.data(), 1, line.size(), f.get()) != line.size()) throw InOutError("Disk write error");
    }
    std::FILE* raw = f.release();
    if (std::fclose(raw) != 0) throw InOutError("Disk write error");
}

}  // namespace vantelo::projection
