#include "analysis/Life_table_result1.h"

#include <QFileInfo>

#include "analysis/Life_table_frm1.h"
#include "analysis/engine/life_table_report.h"
#include "charts/Graph_1.h"
#include "platform/chart/color.h"
#include "platform/db/table_files.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/windows.h"
#include "shell/app_state.h"
#include "shell/main_table.h"
#include "shell/menu.h"
#include "ui_Life_table_result1.h"

namespace vantelo {

TLife_table_result* Life_table_result = nullptr;

TLife_table_result::TLife_table_result(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TLife_table_result>())
{
    ui_->setupUi(this);
    ui_->StringGrid1->take_design_size();
    SaveDialog1.confirm_overwrite = false;
    using F = TLife_table_result;
    ui::connect_guarded(ui_->BitBtn3, &QPushButton::clicked, this, &F::BitBtn3Click);
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &F::BitBtn1Click);
    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &F::BitBtn2Click);
}

TLife_table_result::~TLife_table_result()
{
    if (Life_table_result == this) Life_table_result = nullptr;
}

ui::StringGrid* TLife_table_result::StringGrid1() const { return ui_->StringGrid1; }

void TLife_table_result::fill_grid()
{
    const auto rows = analysis::life_table_grid(life_table_arrays);
    ui::StringGrid* g = ui_->StringGrid1;
    g->set_row_count(static_cast<int>(rows.size()) < 2 ? 2 : static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < 8; ++c) g->set_cell(c, r, QString::fromStdString(rows[r][c]));
    g->refresh();
}

void TLife_table_result::BitBtn3Click()
{
    const bool single = Life_table_frm == nullptr || Life_table_frm->single_years();
    const auto points = analysis::survival_points(life_table_arrays, single);

    charts::TGraph* g = ui::new_window(this, charts::Graph);
    chart::Chart& c = g->chart();
    c.set_view3d(true);
    c.set_title_text(QStringLiteral("存活曲线图"));
    c.set_bottom_axis_title(QStringLiteral("年龄"));
    c.set_left_axis_title(QStringLiteral("存活概率(lx)"));
    chart::Series& s = c.add_series(chart::SeriesKind::Line);
    s.set_title(QStringLiteral("存活曲线"));
    const QColor red = chart::color_from_bgr(0x0000FF);
    const QColor blue = chart::color_from_bgr(0xFF0000);
    s.set_colour(red);
    s.set_pen_colour(red);
    s.set_area_colour(red);
    for (const auto& p : points) s.add(p.value, QStringLiteral(" "), blue);
    for (int i = 0; i < static_cast<int>(points.size()); ++i)
        s.set_label(i, QString::fromStdString(points[static_cast<size_t>(i)].label));
    ui::show_modal(*g);
}

void TLife_table_result::BitBtn1Click()
{
    if (!ui::services().save_dialog(this, SaveDialog1) || SaveDialog1.file_name.isEmpty()) return;

    std::vector<shell::db_field_define> defs;
    for (int i = 0; i < 8; ++i)
        defs.push_back({QStringLiteral("field0") + QString::number(i), db::FieldType::String, 20, false});

    shell::Tquilta& main = *shell::quilta;
    db::Dataset& t2 = main.Table2;
    t2.close();
    t2.set_database_name(shell::main_table().database_name());
    // The file the engine creates: a name already ending in ".db" is taken as it is.
    const std::string path = analysis::life_table_save_path(SaveDialog1.file_name.toStdString());
    t2.set_table_name(path);
    t2.set_table_type(db::TableType::Paradox);
    if (QFileInfo::exists(QString::fromStdString(path))) {
        ui::services().information_cancel_only(
            this, QStringLiteral("File") + QString::fromStdString(path)
                      + QStringLiteral(" already exist, Please change another file name!"));
        return;
    }
    t2.field_defs().clear();
    for (const auto& d : defs) t2.field_defs().push_back({d.Name.toStdString(), d.DataType, d.Size, d.Required});
    // The table is made with all its records in one write: a failure leaves no file behind, so
    // the next save to that name is not refused.
    std::vector<db::Record> records;
    ui::StringGrid* g = ui_->StringGrid1;
    for (int row = 0; row < g->row_count(); ++row) {
        db::Record& rec = records.emplace_back();
        for (int i = 0; i < 8; ++i) rec.emplace_back(g->cell(i, row).toStdString());
    }
    db::create_table_with_records(db::ResolvedTable{t2.resolved_path(), t2.resolved_format()}, t2.field_defs(), records);
    t2.open();
    ui::services().information_cancel_only(this, QStringLiteral("File already Saved!"));
}

void TLife_table_result::BitBtn2Click() { done(QDialog::Rejected); }

void show_life_table()
{
    TLife_table_result* w = ui::new_window(nullptr, Life_table_result);
    w->fill_grid();
    ui::show_modal(*w);
}

}  // namespace vantelo
