#include "analysis/standardization_Frm1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "analysis/engine/population_fields.h"
#include "analysis/engine/standardization.h"
#include "platform/db/dataset.h"
#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "platform/ui/windows.h"
#include "projection/engine/input_message.h"
#include "shell/main_table.h"
#include "shell/result_columns.h"
#include "ui_standardization_Frm1.h"
#include "urban_rural/engine/urban_workspace.h"

namespace vantelo {

Tstandardization_Frm* standardization_Frm = nullptr;

using projection::k_ar;
using projection::projection_workspace;

namespace {

k_ar& urban_male() { return urban_rural::urban_workspace().urban.pop_male; }
k_ar& urban_female() { return urban_rural::urban_workspace().urban.pop_female; }

void load_field(QWidget* w, QComboBox* box, k_ar& target)
{
    if (box->currentText().isEmpty()) return;
    const std::vector<double> column = shell::main_table_column(box->currentText());
    ui::informing(w, [&] { analysis::load_population_field(target, column); });
}

}  // namespace

Tstandardization_Frm::Tstandardization_Frm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::Tstandardization_Frm>())
{
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    ui_->PageControl1->setCurrentIndex(0);
    fill_field_lists({});

    using F = Tstandardization_Frm;
    ui::connect_guarded(ui_->ComboBox4, &QComboBox::activated, this, &F::ComboBox4Change);
    ui::connect_guarded(ui_->ComboBox5, &QComboBox::activated, this, &F::ComboBox5Change);
    ui::connect_guarded(ui_->ComboBox2, &QComboBox::activated, this, &F::ComboBox2Change);
    ui::connect_guarded(ui_->ComboBox3, &QComboBox::activated, this, &F::ComboBox3Change);
    ui::connect_guarded(ui_->ComboBox1, &QComboBox::activated, this, &F::ComboBox1Change);
    ui::connect_guarded(ui_->ComboBox10, &QComboBox::activated, this, &F::ComboBox10Change);
    ui::connect_guarded(ui_->Button3, &QPushButton::clicked, this, &F::Button3Click);
    ui::connect_guarded(ui_->Button1, &QPushButton::clicked, this, &F::Button1Click);
    ui::connect_guarded(ui_->Button4, &QPushButton::clicked, this, &F::Button4Click);
    ui::connect_guarded(ui_->Button2, &QPushButton::clicked, this, &F::Button2Click);
    ui::centre_on_screen(this);
}

Tstandardization_Frm::~Tstandardization_Frm()
{
    if (standardization_Frm == this) standardization_Frm = nullptr;
}

void Tstandardization_Frm::fill_field_lists(const QStringList& fields)
{
    for (QComboBox* box : {ui_->ComboBox1, ui_->ComboBox2, ui_->ComboBox3, ui_->ComboBox4, ui_->ComboBox5, ui_->ComboBox10})
        ui::fill_list(box, fields);
}

void Tstandardization_Frm::ComboBox4Change() { load_field(this, ui_->ComboBox4, projection_workspace().pop_male); }
void Tstandardization_Frm::ComboBox5Change() { load_field(this, ui_->ComboBox5, projection_workspace().pop_female); }
void Tstandardization_Frm::ComboBox2Change() { load_field(this, ui_->ComboBox2, projection_workspace().pop_male); }
void Tstandardization_Frm::ComboBox3Change() { load_field(this, ui_->ComboBox3, projection_workspace().pop_female); }
void Tstandardization_Frm::ComboBox1Change() { load_field(this, ui_->ComboBox1, urban_male()); }
void Tstandardization_Frm::ComboBox10Change() { load_field(this, ui_->ComboBox10, urban_female()); }

void Tstandardization_Frm::standardize(const std::vector<QComboBox*>& lists, const std::vector<k_ar*>& arrays,
                                       const std::vector<QLineEdit*>& names, QLineEdit* total)
{
    ui::informing(this, [&] {
        for (QComboBox* box : lists)
            if (box->currentText().isEmpty()) throw InputMessage(projection::msg_not_enough_fields);
        const int n = shell::main_table().record_count();
        analysis::turn_into_shares(arrays, n);
        const double g = analysis::standardization_total(total->text().toStdString());
        QStringList new_names;
        for (QLineEdit* e : names) new_names << e->text();
        if (!shell::check_new_column_names(this, new_names)) return;
        analysis::scale_shares(arrays, n, g);
        std::vector<shell::ResultColumn> columns;
        for (size_t k = 0; k < arrays.size(); ++k) columns.push_back({new_names[static_cast<int>(k)], *arrays[k]});
        shell::add_result_columns(columns);
    });
}

void Tstandardization_Frm::Button3Click()
{
    projection::ProjectionWorkspace& ws = projection_workspace();
    standardize({ui_->ComboBox4, ui_->ComboBox5}, {&ws.pop_male, &ws.pop_female}, {ui_->Edit5, ui_->Edit6}, ui_->Edit7);
}

void Tstandardization_Frm::Button1Click()
{
    projection::ProjectionWorkspace& ws = projection_workspace();
    standardize({ui_->ComboBox2, ui_->ComboBox3, ui_->ComboBox1, ui_->ComboBox10},
                {&ws.pop_male, &ws.pop_female, &urban_male(), &urban_female()},
                {ui_->Edit1, ui_->Edit2, ui_->Edit3, ui_->Edit4}, ui_->Edit8);
}

void Tstandardization_Frm::Button4Click() { done(QDialog::Rejected); }
void Tstandardization_Frm::Button2Click() { done(QDialog::Rejected); }

}  // namespace vantelo
