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

}  // namespace vantelo::charts
