#pragma once
// A single-region input table for the window tests: a Paradox table (or a dBASE one, by the
// extension given) in a temporary folder with
// the fields 年龄, 男性人口, 女性人口, 男性死亡率, 女性死亡率, 年龄别生育率 and one record per age.
#include <filesystem>
#include <functional>
#include <string>

#include "platform/db/dataset.h"
#include "tests/common/temp_dir.h"

struct InputRow {
    double male, female, m_male, m_female, fertility;
};

class ProjectionTable {
public:
    vantelo::test_support::TempDir temp{"vantelo-proj"};
    const std::filesystem::path& dir = temp.path();
    std::string path;
    vantelo::db::Dataset table;

    ProjectionTable(int ages, const std::function<InputRow(int)>& row, const std::string& name = "input",
                    const std::string& ext = ".db")
    {
        path = (dir / (name + ext)).string();
        vantelo::db::execute_statement("Create table \"" + path
                                       + "\" (年龄 integer,男性人口 float,女性人口 float,男性死亡率 float,"
                                         "女性死亡率 float,年龄别生育率 float)");
        table.set_table_name(path);
        table.open();
        for (int x = 0; x < ages; ++x) {
            InputRow r = row(x);
            table.append();
            table.field(0).set_as_integer(x);
            table.field(1).set_as_float(r.male);
            table.field(2).set_as_float(r.female);
            table.field(3).set_as_float(r.m_male);
            table.field(4).set_as_float(r.m_female);
            table.field(5).set_as_float(r.fertility);
            table.post();
        }
        table.first();
    }
    ~ProjectionTable() { table.close(); }
};
