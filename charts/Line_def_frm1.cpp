#include "charts/Line_def_frm1.h"

#include <QCheckBox>
#include <QGroupBox>

#include "ui_Line_def_frm1.h"

namespace vantelo::charts {

TLine_def_frm* Line_def_frm = nullptr;

TLine_def_frm::TLine_def_frm(QWidget* parent)
    : ChartDefinitionDialog(parent, chart::SeriesKind::Line), ui_(std::make_unique<Ui::TLine_def_frm>())
{
    ui_->setupUi(this);
    bind_common();
}

TLine_def_frm::~TLine_def_frm()
{
    if (Line_def_frm == this) Line_def_frm = nullptr;
}

}  // namespace vantelo::charts
