#pragma once
// An urban/rural input table for the window tests, in the layout data preparation creates: a
// Paradox table in a temporary folder with 年龄 and the ten fields of the two parts, one record
// per age.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

#include <QComboBox>

#include "platform/db/dataset.h"
#include "tests/common/widget_events.h"

struct UrbanRow {
    double rural_male, rural_female, rural_m_male, rural_m_female, rural_fertility;
    double urban_male, urban_female, urban_m_male, urban_m_female, urban_fertility;
};

// The fixture of flat inputs: 1000 persons at every age in both parts, death rates 0.01 (age 80:
// 0.25), fertility 0.125 at ages 20..35 (TFR 2).
inline UrbanRow flat_row(int x)
{
    const double m = x == 80 ? 0.25 : 0.01;
    const double f = x >= 20 && x <= 35 ? 0.125 : 0;
    return {1000, 1000, m, m, f, 1000, 1000, m, m, f};
}

class UrbanTable {
public:
    std::filesystem::path dir;
    std::string path;
    vantelo::db::Dataset table;

    UrbanTable(int ages, const std::function<UrbanRow(int)>& row)
    {
        static int counter = 0;
        dir = std::filesystem::temp_directory_path()
            / ("vantelo_urban_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(dir);
        path = (dir / "urban.db").string();
        vantelo::db::execute_statement(
            "Create table \"" + path
            + "\" (年龄 integer,农村男性人口 float,农村女性人口 float,农村男性死亡率 float,农村女性死亡率 float,"
              "农村年龄别生育率 float,城镇男性人口 float,城镇女性人口 float,城镇男性死亡率 float,城镇女性死亡率 float,"
              "城镇年龄别生育率 float)");
        table.set_table_name(path);
        table.open();
        for (int x = 0; x < ages; ++x) {
            const UrbanRow r = row(x);
            const double v[] = {r.rural_male, r.rural_female, r.rural_m_male, r.rural_m_female, r.rural_fertility,
                                r.urban_male, r.urban_female, r.urban_m_male, r.urban_m_female, r.urban_fertility};
            table.append();
            table.field(0).set_as_integer(x);
            for (int i = 0; i < 10; ++i) table.field(i + 1).set_as_float(v[i]);
            table.post();
        }
        table.first();
    }
    ~UrbanTable()
    {
        table.close();
        std::filesystem::remove_all(dir);
    }
};

// The ten field lists of an urban/rural form set to the fields of their names, as the user
// picks them: population, death rates and fertility of the rural, then of the urban part.
template <class Form>
void choose_all_fields(Form* form)
{
    const char* choices[][2] = {
        {"ComboBox2", "农村男性人口"},    {"ComboBox3", "农村女性人口"},    {"ComboBox4", "农村男性死亡率"},
        {"ComboBox5", "农村女性死亡率"},  {"ComboBox6", "农村年龄别生育率"}, {"ComboBox1", "城镇男性人口"},
        {"ComboBox10", "城镇女性人口"},   {"ComboBox11", "城镇男性死亡率"}, {"ComboBox12", "城镇女性死亡率"},
        {"ComboBox13", "城镇年龄别生育率"},
    };
    for (const auto& c : choices)
        if (!test_events::pick_text(form->template findChild<QComboBox*>(c[0]), QString::fromUtf8(c[1])))
            ADD_FAILURE() << c[0];
}
