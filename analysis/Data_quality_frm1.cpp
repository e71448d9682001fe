#include "analysis/Data_quality_frm1.h"

#include <QListWidget>

#include "analysis/Index_result1.h"
#include "analysis/engine/age_indices.h"
#include "platform/core/input_message.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "shell/main_table.h"
#include "ui_Data_quality_frm1.h"

namespace vantelo {

TData_quality_frm* Data_quality_frm = nullptr;

TData_quality_frm::TData_quality_frm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TData_quality_frm>())
{
    ui_->setupUi(this);
    using F = TData_quality_frm;
    ui::connect_guarded(ui_->ListBox2, &QListWidget::clicked, this, &F::ListBox2Click);
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &F::BitBtn1Click);
    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &F::BitBtn2Click);
}

TData_quality_frm::~TData_quality_frm()
{
    if (Data_quality_frm == this) Data_quality_frm = nullptr;
}

void TData_quality_frm::fill_field_list(const QStringList& fields)
{
    ui_->RadioButton1->setChecked(true);
    ui_->ListBox2->clear();
    ui_->ListBox2->addItems(fields);
}

void TData_quality_frm::ListBox2Click()
{
    if (QListWidgetItem* item = ui_->ListBox2->currentItem()) ui_->Edit2->setText(item->text());
}

void TData_quality_frm::BitBtn1Click()
{
    ui::informing(this, [&] {
        if (ui_->Edit2->text().isEmpty()) throw InputMessage("Field Not Selected");
        const std::vector<double> p = shell::main_table_column(ui_->Edit2->text());
        analysis::IndexReport report;
        if (ui_->RadioButton1->isChecked()) report = analysis::age_preference_report(p);
        if (ui_->RadioButton2->isChecked()) report = analysis::whipple_report(p);
        if (ui_->RadioButton3->isChecked()) report = analysis::myers_report(p);
        if (ui_->RadioButton4->isChecked()) report = analysis::age_accuracy_report(p);
        show_index_result(report);
    });
}

void TData_quality_frm::BitBtn2Click() { done(QDialog::Rejected); }

}  // namespace vantelo
