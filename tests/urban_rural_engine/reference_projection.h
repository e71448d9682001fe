#pragma once
// An urban/rural part projected independently of the program's code, from the stated model:
// each year the migrants M(x) (x = 0..N-2) are moved by `sign` (-1 out of the rural part, +1
// into the urban part); survivors L(x+1)/L(x) P(x), the oldest age open-ended
// ((P(N-2) + P(N-1)) L(N-1)/(L(N-2) + L(N-1))); births from W(x) = L_f(x)/L_f(x-1) P_f(x-1) + P_f(x)
// times F(x) at ages 15..49 and the sex shares of births, surviving L(0); every age rounded half
// to even. Values are stored as doubles between steps as the program stores them.
#include <cmath>
#include <vector>

namespace urban_reference {

struct PartInput {
    std::vector<double> pm, pf;                 // base population by age
    std::vector<std::vector<double>> lm, lf;    // L(x) by [age][year]
    std::vector<double> asfr;                   // F(x), the same every year
    long double share_male = 0.5L, share_female = 0.5L;
};

struct PartResult {
    std::vector<double> pm, pf;  // the end year
    std::vector<double> male, female, total, young, working, old;  // per year; 0..14, 15..59, 60+
    std::vector<std::vector<double>> by_age_male, by_age_female;   // [year][age]
};

inline PartResult project_part(const PartInput& in, int years, long double migrants_male,
                               long double migrants_female, const std::vector<long double>& share, int sign)
{
    PartResult r;
    r.pm = in.pm;
    r.pf = in.pf;
    const int n = static_cast<int>(r.pm.size());
    for (int y = 0; y < years; ++y) {
        auto lm = [&](int x) { return static_cast<long double>(in.lm[x][y]); };
        auto lf = [&](int x) { return static_cast<long double>(in.lf[x][y]); };
        for (int x = 0; x + 1 < n; ++x) {
            r.pm[x] = static_cast<double>(r.pm[x] + sign * (migrants_male * share[x]));
            r.pf[x] = static_cast<double>(r.pf[x] + sign * (migrants_female * share[x]));
        }
        std::vector<double> nm(n), nf(n);
        for (int x = 0; x + 2 < n; ++x) {
            nm[x + 1] = static_cast<double>(lm(x + 1) / lm(x) * r.pm[x]);
            nf[x + 1] = static_cast<double>(lf(x + 1) / lf(x) * r.pf[x]);
        }
        nm[n - 1] = static_cast<double>((static_cast<long double>(r.pm[n - 2]) + r.pm[n - 1]) *
                                        (lm(n - 1) / (lm(n - 2) + lm(n - 1))));
        nf[n - 1] = static_cast<double>((static_cast<long double>(r.pf[n - 2]) + r.pf[n - 1]) *
                                        (lf(n - 1) / (lf(n - 2) + lf(n - 1))));
        double bm = 0, bf = 0;
        for (int x = 15; x <= 49; ++x) {
            const long double w = lf(x) / lf(x - 1) * r.pf[x - 1] + r.pf[x];
            bm = static_cast<double>(bm + w * in.asfr[x] * in.share_male);
            bf = static_cast<double>(bf + w * in.asfr[x] * in.share_female);
        }
        nm[0] = static_cast<double>(bm * lm(0) / 2.0L);
        nf[0] = static_cast<double>(bf * lf(0) / 2.0L);
        long double sm = 0, sf = 0, young = 0, working = 0, old = 0;
        for (int x = 0; x < n; ++x) {
            r.pm[x] = std::nearbyint(nm[x]);
            r.pf[x] = std::nearbyint(nf[x]);
            sm += r.pm[x];
            sf += r.pf[x];
            const long double both = static_cast<long double>(r.pm[x]) + r.pf[x];
            (x < 15 ? young : x < 60 ? working : old) += both;
        }
        r.male.push_back(static_cast<double>(sm));
        r.female.push_back(static_cast<double>(sf));
        r.total.push_back(static_cast<double>(sm + sf));
        r.young.push_back(static_cast<double>(young));
        r.working.push_back(static_cast<double>(working));
        r.old.push_back(static_cast<double>(old));
        r.by_age_male.push_back(r.pm);
        r.by_age_female.push_back(r.pf);
    }
    return r;
}

}  // namespace urban_reference
