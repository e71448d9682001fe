// Writes the sample input tables (single region and urban/rural, Paradox and dBASE) in the
// layouts data preparation creates, filled with illustrative, internally consistent numbers:
//
// - Death rates m(x): a smooth schedule, infant rate at age 0, then a childhood term falling
//   with age, a constant and a Gompertz term:
//     m(x) = k (c e^(-0.55 (x-1)) + a + g e^(b x)),  x >= 1,
//   with k = 1 for the single region, 1.15 rural, 0.85 urban (life expectancy at birth about
//   73 / 77 years for men / women in the single region).
// - Fertility f(x): a gamma-shaped curve over ages 15..49, (x - 14.5)^5 e^(-(x - 14.5)/2.3),
//   scaled to a total fertility rate of 1.6 (rural 1.75, urban 1.45); mean age about 28.
// - Population: the stable population these rates imply. With the single-year life table
//   (q = 1 - e^(-m), a = 0.1 at age 0 and 0.5 above), the intrinsic
//   rate r solves the Lotka equation  sum f(x) Lf(x) e^(-r (x + 0.5)) / 2.06 = 1  (sex ratio
//   at birth 106), and P_s(x) = B share_s L_s(x) e^(-r (x + 0.5)), scaled to the stated total
//   and rounded to whole persons.
//
// The numbers are illustrative only; they describe no real place.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/numtext.h"
#include "platform/db/dataset.h"
#include "shell/input_tables.h"

namespace {

using vantelo::real;
constexpr int ages = vantelo::shell::input_table_last_age + 1;

struct Region {
    std::vector<double> pop_m, pop_f, m_m, m_f, fert;
};

real death_rate(int x, bool male, real k)
{
    if (male) return x == 0 ? 0.0125L * k : k * (0.0012L * std::exp(-0.55L * (x - 1)) + 0.0005L + 0.00006L * std::exp(0.092L * x));
    return x == 0 ? 0.0105L * k : k * (0.0010L * std::exp(-0.55L * (x - 1)) + 0.0003L + 0.000035L * std::exp(0.097L * x));
}

// Person-years lived at each single age per birth (age 80 is a single year like the others).
std::vector<real> person_years(const std::vector<real>& m)
{
    std::vector<real> L(ages);
    real l = 1;
    for (int x = 0; x < ages; ++x) {
        real q = 1 - std::exp(-m[x]);
        real a = x == 0 ? 0.1L : 0.5L;
        real d = l * q;
        L[x] = l - d + a * d;
        l -= d;
    }
    return L;
}

real round_to(real x, real unit) { return vantelo::round_half_away(x / unit) * unit; }

Region make_region(real k, real tfr, real total)
{
    Region r;
    std::vector<real> mm(ages), mf(ages), f(ages, 0);
    real shape = 0;
    for (int x = 15; x <= 49; ++x) shape += std::pow(x - 14.5L, 5) * std::exp(-(x - 14.5L) / 2.3L);
    for (int x = 0; x < ages; ++x) {
        mm[x] = round_to(death_rate(x, true, k), 1e-6L);
        mf[x] = round_to(death_rate(x, false, k), 1e-6L);
        if (x >= 15 && x <= 49) f[x] = round_to(tfr * std::pow(x - 14.5L, 5) * std::exp(-(x - 14.5L) / 2.3L) / shape, 1e-6L);
    }
    std::vector<real> Lm = person_years(mm), Lf = person_years(mf);
    const real female_share = 1 / 2.06L;
    auto nrr = [&](real rate) {
        real s = 0;
        for (int x = 0; x < ages; ++x) s += f[x] * Lf[x] * std::exp(-rate * (x + 0.5L));
        return s * female_share;
    };
    real lo = -0.1L, hi = 0.1L;
    for (int i = 0; i < 200; ++i) {
        real mid = (lo + hi) / 2;
        (nrr(mid) > 1 ? lo : hi) = mid;
    }
    const real rate = (lo + hi) / 2;
    std::vector<real> pm(ages), pf(ages);
    real sum = 0;
    for (int x = 0; x < ages; ++x) {
        real g = std::exp(-rate * (x + 0.5L));
        pm[x] = (1 - female_share) * Lm[x] * g;
        pf[x] = female_share * Lf[x] * g;
        sum += pm[x] + pf[x];
    }
    for (int x = 0; x < ages; ++x) {
        r.pop_m.push_back(static_cast<double>(vantelo::round_half_even(pm[x] * total / sum)));
        r.pop_f.push_back(static_cast<double>(vantelo::round_half_even(pf[x] * total / sum)));
        r.m_m.push_back(static_cast<double>(mm[x]));
        r.m_f.push_back(static_cast<double>(mf[x]));
        r.fert.push_back(static_cast<double>(f[x]));
    }
    std::printf("  k %.2f  TFR %.2f  intrinsic rate %.5f\n", static_cast<double>(k), static_cast<double>(tfr),
                static_cast<double>(rate));
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
