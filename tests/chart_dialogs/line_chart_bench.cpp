// Time from 确定 in the line chart dialog to the chart painted, for a table of a million
// records: the series filled from the table, laid out and drawn at the chart window's size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>

#include "charts/Graph_1.h"
#include "charts/Line_def_frm1.h"
#include "platform/chart/chart_painter.h"
#include "platform/db/dataset.h"
#include "platform/db/paradox.h"
#include "platform/ui/app_windows.h"
#include "platform/ui/modal.h"
#include "shell/main_table.h"

using namespace vantelo;

namespace {

const int kRecords = qEnvironmentVariableIsSet("BENCH_RECORDS") ? qEnvironmentVariableIntValue("BENCH_RECORDS") : 1000000;

// A Paradox table of kRecords records: 序号 (integer) and 人口 (float, a noisy wave).
std::string write_big_table(const QTemporaryDir& dir)
{
    db::TableData t;
    t.fields = {{"序号", db::FieldType::Integer, 4}, {"人口", db::FieldType::Float, 8}};
    t.records.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i)
        t.records.push_back({static_cast<std::int64_t>(i), 1000 + 300 * std::sin(i * 1e-4) + (i * 7919 % 101)});
    const std::string path = (dir.path() + "/big.db").toStdString();
    db::write_paradox(path, t);
    return path;
}

void draw_line_chart(benchmark::State& state, bool three_d)
{
    QTemporaryDir dir;
    db::Dataset table;
    table.set_table_name(write_big_table(dir));
    table.open();
    shell::set_main_window_link({&table, {}, nullptr});
    charts::TLine_def_frm dialog;
    dialog.fill_fields({"序号", "人口"});
    charts::set_radio_index(dialog.RadioGroup1, three_d ? 0 : 1);
    dialog.ListBox1->item(1)->setSelected(true);
    dialog.Button4Click();

    QImage painted;
    // The shown window is painted once at its size, as the screen would show it.
    ui::ScopedWindowRunner runner([&](QWidget* w, bool) {
        auto* g = qobject_cast<charts::TGraph*>(w);
        g->resize(1024, 768);
        painted = QImage(g->DBChart1->size(), QImage::Format_RGB32);
        QPainter p(&painted);
        chart::paint_chart(p, g->chart(), QSizeF(g->DBChart1->size()));
        return 0;
    });
    for (auto _ : state) {
        dialog.BitBtn2Click();
        benchmark::DoNotOptimize(painted.constBits());
        state.PauseTiming();
        ui::free_kept_windows();
        state.ResumeTiming();
    }
}

void BM_LineChart1M_3D(benchmark::State& state) { draw_line_chart(state, true); }
void BM_LineChart1M_2D(benchmark::State& state) { draw_line_chart(state, false); }
BENCHMARK(BM_LineChart1M_3D)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LineChart1M_2D)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
