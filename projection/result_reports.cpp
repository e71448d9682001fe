#include "projection/result_reports.h"

#include "platform/core/numtext.h"
#include "projection/engine/report_lines.h"

namespace vantelo::projection {
namespace {

const std::vector<std::string> entries = {
    "总人口数",
    "男性总人口数",
    "女性总人口数",
    "0--14岁人口数",
    "15--64岁人口数",
    "65岁及以上老年人口数",
    "0--14岁人口比重",
    "15--64岁人口比重",
    "65岁及以上老年人口比重",
    "城镇人口数",
    "城镇人口比重",
    "出生率",
    "死亡率",
    "自然增长率",
    "婴儿死亡率",
    "出生人数",
    "死亡人数",
    "自然增加",
    "育龄妇女人口数",
    "23岁女性",
    "20-29岁女性",
    "总人口年龄结构",
    "6岁人口",
    "7岁人口",
    "11岁人口",
    "15岁人口",
    "18岁人口",
    "6-10岁人口",
    "15-24岁人口",
    "25-44岁人口",
    "45-64岁人口",
    "19_64岁人口",
    "男性15_64岁人口",
    "女性15_64岁人口",
    "60岁及以上人口",
    "65岁及以上人口",
    "80岁及以上人口",
    "流动人口规模",
    "流动人口出生数",
    "流动人口死亡数",
    "人口预测参数设置",
    "1孩出生数",
    "2孩出生数",
    ">=3孩出生数",
    "全部数据结果与参数",
};

// The series that indicator k lists directly, or nullptr for the derived and special ones.
const std::vector<double>* direct_series(const ResultView& v, int k)
{
    switch (k) {
    case ind_total_pop: return v.res_total_pop;
    case ind_male_pop: return v.res_male_pop;
    case ind_female_pop: return v.res_female_pop;
    case ind_pop_0_14: return v.res_pop_0_14;
    case ind_pop_15_64: return v.res_pop_working_age;
    case ind_pop_65plus: return v.res_pop_elderly;
    case ind_urban_pop: return v.res_urban_pop;
    case ind_birth_rate: return v.res_birth_rate;
    case ind_death_rate: return v.res_death_rate;
    case ind_infant_mortality: return v.res_infant_mortality;
    case ind_births: return v.res_births;
    case ind_deaths: return v.res_deaths;
    case ind_women_15_49: return v.res_women_15_49;
    case ind_women_23: return v.res_women_23;
    case ind_women_20_29: return v.res_women_20_29;
    case ind_age_6: return v.res_age_6;
    case ind_age_7: return v.res_age_7;
    case ind_age_11: return v.res_age_11;
    case ind_age_15: return v.res_age_15;
    case ind_age_18: return v.res_age_18;
    case ind_age_6_10: return v.res_age_6_10;
    case ind_age_15_24: return v.res_age_15_24;
    case ind_age_25_44: return v.res_age_25_44;
    case ind_age_45_64: return v.res_age_45_64;
    case ind_age_19_64: return v.res_age_19_64;
    case ind_male_15_64: return v.res_male_15_64;
    case ind_female_15_64: return v.res_female_15_64;
    case ind_age_60plus: return v.res_age_60plus;
    case ind_age_65plus: return v.res_age_65plus;
    case ind_age_80plus: return v.res_age_80plus;
    case ind_float_pop: return v.res_float_pop;
    case ind_float_births: return v.res_float_births;
    case ind_float_deaths: return v.res_float_deaths;
    case ind_births_parity1: return v.res_births_parity1;
    case ind_births_parity2: return v.res_births_parity2;
    case ind_births_parity3: return v.res_births_parity3;
    default: return nullptr;
    }
}

// Element i of a series; a missing series or an index beyond its end is the range error.
real element(const std::vector<double>* s, int i)
{
    if (!s) throw RangeError();
    return at(*s, i);
}

bool is_rounded(int k)
{
    return k == ind_births || k == ind_deaths || k == ind_natural_increase || k == ind_births_parity1
        || k == ind_births_parity2 || k == ind_births_parity3;
}

// The calendar year of year index i.
std::string year_text(const ResultView& v, int i)
{
    return std::to_string(checked_add(checked_add(v.base_year, 1), i));
}

std::string rounded_text(real x) { return std::to_string(round_to_int64(x)); }

// One line per projected year: the calendar year, four blanks, the value.
void year_value_listing(const ResultView& v, int k, std::vector<std::string>& out)
{
    year_listing(checked_add(v.base_year, 1), v.year_count, single_region_year_gap,
                 [&](int i) { return indicator_value_text(v, k, i); }, out);
}

// One line per projected year of one field of the parameter records, in the general format.
void parameter_listing(const ResultView& v, int field, std::vector<std::string>& out)
{
    year_listing(checked_add(v.base_year, 1), v.year_count, single_region_year_gap,
                 [&](int i) { return format_general(at(v.parameters, i)[static_cast<size_t>(field)]); }, out);
}

// The end year's population by single age, rounded: the end-year line, the column header and
// one line per age.
void age_structure_lines(const ResultView& v, std::vector<std::string>& out)
{
    age_structure_listing(
        v.end_year, v.age_count, [&](int x) { return element(v.pop_male, x); },
        [&](int x) { return element(v.pop_female, x); }, out);
}

// The pattern shares of ages 15..49 in five blocks of seven ages: a header of the ages, then
// per year the shares with no leading zero.
void fertility_pattern_block(const ResultView& v, std::vector<std::string>& out)
{
    for (int block = 0; block < 5; ++block) {
        std::string header(9, ' ');
        for (int j = 0; j < 7; ++j) header += "      " + std::to_string(15 + block * 7 + j);
        out.push_back(header);
        for (int i = 0; i < v.year_count; ++i) {
            const ParamRecord& rec = at(v.parameters, i);
            std::string line = year_text(v, i) + "   ";
            for (int j = 0; j < 7; ++j)
                line += "  " + format_pattern(rec[static_cast<size_t>(4 + block * 7 + j)], "####.######");
            out.push_back(line);
        }
    }
}

// The eight sections of the parameter report, each a heading and its listing.
void parameter_sections(const ResultView& v, std::vector<std::string>& out)
{
    out.push_back("总和生育率");
    parameter_listing(v, 0, out);
    out.push_back("出生性别比");
    parameter_listing(v, 3, out);
    out.push_back("男性平均预期寿命");
    parameter_listing(v, 1, out);
    out.push_back("女性平均预期寿命");
    parameter_listing(v, 2, out);
    out.push_back("生育模式");
    fertility_pattern_block(v, out);
    out.push_back("流动人口规模");
    parameter_listing(v, 40, out);
    out.push_back("流动人口出生率");
    parameter_listing(v, 41, out);
    out.push_back("流动人口死亡率");
    parameter_listing(v, 42, out);
}

void parity_block(const ResultView& v, int k, std::vector<std::string>& out)
{
    out.push_back(indicator_entry_text(k));
    year_value_listing(v, k, out);
}

}  // namespace

const std::string& indicator_entry_text(int k) { return at(entries, k); }

const std::vector<std::string>& indicator_entries() { return entries; }

bool has_year_series(int k)
{
    return k >= 0 && k < indicator_count && k != ind_age_structure && k != ind_parameters && k != ind_all_results;
}

real indicator_value(const ResultView& v, int k, int i)
{
    switch (k) {
    case ind_share_0_14: return checked_div(element(v.res_pop_0_14, i), element(v.res_total_pop, i));
    case ind_share_15_64: return checked_div(element(v.res_pop_working_age, i), element(v.res_total_pop, i));
    case ind_share_65plus: return checked_div(element(v.res_pop_elderly, i), element(v.res_total_pop, i));
    case ind_urban_share: return checked_div(element(v.res_urban_pop, i), element(v.res_total_pop, i));
    case ind_natural_growth_rate: return checked_sub(element(v.res_birth_rate, i), element(v.res_death_rate, i));
    case ind_natural_increase: return checked_sub(element(v.res_births, i), element(v.res_deaths, i));
    default:
        if (!has_year_series(k)) throw RangeError();
        return element(direct_series(v, k), i);
    }
}

std::string indicator_value_text(const ResultView& v, int k, int i)
{
    real x = indicator_value(v, k, i);
    return is_rounded(k) ? rounded_text(x) : format_general(x);
}

std::vector<std::string> text_report(const ResultView& v, int selected, const std::string& box_text)
{
    std::vector<std::string> out;
    out.push_back(box_text);
    if (selected < 0 || selected >= indicator_count) {
        year_value_listing(v, ind_total_pop, out);
    } else if (selected == ind_age_structure) {
        out.clear();
        age_structure_lines(v, out);
    } else if (selected == ind_parameters) {
        parameter_sections(v, out);
    } else if (selected == ind_births_parity1 || selected == ind_births_parity2 || selected == ind_births_parity3) {
        parity_block(v, selected, out);
    } else if (selected == ind_all_results) {
        for (int k = 0; k < ind_parameters; ++k) {
            out.push_back(indicator_entry_text(k));
            if (k == ind_age_structure)
                age_structure_lines(v, out);
            else
                year_value_listing(v, k, out);
        }
        parameter_sections(v, out);
        parity_block(v, ind_births_parity1, out);
        parity_block(v, ind_births_parity2, out);
        parity_block(v, ind_births_parity3, out);
    } else {
        year_value_listing(v, selected, out);
    }
    bool no_top_line = selected == ind_births_parity1 || selected == ind_births_parity2
        || selected == ind_births_parity3 || selected == ind_all_results;
    if (!no_top_line) out.insert(out.begin(), std::string());
    return out;
}

bool charted_as_series(int k)
{
    if (k < 0) return true;  // no entry chosen: the total population
    return has_year_series(k) && !(k >= ind_male_15_64 && k <= ind_age_65plus);
}

}  // namespace vantelo::projection
