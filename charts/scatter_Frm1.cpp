#include "charts/scatter_Frm1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "charts/Graph_1.h"
#include "charts/Piont_def_frm1.h"
#include "charts/chart_definition_dialog.h"
#include "charts/chart_settings.h"
#include "platform/chart/chart.h"
#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/spin_edit.h"
#include "platform/ui/windows.h"
#include "shell/main_table.h"
#include "shell/table_chart_source.h"
#include "ui_scatter_Frm1.h"

namespace vantelo::charts {

using ui::connect_guarded;

Tscatter_Frm* scatter_Frm = nullptr;

Tscatter_Frm::Tscatter_Frm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::Tscatter_Frm>())
{
    ui_->setupUi(this);
    Edit1 = ui_->Edit1;
    Edit2 = ui_->Edit2;
    Edit3 = ui_->Edit3;
    ListBox1 = ui_->ListBox1;
    Button4 = ui_->Button4;
    Edit4 = ui_->Edit4;
    Button5 = ui_->Button5;
    Edit5 = ui_->Edit5;
    Button1 = ui_->Button1;
    Edit6 = ui_->Edit6;
    CheckBox1 = ui_->CheckBox1;
    RadioGroup1 = ui_->RadioGroup1;
    SpinEdit1 = ui_->SpinEdit1;
    ComboBox2 = ui_->ComboBox2;
    BitBtn1 = ui_->BitBtn1;
    BitBtn2 = ui_->BitBtn2;
    BitBtn3 = ui_->BitBtn3;
    BitBtn4 = ui_->BitBtn4;
    FontDialog1 = design_font_dialog(QStringLiteral("MS Sans Serif"), 11);
    show_no_shape_chosen(ComboBox2);
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
    connect_guarded(Button4, &QPushButton::clicked, this, &Tscatter_Frm::Button4Click);
    connect_guarded(Button5, &QPushButton::clicked, this, &Tscatter_Frm::Button5Click);
    connect_guarded(Button1, &QPushButton::clicked, this, &Tscatter_Frm::Button1Click);
    connect_guarded(BitBtn3, &QPushButton::clicked, this, &Tscatter_Frm::BitBtn3Click);
    connect_guarded(BitBtn4, &QPushButton::clicked, this, &Tscatter_Frm::BitBtn4Click);
    connect_guarded(BitBtn2, &QPushButton::clicked, this, &Tscatter_Frm::BitBtn2Click);
    connect_guarded(BitBtn1, &QPushButton::clicked, this, &Tscatter_Frm::BitBtn1Click);
    connect_guarded(ComboBox2, &QComboBox::activated, this, &Tscatter_Frm::ComboBox2Change);
    connect_guarded(ComboBox2, &QComboBox::editTextChanged, this, &Tscatter_Frm::ComboBox2Change);
    ui::centre_on_screen(this);
}

Tscatter_Frm::~Tscatter_Frm()
{
    if (scatter_Frm == this) scatter_Frm = nullptr;
}

void Tscatter_Frm::fill_fields(const QStringList& names) { ListBox1->addItems(names); }

// The current field, whatever its type.
void Tscatter_Frm::Button4Click() { Edit4->setText(ui::current_item_text(ListBox1)); }
void Tscatter_Frm::Button5Click() { Edit5->setText(ui::current_item_text(ListBox1)); }
void Tscatter_Frm::Button1Click() { Edit6->setText(ui::current_item_text(ListBox1)); }

void Tscatter_Frm::BitBtn3Click() { title_font_button(this, FontDialog1); }
void Tscatter_Frm::BitBtn4Click() { axis_font_button(this, FontDialog1); }

void Tscatter_Frm::ComboBox2Change() { scatter_point_style = chosen_shape(ComboBox2); }

void Tscatter_Frm::BitBtn2Click()
{
    TGraph* g = new_application_chart();
    chart::Chart& c = g->chart();
    c.set_legend_visible(false);
    c.set_view3d(radio_index(RadioGroup1) == 0);
    c.set_title_text(Edit1->text());
    c.set_bottom_axis_title(Edit2->text());
    c.set_left_axis_title(Edit3->text());
    chart::Series& s = c.add_series(chart::SeriesKind::Point);
    // As for the other charts, an empty field reads 0 and a text that is no number is the
    // conversion error.
    shell::TableChartSource source(shell::main_table());
    s.set_data_source(&source);
    s.set_value_field(Edit4->text());
    s.set_position_field(Edit5->text());
    if (CheckBox1->isChecked()) {
        s.set_label_field(Edit6->text());
        s.set_marks_visible(true);
    } else {
        s.set_marks_visible(false);
    }
    s.refresh();
    s.set_data_source(nullptr);
    s.set_pointer_size(SpinEdit1->value(), SpinEdit1->value());
    s.set_pointer_style(scatter_point_style);
    ui::show_modal(*g);
}

void Tscatter_Frm::BitBtn1Click() { reject(); }

}  // namespace vantelo::charts
