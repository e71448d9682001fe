#pragma once
// The chart adjustment dialog: every control acts on its chart at once (3-D rotation,
// elevation, offsets and depth, orthogonal projection, enlarging or reducing the plot, the
// chart's size, the walls' colours, thicknesses and transparency, the gradient's colours).
// Its controls start from the dialog's own design values, never from the chart.
#include <memory>

#include <QColor>
#include <QDialog>
#include <QPointer>

#include "platform/chart/chart_widget.h"
#include "platform/ui/services.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;
class QToolButton;

namespace Ui {
class TView_3d_frm;
}

namespace vantelo::charts {

// Shared by every adjustment dialog for the life of the program: the wall thicknesses last
// set and the colour last taken from a colour dialog.
extern int left_wall_size;
extern int bottom_wall_size;
extern int back_wall_size;
extern QColor chart_pick_color;

// Which arrow of an up-down control was clicked.
enum UDBtnType { btNext, btPrev };

class TView_3d_frm : public QDialog {
    Q_OBJECT
public:
    // The dialog acts on chart (not owned; it must outlive the dialog, which a parent that
    // also holds the chart ensures).
    TView_3d_frm(vantelo::chart::ChartWidget* chart, QWidget* parent);
    ~TView_3d_frm() override;

    // Handlers.
    void BitBtn3Click();  // wall colours
    void BitBtn6Click();
    void BitBtn9Click();
    void UpDown1Click(UDBtnType button);  // wall sizes
    void UpDown2Click(UDBtnType button);
    void UpDown3Click(UDBtnType button);
    void CheckBox1Click();  // wall transparency
    void CheckBox2Click();
    void CheckBox3Click();
    void Shape4MouseDown();  // gradient colours
    void Shape5MouseDown();
    // One scroll event of a bar, carrying the bar's position.
    void ScrollBar1Scroll(int position);
    void ScrollBar2Scroll(int position);
    void ScrollBar3Scroll(int position);
    void ScrollBar4Scroll(int position);
    void ScrollBar5Scroll(int position);
    void ScrollBar6Scroll(int position);
    void ScrollBar7Scroll(int position);
    void ScrollBar8Scroll(int position);
    void CheckBox4Click();
    void BitBtn2Click();  // 取消

    // Position of the up-down control 1..3 (0..100).
    int updown_position(int which) const;

    // The components, by their design names.
    QScrollBar* ScrollBar1 = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QScrollBar* ScrollBar3 = nullptr;
    QScrollBar* ScrollBar4 = nullptr;
    QScrollBar* ScrollBar5 = nullptr;
    QScrollBar* ScrollBar6 = nullptr;
    QScrollBar* ScrollBar7 = nullptr;
    QScrollBar* ScrollBar8 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QFrame* Shape1 = nullptr;
    QFrame* Shape2 = nullptr;
    QFrame* Shape3 = nullptr;
    QFrame* Shape4 = nullptr;
    QFrame* Shape5 = nullptr;
    vantelo::ui::ColourDialogState ColorDialog1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hook_scroll_bar(QScrollBar* bar, void (TView_3d_frm::*handler)(int));
    void wall_colour(vantelo::chart::WallKind wall, QFrame* shape);
    void wall_size(int which, UDBtnType button, int& counter, QLineEdit* box, vantelo::chart::WallKind wall);
    vantelo::chart::Chart& chart();

    std::unique_ptr<Ui::TView_3d_frm> ui_;
    QPointer<vantelo::chart::ChartWidget> chart_;
    int updown_[3] = {0, 0, 0};
};

// The newest adjustment dialog.
extern QPointer<TView_3d_frm> View_3d_frm;

// Fills a sample shape with a colour.
void fill_shape(QFrame* shape, const QColor& colour);

}  // namespace vantelo::charts
