#include "analysis/Index_result1.h"

#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/windows.h"
#include "ui_Index_result1.h"

namespace vantelo {

TIndex_Result_frm* Index_Result_frm = nullptr;

TIndex_Result_frm::TIndex_Result_frm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TIndex_Result_frm>())
{
    ui_->setupUi(this);
    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &TIndex_Result_frm::BitBtn2Click);
}

TIndex_Result_frm::~TIndex_Result_frm()
{
    if (Index_Result_frm == this) Index_Result_frm = nullptr;
}

void TIndex_Result_frm::show_report(const analysis::IndexReport& report)
{
    for (const auto& line : report.lines) ui_->ListBox1->addItem(QString::fromStdString(line));
    ui_->Edit1->setText(QString::fromStdString(report.good));
    ui_->Edit2->setText(QString::fromStdString(report.acceptable));
    ui_->Edit3->setText(QString::fromStdString(report.not_acceptable));
}

void TIndex_Result_frm::BitBtn2Click() { done(QDialog::Rejected); }

void show_index_result(const analysis::IndexReport& report)
{
    TIndex_Result_frm* w = ui::new_window(nullptr, Index_Result_frm);
    w->show_report(report);
    ui::show_modal(*w);
}

}  // namespace vantelo
