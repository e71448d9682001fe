#pragma once
// The program-wide chart font settings and marker shapes that the chart dialogs share: set by
// their font buttons and shape boxes, read by their 确定, alive until the program ends and
// never saved. A new dialog shows none of them.
#include <QColor>
#include <QString>

#include "platform/ui/services.h"

namespace vantelo::chart {
class Chart;
}

namespace vantelo::charts {

// Bold, italic, underline, strikeout: any combination.
struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    bool operator==(const FontStyle&) const = default;
};

// Chart title: 0 points is the chart's default height.
extern int title_font_size;
extern QColor title_font_color;
extern FontStyle title_font_style;
// Bottom and left axis titles.
extern int axis_font_size;
extern QColor axis_font_color;
extern FontStyle axis_font_style;
// Marker shape (0..8) of the point dialog, and of the scatter dialog, apart.
extern int point_style;
extern int scatter_point_style;

// Puts every setting back to its start value (for tests).
void reset_chart_settings();

// Points of a font given in pixels, at the screen's resolution, rounded (13 pixels are 10
// points on a 96-dpi screen).
int points_from_pixels(int pixels);

// A dialog's font dialog as designed: the family at a height in pixels (as points), the
// window-text colour, no style.
ui::FontDialogState design_font_dialog(const QString& family, int pixel_height);

// What a font button copies from its font dialog: the size in points, the colour and the
// style; the family is not kept.
void take_title_font(const ui::FontDialogState& dialog);
void take_axis_font(const ui::FontDialogState& dialog);

// The title font, and the fonts of the bottom and left axis titles, from the settings; the
// family stays the chart's own.
void apply_title_font(chart::Chart& c);
void apply_axis_fonts(chart::Chart& c);

}  // namespace vantelo::charts
