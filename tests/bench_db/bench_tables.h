#pragma once
// What the table benchmarks share: the population layout (an integer age and five floats) and
// the peer libraries' scans of a file of it.
extern "C" {
#include <paradox.h>
}
#include <shapefil.h>

#include <string>

#include "platform/db/table_data.h"

namespace bench {

constexpr int kFloats = 5;

inline double value_of(long rec, int k) { return static_cast<double>(rec % 100000) * 1.25 + k * 0.001; }

// compact: the records by column, made cell by cell (what a program that creates a table and
// appends its records holds), rather than one value vector per record.
inline vantelo::db::TableData population_table(long n, bool compact = false)
{
    using namespace vantelo::db;
    TableData t;
    t.fields.push_back(FieldDef{"年龄", FieldType::Integer});
    for (int k = 0; k < kFloats; ++k) t.fields.push_back(FieldDef{"f" + std::to_string(k), FieldType::Float});
    if (compact) {
        t.compact = true;
        t.columns = ColumnStore(t.fields.size());
        t.columns.reserve(static_cast<std::size_t>(n));
        for (long i = 0; i < n; ++i) {
            t.columns.append_int(0, std::int64_t(i % 81));
            for (int k = 0; k < kFloats; ++k) t.columns.append_real(static_cast<std::size_t>(k + 1), value_of(i, k));
            t.columns.end_row();
        }
        return t;
    }
    t.records.reserve(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) {
        Record r;
        r.reserve(1 + kFloats);
        r.emplace_back(std::int64_t(i % 81));
        for (int k = 0; k < kFloats; ++k) r.emplace_back(value_of(i, k));
        t.records.push_back(std::move(r));
    }
    return t;
}

// The record count and the sum of every value; count -1 when the library cannot open the file.
struct Scan {
    long count = -1;
    double sum = 0;
};

inline Scan pxlib_scan(const std::string& path)
{
    Scan s;
    pxdoc_t* px = PX_new();
    if (PX_open_file(px, path.c_str()) < 0) {
        PX_delete(px);
        return s;
    }
    const int n = PX_get_num_records(px);
    const int nf = PX_get_num_fields(px);
    pxfield_t* fields = PX_get_fields(px);
    std::string data(static_cast<std::size_t>(PX_get_recordsize(px)), '\0');
    for (int r = 0; r < n; ++r) {
        if (!PX_get_record(px, r, data.data())) continue;
        int offset = 0;
        for (int f = 0; f < nf; ++f) {
            if (fields[f].px_ftype == pxfLong) {
                long v = 0;
                if (PX_get_data_long(px, data.data() + offset, fields[f].px_flen, &v) > 0) s.sum += static_cast<double>(v);
            } else {
                double v = 0;
                if (PX_get_data_double(px, data.data() + offset, fields[f].px_flen, &v) > 0) s.sum += v;
            }
            offset += fields[f].px_flen;
        }
    }
    PX_close(px);
    PX_delete(px);
    s.count = n;
    return s;
}

inline Scan shapelib_scan(const std::string& path)
{
    Scan s;
    DBFHandle h = DBFOpen(path.c_str(), "rb");
    if (!h) return s;
    const int n = DBFGetRecordCount(h);
    for (int r = 0; r < n; ++r) {
        s.sum += DBFReadIntegerAttribute(h, r, 0);
        for (int k = 0; k < kFloats; ++k) s.sum += DBFReadDoubleAttribute(h, r, 1 + k);
    }
    DBFClose(h);
    s.count = n;
    return s;
}

}  // namespace bench
