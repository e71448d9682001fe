#pragma once
// 垂直直方图: one vertical bar series per variable, with marks and the bar combination.
#include <memory>

#include "charts/chart_definition_dialog.h"

class QCheckBox;

namespace Ui {
class TBar_def_frm;
}

namespace vantelo::charts {

class TBar_def_frm : public ChartDefinitionDialog {
    Q_OBJECT
public:
    explicit TBar_def_frm(QWidget* parent = nullptr);
    ~TBar_def_frm() override;

    QCheckBox* CheckBox1 = nullptr;
    QGroupBox* RadioGroup2 = nullptr;

protected:
    void prepare_series(chart::Series& s) override;

private:
    std::unique_ptr<Ui::TBar_def_frm> ui_;
};

// The newest dialog of this kind.
extern TBar_def_frm* Bar_def_frm;

}  // namespace vantelo::charts
