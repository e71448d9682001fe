#pragma once
// The target-planning dialog: which age-specific fertility rates of ages 15..49, year by year
// over a planning period, produce the births that bring the population of the current table to
// a given total at the end of the period. Choosing a field loads and checks it; &OK runs the
// genetic search of every planning year, writes one text file per year and draws the mean rates
// of each year beside the input rates in the chart.
#include <QDialog>
#include <memory>

#include "planning/engine/fertility_search.h"
#include "planning/engine/plan_projection.h"

namespace Ui {
class TTarget_Planning_Frm1;
}
class QComboBox;
class QLineEdit;
class QRadioButton;
class QPushButton;

namespace vantelo {

namespace chart {
class ChartWidget;
}
namespace ui {
class SpinEdit;
}

class TTarget_Planning_Frm1 : public QDialog {
    Q_OBJECT
public:
    explicit TTarget_Planning_Frm1(QWidget* parent = nullptr);
    ~TTarget_Planning_Frm1() override;

    // Fills the five field lists with the current table's field names (each cleared first).
    void fill_field_lists(const QStringList& fields);

    // Field loaders.
    void ComboBox2Change();
    void ComboBox3Change();
    void ComboBox4Change();
    void ComboBox5Change();
    void ComboBox6Change();
    // &OK: the run; &Exit: closes the dialog (modal result Cancel).
    void BitBtn2Click();
    void BitBtn1Click();

    // The dialog's arrays between its handlers.
    planning::PlanningData data;
    // The random numbers of the search; the program's generator unless a test replaces it.
    planning::SearchRandom search_random;
    // Where the year files go: the folder the program started in.
    QString report_dir;

    QComboBox *ComboBox2, *ComboBox3, *ComboBox4, *ComboBox5, *ComboBox6;
    // The planning years: text that is not a whole number reads as the minimum, 1500.
    ui::SpinEdit *SpinEdit1, *SpinEdit2;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit9, *Edit10, *Edit11, *Edit12;
    QRadioButton *RadioButton1, *RadioButton2;
    QPushButton *BitBtn1, *BitBtn2;
    chart::ChartWidget* Chart1;

private:
    std::unique_ptr<Ui::TTarget_Planning_Frm1> ui_;
};

// The target-planning dialog in use (the newest).
extern TTarget_Planning_Frm1* Target_Planning_Frm1;

// Registers the dialog's factory for the main window's unbound command Simulation1Click.
void register_target_planning();

}  // namespace vantelo
