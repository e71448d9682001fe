#pragma once
// The chart window: one chart with buttons to enlarge or reduce the plot, save it as a
// bitmap, print it and close; a right click opens the chart adjustment dialog. Two buttons,
// shown only under the age pyramid of the single-region result viewer, step the pyramid back
// through the projected years or replay it.
//
// A caller creates a window (owner = the calling window, or nullptr for the application;
// the new window becomes Graph as it is made), sets up the chart through chart() and shows it: modally with
// ui::show_modal(), or non-modally with show() and show_frame() between animation frames.
#include <memory>
#include <vector>

#include <QDialog>

#include "charts/animation.h"
#include "platform/chart/chart_widget.h"
#include "platform/ui/services.h"

class QFrame;
class QPrinter;
class QPushButton;

namespace Ui {
class TGraph;
}

namespace vantelo::charts {

// What the pyramid buttons read of the projection workspace, at the time of the click:
// N age groups, Y projected years, the base year of the newest single-region form, and the
// male (negative) and female (positive) shares of age x in year index y (calendar year
// base + 1 + y). Reads outside 0..N-1 x 0..Y-1 raise RangeError.
class PyramidSource {
public:
    virtual ~PyramidSource() = default;
    virtual int age_group_count() const = 0;
    virtual int proj_year_count() const = 0;
    virtual int base_year() const = 0;
    virtual double male_share(int age, int year_index) const = 0;
    virtual double female_share(int age, int year_index) const = 0;
};

// A pyramid held in plain arrays, [age][year index]; counts are the arrays' own sizes.
class PyramidArrays : public PyramidSource {
public:
    int base = 0;
    int years = 0;
    std::vector<std::vector<double>> male;
    std::vector<std::vector<double>> female;

    int age_group_count() const override { return static_cast<int>(male.size()); }
    int proj_year_count() const override { return years; }
    int base_year() const override { return base; }
    double male_share(int age, int year_index) const override;
    double female_share(int age, int year_index) const override;
};

// The source the pyramid buttons read (not owned); nullptr installs an empty one (N = Y = 0).
void set_pyramid_source(const PyramidSource* source);
const PyramidSource& pyramid_source();

// The projection year (1-based) that the next "<<<" shows; the single-region result viewer
// sets it to Y at every 显示.
extern int pyramid_year_cursor;

// The printer 打印 prints on (the current printer); not owned. nullptr restores the
// program's default printer.
void set_chart_printer(QPrinter* printer);
QPrinter& chart_printer();

class TGraph;
// The newest chart window: each new window assigns itself here; a window that is freed while
// it is the newest clears it.
extern TGraph* Graph;

class TGraph : public QDialog {
    Q_OBJECT
public:
    // owner: the window the chart belongs to (it becomes the Qt parent, so a chart opened
    // from a modal window takes input), or nullptr for the application.
    explicit TGraph(QWidget* owner = nullptr);
    ~TGraph() override;

    vantelo::chart::Chart& chart();
    vantelo::chart::ChartWidget* chart_widget() const { return DBChart1; }

    // One animation frame: shows the window, brings it to the front, repaints the panel and
    // the chart at once, then pauses delay_ms (no pause for 0).
    void show_frame(int delay_ms);

    // Handlers.
    void BitBtn1Click();  // enlarge: every margin - 1
    void BitBtn2Click();  // reduce: every margin + 1
    void BitBtn3Click();  // 保存
    void BitBtn5Click();  // 打印
    void BitBtn6Click();  // 取消
    void DBChart1MouseDown(Qt::MouseButton button);
    void FormResize();
    void Button1Click();  // "<<<"
    void Button2Click();  // ">>>|"

    // The components, by their design names.
    QFrame* Panel1 = nullptr;
    vantelo::chart::ChartWidget* DBChart1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QPushButton* BitBtn6 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    vantelo::ui::FileDialogState SaveDialog1;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void pyramid_setup();
    void fix_pyramid_axis(const PyramidSource& source);
    void add_pyramid_year(const PyramidSource& source, int year_index);

    std::unique_ptr<Ui::TGraph> ui_;
};

}  // namespace vantelo::charts
