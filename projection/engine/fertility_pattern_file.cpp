#include "projection/engine/fertility_pattern_file.h"

#include "platform/core/numtext.h"
#include "projection/engine/text_numbers.h"
#include "projection/engine/year_grid.h"

namespace vantelo::projection {

void read_numbers_by_line(const std::string& path, int count, const std::function<void(int, real)>& sink)
{
    NumberTextReader in(path);
    for (int i = 0; i < count; ++i) {
        const real value = in.read_number().value_or(0);
        in.skip_line();
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
    std::vector<std::string> lines;
    for (int i = 1; i <= 35; ++i) lines.push_back(g.cell(col, i));
    write_text_lines(path, lines);
}

}  // namespace vantelo::projection
