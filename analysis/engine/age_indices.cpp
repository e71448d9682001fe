#include "analysis/engine/age_indices.h"

#include <cmath>

#include "platform/core/checked.h"
#include "platform/core/numtext.h"
#include "platform/core/input_message.h"

namespace vantelo::analysis {
namespace {

real sum_at(const std::vector<double>& p, int from, int to, int step = 1)
{
    real s = 0;
    for (int x = from; x <= to; x += step) s = checked_add(s, at(p, x));
    return s;
}

std::string formatted(real x) { return format_pattern(x, index_pattern); }

}  // namespace

int last_zero_cutoff(const std::vector<double>& p)
{
    int e = static_cast<int>(p.size());
    for (int x = 0; x < static_cast<int>(p.size()); ++x)
        if (p[static_cast<std::size_t>(x)] == 0.0) e = x;
    return e;
}

std::vector<double> five_year_groups(const std::vector<double>& values, int count)
{
    if (count < 0 || static_cast<std::size_t>(count) > values.size()) raise_range();
    std::vector<double> groups(static_cast<std::size_t>(count / 5), 0.0);
    for (int g = 0; g < count / 5; ++g) at(groups, g) = to_double(sum_at(values, 5 * g, 5 * g + 4));
    return groups;
}

std::vector<AgePreference> age_preference_index(const std::vector<double>& p)
{
    const int e = last_zero_cutoff(p);
    std::vector<AgePreference> out;
    for (int x = 2; x <= e - 3; ++x) {
        const real mean = sum_at(p, x - 2, x + 2) / 5.0L;
        out.push_back({x, to_double(checked_div(100.0L * at(p, x), mean))});
    }
    return out;
}

double whipple_index(const std::vector<double>& p)
{
    if (p.size() < 63) throw InputMessage("Not Enough Age Groups(<62)");
    const real s1 = sum_at(p, 23, 62);
    const real s2 = sum_at(p, 25, 60, 5);
    return to_double(checked_div(100.0L * s2, s1 / 5.0L));
}

double myers_index(const std::vector<double>& p)
{
    if (p.size() < 90) throw InputMessage("Not Enough Age Groups(<89)");
    real blended[10];
    real total = 0;
    for (int d = 0; d <= 9; ++d) {
        const real a = sum_at(p, 10 + d, 80 + d, 10);
        const real b = sum_at(p, 20 + d, 80 + d, 10);
        blended[d] = checked_add(checked_mul(static_cast<real>(d + 1), a), checked_mul(static_cast<real>(9 - d), b));
        total = checked_add(total, blended[d]);
    }
    real index = 0;
    for (real c : blended) index += std::fabs(checked_div(100.0L * c, total) - 10.0L);
    return to_double(index / 2.0L);
}

double age_accuracy_index(const std::vector<double>& p)
{
    const int n = static_cast<int>(p.size());
    const std::vector<double> groups = n > 25 ? five_year_groups(p, n) : p;
    if (groups.size() < 15) throw InputMessage("Not Enough Age Groups(<75)");
    real sum = 0;
    for (int j = 1; j <= 13; ++j) {
        const real r = checked_div(300.0L * at(groups, j), sum_at(groups, j - 1, j + 1));
        sum = checked_add(sum, std::fabs(r - 100.0L));
    }
    return to_double(sum / 13.0L);
}

double un_age_sex_index(const std::vector<double>& male, const std::vector<double>& female)
{
    const int n = static_cast<int>(male.size());
    if (female.size() != male.size()) raise_range();
    int e = n;
    for (int x = 0; x < n; ++x)
        if (male[static_cast<std::size_t>(x)] == -1.0 || female[static_cast<std::size_t>(x)] == -1.0) e = x;

    std::vector<double> m, f;
    if (n >= 25) {
        m = five_year_groups(male, e);
        f = five_year_groups(female, e);
    } else {
        m.assign(male.begin(), male.begin() + e);
        f.assign(female.begin(), female.begin() + e);
    }
    const int g = static_cast<int>(m.size());
    if (g < 3) throw InputMessage("Not Enough Age Groups(<3)");

    std::vector<real> sex_ratio(static_cast<std::size_t>(g));
    for (int i = 0; i < g; ++i) sex_ratio[static_cast<std::size_t>(i)] = checked_div(100.0L * at(m, i), at(f, i));
    real srs = 0;
    for (int i = 0; i + 1 < g; ++i)
        srs = checked_add(srs, std::fabs(sex_ratio[static_cast<std::size_t>(i)] - sex_ratio[static_cast<std::size_t>(i + 1)]));
    srs = checked_div(srs, g - 1);

    auto age_ratio_score = [g](const std::vector<double>& v) {
        real s = 0;
        for (int i = 1; i + 1 < g; ++i) {
            const real r = checked_div(200.0L * at(v, i), checked_add(static_cast<real>(at(v, i - 1)), at(v, i + 1)));
            s = checked_add(s, std::fabs(r - 100.0L));
        }
        return checked_div(s, g - 2);
    };
    return to_double(checked_add(checked_add(3.0L * srs, age_ratio_score(m)), age_ratio_score(f)));
}

IndexReport age_preference_report(const std::vector<double>& p)
{
    IndexReport r{{}, "Near 100", "<110", ">110"};
    for (const AgePreference& a : age_preference_index(p))
        r.lines.push_back(std::to_string(a.age) + "  " + formatted(a.index));
    return r;
}

IndexReport whipple_report(const std::vector<double>& p)
{
    return {{"WI  " + formatted(whipple_index(p))}, "100-110", "110-130", ">130"};
}

IndexReport myers_report(const std::vector<double>& p)
{
    return {{"Mayer_index  " + formatted(myers_index(p))}, "<5", "5-10", ">10"};
}

IndexReport age_accuracy_report(const std::vector<double>& p)
{
    return {{"ARCerret_Index   " + formatted(age_accuracy_index(p))}, "<3", "3-7", ">7"};
}

IndexReport un_age_sex_report(const std::vector<double>& male, const std::vector<double>& female)
{
    return {{"联合国分性别指数:   " + formatted(un_age_sex_index(male, female))}, "<20", "20-40", ">40"};
}

}  // namespace vantelo::analysis
