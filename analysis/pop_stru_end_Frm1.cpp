#include "analysis/pop_stru_end_Frm1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "analysis/engine/year_end_estimate.h"
#include "platform/db/dataset.h"
#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "platform/ui/windows.h"
#include "projection/engine/workspace.h"
#include "shell/main_table.h"
#include "shell/result_columns.h"
#include "ui_pop_stru_end_Frm1.h"

namespace vantelo {

Tpop_stru_end_Frm* pop_stru_end_Frm = nullptr;

using projection::ProjectionWorkspace;
using projection::Sex;
using projection::projection_workspace;

Tpop_stru_end_Frm::Tpop_stru_end_Frm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::Tpop_stru_end_Frm>())
{
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    for (QComboBox* box : {ui_->ComboBox2, ui_->ComboBox3, ui_->ComboBox4, ui_->ComboBox5}) ui::fill_list(box, {});

    using F = Tpop_stru_end_Frm;
    ui::connect_guarded(ui_->ComboBox2, &QComboBox::activated, this, &F::ComboBox2Change);
    ui::connect_guarded(ui_->ComboBox3, &QComboBox::activated, this, &F::ComboBox3Change);
    ui::connect_guarded(ui_->ComboBox4, &QComboBox::activated, this, &F::ComboBox4Change);
    ui::connect_guarded(ui_->ComboBox5, &QComboBox::activated, this, &F::ComboBox5Change);
    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &F::BitBtn2Click);
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &F::BitBtn1Click);
    ui::centre_on_screen(this);
}

Tpop_stru_end_Frm::~Tpop_stru_end_Frm()
{
    if (pop_stru_end_Frm == this) pop_stru_end_Frm = nullptr;
}

void Tpop_stru_end_Frm::fill_field_lists(const QStringList& fields)
{
    for (QComboBox* box : {ui_->ComboBox2, ui_->ComboBox3, ui_->ComboBox4, ui_->ComboBox5}) ui::fill_list(box, fields);
}

namespace {

void load_population(QWidget* w, QComboBox* box, Sex sex, bool& loaded)
{
    if (box->currentText().isEmpty()) return;
    loaded = false;
    const std::vector<double> column = shell::main_table_column(box->currentText());
    loaded = true;  // the values go into the workspace even when the check refuses them
    ui::informing(w, [&] { analysis::load_year_end_population(projection_workspace(), sex, column); });
}

void load_death_rates(QWidget* w, QComboBox* box, Sex sex, bool& built)
{
    if (box->currentText().isEmpty()) return;
    built = false;
    const std::vector<double> column = shell::main_table_column(box->currentText());
    ui::informing(w, [&] {
        analysis::load_year_end_death_rates(projection_workspace(), sex, column);
        built = true;
    });
}

}  // namespace

void Tpop_stru_end_Frm::ComboBox2Change() { load_population(this, ui_->ComboBox2, Sex::male, male_population_); }
void Tpop_stru_end_Frm::ComboBox3Change() { load_population(this, ui_->ComboBox3, Sex::female, female_population_); }
void Tpop_stru_end_Frm::ComboBox4Change() { load_death_rates(this, ui_->ComboBox4, Sex::male, male_life_table_); }
void Tpop_stru_end_Frm::ComboBox5Change() { load_death_rates(this, ui_->ComboBox5, Sex::female, female_life_table_); }

void Tpop_stru_end_Frm::BitBtn2Click()
{
    ui::informing(this, [&] {
        ProjectionWorkspace& ws = projection_workspace();
        analysis::YearEndInputs in;
        in.fields_chosen = !ui_->ComboBox2->currentText().isEmpty() && !ui_->ComboBox3->currentText().isEmpty()
                           && !ui_->ComboBox4->currentText().isEmpty() && !ui_->ComboBox5->currentText().isEmpty();
        in.male_population = male_population_;
        in.female_population = female_population_;
        in.male_life_table = male_life_table_;
        in.female_life_table = female_life_table_;
        in.total_text = ui_->Edit1->text().toStdString();
        in.male_births_text = ui_->Edit2->text().toStdString();
        in.female_births_text = ui_->Edit3->text().toStdString();
        const analysis::YearEndTotals totals = analysis::check_year_end_inputs(ws, in);
        const QString male_name = ui_->Edit4->text(), female_name = ui_->Edit5->text();
        if (!shell::check_new_column_names(this, {male_name, female_name})) return;

        db::Dataset& table = shell::main_table();
        analysis::estimate_year_end(ws, table.record_count(), totals);
        ws.alter_sql_1 = shell::add_column_statement(table, male_name);
        ws.alter_sql_2 = shell::add_column_statement(table, female_name);
        shell::add_result_columns({{male_name, ws.next_pop_male}, {female_name, ws.next_pop_female}});
        done(QDialog::Rejected);
    });
}

void Tpop_stru_end_Frm::BitBtn1Click() { done(QDialog::Rejected); }

}  // namespace vantelo
