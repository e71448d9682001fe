#include "analysis/engine/year_end_estimate.h"

#include <cmath>

#include "analysis/engine/population_fields.h"
#include "platform/core/checked.h"
#include "platform/core/numtext.h"
#include "projection/engine/input_loaders.h"
#include "projection/engine/input_message.h"
#include "projection/engine/life_table.h"

namespace vantelo::analysis {

using namespace projection;

void load_year_end_population(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& column)
{
    const auto n = static_cast<long long>(column.size());
    resize_array(ws.pop_male, n);
    resize_array(ws.pop_female, n);
    ws.age_group_count = static_cast<int>(ws.pop(sex).size());
    load_population_field(ws.pop(sex), column);
}

void load_year_end_death_rates(ProjectionWorkspace& ws, Sex sex, const std::vector<double>& column)
{
    store_death_rates(ws, sex, column, 1);
    LifeTableColumns t = ws.life_table(sex);
    for (double m : t.death_rate)
        if (m < 0 || m > 1) throw InputMessage(msg_bad_data);
    build_life_table(t, sex, ws.age_group_count, 1);
}

YearEndTotals check_year_end_inputs(const ProjectionWorkspace& ws, const YearEndInputs& in)
{
    if (!in.fields_chosen) throw InputMessage(msg_not_enough_fields);

    const int n = ws.age_group_count;
    for (int x = 0; x < n; ++x) {
        if (!in.male_population || at(ws.pop_male, x) < 0) throw InputMessage(msg_male_population);
        if (!in.female_population || at(ws.pop_female, x) < 0) throw InputMessage(msg_female_population);
        // (rates a failed load left short of N ages are refused below)
        if (x < static_cast<int>(ws.death_rate_male.size())) {
            const double m = ws.death_rate_male[static_cast<size_t>(x)];
            if (m < 0 || m > 1) throw InputMessage(msg_male_death_rate);
        }
        if (x < static_cast<int>(ws.death_rate_female.size())) {
            const double m = ws.death_rate_female[static_cast<size_t>(x)];
            if (m < 0 || m > 1) throw InputMessage(msg_female_death_rate);
        }
    }
    // Only a life table that a completed load built is used; a last-age rate of 0 has none.
    if (!in.male_life_table || n < 1 || at(ws.death_rate_male, n - 1) == 0) throw InputMessage(msg_male_death_rate);
    if (!in.female_life_table || at(ws.death_rate_female, n - 1) == 0) throw InputMessage(msg_female_death_rate);

    YearEndTotals t;
    t.total = to_double(parse_float(in.total_text));
    t.male_births = to_double(parse_float(in.male_births_text));
    t.female_births = to_double(parse_float(in.female_births_text));
    const real births = checked_add(real(t.male_births), t.female_births);
    if (t.total <= 0 || t.male_births <= 0 || t.female_births <= 0 || t.total <= births)
        throw InputMessage(msg_year_end_logic);

    real older = births;
    for (int x = 1; x < n; ++x) older = checked_add(older, checked_add(real(at(ws.pop_male, x)), at(ws.pop_female, x)));
    if (t.total >= older) throw InputMessage(msg_year_end_check);

    real women = 0;
    for (int x = 15; x <= 49; ++x) women = checked_add(women, at(ws.pop_female, x));
    if (checked_mul(real(3), births) >= women) throw InputMessage(msg_year_end_check);
    return t;
}

namespace {

// The working copy of one sex's curve: l (n+1 rows) and L (n rows) of year column 0, a and e(0).
struct Curve {
    k_grid l, big_l;
    k_ar a;
    double e0 = 0;
    LogitFit fit;
};

Curve take_curve(ProjectionWorkspace& ws, Sex sex, int n)
{
    LifeTableColumns t = ws.life_table(sex);
    Curve c;
    c.l.assign(static_cast<size_t>(n) + 1, k_ar(1, 0.0));
    c.big_l.assign(static_cast<size_t>(n), k_ar(1, 0.0));
    for (int x = 0; x <= n; ++x) at(c.l, x)[0] = at(at(t.lt_survivors, x), 0);
    for (int x = 0; x < n; ++x) at(c.big_l, x)[0] = at(at(t.lt_years_lived, x), 0);
    c.a = t.sep_factor;
    resize_array(c.a, n);
    c.e0 = at(t.life_exp, 0);
    return c;
}

// E_s of one pass from the population now, the births and the current L.
void estimate_sex(const k_ar& p, double births, const Curve& c, k_ar& e, int n)
{
    for (int x = 0; x + 1 < n; ++x)
        at(e, x + 1) = to_double(checked_mul(checked_div(at(c.big_l, x + 1)[0], at(c.big_l, x)[0]), at(p, x)));
    at(e, 0) = to_double(checked_mul(real(births), at(c.big_l, 0)[0]));
    for (int x = 1; x < n; ++x) at(e, x) = to_double(checked_div(checked_add(real(at(p, x)), at(e, x)), real(2)));
}

real total_of(const k_ar& e)
{
    real s = 0;
    for (double v : e) s = checked_add(s, v);
    return s;
}

// Shifts the curve so that the sum of its survivors meets the target.
void fit_curve(Curve& c, int n, double target, double eps)
{
    k_ar l(static_cast<size_t>(n));
    for (int x = 0; x < n; ++x) l[static_cast<size_t>(x)] = at(c.l, x)[0];
    try {
        c.fit = logit_fit(l, n, target, eps);
    } catch (const InputMessage&) {
        // out of reach, or no convergence within the fit's bound
        throw InputMessage(msg_year_end_check);
    }
    c.e0 = c.fit.sum;
    const real e2a = checked_exp(2.0L * c.fit.alpha);
    at(c.l, 0)[0] = 1.0;
    for (int x = 1; x < n; ++x) at(c.l, x)[0] = to_double(logit_shift(at(c.l, x)[0], e2a));
    years_lived_from_survivors(c.l, c.big_l, c.a, n, 0);
}

void put_curve(const Curve& c, ProjectionWorkspace& ws, Sex sex, int n)
{
    LifeTableColumns t = ws.life_table(sex);
    for (int x = 0; x <= n; ++x) at(at(t.lt_survivors, x), 0) = at(c.l, x)[0];
    for (int x = 0; x < n; ++x) at(at(t.lt_years_lived, x), 0) = at(c.big_l, x)[0];
    at(t.life_exp, 0) = c.e0;
}

}  // namespace

int estimate_year_end(ProjectionWorkspace& ws, int n, const YearEndTotals& totals, const YearEndLimits& limits)
{
    const double eps = 0.0001;
    const real target_total = totals.total;
    const real tau = checked_div(target_total, real(100000));
    const real delta = 0.02;
    if (n < 1) throw RangeError();

    Curve male = take_curve(ws, Sex::male, n);
    Curve female = take_curve(ws, Sex::female, n);
    k_ar em(static_cast<size_t>(n)), ef(static_cast<size_t>(n));
    double sum_male = 0, sum_female = 0;
    int passes = 0;
    for (;;) {
        ++passes;
        estimate_sex(ws.pop_male, totals.male_births, male, em, n);
        estimate_sex(ws.pop_female, totals.female_births, female, ef, n);
        sum_male = to_double(total_of(em));
        sum_female = to_double(total_of(ef));
        const double s_e = to_double(checked_add(real(sum_male), sum_female));

        const real step = target_total >= s_e ? delta : -delta;
        fit_curve(male, n, to_double(checked_add(male.e0, step)), eps);
        fit_curve(female, n, to_double(checked_add(female.e0, step)), eps);

        if (std::fabs(checked_sub(s_e, target_total)) <= tau) break;
        if (passes >= limits.max_passes) throw InputMessage(msg_year_end_check);
    }

    // The estimate stands: the workspace takes it.
    ws.age_group_count = n;
    ws.proj_year_count = 1;
    ws.logit_eps = eps;
    size_life_table(ws.life_table(Sex::male), n, 1);
    size_life_table(ws.life_table(Sex::female), n, 1);
    put_curve(male, ws, Sex::male, n);
    put_curve(female, ws, Sex::female, n);
    ws.logit_alpha_male = male.fit.alpha;
    ws.logit_alpha_female = female.fit.alpha;
    ws.logit_lo = female.fit.lo;
    ws.logit_hi = female.fit.hi;
    ws.logit_e0_sum = female.fit.sum;

    resize_array(ws.next_pop_male, n);
    resize_array(ws.next_pop_female, n);
    for (int x = 0; x < n; ++x) {
        at(ws.next_pop_male, x) = to_double(round_half_even(at(em, x)));
        at(ws.next_pop_female, x) = to_double(round_half_even(at(ef, x)));
    }
    for (k_ar* r : {&ws.res_total_pop, &ws.res_male_pop, &ws.res_female_pop}) resize_array(*r, 1);
    ws.res_male_pop[0] = sum_male;
    ws.res_female_pop[0] = sum_female;
    ws.res_total_pop[0] = to_double(checked_add(real(sum_male), sum_female));
    return passes;
}

}  // namespace vantelo::analysis
