// Drawing time of large charts into an image.
#include <benchmark/benchmark.h>

#include <cmath>

#include <QApplication>

#include "platform/chart/chart.h"
#include "platform/chart/chart_output.h"

using namespace vantelo::chart;

static void BM_Bars3D_100x100(benchmark::State& state)
{
    Chart c;
    for (int s = 0; s < 100; ++s) {
        Series& ser = c.add_series(SeriesKind::Bar);
        for (int i = 0; i < 100; ++i) ser.add(std::sin(i * 0.1 + s) + 2);
    }
    for (auto _ : state) benchmark::DoNotOptimize(render_chart(c, QSize(800, 600)));
}
BENCHMARK(BM_Bars3D_100x100)->Unit(benchmark::kMillisecond);

static void BM_Line2D_1M(benchmark::State& state)
{
    Chart c;
    c.set_view3d(false);
    Series& ser = c.add_series(SeriesKind::Line);
    for (int i = 0; i < 1000000; ++i) ser.add(std::sin(i * 0.001));
    for (auto _ : state) benchmark::DoNotOptimize(render_chart(c, QSize(800, 600)));
}
BENCHMARK(BM_Line2D_1M)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
