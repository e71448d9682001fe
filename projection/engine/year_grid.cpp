#include "projection/engine/year_grid.h"

#include "platform/core/numtext.h"
#include "projection/engine/input_message.h"
#include "projection/engine/workspace.h"

namespace vantelo::projection {

namespace {
const std::string empty_text;
}

void GridModel::set_size(int cols, int rows)
{
    if (cols < 0 || rows < 0) throw RangeError();
    std::vector<std::string> next(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows));
    std::map<std::pair<int, int>, std::string> outside;
    auto keep = [&](int c, int r, std::string&& text) {
        if (c < cols && r < rows)
            next[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)] =
                std::move(text);
        else if (!text.empty())
            outside[{c, r}] = std::move(text);
    };
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c)
            keep(c, r, std::move(cells_[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols_) +
                                        static_cast<std::size_t>(c)]));
    for (auto& [key, text] : outside_) keep(key.first, key.second, std::move(text));
    cells_ = std::move(next);
    outside_ = std::move(outside);
    cols_ = cols;
    rows_ = rows;
}

const std::string& GridModel::cell(int col, int row) const
{
    if (col >= 0 && row >= 0 && col < cols_ && row < rows_)
        return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col)];
    auto it = outside_.find({col, row});
    return it == outside_.end() ? empty_text : it->second;
}

void GridModel::set_cell(int col, int row, std::string text)
{
    if (col >= 0 && row >= 0 && col < cols_ && row < rows_)
        cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col)] =
            std::move(text);
    else
        outside_[{col, row}] = std::move(text);
}

real GridModel::number(int col, int row) const { return parse_float(cell(col, row)); }

void GridModel::set_year_headers(int base_year)
{
    for (int c = 1; c < cols_; ++c) set_cell(c, 0, std::to_string(checked_add(base_year, c)));
}

namespace {

struct Span {
    int s, e;
};

Span checked_span(int start_year, int end_year, int base_year, int year_count)
{
    const int s = checked_sub(start_year, base_year);
    const int e = checked_sub(end_year, base_year);
    if (s < 1 || s >= e) throw InputMessage(msg_interpolation_setting);
    if (e > year_count) throw InputMessage(msg_interpolation_setting);
    return {s, e};
}

void fill_row(GridModel& g, int r, Span sp, InterpolationMode mode)
{
    // Both end values are read whatever the mode, so a cell that is not a number stops the
    // command even when no mode is chosen.
    const real vs = g.number(sp.s, r);
    const real ve = g.number(sp.e, r);
    if (mode == InterpolationMode::none) return;
    const real n = sp.e - sp.s;
    real growth = 0;
    if (mode == InterpolationMode::exponential) growth = checked_ln(checked_div(ve, vs));
    for (int c = sp.s; c <= sp.e; ++c) {
        const real t = (c - sp.s) / n;
        real v = vs;
        if (mode == InterpolationMode::linear)
            v = checked_add(vs, checked_mul(checked_sub(ve, vs), t));
        else if (mode == InterpolationMode::exponential)
            v = checked_mul(vs, checked_exp(checked_mul(growth, t)));
        // The extended value itself is written: rounding it to a double first can change the
        // fifteenth digit (0.043 x 2/9 gives 0.00955555555555556, its double ...555).
        g.set_cell(c, r, format_general(check_finite(v)));
    }
}

}  // namespace

void interpolate_grid_row(GridModel& g, int r, int start_year, int end_year, int base_year, int year_count,
                          InterpolationMode mode)
{
    const Span sp = checked_span(start_year, end_year, base_year, year_count);
    fill_row(g, r, sp, mode);
}

void interpolate_pattern_rows(GridModel& g, int start_year, int end_year, int base_year, int year_count,
                              InterpolationMode mode, const PatternGridShape& shape)
{
    const Span sp = checked_span(start_year, end_year, base_year, year_count);
    if (shape.rows < 1) throw RangeError();
    const int total_row = checked_add(shape.rows, 1);
    for (int i = 1; i <= shape.rows; ++i) fill_row(g, i, sp, mode);
    const bool every = shape.totals == TotalColumns::every_year;
    const int first = every ? 1 : sp.s, last = every ? year_count : sp.e;
    for (int c = first; c <= last; ++c) {
        real sum = 0;
        for (int i = 1; i <= shape.rows; ++i) sum = checked_add(sum, g.number(c, i));
        g.set_cell(c, total_row, format_pattern(to_double(sum), shape.total_pattern));
    }
}

void relay_total_tfr(ProjectionWorkspace& ws, const GridModel& tfr_grid, GridModel& total_grid, int base_year)
{
    const int y = ws.proj_year_count;
    ws.base_tfr_text = format_pattern(ws.tfr_value, "#####.##");
    total_grid.set_cell(0, 1, "总和生育率");
    total_grid.set_col_count(checked_add(y, 1));
    for (int c = 1; c <= y; ++c) {
        total_grid.set_cell(c, 0, std::to_string(checked_add(base_year, c)));
        real sum = 0;
        for (int k = 1; k <= ws.parity_count; ++k) sum = checked_add(sum, tfr_grid.number(c, k));
        ws.tfr_value = to_double(sum);
        total_grid.set_cell(c, 1, format_pattern(ws.tfr_value, "#####.########"));
    }
}

}  // namespace vantelo::projection
