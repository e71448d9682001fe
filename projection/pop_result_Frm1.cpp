#include "projection/pop_result_Frm1.h"

#include <QCompleter>
#include <QLineEdit>

#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/windows.h"
#include "projection/Single_Region_frm1.h"
#include "projection/engine/workspace.h"
#include "projection/pop_data_resultFrm1.h"
#include "projection/projection_links.h"
#include "projection/result_charts.h"
#include "ui_pop_result_Frm1.h"

namespace vantelo {

Tpop_result_Form1* pop_result_Form1 = nullptr;

using namespace projection;

projection::ResultView current_result_view()
{
    ProjectionWorkspace& ws = projection_workspace();
    ResultView v;
    if (Single_Region_frm) {
        v.base_year = Single_Region_frm->base_year();
        v.end_year = Single_Region_frm->end_year();
    }
    v.year_count = ws.proj_year_count;
    v.age_count = ws.age_group_count;
    v.res_total_pop = &ws.res_total_pop;
    v.res_male_pop = &ws.res_male_pop;
    v.res_female_pop = &ws.res_female_pop;
    v.res_pop_0_14 = &ws.res_pop_0_14;
    v.res_pop_working_age = &ws.res_pop_working_age;
    v.res_pop_elderly = &ws.res_pop_elderly;
    v.res_urban_pop = &ws.res_urban_pop;
    v.res_birth_rate = &ws.res_birth_rate;
    v.res_death_rate = &ws.res_death_rate;
    v.res_infant_mortality = &ws.res_infant_mortality;
    v.res_births = &ws.res_births;
    v.res_deaths = &ws.res_deaths;
    v.res_women_15_49 = &ws.res_women_15_49;
    v.res_women_23 = &ws.res_women_23;
    v.res_women_20_29 = &ws.res_women_20_29;
    v.res_age_6 = &ws.res_age_6;
    v.res_age_7 = &ws.res_age_7;
    v.res_age_11 = &ws.res_age_11;
    v.res_age_15 = &ws.res_age_15;
    v.res_age_18 = &ws.res_age_18;
    v.res_age_6_10 = &ws.res_age_6_10;
    v.res_age_15_24 = &ws.res_age_15_24;
    v.res_age_25_44 = &ws.res_age_25_44;
    v.res_age_45_64 = &ws.res_age_45_64;
    v.res_age_19_64 = &ws.res_age_19_64;
    v.res_male_15_64 = &ws.res_male_15_64;
    v.res_female_15_64 = &ws.res_female_15_64;
    v.res_age_60plus = &ws.res_age_60plus;
    v.res_age_65plus = &ws.res_age_65plus;
    v.res_age_80plus = &ws.res_age_80plus;
    v.res_float_pop = &ws.res_float_pop;
    v.res_float_births = &ws.res_float_births;
    v.res_float_deaths = &ws.res_float_deaths;
    v.res_births_parity1 = &ws.res_births_parity1;
    v.res_births_parity2 = &ws.res_births_parity2;
    v.res_births_parity3 = &ws.res_births_parity3;
    v.pop_male = &ws.pop_male;
    v.pop_female = &ws.pop_female;
    v.parameters.assign(ws.res_parameters.begin(), ws.res_parameters.end());
    return v;
}

Tpop_result_Form1::Tpop_result_Form1(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::Tpop_result_Form1>())
{
    ui_->setupUi(this);
    QFont f;
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UMing CN")});
    f.setPixelSize(12);
    ui_->GroupBox2->setFont(f);

    // The list shows its initial text with no entry chosen; typed text is never added to it
    // and is not completed from the entries.
    QComboBox* box = ui_->ComboBox1;
    QStringList entries;
    for (const auto& e : indicator_entries()) entries << QString::fromStdString(e);
    ui::fill_list(box, entries, QString::fromStdString(indicator_entry_text(ind_total_pop)));
    connect(box, &QComboBox::activated, this, [this](int index) { selected_ = index; });
    connect(box->lineEdit(), &QLineEdit::textEdited, this, [this](const QString&) { selected_ = -1; });

    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &Tpop_result_Form1::BitBtn2Click);
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &Tpop_result_Form1::BitBtn1Click);
    ui::connect_guarded(ui_->RadioButton12, &QRadioButton::clicked, this, &Tpop_result_Form1::RadioButton12Click);
    ui::connect_guarded(ui_->RadioButton15, &QRadioButton::clicked, this, &Tpop_result_Form1::RadioButton15Click);

    adjustSize();
    ui::centre_on_screen(this);
}

Tpop_result_Form1::~Tpop_result_Form1() = default;

QComboBox* Tpop_result_Form1::ComboBox1() const { return ui_->ComboBox1; }
QRadioButton* Tpop_result_Form1::RadioButton12() const { return ui_->RadioButton12; }
QRadioButton* Tpop_result_Form1::RadioButton1() const { return ui_->RadioButton1; }
QRadioButton* Tpop_result_Form1::RadioButton15() const { return ui_->RadioButton15; }
QPushButton* Tpop_result_Form1::BitBtn2() const { return ui_->BitBtn2; }
QPushButton* Tpop_result_Form1::BitBtn1() const { return ui_->BitBtn1; }

void Tpop_result_Form1::RadioButton12Click()
{
    ui_->RadioButton12->setChecked(true);
    ui_->RadioButton15->setChecked(false);
}

void Tpop_result_Form1::RadioButton15Click()
{
    ui_->RadioButton15->setChecked(true);
    ui_->RadioButton12->setChecked(false);
}

void Tpop_result_Form1::BitBtn2Click()
{
    set_pyramid_year_cursor(projection_workspace().proj_year_count);
    // While no entry is chosen the request is the total population under the box's text.
    const int k = ui::chosen_entry(ui_->ComboBox1, selected_);
    const QString title = ui_->ComboBox1->currentText();
    if (ui_->RadioButton12->isChecked()) show_text(k, title);
    if (ui_->RadioButton1->isChecked()) show_chart(k, title, false);
    if (ui_->RadioButton15->isChecked()) show_chart(k, title, true);
}

void Tpop_result_Form1::show_text(int k, const QString& title)
{
    // The lines are built first: a failure leaves no half-filled window behind.
    show_text_report(text_report(current_result_view(), k, title.toStdString()));
}

void Tpop_result_Form1::show_chart(int k, const QString& title, bool bars)
{
    ResultView v = current_result_view();
    if (k == ind_age_structure) {
        ProjectionWorkspace& ws = projection_workspace();
        PyramidData d;
        d.age_count = ws.age_group_count;
        d.year_count = ws.proj_year_count;
        d.base_year = v.base_year;
        d.male = &ws.res_pyramid_male;
        d.female = &ws.res_pyramid_female;
        pyramid_animation(new_chart_window(this), d);
        return;
    }
    if (!charted_as_series(k)) return;
    YearSeries s;
    s.year_count = v.year_count;
    s.base_year = v.base_year;
    int series_k = k < 0 ? static_cast<int>(ind_total_pop) : k;
    s.value = [v, series_k](int i) { return indicator_value(v, series_k, i); };
    ChartWindowOps w = new_chart_window(this);
    if (bars)
        bar_animation(w, title, s);
    else
        line_animation(w, title, s);
}

void Tpop_result_Form1::BitBtn1Click()
{
    reset_main_grid_colours();
    done(QDialog::Rejected);
}

}  // namespace vantelo
