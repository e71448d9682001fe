#include "platform/chart/chart_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/chart/chart_output.h"
#include "platform/chart/chart_painter.h"

namespace vantelo::chart {

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent)
{
    chart_.set_on_change([this] { update(); });
}

ChartLayout ChartWidget::current_layout() const
{
    return layout_chart(chart_, QSizeF(width(), height()));
}

QImage ChartWidget::render_to_image() const
{
    return render_chart(chart_, size());
}

void ChartWidget::save_bmp(const QString& path) const
{
    save_chart_bmp(chart_, size(), path);
}

void ChartWidget::print_landscape(QPrinter& printer) const
{
    print_chart_landscape(chart_, size(), printer);
}

void ChartWidget::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0) return;
    QPainter painter(this);
    paint_chart(painter, chart_, QSizeF(width(), height()));
}

void ChartWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) left_down_ = true;
    emit mouse_pressed(event->button(), event->position().toPoint(), event->modifiers());
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && left_down_) {
        left_down_ = false;
        if (rect().contains(event->position().toPoint())) emit clicked();
    }
}

}  // namespace vantelo::chart
