#include "analysis/UN_sex_age1.h"

#include <QListWidget>

#include "analysis/Index_result1.h"
#include "analysis/engine/age_indices.h"
#include "platform/core/input_message.h"
#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "shell/main_table.h"
#include "ui_UN_sex_age1.h"

namespace vantelo {

TUN_sex_age_frm* UN_sex_age_frm = nullptr;

TUN_sex_age_frm::TUN_sex_age_frm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TUN_sex_age_frm>())
{
    ui_->setupUi(this);
    ui_->Edit1->setText(QStringLiteral(" "));
    ui_->Edit2->setText(QStringLiteral(" "));
    using F = TUN_sex_age_frm;
    ui::connect_guarded(ui_->Button1, &QPushButton::clicked, this, &F::Button1Click);
    ui::connect_guarded(ui_->Button2, &QPushButton::clicked, this, &F::Button2Click);
    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &F::BitBtn2Click);
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &F::BitBtn1Click);
}

TUN_sex_age_frm::~TUN_sex_age_frm()
{
    if (UN_sex_age_frm == this) UN_sex_age_frm = nullptr;
}

void TUN_sex_age_frm::fill_field_list(const QStringList& fields)
{
    ui_->ListBox2->clear();
    ui_->ListBox2->addItems(fields);
}

void TUN_sex_age_frm::copy_current_field(QLineEdit* edit)
{
    edit->setText(ui::current_item_text(ui_->ListBox2));
}

void TUN_sex_age_frm::Button1Click() { copy_current_field(ui_->Edit1); }
void TUN_sex_age_frm::Button2Click() { copy_current_field(ui_->Edit2); }

void TUN_sex_age_frm::BitBtn2Click()
{
    ui::informing(this, [&] {
        const std::vector<double> male = shell::main_table_column(ui_->Edit1->text());
        const std::vector<double> female = shell::main_table_column(ui_->Edit2->text());
        show_index_result(analysis::un_age_sex_report(male, female));
    });
}

void TUN_sex_age_frm::BitBtn1Click() { done(QDialog::Rejected); }

}  // namespace vantelo
