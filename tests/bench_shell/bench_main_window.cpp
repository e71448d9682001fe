// bench_shell: the main window's grid on a 1,000,000-record single-region input table.
//   BM_EngineOpenAndScan       open the table and read one field of every record, in order
//   BM_MainWindowOpenAndScroll 打开 the table in the main window, scroll to the last record and
//                              paint the grid there
//   BM_MainWindowCompute       计算 over the table open in the main window
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "platform/db/dataset.h"
#include "platform/ui/scripted_services.h"
#include "shell/app_state.h"
#include "shell/dataset_model.h"
#include "shell/db_grid.h"
#include "shell/engine/field_compute.h"
#include "shell/menu.h"
#include "big_table.h"

namespace {

using bench::big_table;
using bench::record_count;

void BM_EngineOpenAndScan(benchmark::State& state)
{
    const std::string& path = big_table();
    for (auto _ : state) {
        vantelo::db::Dataset t;
        t.set_table_name(path);
        t.open();
        double sum = 0;
        for (t.first(); !t.eof(); t.next()) sum += t.field(1).as_float();
        benchmark::DoNotOptimize(sum);
        t.close();
    }
}
BENCHMARK(BM_EngineOpenAndScan)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MainWindowOpenAndScroll(benchmark::State& state)
{
    const QString path = QString::fromStdString(big_table());
    vantelo::shell::reset_app_state();
    vantelo::shell::Tquilta w;
    w.resize(1024, 768);
    w.show();
    vantelo::ui::ScopedScriptedServices svc;
    for (auto _ : state) {
        svc.open_answers.push_back(path);
        w.Open1Click();
        auto* grid = w.DBGrid1;
        QModelIndex last = w.DataSource1->index(w.DataSource1->rowCount() - 1, 0);
        grid->setCurrentIndex(last);
        grid->scrollToBottom();
        QApplication::processEvents();
        QImage shown = grid->viewport()->grab().toImage();
        benchmark::DoNotOptimize(shown.bits());
        if (w.Table1.rec_no() != record_count - 1) state.SkipWithError("the cursor did not reach the last record");
        w.Close1Click();
    }
}
BENCHMARK(BM_MainWindowOpenAndScroll)->Unit(benchmark::kMillisecond)->Iterations(3);

// 数据管理 > 计算 on the table open in the main window, whose grid follows every changed record:
// 男性人口 := 年龄 * 女性人口 over the million records, then the grid painted.
void BM_MainWindowCompute(benchmark::State& state)
{
    vantelo::shell::reset_app_state();
    vantelo::shell::Tquilta w;
    w.resize(1024, 768);
    w.show();
    vantelo::ui::ScopedScriptedServices svc;
    svc.open_answers.push_back(QString::fromStdString(big_table()));
    w.Open1Click();
    vantelo::shell::FieldComputation c;
    c.target = "男性人口";
    c.a = "年龄";
    c.b = "女性人口";
    c.operation = 2;
    for (auto _ : state) {
        auto out = vantelo::shell::compute_field(w.Table1, c);
        QApplication::processEvents();
        benchmark::DoNotOptimize(out);
    }
    w.Close1Click();
}
BENCHMARK(BM_MainWindowCompute)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
