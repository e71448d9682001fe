#include "charts/Bar_def_frm1.h"

#include <QCheckBox>
#include <QGroupBox>

#include "ui_Bar_def_frm1.h"

namespace vantelo::charts {

TBar_def_frm* Bar_def_frm = nullptr;

TBar_def_frm::TBar_def_frm(QWidget* parent)
    : ChartDefinitionDialog(parent, chart::SeriesKind::Bar), ui_(std::make_unique<Ui::TBar_def_frm>())
{
    ui_->setupUi(this);
    CheckBox1 = ui_->CheckBox1;
    RadioGroup2 = ui_->RadioGroup2;
    bind_common();
}

TBar_def_frm::~TBar_def_frm()
{
    if (Bar_def_frm == this) Bar_def_frm = nullptr;
}

void TBar_def_frm::prepare_series(chart::Series& s)
{
    set_bar_options(s, CheckBox1, RadioGroup2);
}

}  // namespace vantelo::charts
