#pragma once
// 面积图: one area series per variable, with the area combination.
#include <memory>

#include "charts/chart_definition_dialog.h"


namespace Ui {
class TArea_def_frm;
}

namespace vantelo::charts {

class TArea_def_frm : public ChartDefinitionDialog {
    Q_OBJECT
public:
    explicit TArea_def_frm(QWidget* parent = nullptr);
    ~TArea_def_frm() override;

    QGroupBox* RadioGroup2 = nullptr;

protected:
    void prepare_series(chart::Series& s) override;

private:
    std::unique_ptr<Ui::TArea_def_frm> ui_;
};

// The newest dialog of this kind.
extern TArea_def_frm* Area_def_frm;

}  // namespace vantelo::charts
