#include "charts/Horiz_def_frm1.h"

#include <QCheckBox>
#include <QGroupBox>

#include "ui_Horiz_def_frm1.h"

namespace vantelo::charts {

THoriz_def_frm* Horiz_def_frm = nullptr;

THoriz_def_frm::THoriz_def_frm(QWidget* parent)
    : ChartDefinitionDialog(parent, chart::SeriesKind::HorizBar), ui_(std::make_unique<Ui::THoriz_def_frm>())
{
    ui_->setupUi(this);
    CheckBox1 = ui_->CheckBox1;
    RadioGroup2 = ui_->RadioGroup2;
    bind_common();
}

THoriz_def_frm::~THoriz_def_frm()
{
    if (Horiz_def_frm == this) Horiz_def_frm = nullptr;
}

void THoriz_def_frm::prepare_series(chart::Series& s)
{
    set_bar_options(s, CheckBox1, RadioGroup2);
}

}  // namespace vantelo::charts
