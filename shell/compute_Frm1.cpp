#include "shell/compute_Frm1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "shell/app_state.h"
#include "shell/engine/field_compute.h"
#include "shell/launch.h"
#include "shell/main_table.h"
#include "shell/menu.h"
#include "ui_compute_Frm1.h"

namespace vantelo::shell {

QPointer<Tcompute_Frm> compute_Frm;

namespace {
const QString data_error_message = QStringLiteral("Data Error!");

QStringList to_list(const std::vector<std::string>& items)
{
    QStringList out;
    for (const auto& s : items) out << QString::fromStdString(s);
    return out;
}
}  // namespace

Tcompute_Frm::Tcompute_Frm(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::Tcompute_Frm>())
{
    ui_->setupUi(this);
    ComboBox1 = ui_->ComboBox1;
    ComboBox2 = ui_->ComboBox2;
    ComboBox3 = ui_->ComboBox3;
    ComboBox4 = ui_->ComboBox4;
    ComboBox5 = ui_->ComboBox5;
    GroupBox1 = ui_->GroupBox1;
    RadioButton1 = ui_->RadioButton1;
    RadioButton2 = ui_->RadioButton2;
    RadioButton3 = ui_->RadioButton3;
    BitBtn1 = ui_->BitBtn1;
    BitBtn2 = ui_->BitBtn2;
    for (QPushButton* b : {BitBtn1, BitBtn2}) b->setAutoDefault(false);
    ComboBox5->setInsertPolicy(QComboBox::NoInsert);
    ui::fill_list(ComboBox3, to_list(arithmetic_operators), QStringLiteral("+"));

    // The table name's handler runs on the user's edits only, not when the launcher sets it.
    ui::connect_guarded(ComboBox5->lineEdit(), &QLineEdit::textEdited, this, &Tcompute_Frm::ComboBox5Change);
    ui::connect_guarded(RadioButton1, &QRadioButton::clicked, this, &Tcompute_Frm::RadioButton1Click);
    ui::connect_guarded(RadioButton2, &QRadioButton::clicked, this, &Tcompute_Frm::RadioButton2Click);
    ui::connect_guarded(RadioButton3, &QRadioButton::clicked, this, &Tcompute_Frm::RadioButton3Click);
    ui::connect_guarded(BitBtn1, &QPushButton::clicked, this, &Tcompute_Frm::BitBtn1Click);
    ui::connect_guarded(BitBtn2, &QPushButton::clicked, this, &Tcompute_Frm::BitBtn2Click);
}

Tcompute_Frm::~Tcompute_Frm() = default;

void Tcompute_Frm::fill_field_lists(const QStringList& names)
{
    for (QComboBox* box : {ComboBox1, ComboBox2, ComboBox4}) ui::fill_list(box, names);
}

void Tcompute_Frm::ComboBox5Change() { fill_field_lists(main_table_field_names()); }

void Tcompute_Frm::RadioButton1Click()
{
    ComboBox3->setEnabled(true);
    ComboBox4->setEnabled(true);
    ui::fill_list(ComboBox3, to_list(arithmetic_operators), QStringLiteral("+"));
}

void Tcompute_Frm::RadioButton2Click()
{
    ui::fill_list(ComboBox3, {});
    ComboBox3->setEnabled(false);
    ComboBox4->setEnabled(false);
}

void Tcompute_Frm::RadioButton3Click()
{
    ComboBox2->setEnabled(true);
    ComboBox3->setEnabled(true);
    ComboBox4->setEnabled(false);
    ui::fill_list(ComboBox3, to_list(transform_operators), QStringLiteral("ABS()"));
}

void Tcompute_Frm::BitBtn1Click()
{
    FieldComputation c;
    c.mode = RadioButton2->isChecked()   ? ComputeMode::Replace
             : RadioButton3->isChecked() ? ComputeMode::Transform
                                         : ComputeMode::Arithmetic;
    c.target = ComboBox1->currentText().toStdString();
    c.a = ComboBox2->currentText().toStdString();
    c.b = ComboBox4->currentText().toStdString();
    const std::string op = ComboBox3->currentText().toStdString();
    // Nothing happens, silently, while a text the mode needs is empty.
    if (c.target.empty() || c.a.empty()) return;
    if (c.mode == ComputeMode::Arithmetic && (op.empty() || c.b.empty())) return;
    if (c.mode == ComputeMode::Transform && op.empty()) return;
    if (c.mode != ComputeMode::Replace) {
        // The operation by the list's text: the chosen item's own, or the untouched start text;
        // a typed text that names no item is refused rather than computed as another operation.
        c.operation = list_item_for_text(c.mode == ComputeMode::Arithmetic ? arithmetic_operators : transform_operators, op);
        if (c.operation < 0) {
            ui::inform(this, QStringLiteral("\"%1\"不是可选的运算.").arg(ComboBox3->currentText()));
            return;
        }
    }
    ComputeOutcome out = compute_field(main_table(), c);
    if (out.data_error) ui::inform(this, data_error_message);
}

void Tcompute_Frm::BitBtn2Click() { done(QDialog::Rejected); }

void register_compute()
{
    register_window(QStringLiteral("Compute1"), [](Tquilta& main) -> QWidget* {
        Tcompute_Frm* w = new_window(&main, compute_Frm);
        w->ComboBox5->setEditText(QString::fromStdString(main.Table1.table_name()));
        w->fill_field_lists(main.field_names());
        return w;
    });
}

}  // namespace vantelo::shell
