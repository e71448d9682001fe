#include "projection/engine/life_table.h"

#include <algorithm>
#include <cmath>

#include "platform/core/numtext.h"
#include "projection/engine/input_message.h"
#include "projection/engine/life_table_core.h"

namespace vantelo::projection {
namespace {

struct SepConstants {
    double a0_high, a14_high;        // q0 >= 0.1
    real a0_base, a0_slope;          // a(0) = base + slope q0
    real a14_base, a14_slope;        // a(1..4) = (base - slope q0)/4
};

constexpr SepConstants male_constants{0.33, 0.338, 0.0425L, 2.875L, 1.63L, 3.013L};
constexpr SepConstants female_constants{0.35, 0.34025, 0.05L, 3.0L, 1.524L, 1.627L};

void sep_factors(k_ar& a, int n, double m0, const SepConstants& k)
{
    const double q0 = to_double(1.0L - checked_exp(-static_cast<real>(m0)));
    if (q0 >= 0.1) {
        at(a, 0) = k.a0_high;
        for (int x = 1; x <= 4; ++x) at(a, x) = k.a14_high;
    } else {
        at(a, 0) = to_double(k.a0_base + k.a0_slope * q0);
        const double a14 = to_double((k.a14_base - k.a14_slope * q0) / 4.0L);
        for (int x = 1; x <= 4; ++x) at(a, x) = a14;
    }
    for (int x = 5; x <= 9; ++x) at(a, x) = 0.45;
    for (int x = 10; x <= 70; ++x) at(a, x) = 0.52;
    if (n >= 71)
        for (int x = 70; x < n; ++x) at(a, x) = 0.5;
}

}  // namespace

void sep_factors_male(k_ar& a, int n, double m0) { sep_factors(a, n, m0, male_constants); }

void sep_factors_female(k_ar& a, int n, double m0) { sep_factors(a, n, m0, female_constants); }

void sep_factors_both(k_ar& male, k_ar& female, int n, double m0_male, double m0_female)
{
    sep_factors_male(male, n, m0_male);
    sep_factors_female(female, n, m0_female);
}

void size_life_table(LifeTableColumns t, int n, int y)
{
    resize_array(t.death_prob, n);
    resize_array(t.sep_factor, n);
    resize_array(t.lt_deaths, n);
    resize_array(t.lt_years_above, n);
    resize_array(t.life_exp, n);
    resize_array(t.lt_survivors, static_cast<long long>(n) + 1, y);
    resize_array(t.lt_years_lived, n, y);
}

void build_life_table(LifeTableColumns t, Sex sex, int n, int y, std::string_view e0_pattern)
{
    const k_ar& m = t.death_rate;
    t.infant_rate = at(m, 0);
    for (int x = 0; x < n; ++x) at(t.sep_factor, x) = 0.0;
    if (sex == Sex::male)
        sep_factors_male(t.sep_factor, n, t.infant_rate);
    else
        sep_factors_female(t.sep_factor, n, t.infant_rate);

    const LifeTableArrays c = life_table_from_rates(m, t.sep_factor, n);
    for (int x = 0; x < n; ++x) {
        const auto i = static_cast<size_t>(x);
        at(t.death_prob, x) = c.q[i];
        at(t.sep_factor, x) = c.a[i];
        at(t.lt_deaths, x) = c.d[i];
        at(at(t.lt_survivors, x), 0) = c.l[i];
        at(t.lt_years_above, x) = c.T[i];
        at(t.life_exp, x) = c.e[i];
        for (int col = 0; col < std::max(y, 1); ++col) at(at(t.lt_years_lived, x), col) = c.L[i];
    }
    at(at(t.lt_survivors, n), 0) = c.l[static_cast<size_t>(n)];

    t.base_e0_text = format_pattern(at(t.life_exp, 0), e0_pattern);
}

namespace {

// Person-years lived at one age from its survivors and those of the next age.
double years_lived(real lx, real lx1, real a) { return to_double(check_finite((lx - lx1) * a + lx1)); }

// Bisection of alpha in [-100, 100] until |S(alpha) - target| <= eps; S falls as alpha rises.
template <class Sum>
LogitFit bisect_logit(const Sum& sum_of, double target, double eps)
{
    const double lowest = sum_of(100.0);
    const double highest = sum_of(-100.0);
    if (static_cast<real>(target) < static_cast<real>(lowest) - eps ||
        static_cast<real>(target) > static_cast<real>(highest) + eps)
        throw InputMessage(msg_life_expectancy_range);

    LogitFit f;
    f.lo = -100.0;
    f.hi = 100.0;
    for (;;) {
        f.alpha = to_double((static_cast<real>(f.hi) + f.lo) / 2.0L);
        f.sum = sum_of(f.alpha);
        ++f.passes;
        if (target > f.sum)
            f.hi = f.alpha;
        else
            f.lo = f.alpha;
        if (std::fabs(static_cast<real>(f.sum) - target) <= eps) return f;
        if (f.passes >= 200) throw InputMessage(msg_life_expectancy_range);
    }
}

}  // namespace

void years_lived_from_survivors(const k_grid& l, k_grid& big_l, const k_ar& a, int n, int col)
{
    for (int x = 0; x < n; ++x) at(at(big_l, x), col) = years_lived(at(at(l, x), col), at(at(l, x + 1), col), at(a, x));
}

real logit_shift(real l, real e2alpha)
{
    return checked_div(l, checked_add(checked_mul(e2alpha, 1.0L - l), l));
}

double logit_sum(const k_ar& l, int n, double alpha)
{
    const real e2a = checked_exp(2.0L * alpha);
    double s = 0;
    for (int x = 0; x < n; ++x) s = to_double(s + logit_shift(at(l, x), e2a));
    return s;
}

double logit_life_expectancy(const k_ar& l, const k_ar& a, int n, double alpha)
{
    if (n < 1) throw RangeError();
    const real e2a = checked_exp(2.0L * alpha);
    // From the oldest age down: T(x) = T(x+1) + L*(x), with l*(n) = 0.
    double next = 0;  // l*(x+1)
    double t = 0;
    for (int x = n - 1; x >= 0; --x) {
        const double lx = x == 0 ? 1.0 : to_double(logit_shift(at(l, x), e2a));
        const double big_l = years_lived(lx, next, at(a, x));
        t = x == n - 1 ? big_l : to_double(static_cast<real>(t) + big_l);
        next = lx;
    }
    return t;
}

LogitFit logit_fit(const k_ar& l, int n, double target, double eps)
{
    return bisect_logit([&](double alpha) { return logit_sum(l, n, alpha); }, target, eps);
}

LogitFit logit_fit_life_expectancy(const k_ar& l, const k_ar& a, int n, double target, double eps)
{
    return bisect_logit([&](double alpha) { return logit_life_expectancy(l, a, n, alpha); }, target, eps);
}

}  // namespace vantelo::projection
