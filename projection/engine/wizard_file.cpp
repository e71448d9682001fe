#include "projection/engine/wizard_file.h"

#include "platform/core/input_message.h"
#include "projection/engine/text_numbers.h"

namespace vantelo::projection {

std::string short_file_message(const std::string& path, int required, int found)
{
    return "文件" + path + "中的数据不够: 需要" + std::to_string(required) + "个年龄的数据, 只有" + std::to_string(found)
        + "个.";
}

std::vector<std::vector<real>> read_wizard_rows(const std::string& path, int per_line, int required_rows,
                                                int max_rows)
{
    if (per_line < 1 || max_rows < required_rows) throw RangeError();
    NumberTextReader in(path);
    std::vector<std::vector<real>> rows;
    while (static_cast<long long>(rows.size()) < max_rows && !in.at_end()) {
        std::vector<real> row;
        for (int k = 0; k < per_line; ++k) {
            const std::optional<real> v = in.read_number();
            if (!v && static_cast<long long>(rows.size()) < required_rows)
                throw InputMessage(short_file_message(path, required_rows, static_cast<int>(rows.size())));
            row.push_back(v.value_or(0));
        }
        in.skip_line();
        rows.push_back(std::move(row));
    }
    if (static_cast<long long>(rows.size()) < required_rows)
        throw InputMessage(short_file_message(path, required_rows, static_cast<int>(rows.size())));
    return rows;
}

void write_wizard_rows(const std::string& path, const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t k = 0; k < row.size(); ++k) {
            if (k > 0) line += "  ";
            line += row[k];
        }
        lines.push_back(std::move(line));
    }
    write_text_lines(path, lines);
}

}  // namespace vantelo::projection
