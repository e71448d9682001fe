#include "platform/chart/chart_output.h"

#include <QImageWriter>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>

#include "platform/chart/chart.h"
#include "platform/chart/chart_painter.h"
#include "platform/db/atomic_file.h"

namespace vantelo::chart {

QImage render_chart(const Chart& chart, QSize size)
{
    if (size.width() <= 0 || size.height() <= 0) return QImage();
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    paint_chart(painter, chart, QSizeF(size));
    painter.end();
    return image;
}

void save_chart_bmp(const Chart& chart, QSize size, const QString& path)
{
    const auto fail = [&path] { throw ChartError(("Cannot create file " + path).toStdString()); };
    if (path.isEmpty()) fail();
    try {
        db::check_file_name(path.toStdString());
    } catch (const EngineError& e) {
        throw ChartError(e.what());
    }
    const QImage image = render_chart(chart, size);
    if (image.isNull()) fail();
    // QSaveFile writes a temporary file beside the target and renames it over the target
    // only on commit, so a failed write leaves neither a partial file nor a damaged old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) fail();
    QImageWriter writer(&file, "bmp");
    if (!writer.write(image)) {
        file.cancelWriting();
        fail();
    }
    if (!file.commit()) fail();
}

namespace {

// Puts the printer's orientation back when the print ends, however it ends.
class OrientationRestorer {
public:
    explicit OrientationRestorer(QPrinter& printer)
        : printer_(printer), saved_(printer.pageLayout().orientation())
    {
    }
    ~OrientationRestorer() { printer_.setPageOrientation(saved_); }
    OrientationRestorer(const OrientationRestorer&) = delete;
    OrientationRestorer& operator=(const OrientationRestorer&) = delete;

private:
    QPrinter& printer_;
    QPageLayout::Orientation saved_;
};

// A printer printing into a file fails as a file does; a real printer is named.
std::string print_failure(const QPrinter& printer)
{
    if (!printer.outputFileName().isEmpty()) return ("Cannot create file " + printer.outputFileName()).toStdString();
    QString name = printer.printerName().isEmpty() ? QStringLiteral("the printer") : printer.printerName();
    return ("Cannot print to " + name).toStdString();
}

}  // namespace

void print_chart_landscape(const Chart& chart, QSize size, QPrinter& printer)
{
    OrientationRestorer restore(printer);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer))
        throw ChartError(print_failure(printer));
    if (size.width() > 0 && size.height() > 0) {
        const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
        const double sx = page.width() / size.width();
        const double sy = page.height() / size.height();
        const double s = sx < sy ? sx : sy;
        if (s > 0) {
            painter.translate((page.width() - size.width() * s) / 2, (page.height() - size.height() * s) / 2);
            painter.scale(s, s);
            paint_chart(painter, chart, QSizeF(size));
        }
    }
    if (!painter.end()) throw ChartError(print_failure(printer));
}

}  // namespace vantelo::chart
