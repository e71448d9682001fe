// Writes the sample input tables (single region and urban/rural, Paradox and dBASE) in the
// layouts data preparation creates, filled with illustrative, internally consistent numbers.
// Each region is the stable population of its own rates under the program's yearly step, so a
// projection with the sample's own rates keeps its age structure and grows at a constant rate.
//
// - Death rates m(x), ages 0..79: a smooth schedule, infant rate at age 0, then a childhood term
//   falling with age, a constant and a Gompertz term:
//     m(x) = k (c e^(-0.55 (x-1)) + a + g e^(b x)),  x >= 1,
//   with k = 1 for the single region, 1.15 rural, 0.85 urban.
// - The last record is the open group 80 and over. Its rate is the rate of the same schedule
//   continued to age 130 (single years, half a year lived by those who die):
//     m(80+) = l(80) / sum over x >= 80 of L(x),
//   so that the program's open-age person-years l(80)/m(80+) equal those of the continued table.
// - Fertility f(x): a gamma-shaped curve over ages 15..49, (x - 14.5)^5 e^(-(x - 14.5)/2.3),
//   scaled to a total fertility rate of 1.6 (rural 1.75, urban 1.45).
// - Life tables: the program's own single-year life table of the rounded rates (L(x) per birth).
// - Population: with births of sex s in the shares s_m = 106/206, s_f = 100/206 and lambda the
//   yearly growth factor, the program's step (survivors L(x+1)/L(x) P(x), the open group
//   (P(79) + P(80)) L(80)/(L(79) + L(80)), births from the women-years L_f(x)/L_f(x-1) P_f(x-1)
//   + P_f(x) times f(x), infants = births L(0)) keeps
//     P_s(x) = C s_s L_s(x) lambda^(-x),  x = 0..79,
//     P_s(80) = R_s P_s(79) / (lambda - R_s),  R_s = L_s(80)/(L_s(79) + L_s(80)),
//   when lambda solves  (1 + lambda)/(2 lambda) s_f sum f(x) L_f(x) lambda^(-x) = 1  (bisection).
//   The projection takes its sex ratio at birth from the base population at age 0, so age 0 is
//   split in the birth shares: P_s(0) = C s_s (s_m L_m(0) + s_f L_f(0)).
//   C is scaled to the stated total, and the counts are rounded to whole persons that add up to it.
//
// The numbers are illustrative only; they describe no real place.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/numtext.h"
#include "platform/db/dataset.h"
#include "projection/engine/life_table.h"
#include "projection/engine/workspace.h"
#include "shell/input_tables.h"

namespace {

using vantelo::real;
using vantelo::projection::Sex;
constexpr int ages = vantelo::shell::input_table_last_age + 1;
constexpr int open_age = ages - 1;

struct Region {
    std::vector<double> pop_m, pop_f, m_m, m_f, fert;
    double total = 0;
    real growth = 0;  // lambda - 1
};

real death_rate(int x, bool male, real k)
{
    if (male) return x == 0 ? 0.0125L * k : k * (0.0012L * std::exp(-0.55L * (x - 1)) + 0.0005L + 0.00006L * std::exp(0.092L * x));
    return x == 0 ? 0.0105L * k : k * (0.0010L * std::exp(-0.55L * (x - 1)) + 0.0003L + 0.000035L * std::exp(0.097L * x));
}

// The rate of the open group: the schedule continued in single years, l(80) = 1.
real open_group_rate(bool male, real k)
{
    real l = 1, person_years = 0;
    for (int x = open_age; x <= 130; ++x) {
        const real m = std::min<real>(death_rate(x, male, k), 1);
        const real d = l * (1 - std::exp(-m));
        person_years += l - d / 2;
        l -= d;
    }
    return 1 / person_years;
}

real round_to(real x, real unit) { return vantelo::round_half_away(x / unit) * unit; }

// L(x) per birth of the program's single-year life table of the rates m.
std::vector<real> person_years(const std::vector<real>& m, Sex sex)
{
    vantelo::projection::ProjectionWorkspace ws;
    auto& rates = sex == Sex::male ? ws.death_rate_male : ws.death_rate_female;
    for (real v : m) rates.push_back(static_cast<double>(v));
    vantelo::projection::size_life_table(ws.life_table(sex), ages, 1);
    vantelo::projection::build_life_table(ws.life_table(sex), sex, ages, 1);
    std::vector<real> L(ages);
    for (int x = 0; x < ages; ++x) L[x] = ws.life_table(sex).lt_years_lived[x][0];
    return L;
}

Region make_region(real k, real tfr, real total)
{
    Region r;
    std::vector<real> mm(ages), mf(ages), f(ages, 0);
    real shape = 0;
    for (int x = 15; x <= 49; ++x) shape += std::pow(x - 14.5L, 5) * std::exp(-(x - 14.5L) / 2.3L);
    for (int x = 0; x < ages; ++x) {
        mm[x] = round_to(x == open_age ? open_group_rate(true, k) : death_rate(x, true, k), 1e-6L);
        mf[x] = round_to(x == open_age ? open_group_rate(false, k) : death_rate(x, false, k), 1e-6L);
        if (x >= 15 && x <= 49) f[x] = round_to(tfr * std::pow(x - 14.5L, 5) * std::exp(-(x - 14.5L) / 2.3L) / shape, 1e-6L);
    }
    const std::vector<real> Lm = person_years(mm, Sex::male), Lf = person_years(mf, Sex::female);
    const real share_m = 106 / 206.0L, share_f = 100 / 206.0L;
    // Net reproduction per year of the step at growth factor lambda (falls as lambda rises).
    auto reproduction = [&](real lambda) {
        real s = 0;
        for (int x = 15; x <= 49; ++x) s += f[x] * Lf[x] * std::pow(lambda, -x);
        return (1 + lambda) / (2 * lambda) * share_f * s;
    };
    real lo = 0.9L, hi = 1.1L;
    for (int i = 0; i < 200; ++i) {
        const real mid = (lo + hi) / 2;
        (reproduction(mid) > 1 ? lo : hi) = mid;
    }
    const real lambda = (lo + hi) / 2;
    std::vector<real> pm(ages), pf(ages);
    for (int x = 0; x < open_age; ++x) {
        pm[x] = share_m * Lm[x] * std::pow(lambda, -x);
        pf[x] = share_f * Lf[x] * std::pow(lambda, -x);
    }
    const real infants = share_m * Lm[0] + share_f * Lf[0];
    pm[0] = share_m * infants;
    pf[0] = share_f * infants;
    const real rm = Lm[open_age] / (Lm[open_age - 1] + Lm[open_age]);
    const real rf = Lf[open_age] / (Lf[open_age - 1] + Lf[open_age]);
    pm[open_age] = rm * pm[open_age - 1] / (lambda - rm);
    pf[open_age] = rf * pf[open_age - 1] / (lambda - rf);
    real sum = 0;
    for (int x = 0; x < ages; ++x) sum += pm[x] + pf[x];
    // Whole persons adding up to the total exactly: each count rounded down, then the persons
    // left over go one each to the counts with the largest remainders.
    std::vector<real*> counts;
    for (int x = 0; x < ages; ++x) counts.insert(counts.end(), {&pm[x], &pf[x]});
    std::vector<real> remainder;
    real whole = 0;
    for (real* c : counts) {
        *c = *c * total / sum;
        remainder.push_back(*c - std::floor(*c));
        *c = std::floor(*c);
        whole += *c;
    }
    std::vector<std::size_t> order(counts.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return remainder[a] > remainder[b]; });
    for (std::size_t i = 0; whole < total; ++i, whole += 1) *counts[order[i]] += 1;
    for (int x = 0; x < ages; ++x) {
        r.pop_m.push_back(static_cast<double>(pm[x]));
        r.pop_f.push_back(static_cast<double>(pf[x]));
        r.total += r.pop_m.back() + r.pop_f.back();
        r.m_m.push_back(static_cast<double>(mm[x]));
        r.m_f.push_back(static_cast<double>(mf[x]));
        r.fert.push_back(static_cast<double>(f[x]));
    }
    r.growth = lambda - 1;
    std::printf("  k %.2f  TFR %.2f  yearly growth %.6f %%  total %.0f  m(80+) %.6f / %.6f\n",
                static_cast<double>(k), static_cast<double>(tfr), static_cast<double>(100 * r.growth), r.total,
                static_cast<double>(mm[open_age]), static_cast<double>(mf[open_age]));
    return r;
}

void write_table(const std::string& path, const std::string& fields, const std::vector<const Region*>& parts)
{
    std::filesystem::remove(path);
    vantelo::db::execute_statement(vantelo::shell::create_input_table_statement(path, fields));
    vantelo::db::Dataset t;
    t.set_table_name(path);
    t.open();
    for (int x = 0; x < ages; ++x) {
        t.append();
        t.field(0).set_as_float(x);
        int col = 1;
        for (const Region* r : parts) {
            t.field(col++).set_as_float(r->pop_m[x]);
            t.field(col++).set_as_float(r->pop_f[x]);
            t.field(col++).set_as_float(r->m_m[x]);
            t.field(col++).set_as_float(r->m_f[x]);
            t.field(col++).set_as_float(r->fert[x]);
        }
        t.post();
    }
    std::printf("%s: %d records\n", path.c_str(), t.record_count());
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : "samples";
    try {
        std::filesystem::create_directories(dir);
        std::printf("single region:\n");
        Region single = make_region(1.0L, 1.6L, 1000000);
        std::printf("rural, urban:\n");
        Region rural = make_region(1.15L, 1.75L, 600000);
        Region urban = make_region(0.85L, 1.45L, 400000);
        for (const char* ext : {".DB", ".dbf"}) {
            write_table(dir + "/single_region" + ext, vantelo::shell::single_region_fields, {&single});
            write_table(dir + "/urban_rural" + ext, vantelo::shell::urban_rural_fields, {&rural, &urban});
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_samples: %s\n", e.what());
        return 1;
    }
    return 0;
}
