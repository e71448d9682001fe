#include "analysis/Life_table_frm1.h"

#include <QListWidget>

#include "analysis/Life_table_result1.h"
#include "platform/core/numtext.h"
#include "platform/core/input_message.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "platform/db/dataset.h"
#include "shell/main_table.h"
#include "ui_Life_table_frm1.h"

namespace vantelo {

TLife_table_frm* Life_table_frm = nullptr;
int life_selected_field = 0;
analysis::LifeTableState life_table_arrays;

namespace {
const char* const not_enough_fields = "Not enough variable selected!";
}

TLife_table_frm::TLife_table_frm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TLife_table_frm>())
{
    ui_->setupUi(this);
    using F = TLife_table_frm;
    ui::connect_guarded(ui_->ListBox2, &QListWidget::clicked, this, &F::ListBox2Click);
    ui::connect_guarded(ui_->Button1, &QPushButton::clicked, this, &F::Button1Click);
    ui::connect_guarded(ui_->Button2, &QPushButton::clicked, this, &F::Button2Click);
    ui::connect_guarded(ui_->Button3, &QPushButton::clicked, this, &F::Button3Click);
    ui::connect_guarded(ui_->RadioButton7, &QRadioButton::clicked, this, &F::RadioButton7Click);
    ui::connect_guarded(ui_->RadioButton8, &QRadioButton::clicked, this, &F::RadioButton8Click);
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &F::BitBtn1Click);
    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &F::BitBtn2Click);
}

TLife_table_frm::~TLife_table_frm()
{
    if (Life_table_frm == this) Life_table_frm = nullptr;
}

void TLife_table_frm::fill_field_list(const QStringList& fields) { ui_->ListBox2->addItems(fields); }

bool TLife_table_frm::single_years() const { return ui_->RadioButton1->isChecked(); }

void TLife_table_frm::ListBox2Click() { life_selected_field = ui_->ListBox2->currentRow(); }

void TLife_table_frm::copy_selected_field(QLineEdit* edit)
{
    if (life_selected_field < 0 || life_selected_field >= ui_->ListBox2->count())
        throw ListIndexError(life_selected_field);
    edit->setText(ui_->ListBox2->item(life_selected_field)->text());
}

void TLife_table_frm::Button1Click() { copy_selected_field(ui_->Edit2); }
void TLife_table_frm::Button2Click() { copy_selected_field(ui_->Edit3); }
void TLife_table_frm::Button3Click() { copy_selected_field(ui_->Edit6); }

void TLife_table_frm::RadioButton7Click()
{
    ui_->Button1->setEnabled(true);
    ui_->Button2->setEnabled(true);
    ui_->Button3->setEnabled(false);
}

void TLife_table_frm::RadioButton8Click()
{
    ui_->Button3->setEnabled(true);
    ui_->Button1->setEnabled(false);
    ui_->Button2->setEnabled(false);
}

void TLife_table_frm::BitBtn1Click()
{
    ui::informing(this, [&] {
        using analysis::SeparationMethod;
        analysis::LifeTableState& t = life_table_arrays;
        analysis::size_life_arrays(t, shell::main_table().record_count(), 1);
        if (ui_->RadioButton7->isChecked()) {
            if (ui_->Edit2->text().isEmpty() || ui_->Edit3->text().isEmpty())
                throw InputMessage(not_enough_fields);
            const std::vector<double> population = shell::main_table_column(ui_->Edit2->text());
            const std::vector<double> deaths = shell::main_table_column(ui_->Edit3->text());
            analysis::death_rates_from_counts(t, population, deaths);
        }
        if (ui_->RadioButton8->isChecked()) {
            if (ui_->Edit6->text().isEmpty()) throw InputMessage(not_enough_fields);
            const std::vector<double> rates = shell::main_table_column(ui_->Edit6->text());
            for (int i = 0; i < t.life_group_count; ++i) at(t.life_death_rate, i) = at(rates, i);
        }
        t.life_interval_width = ui_->RadioButton2->isChecked() ? 5 : 1;

        SeparationMethod method = SeparationMethod::uniform;
        if (ui_->RadioButton4->isChecked()) method = SeparationMethod::chiang;
        if (ui_->RadioButton5->isChecked()) method = SeparationMethod::coale_demeny;
        if (ui_->RadioButton6->isChecked()) method = SeparationMethod::united_nations;
        double a0 = 0, a1_4 = 0;
        if (method == SeparationMethod::uniform) {
            a0 = to_double(parse_float(ui_->Edit4->text().toStdString()));
            a1_4 = to_double(parse_float(ui_->Edit5->text().toStdString()));
        }
        if (!analysis::fill_separation_factors(t, method, t.life_interval_width,
                                               ui_->ComboBox1->currentText().toStdString(), a0, a1_4))
            return;
        if (t.life_interval_width == 1)
            analysis::life_table_single_year(t);
        else
            analysis::life_table_abridged(t);
        show_life_table();
    });
}

void TLife_table_frm::BitBtn2Click() { done(QDialog::Rejected); }

}  // namespace vantelo
