#include "projection/year_grid_fill.h"

#include <fstream>
#include <sstream>

#include "platform/core/numtext.h"
#include "platform/db/atomic_file.h"
#include "projection/engine/input_message.h"

namespace vantelo::projection {
namespace {

real number(const GridCells& g, int col, int row) { return parse_float(g.get(col, row)); }

// The value of column c between v_s (column s) and v_e (column e) by the mode.
real interpolated(real vs, real ve, int c, int s, int e, InterpolationMode mode)
{
    const real t = checked_div(c - s, e - s);
    switch (mode) {
    case InterpolationMode::copy: return vs;
    case InterpolationMode::linear: return checked_add(vs, checked_mul(checked_sub(ve, vs), t));
    case InterpolationMode::exponential: return checked_mul(vs, checked_exp(checked_mul(checked_ln(checked_div(ve, vs)), t)));
    case InterpolationMode::none: break;
    }
    return 0;
}

void check_columns(int s, int e, int years)
{
    if (s < 1 || s >= e || e > years) throw InputMessage(msg_interpolation_setting);
}

void fill_row(const GridCells& g, int row, int s, int e, InterpolationMode mode)
{
    const real vs = number(g, s, row);
    const real ve = number(g, e, row);
    for (int c = s; c <= e; ++c) g.set(c, row, format_general(interpolated(vs, ve, c, s, e, mode)));
}

}  // namespace

void interpolate_grid_row(const GridCells& g, int row, int base_year, int years, int start_year, int end_year,
                          InterpolationMode mode)
{
    const int s = checked_sub(start_year, base_year);
    const int e = checked_sub(end_year, base_year);
    check_columns(s, e, years);
    if (mode == InterpolationMode::none) return;
    fill_row(g, row, s, e, mode);
}

void interpolate_pattern_rows(const GridCells& g, int base_year, int years, int start_year, int end_year,
                              InterpolationMode mode)
{
    const int s = checked_sub(start_year, base_year);
    const int e = checked_sub(end_year, base_year);
    check_columns(s, e, years);
    if (mode != InterpolationMode::none)
        for (int r = 1; r <= 35; ++r) fill_row(g, r, s, e, mode);
    for (int c = 1; c <= years; ++c) {
        real sum = 0;
        for (int r = 1; r <= 35; ++r) sum = checked_add(sum, number(g, c, r));
        g.set(c, 36, format_pattern(sum, "####.########"));
    }
}

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
