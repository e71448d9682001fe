#include "charts/Area_def_frm1.h"

#include <QCheckBox>
#include <QGroupBox>

#include "ui_Area_def_frm1.h"

namespace vantelo::charts {

TArea_def_frm* Area_def_frm = nullptr;

TArea_def_frm::TArea_def_frm(QWidget* parent)
    : ChartDefinitionDialog(parent, chart::SeriesKind::Area), ui_(std::make_unique<Ui::TArea_def_frm>())
{
    ui_->setupUi(this);
    RadioGroup2 = ui_->RadioGroup2;
    bind_common();
}

TArea_def_frm::~TArea_def_frm()
{
    if (Area_def_frm == this) Area_def_frm = nullptr;
}

void TArea_def_frm::prepare_series(chart::Series& s)
{
    set_area_options(s, RadioGroup2);
}

}  // namespace vantelo::charts
