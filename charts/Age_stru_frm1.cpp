#include "charts/Age_stru_frm1.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "charts/Graph_1.h"
#include "charts/chart_definition_dialog.h"
#include "charts/chart_settings.h"
#include "charts/engine/pyramid_shares.h"
#include "charts/pyramid_series.h"
#include "platform/chart/chart.h"
#include "platform/db/dataset.h"
#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/windows.h"
#include "shell/main_table.h"
#include "ui_Age_stru_frm1.h"

namespace vantelo::charts {

using ui::connect_guarded;

TAge_stru_frm* Age_stru_frm = nullptr;

TAge_stru_frm::TAge_stru_frm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TAge_stru_frm>())
{
    ui_->setupUi(this);
    Edit1 = ui_->Edit1;
    ListBox1 = ui_->ListBox1;
    Button4 = ui_->Button4;
    Edit2 = ui_->Edit2;
    Button5 = ui_->Button5;
    Edit3 = ui_->Edit3;
    BitBtn1 = ui_->BitBtn1;
    BitBtn2 = ui_->BitBtn2;
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
    connect_guarded(Button4, &QPushButton::clicked, this, &TAge_stru_frm::Button4Click);
    connect_guarded(Button5, &QPushButton::clicked, this, &TAge_stru_frm::Button5Click);
    connect_guarded(BitBtn2, &QPushButton::clicked, this, &TAge_stru_frm::BitBtn2Click);
    connect_guarded(BitBtn1, &QPushButton::clicked, this, &TAge_stru_frm::BitBtn1Click);
    ui::centre_on_screen(this);
}

TAge_stru_frm::~TAge_stru_frm()
{
    if (Age_stru_frm == this) Age_stru_frm = nullptr;
}

void TAge_stru_frm::fill_fields(const QStringList& names) { ListBox1->addItems(names); }

void TAge_stru_frm::copy_numeric_item(QLineEdit* box)
{
    // Other field types are ignored without a message.
    const QString name = ui::current_item_text(ListBox1);
    if (is_numeric_field(shell::main_table(), name)) box->setText(name);
}

void TAge_stru_frm::Button4Click() { copy_numeric_item(Edit2); }
void TAge_stru_frm::Button5Click() { copy_numeric_item(Edit3); }

void TAge_stru_frm::BitBtn2Click()
{
    db::Dataset& t = shell::main_table();
    const int n = t.record_count();
    std::vector<double> male(static_cast<std::size_t>(n)), female(static_cast<std::size_t>(n));
    // Record by record through the table, each field read strictly as a real: an empty field
    // or a text that is not a number is a conversion error, before any window is made.
    t.first();
    for (int i = 0; i < n; ++i) {
        at(male, i) = t.field_by_name(Edit2->text().toStdString()).as_real_strict();
        at(female, i) = t.field_by_name(Edit3->text().toStdString()).as_real_strict();
        t.next();
    }
    const PyramidShares shares = pyramid_shares(male, female);

    TGraph* g = ui::new_window(this, Graph);
    chart::Chart& c = g->chart();
    c.set_view3d(false);
    apply_title_font(c);
    c.set_title_text(Edit1->text());
    const PyramidSeries s = add_pyramid_series(c);
    s.male.set_title(Edit2->text());
    s.female.set_title(Edit3->text());
    add_pyramid_ages(s, n, [&](int i) { return at(shares.male, i); }, [&](int i) { return at(shares.female, i); });
    ui::show_modal(*g);
}

void TAge_stru_frm::BitBtn1Click() { reject(); }

}  // namespace vantelo::charts
