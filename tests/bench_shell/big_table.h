#pragma once
// The benchmarks' table: the single-region input layout (年龄 integer, five float fields) with
// a million records, written once per run into a temporary folder in Paradox or dBASE format.
#include <QDir>
#include <QTemporaryDir>
#include <string>

#include "platform/db/dbase.h"
#include "platform/db/paradox.h"

namespace bench {

constexpr int record_count = 1000000;

// Record i: 年龄 = i mod 81, 男性人口 = i, 女性人口 = i + 0.5, the death rates 0.001 and 0.002,
// 年龄别生育率 0.
inline const std::string& big_table(bool dbase = false)
{
    static QTemporaryDir dir;
    static std::string paths[2];
    std::string& path = paths[dbase ? 1 : 0];
    if (path.empty()) {
        path = QDir(dir.path()).filePath(dbase ? "big.dbf" : "big.db").toStdString();
        std::vector<vantelo::db::FieldDef> defs;
        for (const char* name : {"年龄", "男性人口", "女性人口", "男性死亡率", "女性死亡率", "年龄别生育率"}) {
            vantelo::db::FieldDef f;
            f.name = name;
            f.type = defs.empty() ? vantelo::db::FieldType::Integer : vantelo::db::FieldType::Float;
            defs.push_back(f);
        }
        vantelo::db::TableData t;
        t.fields = dbase ? vantelo::db::dbase_fields_from(defs) : vantelo::db::paradox_fields_from(defs);
        t.records.reserve(record_count);
        for (int i = 0; i < record_count; ++i)
            t.records.push_back({std::int64_t(i % 81), double(i), double(i) + 0.5, 0.001, 0.002, 0.0});
        if (dbase) vantelo::db::write_dbase(path, t);
        else vantelo::db::write_paradox(path, t);
    }
    return path;
}

}  // namespace bench
