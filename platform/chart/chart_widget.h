#pragma once
// The chart as a widget: it owns its chart model, repaints when the model changes, and
// reports mouse presses (the chart window opens its adjustment dialog on the right button).
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include "platform/chart/chart.h"
#include "platform/chart/chart_layout.h"

class QPrinter;

namespace vantelo::chart {

class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(QWidget* parent = nullptr);

    Chart& chart() { return chart_; }
    const Chart& chart() const { return chart_; }

    // The layout at the widget's current size.
    ChartLayout current_layout() const;
    // The chart at the widget's size (the same drawing as the screen, the file and the print).
    QImage render_to_image() const;
    // BMP of the widget's size; raises ChartError "Cannot create file <path>".
    void save_bmp(const QString& path) const;
    // Landscape print of the chart; the printer's orientation is restored afterwards.
    void print_landscape(QPrinter& printer) const;

signals:
    // Any mouse button pressed on the chart (not on a child widget).
    void mouse_pressed(Qt::MouseButton button, QPoint pos, Qt::KeyboardModifiers modifiers);
    // Left button pressed and released on the chart.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Chart chart_;
    bool left_down_ = false;
};

}  // namespace vantelo::chart
