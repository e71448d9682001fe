#pragma once
// 线形图: one line series per variable.
#include <memory>

#include "charts/chart_definition_dialog.h"


namespace Ui {
class TLine_def_frm;
}

namespace vantelo::charts {

class TLine_def_frm : public ChartDefinitionDialog {
    Q_OBJECT
public:
    explicit TLine_def_frm(QWidget* parent = nullptr);
    ~TLine_def_frm() override;


private:
    std::unique_ptr<Ui::TLine_def_frm> ui_;
};

// The newest dialog of this kind.
extern TLine_def_frm* Line_def_frm;

}  // namespace vantelo::charts
