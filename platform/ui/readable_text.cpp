#include "platform/ui/readable_text.h"

#include <algorithm>
#include <cmath>

namespace vantelo::ui {
namespace {

double channel(double c8)
{
    const double c = c8 / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c)
{
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

}  // namespace

double contrast_ratio(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readable_text_colour(const QColor& background)
{
    const QColor white(255, 255, 255), black(0, 0, 0);
    return contrast_ratio(background, white) > contrast_ratio(background, black) ? white : black;
}

}  // namespace vantelo::ui
