#pragma once
// The two series of an age pyramid, shared by the chart window's stepping buttons and the result
// viewer's pyramid animation: 男性 (blue, negative shares to the left) and 女性 (red, to the right)
// as horizontal bars without marks sharing the age rows.
#include <functional>

namespace vantelo::chart {
class Chart;
class Series;
}  // namespace vantelo::chart

namespace vantelo::charts {

struct PyramidSeries {
    chart::Series& male;
    chart::Series& female;
};

// Adds the male and then the female series to the chart.
PyramidSeries add_pyramid_series(chart::Chart& c);

// Adds one year: for ages x = 0..ages-1 a bar labelled x in each series, of the shares given.
void add_pyramid_ages(const PyramidSeries& s, int ages, const std::function<double(int age)>& male_share,
                      const std::function<double(int age)>& female_share);

// Keeps one value axis for every frame of a pyramid: symmetric about 0 and reaching the largest
// share of any age and year on either side (male shares are negative). With no people at all
// the axis stays automatic.
void fix_pyramid_axis(chart::Chart& c, int ages, int years, const std::function<double(int age, int year)>& male_share,
                      const std::function<double(int age, int year)>& female_share);

}  // namespace vantelo::charts
