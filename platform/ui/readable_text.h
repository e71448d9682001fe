#pragma once
// Text on a coloured background: black or white, whichever stands out more.
#include <QColor>

namespace vantelo::ui {

// The contrast ratio of two colours, (L1 + 0.05)/(L2 + 0.05) with L1 the lighter relative
// luminance (sRGB, 1 for white, 0 for black): from 1 (the same) to 21 (black on white).
double contrast_ratio(const QColor& a, const QColor& b);

// White or black, whichever has the higher contrast ratio against `background` (white on blue,
// teal and green; black on red, yellow and the light colours).
QColor readable_text_colour(const QColor& background);

}  // namespace vantelo::ui
