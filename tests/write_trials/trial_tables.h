#pragma once
// The tables the write trials start from: an input table of 81 single ages in either format.
#include <functional>
#include <string>

#include "platform/db/dataset.h"
#include "platform/db/table_data.h"
#include "platform/db/table_files.h"
#include "tests/db_common/fault_trials.h"
#include "tests/db_common/temp_table_dir.h"

namespace vantelo::db::test_common {

inline const char* format_name(TableFormat f) { return f == TableFormat::Paradox ? "Paradox" : "DBase"; }

// 81 records: 年龄, 男性人口, 女性人口, 男性死亡率, 女性死亡率 (hand-made values, deaths rising
// with age and 1 at the last age).
inline TableData input_table(TableFormat format)
{
    TableData t;
    t.fields = fields_for_format({field("年龄", FieldType::Integer), field("男性人口", FieldType::Float),
                                  field("女性人口", FieldType::Float), field("男性死亡率", FieldType::Float),
                                  field("女性死亡率", FieldType::Float)},
                                 format);
    for (int x = 0; x <= 80; ++x) {
        const double male = 1000.0 - 10.0 * x + (x % 3), female = 1000.0 - 9.0 * x + (x % 5);
        const double qm = x == 80 ? 1.0 : 0.001 + 0.0005 * x, qf = x == 80 ? 1.0 : 0.0008 + 0.0004 * x;
        t.records.push_back(Record{std::int64_t{x}, male, female, qm, qf});
    }
    return t;
}

inline std::string table_path(const TempTableDir& dir, TableFormat format, const std::string& stem = "input")
{
    return dir.path(stem + (format == TableFormat::Paradox ? ".db" : ".dbf"));
}

inline void put_input_table(const std::string& path, TableFormat format)
{
    std::filesystem::remove(path);
    write_table(ResolvedTable{path, format}, input_table(format));
}

// The trials of a command on the input table at path (written anew before each run): change
// gets the table opened by a dataset of its own and returns what the command reported.
inline FaultTrials input_table_trials(const TempTableDir& dir, const std::string& path, TableFormat format,
                                      const std::function<std::string(Dataset&)>& change)
{
    FaultTrials t;
    t.folder = dir.dir();
    t.setup = [path, format] { put_input_table(path, format); };
    t.command = [path, change]() -> std::string {
        Dataset table;
        table.set_table_name(path);
        table.open();
        return change(table);
    };
    t.snapshot = [path] { return describe_table_file(path); };
    return t;
}

}  // namespace vantelo::db::test_common
