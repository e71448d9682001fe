#include "projection/pattern_file.h"

#include <fstream>
#include <sstream>

#include "platform/core/errors.h"
#include "platform/core/numtext.h"
#include "platform/db/atomic_file.h"

namespace vantelo::projection {

std::vector<real> read_pattern_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw InOutError("File not found");
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string data = ss.str();
    size_t pos = 0;
    std::vector<real> out;
    auto is_space = [](unsigned char c) { return c <= ' '; };
    for (int i = 0; i < 35; ++i) {
        while (pos < data.size() && is_space(static_cast<unsigned char>(data[pos]))) ++pos;
        if (pos >= data.size()) {
            out.push_back(0);
            continue;
        }
        size_t end = pos;
        while (end < data.size() && !is_space(static_cast<unsigned char>(data[end]))) ++end;
        try {
            out.push_back(parse_float(std::string_view(data).substr(pos, end - pos)));
        } catch (const ConvertError&) {
            throw InOutError("Invalid numeric input");
        }
        // the rest of the line is skipped
        pos = end;
        while (pos < data.size() && data[pos] != '\n' && data[pos] != '\r') ++pos;
        if (pos < data.size() && data[pos] == '\r') ++pos;
        if (pos < data.size() && data[pos] == '\n') ++pos;
    }
    return out;
}

void write_pattern_file(const std::string& path, const std::vector<std::string>& texts)
{
    std::string data;
    for (const auto& t : texts) data += t + "\r\n";
    try {
        db::write_file_atomically(path, std::vector<unsigned char>(data.begin(), data.end()));
    } catch (const std::exception&) {
        throw InOutError("Cannot create file " + path);
    }
}

}  // namespace vantelo::projection
