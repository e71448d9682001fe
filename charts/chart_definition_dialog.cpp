#include "charts/chart_definition_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "charts/Graph_1.h"
#include "charts/chart_settings.h"
#include "platform/chart/chart.h"
#include "platform/db/dataset.h"
#include "platform/ui/app_windows.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/windows.h"
#include "shell/main_table.h"
#include "shell/table_chart_source.h"

namespace vantelo::charts {

using ui::connect_guarded;

bool is_numeric_field(db::Dataset& table, const QString& name)
{
    switch (table.field_by_name(name.toStdString()).def().type) {
    case db::FieldType::SmallInt:
    case db::FieldType::Integer:
    case db::FieldType::Float:
    case db::FieldType::Currency:
    case db::FieldType::LargeInt:
        return true;
    default:
        return false;
    }
}

int radio_index(const QGroupBox* group)
{
    const QList<QRadioButton*> items = group->findChildren<QRadioButton*>();
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->isChecked()) return i;
    return -1;
}

void set_radio_index(QGroupBox* group, int index)
{
    const QList<QRadioButton*> items = group->findChildren<QRadioButton*>();
    if (index < 0 || index >= items.size()) throw RangeError();
    items[index]->setChecked(true);
}

void title_font_button(QWidget* parent, ui::FontDialogState& font_dialog)
{
    if (ui::services().font_dialog(parent, font_dialog)) take_title_font(font_dialog);
}

void axis_font_button(QWidget* parent, ui::FontDialogState& font_dialog)
{
    if (ui::services().font_dialog(parent, font_dialog)) take_axis_font(font_dialog);
}

TGraph* new_application_chart()
{
    TGraph* g = ui::new_window(nullptr, Graph);
    ui::keep_until_exit(g);
    apply_title_font(g->chart());
    apply_axis_fonts(g->chart());
    return g;
}

ChartDefinitionDialog::ChartDefinitionDialog(QWidget* parent, chart::SeriesKind kind) : QDialog(parent), kind_(kind)
{
    FontDialog1 = design_font_dialog(QStringLiteral("MS Sans Serif"), 13);
}

void ChartDefinitionDialog::bind_common()
{
    Edit1 = findChild<QLineEdit*>(QStringLiteral("Edit1"));
    Edit2 = findChild<QLineEdit*>(QStringLiteral("Edit2"));
    Edit3 = findChild<QLineEdit*>(QStringLiteral("Edit3"));
    ListBox1 = findChild<QListWidget*>(QStringLiteral("ListBox1"));
    ListBox2 = findChild<QListWidget*>(QStringLiteral("ListBox2"));
    Button4 = findChild<QPushButton*>(QStringLiteral("Button4"));
    Button5 = findChild<QPushButton*>(QStringLiteral("Button5"));
    RadioGroup1 = findChild<QGroupBox*>(QStringLiteral("RadioGroup1"));
    BitBtn1 = findChild<QPushButton*>(QStringLiteral("BitBtn1"));
    BitBtn2 = findChild<QPushButton*>(QStringLiteral("BitBtn2"));
    BitBtn3 = findChild<QPushButton*>(QStringLiteral("BitBtn3"));
    BitBtn4 = findChild<QPushButton*>(QStringLiteral("BitBtn4"));
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
    connect_guarded(Button4, &QPushButton::clicked, this, &ChartDefinitionDialog::Button4Click);
    connect_guarded(Button5, &QPushButton::clicked, this, &ChartDefinitionDialog::Button5Click);
    connect_guarded(BitBtn1, &QPushButton::clicked, this, &ChartDefinitionDialog::BitBtn1Click);
    connect_guarded(BitBtn2, &QPushButton::clicked, this, &ChartDefinitionDialog::BitBtn2Click);
    connect_guarded(BitBtn3, &QPushButton::clicked, this, &ChartDefinitionDialog::BitBtn3Click);
    connect_guarded(BitBtn4, &QPushButton::clicked, this, &ChartDefinitionDialog::BitBtn4Click);
    ui::centre_on_screen(this);
}

void ChartDefinitionDialog::set_bar_options(chart::Series& s, const QCheckBox* marks, const QGroupBox* combination)
{
    static const chart::BarCombination kinds[] = {chart::mbNone, chart::mbSide, chart::mbStacked, chart::mbStacked100};
    s.set_marks_visible(marks->isChecked());
    const int i = radio_index(combination);
    s.set_bar_combination(i >= 0 && i < 4 ? kinds[i] : chart::mbNone);
}

void ChartDefinitionDialog::set_area_options(chart::Series& s, const QGroupBox* combination)
{
    static const chart::AreaCombination kinds[] = {chart::maNone, chart::maStacked, chart::maStacked100};
    const int i = radio_index(combination);
    s.set_area_combination(i >= 0 && i < 3 ? kinds[i] : chart::maNone);
}

void ChartDefinitionDialog::fill_fields(const QStringList& names) { ListBox1->addItems(names); }

void ChartDefinitionDialog::Button4Click()
{
    // No duplicate check: a field added twice gives two series.
    for (int i = 0; i < ListBox1->count(); ++i) {
        QListWidgetItem* item = ListBox1->item(i);
        if (item->isSelected() && is_numeric_field(shell::main_table(), item->text())) ListBox2->addItem(item->text());
    }
}

void ChartDefinitionDialog::Button5Click() { ListBox2->clear(); }

void ChartDefinitionDialog::BitBtn3Click() { title_font_button(this, FontDialog1); }
void ChartDefinitionDialog::BitBtn4Click() { axis_font_button(this, FontDialog1); }

void ChartDefinitionDialog::BitBtn2Click()
{
    TGraph* g = new_application_chart();
    chart::Chart& c = g->chart();
    c.set_view3d(radio_index(RadioGroup1) == 0);
    c.set_title_text(Edit1->text());
    c.set_bottom_axis_title(Edit2->text());
    c.set_left_axis_title(Edit3->text());
    shell::TableChartSource source(shell::main_table());
    for (int i = 0; i < ListBox2->count(); ++i) {
        const QString field = ListBox2->item(i)->text();
        auto series = std::make_unique<chart::Series>(kind_);
        prepare_series(*series);
        chart::Series& s = c.add_series(std::move(series));
        s.set_data_source(&source);
        s.set_title(field);
        s.set_value_field(field);
        s.refresh();
        s.set_data_source(nullptr);
        finish_series(s);
    }
    ui::show_modal(*g);
}

void ChartDefinitionDialog::BitBtn1Click() { reject(); }

}  // namespace vantelo::charts
