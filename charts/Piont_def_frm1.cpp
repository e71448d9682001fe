#include "charts/Piont_def_frm1.h"

#include <QComboBox>
#include <QLineEdit>

#include "charts/chart_settings.h"
#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/spin_edit.h"
#include "ui_Piont_def_frm1.h"

namespace vantelo::charts {

TPoint_def_frm* Point_def_frm = nullptr;

void show_no_shape_chosen(QComboBox* box)
{
    QStringList shapes;
    for (int i = 0; i < box->count(); ++i) shapes << box->itemText(i);
    ui::fill_list(box, shapes, QStringLiteral("矩形"));
}

int chosen_shape(const QComboBox* box)
{
    const int i = box->currentIndex();
    // Typed text leaves no entry chosen, even where the box still remembers the last one.
    if (i < 0 || box->currentText() != box->itemText(i)) return 0;
    return i;
}

TPoint_def_frm::TPoint_def_frm(QWidget* parent)
    : ChartDefinitionDialog(parent, chart::SeriesKind::Point), ui_(std::make_unique<Ui::TPoint_def_frm>())
{
    ui_->setupUi(this);
    SpinEdit1 = ui_->SpinEdit1;
    ComboBox2 = ui_->ComboBox2;
    show_no_shape_chosen(ComboBox2);
    ui::connect_guarded(ComboBox2, &QComboBox::activated, this, &TPoint_def_frm::ComboBox2Change);
    ui::connect_guarded(ComboBox2, &QComboBox::editTextChanged, this, &TPoint_def_frm::ComboBox2Change);
    bind_common();
}

TPoint_def_frm::~TPoint_def_frm()
{
    if (Point_def_frm == this) Point_def_frm = nullptr;
}

void TPoint_def_frm::ComboBox2Change() { point_style = chosen_shape(ComboBox2); }

void TPoint_def_frm::finish_series(chart::Series& s)
{
    // A size below 1 raises here, after the series is attached: the chart is not shown.
    s.set_pointer_size(SpinEdit1->value(), SpinEdit1->value());
    s.set_pointer_style(point_style);
}

}  // namespace vantelo::charts
