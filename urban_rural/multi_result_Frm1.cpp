#include "urban_rural/multi_result_Frm1.h"

#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>

#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/windows.h"
#include "projection/engine/workspace.h"
#include "projection/pop_data_resultFrm1.h"
#include "projection/projection_links.h"
#include "projection/result_charts.h"
#include "ui_multi_result_Frm1.h"
#include "urban_rural/engine/urban_workspace.h"
#include "urban_rural/multi_pop_Frm1.h"

namespace vantelo {

Tmulti_result_Frm* multi_result_Frm = nullptr;

using namespace projection;
using namespace urban_rural;

namespace {
// The urban/rural pyramids' titles are smaller than those of the other charts.
constexpr int multi_pyramid_title_size = 14;
}  // namespace

MultiResultView current_multi_result_view()
{
    MultiResultView v;
    if (multi_pop_Frm) {
        v.base_year = multi_pop_Frm->base_year();
        v.end_year = multi_pop_Frm->end_year();
    }
    v.year_count = projection_workspace().proj_year_count;
    v.age_count = projection_workspace().age_group_count;
    v.rural = &projection_workspace();
    v.urban = &urban_workspace().urban;
    return v;
}

Tmulti_result_Frm::Tmulti_result_Frm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::Tmulti_result_Frm>())
{
    ui_->setupUi(this);
    QFont f;
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UMing CN")});
    f.setPixelSize(13);
    ui_->GroupBox2->setFont(f);

    // The list shows its initial text with no entry chosen; typed text is never added to it.
    QComboBox* box = ui_->ComboBox1;
    {
        QSignalBlocker block(box);
        for (const auto& e : multi_indicator_entries()) box->addItem(QString::fromStdString(e));
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
        box->setCurrentIndex(-1);
        box->setEditText(QString::fromStdString(multi_indicator_entries()[mi_total_pop]));
    }
    connect(box, &QComboBox::activated, this, [this](int index) { selected_ = index; });
    connect(box->lineEdit(), &QLineEdit::textEdited, this, [this](const QString&) { selected_ = -1; });

    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &Tmulti_result_Frm::BitBtn2Click);
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &Tmulti_result_Frm::BitBtn1Click);

    adjustSize();
    ui::centre_on_screen(this);
}

Tmulti_result_Frm::~Tmulti_result_Frm()
{
    if (multi_result_Frm == this) multi_result_Frm = nullptr;
}

QComboBox* Tmulti_result_Frm::ComboBox1() const { return ui_->ComboBox1; }
QRadioButton* Tmulti_result_Frm::RadioButton12() const { return ui_->RadioButton12; }
QRadioButton* Tmulti_result_Frm::RadioButton1() const { return ui_->RadioButton1; }
QRadioButton* Tmulti_result_Frm::RadioButton15() const { return ui_->RadioButton15; }
QPushButton* Tmulti_result_Frm::BitBtn2() const { return ui_->BitBtn2; }
QPushButton* Tmulti_result_Frm::BitBtn1() const { return ui_->BitBtn1; }

void Tmulti_result_Frm::BitBtn2Click()
{
    // While no entry is chosen the request is the total population under the box's text.
    const int k = ui::chosen_entry(ui_->ComboBox1, selected_);
    const QString title = ui_->ComboBox1->currentText();
    if (ui_->RadioButton12->isChecked()) show_text(k, title);
    if (ui_->RadioButton1->isChecked()) show_chart(k, title, false);
    if (ui_->RadioButton15->isChecked()) show_chart(k, title, true);
}

void Tmulti_result_Frm::show_text(int k, const QString& title)
{
    // The lines are built first: a failure leaves no half-filled window behind.
    show_text_report(multi_text_report(current_multi_result_view(), k, title.toStdString()));
}

void Tmulti_result_Frm::show_chart(int k, const QString& title, bool bars)
{
    const MultiResultView v = current_multi_result_view();
    if (k >= mi_age_whole && k <= mi_age_urban) {
        UrbanWorkspace& uw = urban_workspace();
        ProjectionWorkspace& rural = projection_workspace();
        PyramidData d;
        d.age_count = v.age_count;
        d.year_count = v.year_count;
        d.base_year = v.base_year;
        d.male = k == mi_age_whole ? &uw.res_all_pyramid_male
                 : k == mi_age_rural ? &rural.res_pyramid_male : &uw.urban.res_pyramid_male;
        d.female = k == mi_age_whole ? &uw.res_all_pyramid_female
                   : k == mi_age_rural ? &rural.res_pyramid_female : &uw.urban.res_pyramid_female;
        // The final frame reads year Y - 1: with no year the request ends before a window opens.
        if (d.year_count <= 0) throw RangeError();
        pyramid_animation(new_chart_window(this), d, QString::fromStdString(multi_pyramid_title(k)), QString(),
                          result_frame_delay, multi_pyramid_title_size, false);
        return;
    }
    YearSeries s;
    s.year_count = v.year_count;
    s.base_year = v.base_year;
    const int series_k = k < 0 ? static_cast<int>(mi_total_pop) : k;
    s.value = [v, series_k](int i) { return multi_indicator_value(v, series_k, i); };
    if (s.year_count <= 0) return;  // nothing to draw, no window
    ChartWindowOps w = new_chart_window(this);
    if (bars)
        bar_animation(w, title, s);
    else
        line_animation(w, title, s);
}

void Tmulti_result_Frm::BitBtn1Click() { done(QDialog::Rejected); }

}  // namespace vantelo
