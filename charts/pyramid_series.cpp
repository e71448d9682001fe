#include "charts/pyramid_series.h"

#include <algorithm>
#include <cmath>

#include "platform/chart/chart.h"
#include "platform/chart/color.h"

namespace vantelo::charts {

namespace {
const QColor male_colour = chart::color_from_bgr(0xFF0000);    // blue
const QColor female_colour = chart::color_from_bgr(0x0000FF);  // red

chart::Series& add_sex(chart::Chart& c, const QString& title, const QColor& colour)
{
    chart::Series& s = c.add_series(chart::SeriesKind::HorizBar);
    s.set_marks_visible(false);
    s.set_bar_combination(chart::mbNone);
    s.set_title(title);
    s.set_colour(colour);
    return s;
}
}  // namespace

PyramidSeries add_pyramid_series(chart::Chart& c)
{
    chart::Series& male = add_sex(c, QStringLiteral("男性"), male_colour);
    chart::Series& female = add_sex(c, QStringLiteral("女性"), female_colour);
    return {male, female};
}

void add_pyramid_ages(const PyramidSeries& s, int ages, const std::function<double(int age)>& male_share,
                      const std::function<double(int age)>& female_share)
{
    for (int x = 0; x < ages; ++x) {
        const QString label = QString::number(x);
        s.male.add(male_share(x), label, male_colour);
        s.female.add(female_share(x), label, female_colour);
    }
}

void fix_pyramid_axis(chart::Chart& c, int ages, int years, const std::function<double(int age, int year)>& male_share,
                      const std::function<double(int age, int year)>& female_share)
{
    double largest = 0;
    for (int j = 0; j < years; ++j)
        for (int x = 0; x < ages; ++x)
            largest = std::max({largest, std::fabs(male_share(x, j)), std::fabs(female_share(x, j))});
    if (largest > 0)
        c.set_value_axis_range(-largest, largest);
    else
        c.set_value_axis_automatic();
}

}  // namespace vantelo::charts
