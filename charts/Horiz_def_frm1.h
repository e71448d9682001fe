#pragma once
// 水平直方图: one horizontal bar series per variable (the field gives the bar lengths), with marks and the bar combination.
#include <memory>

#include "charts/chart_definition_dialog.h"

class QCheckBox;

namespace Ui {
class THoriz_def_frm;
}

namespace vantelo::charts {

class THoriz_def_frm : public ChartDefinitionDialog {
    Q_OBJECT
public:
    explicit THoriz_def_frm(QWidget* parent = nullptr);
    ~THoriz_def_frm() override;

    QCheckBox* CheckBox1 = nullptr;
    QGroupBox* RadioGroup2 = nullptr;

protected:
    void prepare_series(chart::Series& s) override;

private:
    std::unique_ptr<Ui::THoriz_def_frm> ui_;
};

// The newest dialog of this kind.
extern THoriz_def_frm* Horiz_def_frm;

}  // namespace vantelo::charts
