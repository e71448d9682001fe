// Opening and scanning every field of a 1,000,000-record table of the population layout (an
// integer age and five floats), and writing one, in each format; pxlib and shapelib do the same
// work in the same run as baselines. Run: build/tests/bench_db/bench_db. These run inside one
// long-lived process, which reuses freed memory; whole_process.sh measures fresh processes.
#include <benchmark/benchmark.h>


#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/db/dataset.h"
#include "platform/db/dbase.h"
#include "platform/db/paradox.h"
#include "tests/bench_db/bench_tables.h"

using namespace vantelo::db;

namespace {

constexpr int kRecords = 1000000;

using bench::kFloats;
using bench::value_of;

const std::string& bench_dir()
{
    static const std::string dir = [] {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vantelo-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        std::atexit([] { std::filesystem::remove_all(bench_dir()); });
        return tmpl;
    }();
    return dir;
}

const TableData& table_image()
{
    static const TableData t = bench::population_table(kRecords);
    return t;
}

TableData in_format(bool paradox)
{
    TableData t = table_image();
    t.fields = paradox ? paradox_fields_from(t.fields) : dbase_fields_from(t.fields);
    return t;
}

const std::string& paradox_file()
{
    static const std::string path = [] {
        std::string p = bench_dir() + "/pop.db";
        write_paradox(p, in_format(true));
        return p;
    }();
    return path;
}

const std::string& dbase_file()
{
    static const std::string path = [] {
        std::string p = bench_dir() + "/pop.dbf";
        write_dbase(p, in_format(false));
        return p;
    }();
    return path;
}

void scan_ours(benchmark::State& state, const std::string& path)
{
    double file_mb = std::filesystem::file_size(path) / 1e6;
    for (auto _ : state) {
        Dataset ds;
        ds.set_table_name(path);
        ds.open();
        double sum = 0;
        int n = ds.field_count();
        for (ds.first(); !ds.eof(); ds.next())
            for (int i = 0; i < n; ++i) sum += ds.field(i).as_float();
        benchmark::DoNotOptimize(sum);
        if (ds.record_count() != kRecords) state.SkipWithError("wrong record count");
    }
    state.counters["file_MB"] = file_mb;
}

void BM_ScanParadoxOurs(benchmark::State& state) { scan_ours(state, paradox_file()); }
void BM_ScanDbaseOurs(benchmark::State& state) { scan_ours(state, dbase_file()); }

// The file read alone, without the walk through the dataset.
void BM_ReadParadoxOurs(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(read_paradox(paradox_file()).records.size());
}
void BM_ReadDbaseOurs(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(read_dbase(dbase_file()).records.size());
}

void BM_ScanParadoxPxlib(benchmark::State& state)
{
    for (auto _ : state) {
        bench::Scan s = bench::pxlib_scan(paradox_file());
        benchmark::DoNotOptimize(s.sum);
        if (s.count != kRecords) state.SkipWithError("pxlib: wrong record count");
    }
}

void BM_ScanDbaseShapelib(benchmark::State& state)
{
    for (auto _ : state) {
        bench::Scan s = bench::shapelib_scan(dbase_file());
        benchmark::DoNotOptimize(s.sum);
        if (s.count != kRecords) state.SkipWithError("shapelib: wrong record count");
    }
}

void BM_WriteParadoxOurs(benchmark::State& state)
{
    TableData t = in_format(true);
    std::string path = bench_dir() + "/w.db";
    for (auto _ : state) write_paradox(path, t);
}

void BM_WriteDbaseOurs(benchmark::State& state)
{
    TableData t = in_format(false);
    std::string path = bench_dir() + "/w.dbf";
    for (auto _ : state) write_dbase(path, t);
}

void BM_WriteParadoxPxlib(benchmark::State& state)
{
    std::string path = bench_dir() + "/px.db";
    for (auto _ : state) {
        std::filesystem::remove(path);
        pxdoc_t* px = PX_new();
        int nf = 1 + kFloats;
        auto* fields = static_cast<pxfield_t*>(px->malloc(px, nf * sizeof(pxfield_t), "fields"));
        fields[0].px_fname = PX_strdup(px, "age");
        fields[0].px_ftype = pxfLong;
        fields[0].px_flen = 4;
        fields[0].px_fdc = 0;
        for (int k = 0; k < kFloats; ++k) {
            fields[1 + k].px_fname = PX_strdup(px, ("f" + std::to_string(k)).c_str());
            fields[1 + k].px_ftype = pxfNumber;
            fields[1 + k].px_flen = 8;
            fields[1 + k].px_fdc = 0;
        }
        if (PX_create_file(px, fields, nf, path.c_str(), pxfFileTypNonIndexDB) < 0) {
            state.SkipWithError("pxlib cannot create the file");
            PX_delete(px);
            return;
        }
        std::string data(4 + 8 * kFloats, '\0');
        for (int r = 0; r < kRecords; ++r) {
            PX_put_data_long(px, data.data(), 4, r % 81);
            for (int k = 0; k < kFloats; ++k) PX_put_data_double(px, data.data() + 4 + 8 * k, 8, value_of(r, k));
            PX_put_recordn(px, data.data(), r);
        }
        PX_close(px);
        PX_delete(px);
    }
}

void BM_WriteDbaseShapelib(benchmark::State& state)
{
    std::string path = bench_dir() + "/shp.dbf";
    for (auto _ : state) {
        DBFHandle h = DBFCreateEx(path.c_str(), "LDID/122");
        DBFAddField(h, "age", FTInteger, 11, 0);
        for (int k = 0; k < kFloats; ++k) DBFAddField(h, ("f" + std::to_string(k)).c_str(), FTDouble, 20, 10);
        for (int r = 0; r < kRecords; ++r) {
            DBFWriteIntegerAttribute(h, r, 0, r % 81);
            for (int k = 0; k < kFloats; ++k) DBFWriteDoubleAttribute(h, r, 1 + k, value_of(r, k));
        }
        DBFClose(h);
    }
}

}  // namespace

BENCHMARK(BM_ScanParadoxOurs)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadParadoxOurs)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScanParadoxPxlib)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ScanDbaseOurs)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadDbaseOurs)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScanDbaseShapelib)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WriteParadoxOurs)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteParadoxPxlib)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WriteDbaseOurs)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteDbaseShapelib)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
