#pragma once
// An input table for the window tests, Paradox or dBASE by its extension, in a temporary
// folder: 年龄, 男性人口, 女性人口, 男性死亡率, 女性死亡率, one record per age.
#include <functional>
#include <string>

#include "platform/db/dataset.h"
#include "tests/common/temp_dir.h"

struct YearEndRow {
    double male, female, m_male, m_female;
};

class YearEndTable {
public:
    vantelo::test_support::TempDir temp{"vantelo-yearend"};
    std::string path;

    YearEndTable(int ages, const std::function<YearEndRow(int)>& row, const std::string& ext)
    {
        path = (temp.path() / ("input" + ext)).string();
        vantelo::db::execute_statement("Create table \"" + path
                                       + "\" (年龄 integer,男性人口 float,女性人口 float,男性死亡率 float,女性死亡率 float)");
        vantelo::db::Dataset table;
        table.set_table_name(path);
        table.open();
        for (int x = 0; x < ages; ++x) {
            const YearEndRow r = row(x);
            table.append();
            table.field(0).set_as_integer(x);
            table.field(1).set_as_float(r.male);
            table.field(2).set_as_float(r.female);
            table.field(3).set_as_float(r.m_male);
            table.field(4).set_as_float(r.m_female);
            table.post();
        }
        table.close();
    }
};
