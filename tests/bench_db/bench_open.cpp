// One whole process per measurement: start, open a table, read every value, exit. Run under
// /usr/bin/time -v by whole_process.sh, so page faults, start-up and the peak memory of the
// process are counted. Modes:
//   gen N DIR          writes DIR/pop.db and DIR/pop.dbf: N records of an integer age and five floats
//   ours FILE          through a dataset: First/Next, every field as a real
//   pxlib FILE.db      pxlib reading every record and field
//   shapelib FILE.dbf  shapelib reading every record and field
//   hand FILE.db       a minimal hand decoder of this one layout (the floor for .db)
//   chars FILE.dbf     a from_chars loop over the records (the floor for .dbf)
//   write N FILE       writes N records through the engine (the table built, then written)
// Each reading mode prints the record count and the sum of every value, so the modes can be
// checked against one another.
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/db/dataset.h"
#include "platform/db/dbase.h"
#include "platform/db/paradox.h"
#include "platform/db/table_files.h"
#include "tests/bench_db/bench_tables.h"

using namespace vantelo::db;

namespace {

using bench::kFloats;

std::vector<unsigned char> whole_file(const char* path)
{
    int fd = ::open(path, O_RDONLY);
    if (fd < 0) {
        std::perror(path);
        std::exit(2);
    }
    off_t size = ::lseek(fd, 0, SEEK_END);
    ::lseek(fd, 0, SEEK_SET);
    std::vector<unsigned char> data(static_cast<std::size_t>(size));
    std::size_t used = 0;
    while (used < data.size()) {
        ssize_t got = ::read(fd, data.data() + used, data.size() - used);
        if (got <= 0) break;
        used += static_cast<std::size_t>(got);
    }
    ::close(fd);
    data.resize(used);
    return data;
}

unsigned u16le(const unsigned char* p) { return p[0] | (p[1] << 8u); }
std::uint32_t u32le(const unsigned char* p) { return p[0] | (p[1] << 8u) | (p[2] << 16u) | (std::uint32_t(p[3]) << 24u); }

void report(long count, double sum) { std::printf("%ld %.6f\n", count, sum); }

int ours(const char* path)
{
    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    double sum = 0;
    const int n = ds.field_count();
    // A record's values are read first and then added, in the same order as the other modes add
    // them: the running sum then stays in a register instead of going through memory around
    // every read.
    std::vector<double> row(static_cast<std::size_t>(n));
    for (ds.first(); !ds.eof(); ds.next()) {
        for (int i = 0; i < n; ++i) row[static_cast<std::size_t>(i)] = ds.field(i).as_float();
        for (double v : row) sum += v;
    }
    report(ds.record_count(), sum);
    return 0;
}

int pxlib(const char* path)
{
    const bench::Scan s = bench::pxlib_scan(path);
    if (s.count < 0) return 2;
    report(s.count, s.sum);
    return 0;
}

int shapelib(const char* path)
{
    const bench::Scan s = bench::shapelib_scan(path);
    if (s.count < 0) return 2;
    report(s.count, s.sum);
    return 0;
}

// Paradox: the blocks in file order, each a 6-byte head and its records; a long integer and
// five numbers per record, big-endian with the sign bit flipped.
int hand(const char* path)
{
    const std::vector<unsigned char> d = whole_file(path);
    const unsigned rs = u16le(&d[0]);
    const unsigned hs = u16le(&d[2]);
    const std::size_t bs = static_cast<std::size_t>(d[5]) * 1024;
    const std::uint32_t count = u32le(&d[6]);
    double sum = 0;
    long seen = 0;
    for (std::size_t at = hs; at + 6 <= d.size() && seen < count; at += bs) {
        const auto add = static_cast<std::int16_t>(u16le(&d[at + 4]));
        if (add < 0) continue;
        const unsigned n = static_cast<unsigned>(add) / rs + 1;
        const unsigned char* rec = &d[at + 6];
        for (unsigned k = 0; k < n; ++k, rec += rs, ++seen) {
            std::uint32_t u = (std::uint32_t(rec[0]) << 24) | (rec[1] << 16u) | (rec[2] << 8u) | rec[3];
            if (u != 0) sum += static_cast<std::int32_t>(u ^ 0x80000000u);
            for (int f = 0; f < kFloats; ++f) {
                const unsigned char* p = rec + 4 + 8 * f;
                std::uint64_t bits = 0;
                for (int b = 0; b < 8; ++b) bits = (bits << 8) | p[b];
                if (bits == 0) continue;
                bits = (bits & 0x8000000000000000ull) ? bits ^ 0x8000000000000000ull : ~bits;
                double v;
                std::memcpy(&v, &bits, sizeof v);
                sum += v;
            }
        }
    }
    report(seen, sum);
    return 0;
}

// dBASE: every field of every live record through from_chars.
int chars(const char* path)
{
    const std::vector<unsigned char> d = whole_file(path);
    const std::uint32_t count = u32le(&d[4]);
    const unsigned hl = u16le(&d[8]);
    const unsigned rl = u16le(&d[10]);
    std::vector<unsigned> widths;
    for (std::size_t at = 32; at < hl && d[at] != 0x0D; at += 32) widths.push_back(d[at + 16]);
    double sum = 0;
    long seen = 0;
    for (std::uint32_t r = 0; r < count; ++r) {
        const char* rec = reinterpret_cast<const char*>(&d[hl + static_cast<std::size_t>(r) * rl]);
        if (rec[0] == '*') continue;
        ++seen;
        const char* p = rec + 1;
        for (unsigned w : widths) {
            const char* b = p;
            const char* e = p + w;
            while (b < e && *b == ' ') ++b;
            double v = 0;
            std::from_chars(b, e, v);
            sum += v;
            p = e;
        }
    }
    report(seen, sum);
    return 0;
}

// Creates a table, appends n records to its image and writes it: the image by column plus the
// writer's bounded buffer.
int write(long n, const std::string& path)
{
    TableData t = bench::population_table(n, true);
    ResolvedTable r = resolve_table(path, TableType::Default);
    t.fields = r.format == TableFormat::Paradox ? paradox_fields_from(t.fields) : dbase_fields_from(t.fields);
    write_table(r, t);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_open gen N DIR | ours|pxlib|shapelib|hand|chars FILE | write N FILE\n");
        return 2;
    }
    const std::string mode = argv[1];
    try {
        if (mode == "gen" && argc == 4) {
            const long n = std::atol(argv[2]);
            const std::string dir = argv[3];
            write(n, dir + "/pop.db");
            write(n, dir + "/pop.dbf");
            return 0;
        }
        if (mode == "write" && argc == 4) return write(std::atol(argv[2]), argv[3]);
        if (mode == "ours") return ours(argv[2]);
        if (mode == "pxlib") return pxlib(argv[2]);
        if (mode == "shapelib") return shapelib(argv[2]);
        if (mode == "hand") return hand(argv[2]);
        if (mode == "chars") return chars(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
