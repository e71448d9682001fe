#pragma once
// 点状图: one point series per variable, with the marker size and shape.
#include <memory>

#include "charts/chart_definition_dialog.h"

class QComboBox;

namespace vantelo::ui {
class SpinEdit;
}

namespace Ui {
class TPoint_def_frm;
}

namespace vantelo::charts {

// Makes a shape box (its nine shapes from the form) show "矩形" with no entry chosen (what a
// new dialog shows, whatever shape was chosen last), and the shape index it stands for: the
// chosen entry, or 0 when the text was typed.
void show_no_shape_chosen(QComboBox* box);
int chosen_shape(const QComboBox* box);

class TPoint_def_frm : public ChartDefinitionDialog {
    Q_OBJECT
public:
    explicit TPoint_def_frm(QWidget* parent = nullptr);
    ~TPoint_def_frm() override;

    void ComboBox2Change();  // 点类型: point_style := the chosen shape

    ui::SpinEdit* SpinEdit1 = nullptr;
    QComboBox* ComboBox2 = nullptr;

protected:
    void finish_series(chart::Series& s) override;

private:
    std::unique_ptr<Ui::TPoint_def_frm> ui_;
};

// The newest point dialog.
extern TPoint_def_frm* Point_def_frm;

}  // namespace vantelo::charts
