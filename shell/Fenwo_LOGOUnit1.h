#pragma once
// The splash window shown at start-up: a borderless window with a decorative chart of random
// points, bars and a line, which ends after four seconds or at the first click on the chart or
// on its "VORN" label.
#include <memory>

#include <QWidget>

#include "platform/chart/chart_widget.h"

class QFrame;
class QLabel;
class QTimer;

namespace Ui {
class TFenwoLOGO;
}

namespace vantelo::shell {

class TFenwoLOGO : public QWidget {
    Q_OBJECT
public:
    explicit TFenwoLOGO(QWidget* parent = nullptr);
    ~TFenwoLOGO() override;

    // Handlers.
    void FormCreate();   // the random decoration
    void Timer1Timer();  // each of these three disables FenwoLOGO's timer
    void Chart1Click();
    void Label1Click();

    QFrame* Panel1 = nullptr;
    vantelo::chart::ChartWidget* Chart1 = nullptr;
    QLabel* Label1 = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TFenwoLOGO> ui_;
};

// The splash window, from its creation until start-up frees it.
extern TFenwoLOGO* FenwoLOGO;

}  // namespace vantelo::shell
