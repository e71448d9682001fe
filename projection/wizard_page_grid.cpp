#include "projection/wizard_page_grid.h"

#include "platform/core/numtext.h"
#include "platform/ui/string_grid.h"
#include "projection/engine/wizard_file.h"

namespace vantelo::projection {

void fill_age_grid(ui::StringGrid& g, const QStringList& titles, int first_age, int rows)
{
    g.set_col_count(static_cast<int>(titles.size()));
    g.set_row_count(checked_add(rows, 1));
    for (int c = 0; c < titles.size(); ++c) g.set_cell(c, 0, titles[c]);
    for (int r = 1; r <= rows; ++r) {
        g.set_cell(0, r, QString::number(checked_add(first_age, r - 1)));
        for (int c = 1; c < titles.size(); ++c) g.set_cell(c, r, QStringLiteral("0.0"));
    }
}

std::vector<double> age_grid_column(const ui::StringGrid& g, int col, int rows)
{
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(std::max(rows, 0)));
    for (int r = 1; r <= rows; ++r) out.push_back(to_double(parse_float(g.cell(col, r).toStdString())));
    return out;
}

void read_age_grid(QWidget* parent, ui::StringGrid& g, ui::FileDialogState& dialog, int required)
{
    ui::services().open_dialog(parent, dialog);
    if (dialog.file_name.isEmpty()) return;
    const int per_line = g.col_count() - 1;
    const auto rows = read_wizard_rows(dialog.file_name.toStdString(), per_line, required);
    for (std::size_t i = 0; i < rows.size() && static_cast<long long>(i) + 1 < g.row_count(); ++i)
        for (int k = 0; k < per_line; ++k)
            g.set_cell(k + 1, static_cast<int>(i) + 1, QString::fromStdString(format_general(rows[i][k])));
}

void save_age_grid(QWidget* parent, const ui::StringGrid& g, ui::FileDialogState& dialog)
{
    ui::services().save_dialog(parent, dialog);
    if (dialog.file_name.isEmpty()) return;
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r < g.row_count(); ++r) {
        std::vector<std::string> row;
        for (int c = 1; c < g.col_count(); ++c) row.push_back(g.cell(c, r).toStdString());
        rows.push_back(std::move(row));
    }
    write_wizard_rows(dialog.file_name.toStdString(), rows);
}

}  // namespace vantelo::projection
