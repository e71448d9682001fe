#pragma once
// The layouts of the projection input tables that data preparation creates: one record per
// single year of age, record k = age k, for ages 0 .. input_table_last_age.
#include <string>

namespace vantelo::shell {

inline constexpr int input_table_last_age = 80;

// The field lists, each the last piece of the create statement.
inline const std::string single_region_fields =
    "(年龄 integer,男性人口 float,女性人口 float,男性死亡率 float,女性死亡率 float,年龄别生育率 float)";
inline const std::string urban_rural_fields =
    "(年龄 integer,农村男性人口 float,农村女性人口 float,农村男性死亡率 float,农村女性死亡率 float,"
    "农村年龄别生育率 float,城镇男性人口 float,城镇女性人口 float,城镇男性死亡率 float,"
    "城镇女性死亡率 float,城镇年龄别生育率 float)";

// "Create table "path" (fields)".
inline std::string create_input_table_statement(const std::string& path, const std::string& fields)
{
    return "Create table \"" + path + "\" " + fields;
}

}  // namespace vantelo::shell
