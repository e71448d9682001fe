#pragma once
// Images, BMP files and printouts of a chart.
#include <QImage>
#include <QSize>
#include <QString>

class QPrinter;

namespace vantelo::chart {

class Chart;

// The chart drawn into a new RGB32 image of `size`; a null image for a size of zero or below.
QImage render_chart(const Chart& chart, QSize size);

// Writes the chart at `size` as a BMP file. The file is written to a temporary file and
// renamed over `path` at the end, so a failure leaves no half-written file and an existing
// file as it was. A name the rule for written files refuses (db::check_file_name) raises
// ChartError with its message; any other failure (no area to draw, a path that cannot be
// created or written) raises ChartError "Cannot create file <path>".
void save_chart_bmp(const Chart& chart, QSize size, const QString& path);

// Prints the chart as one landscape document on `printer`, scaled to the page with its aspect
// ratio kept. The printer's earlier orientation is restored afterwards, also on failure; a
// printer that cannot start the job raises ChartError "Cannot create file <file>" when it prints
// into a file, else "Cannot print to <printer>".
void print_chart_landscape(const Chart& chart, QSize size, QPrinter& printer);

}  // namespace vantelo::chart
