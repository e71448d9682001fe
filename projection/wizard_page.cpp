#include "projection/wizard_page.h"

#include "platform/core/numtext.h"
#include "platform/ui/inform.h"
#include "platform/ui/string_grid.h"
#include "projection/Single_Region_frm1.h"
#include "projection/engine/wizard_file.h"

namespace vantelo {

using namespace projection;

WizardPage::WizardPage(QWidget* parent) : QDialog(parent) { OpenDialog1.filter = QStringLiteral("txt|*.txt"); }

void WizardPage::begin(ui::StringGrid* g, int ages, TSingle_Region_frm* form, const QStringList& titles,
                       int first_age, int rows, int required_rows)
{
    grid_ = g;
    ages_ = ages;
    form_ = form;
    required_rows_ = required_rows;
    g->set_col_count(static_cast<int>(titles.size()));
    g->set_row_count(checked_add(rows, 1));
    for (int c = 0; c < titles.size(); ++c) g->set_cell(c, 0, titles[c]);
    for (int r = 1; r <= rows; ++r) {
        g->set_cell(0, r, QString::number(checked_add(first_age, r - 1)));
        for (int c = 1; c < titles.size(); ++c) g->set_cell(c, r, QStringLiteral("0.0"));
    }
}

std::vector<double> WizardPage::column(int col, int rows) const
{
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(std::max(rows, 0)));
    for (int r = 1; r <= rows; ++r) out.push_back(to_double(parse_float(grid_->cell(col, r).toStdString())));
    return out;
}

TSingle_Region_frm& WizardPage::form() const
{
    if (!form_) throw RangeError();
    return *form_;
}

void WizardPage::read_file()
{
    ui::informing(this, [&] {
        if (!ui::services().open_dialog(this, OpenDialog1) || OpenDialog1.file_name.isEmpty()) return;
        const int per_line = grid_->col_count() - 1;
        const auto rows = read_wizard_rows(OpenDialog1.file_name.toStdString(), per_line, required_rows_,
                                           checked_sub(grid_->row_count(), 1));
        for (std::size_t i = 0; i < rows.size(); ++i)
            for (int k = 0; k < per_line; ++k)
                grid_->set_cell(k + 1, static_cast<int>(i) + 1, QString::fromStdString(format_general(rows[i][k])));
    });
}

void WizardPage::save_file()
{
    if (!ui::services().save_dialog(this, SaveDialog1) || SaveDialog1.file_name.isEmpty()) return;
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r < grid_->row_count(); ++r) {
        std::vector<std::string> row;
        for (int c = 1; c < grid_->col_count(); ++c) row.push_back(grid_->cell(c, r).toStdString());
        rows.push_back(std::move(row));
    }
    write_wizard_rows(SaveDialog1.file_name.toStdString(), rows);
}

}  // namespace vantelo
