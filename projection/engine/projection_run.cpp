#include "projection/engine/projection_run.h"

#include "platform/core/numtext.h"
#include "projection/engine/input_message.h"
#include "projection/engine/life_table.h"

namespace vantelo::projection {
namespace {

// What a failed run puts back so that the next run starts from the true base.
struct BaseSnapshot {
    k_ar pop_male, pop_female;
    k_grid lt_survivors_male, lt_survivors_female;
    k_grid lt_years_lived_male, lt_years_lived_female;
    k_ar sep_factor_male, sep_factor_female;
    double infant_rate_male, infant_rate_female;
    // The run rebuilds ages 15..49 of every year column from the grids, column 0 included,
    // where the loaded rates are checked by the next run.
    k_grid asfr;

    explicit BaseSnapshot(const ProjectionWorkspace& ws)
        : pop_male(ws.pop_male), pop_female(ws.pop_female), lt_survivors_male(ws.lt_survivors_male),
          lt_survivors_female(ws.lt_survivors_female), lt_years_lived_male(ws.lt_years_lived_male),
          lt_years_lived_female(ws.lt_years_lived_female), sep_factor_male(ws.sep_factor_male),
          sep_factor_female(ws.sep_factor_female), infant_rate_male(ws.infant_rate_male),
          infant_rate_female(ws.infant_rate_female), asfr(ws.asfr)
    {
    }

    void restore(ProjectionWorkspace& ws)
    {
        ws.pop_male = std::move(pop_male);
        ws.pop_female = std::move(pop_female);
        ws.lt_survivors_male = std::move(lt_survivors_male);
        ws.lt_survivors_female = std::move(lt_survivors_female);
        ws.lt_years_lived_male = std::move(lt_years_lived_male);
        ws.lt_years_lived_female = std::move(lt_years_lived_female);
        ws.sep_factor_male = std::move(sep_factor_male);
        ws.sep_factor_female = std::move(sep_factor_female);
        ws.infant_rate_male = infant_rate_male;
        ws.infant_rate_female = infant_rate_female;
        ws.asfr = std::move(asfr);
        ws.e0_changed = 0;
    }
};

void check_inputs(ProjectionWorkspace& ws, const RunInputs& in)
{
    ws.logit_eps = 1e-9;
    if (!ws.from_wizard)
        for (const auto& t : in.field_texts)
            if (t.empty()) throw InputMessage(msg_not_enough_fields);
    check_loaded_values(ws, ws.age_group_count);
}

void size_for_run(ProjectionWorkspace& ws, int n, int y)
{
    for (Sex sex : {Sex::male, Sex::female}) {
        LifeTableColumns t = ws.life_table(sex);
        resize_array(ws.next_pop(sex), n);
        size_life_table(t, n, y);
    }
    for (k_ar* s : ws.result_series()) resize_array(*s, y);
    resize_array(ws.res_parameters, y);
    resize_array(ws.res_pyramid_male, n, y);
    resize_array(ws.res_pyramid_female, n, y);
    // The sex shares of births are rewritten for every year below.
    resize_array(ws.birth_share_male, y);
    resize_array(ws.birth_share_female, y);
}

const GridModel& pattern_grid(const RunInputs& in, int k)
{
    if (k < 1 || k > 3) throw RangeError();
    return in.pattern_grids[static_cast<std::size_t>(k - 1)];
}

void read_yearly_inputs(ProjectionWorkspace& ws, const RunInputs& in, RunState& st)
{
    const int n = ws.age_group_count, y_count = ws.proj_year_count;
    for (int y = 0; y < y_count; ++y) {
        at(ws.res_float_pop, y) = to_double(in.floating_grid.number(y + 1, 1));
        at(ws.float_birth_rate, y) = to_double(in.floating_grid.number(y + 1, 2));
        at(ws.float_death_rate, y) = to_double(in.floating_grid.number(y + 1, 3));
    }
    st.floating = to_double(parse_float(in.floating_pop_text));
    real t0 = 0;
    for (int x = 0; x < n; ++x) t0 += static_cast<real>(at(ws.pop_male, x)) + at(ws.pop_female, x);
    st.total_prev = to_double(t0);
    const real u0 = parse_float(in.urban_share_text);
    st.k = to_double(0.044L - 0.028L * u0);
    st.urban_prev = to_double(checked_mul(u0, st.total_prev));

    birth_shares_from_grid(ws, in.srb_grid, 1);
    for (int c = 1; c <= y_count; ++c) {
        // A column's TFR cells are converted at its first age, in their turn; later ages reuse
        // the same values.
        real tfr[3] = {0, 0, 0};
        for (int i = 0; i < 35; ++i) {
            real f = 0;
            for (int k = 1; k <= ws.parity_count; ++k) {
                if (i == 0) tfr[k - 1] = in.tfr_grid.number(c, k);
                f = checked_add(f, checked_mul(tfr[k - 1], pattern_grid(in, k).number(c, i + 1)));
            }
            at(at(ws.asfr, 15 + i), c - 1) = to_double(f);
        }
    }
}

// Final survivorship curves: L of the last year from the table's lx, the years between moved
// linearly from the base L (the loader's year column 0) to it:
//   L(x)[y] = L_base(x) + (L_fin(x) - L_base(x)) (y + 1)/Y.
// The oldest age is an open group, and an lx curve says nothing of how long its members live:
// the final curve keeps the base curve's life expectancy at that age,
//   L_fin(N-1) = l_fin(N-1) L_base(N-1)/l_base(N-1),
// so that a final curve equal to the base curve changes nothing.
void mortality_from_survivorship(ProjectionWorkspace& ws, const RunInputs& in)
{
    const int n = ws.age_group_count, y_count = ws.proj_year_count, last = y_count - 1;
    if (!in.read_field) throw EngineError("no table to read the survivorship curves from");
    // The base l of the open group, read before the final curve may overwrite column 0.
    const real base_open_l_male = at(at(ws.lt_survivors_male, n - 1), 0);
    const real base_open_l_female = at(at(ws.lt_survivors_female, n - 1), 0);
    for (int x = 0; x < n; ++x) {
        at(at(ws.lt_survivors_male, x), last) = in.read_field(x, in.lx_field_male);
        at(at(ws.lt_survivors_female, x), last) = in.read_field(x, in.lx_field_female);
    }
    ws.infant_rate_male = at(ws.death_rate_male, 0);
    ws.infant_rate_female = at(ws.death_rate_female, 0);
    for (int x = 0; x < n; ++x) {
        at(ws.sep_factor_male, x) = 0.0;
        at(ws.sep_factor_female, x) = 0.0;
    }
    sep_factors_male(ws.sep_factor_male, n, ws.infant_rate_male);
    sep_factors_female(ws.sep_factor_female, n, ws.infant_rate_female);

    for (Sex sex : {Sex::male, Sex::female}) {
        LifeTableColumns t = ws.life_table(sex);
        // The base L is the loader's column 0, copied before anything rewrites it (with one
        // year the final column is column 0 itself).
        k_ar base(static_cast<std::size_t>(n)), fin(static_cast<std::size_t>(n));
        for (int x = 0; x < n; ++x) at(base, x) = at(at(t.lt_years_lived, x), 0);
        years_lived_from_survivors(t.lt_survivors, t.lt_years_lived, t.sep_factor, n, last);
        const real base_open_l = sex == Sex::male ? base_open_l_male : base_open_l_female;
        at(at(t.lt_years_lived, n - 1), last) =
            to_double(checked_div(at(at(t.lt_survivors, n - 1), last) * static_cast<real>(at(base, n - 1)), base_open_l));
        for (int x = 0; x < n; ++x) at(fin, x) = at(at(t.lt_years_lived, x), last);
        for (int y = 0; y < y_count; ++y) {
            for (int x = 0; x < n; ++x) {
                const real b = at(base, x);
                // (L_fin - L_base)(y + 1) first, then divided by Y.
                const real step = (static_cast<real>(at(fin, x)) - b) * (y + 1) / y_count;
                at(at(t.lt_years_lived, x), y) = to_double(b + step);
            }
        }
    }
}

// Life-expectancy targets of both sexes, rows 1 (male) and 2 (female) of the e0 grid.
void mortality_from_life_expectancy(ProjectionWorkspace& ws, const RunInputs& in)
{
    fit_life_expectancy_row(ws, Sex::male, in.e0_grid, 1);
    fit_life_expectancy_row(ws, Sex::female, in.e0_grid, 2);
}

void write_parameter_records(ProjectionWorkspace& ws, const RunInputs& in)
{
    for (int y = 0; y < ws.proj_year_count; ++y) {
        const int c = y + 1;
        year_param_rec& r = at(ws.res_parameters, y);
        r[0] = to_double(in.tfr_grid.number(c, 1));
        r[1] = to_double(in.e0_grid.number(c, 1));
        r[2] = to_double(in.e0_grid.number(c, 2));
        r[3] = to_double(in.srb_grid.number(c, 1));
        for (int i = 0; i < 3; ++i) r[static_cast<std::size_t>(40 + i)] = to_double(in.floating_grid.number(c, i + 1));
        r[39] = to_double(parse_float(in.urban_share_text));
        for (int i = 0; i < 35; ++i) r[static_cast<std::size_t>(4 + i)] = to_double(in.pattern_grids[0].number(c, i + 1));
    }
}

double persons(const ProjectionWorkspace& ws, int lo, int hi) { return persons_aged(ws, lo, hi); }

void zero_series(k_ar& s)
{
    for (double& v : s) v = 0.0;
}

}  // namespace

void check_loaded_values(const ProjectionWorkspace& ws, int n)
{
    for (int x = 0; x < n; ++x) {
        if (at(ws.pop_male, x) < 0) throw InputMessage(msg_male_population);
        if (at(ws.pop_female, x) < 0) throw InputMessage(msg_female_population);
        const double mm = at(ws.death_rate_male, x);
        if (mm <= 0 || mm > 1) throw InputMessage(msg_male_death_rate);
        const double mf = at(ws.death_rate_female, x);
        if (mf <= 0 || mf > 1) throw InputMessage(msg_female_death_rate);
        const double f = at(at(ws.asfr, x), 0);
        if (f < 0 || f > 1) throw InputMessage(msg_fertility_rate);
    }
}

double sum_of(const k_ar& p, int lo, int hi)
{
    real s = 0;
    for (int x = lo; x <= hi; ++x) s += at(p, x);
    return to_double(s);
}

double persons_aged(const ProjectionWorkspace& ws, int lo, int hi)
{
    real s = 0;
    for (int x = lo; x <= hi; ++x) s += static_cast<real>(at(ws.pop_male, x)) + at(ws.pop_female, x);
    return to_double(s);
}

void birth_shares_from_grid(ProjectionWorkspace& ws, const GridModel& srb_grid, int row)
{
    for (int y = 0; y < ws.proj_year_count; ++y) {
        const real srb = srb_grid.number(y + 1, row);
        const real denom = checked_add(srb, 100.0L);
        at(ws.birth_share_male, y) = to_double(checked_div(srb, denom));
        at(ws.birth_share_female, y) = to_double(checked_div(100.0L, denom));
    }
}

void fit_life_expectancy_row(ProjectionWorkspace& ws, Sex sex, const GridModel& e0_grid, int row)
{
    const int n = ws.age_group_count, y_count = ws.proj_year_count;
    LifeTableColumns t = ws.life_table(sex);
    ws.e0_changed = 0;
    for (int c = 1; c <= y_count; ++c)
        if (e0_grid.cell(c, row) != t.base_e0_text) ws.e0_changed = 1;
    if (ws.e0_changed) {
        k_ar curve(static_cast<std::size_t>(n));
        for (int y = 0; y < y_count; ++y) {
            const double target = to_double(e0_grid.number(y + 1, row));
            for (int x = 0; x < n; ++x) at(curve, x) = at(at(t.lt_survivors, x), 0);
            const LogitFit fit = logit_fit_life_expectancy(curve, t.sep_factor, n, target, ws.logit_eps);
            ws.logit_lo = fit.lo;
            ws.logit_hi = fit.hi;
            ws.logit_e0_sum = fit.sum;
            (sex == Sex::male ? ws.logit_alpha_male : ws.logit_alpha_female) = fit.alpha;
            const real e2a = checked_exp(2.0L * fit.alpha);
            at(at(t.lt_survivors, 0), y) = 1.0;
            for (int x = 1; x < n; ++x) at(at(t.lt_survivors, x), y) = to_double(logit_shift(at(curve, x), e2a));
            at(at(t.lt_survivors, n), y) = 0.0;
            years_lived_from_survivors(t.lt_survivors, t.lt_years_lived, t.sep_factor, n, y);
        }
    }
    ws.e0_changed = 0;
}

void survive_and_bear(ProjectionWorkspace& ws, int y, real w[35])
{
    const int n = ws.age_group_count;
    const k_ar& pm = ws.pop_male;
    const k_ar& pf = ws.pop_female;
    k_ar& nm = ws.next_pop_male;
    k_ar& nf = ws.next_pop_female;
    auto lm = [&](int x) -> real { return at(at(ws.lt_years_lived_male, x), y); };
    auto lf = [&](int x) -> real { return at(at(ws.lt_years_lived_female, x), y); };

    // Survivors; the oldest age is open-ended and keeps its own survivors.
    for (int x = 0; x + 2 < n; ++x) {
        at(nm, x + 1) = to_double(checked_div(lm(x + 1), lm(x)) * at(pm, x));
        at(nf, x + 1) = to_double(checked_div(lf(x + 1), lf(x)) * at(pf, x));
    }
    if (n >= 2) {
        const int o = n - 1;
        at(nm, o) = to_double((static_cast<real>(at(pm, o - 1)) + at(pm, o)) *
                              checked_div(lm(o), checked_add(lm(o - 1), lm(o))));
        at(nf, o) = to_double((static_cast<real>(at(pf, o - 1)) + at(pf, o)) *
                              checked_div(lf(o), checked_add(lf(o - 1), lf(o))));
    }

    // Births, doubled, from twice the mean number of women of each age.
    const real sm = at(ws.birth_share_male, y), sf = at(ws.birth_share_female, y);
    at(nm, 0) = 0;
    at(nf, 0) = 0;
    for (int x = 15; x <= 49; ++x) {
        const real wx = checked_div(lf(x), lf(x - 1)) * at(pf, x - 1) + at(pf, x);
        w[x - 15] = wx;
        const real f = at(at(ws.asfr, x), y);
        at(nm, 0) = to_double(at(nm, 0) + wx * f * sm);
        at(nf, 0) = to_double(at(nf, 0) + wx * f * sf);
    }
}

void project_years(ProjectionWorkspace& ws, const RunInputs& in, RunState& st)
{
    const int n = ws.age_group_count, y_count = ws.proj_year_count;
    const bool floating = ws.with_floating_pop != 0;
    if (ws.parity_count < 1 || ws.parity_count > 3) throw RangeError();

    k_ar mean(static_cast<std::size_t>(y_count), 0.0);
    for (int y = 0; y < y_count; ++y) {
        at(ws.res_deaths, y) = 0;
        at(ws.res_births, y) = 0;
        at(ws.res_birth_rate, y) = 0;
        at(ws.res_death_rate, y) = 0;
    }
    k_ar* parity_series[3] = {&ws.res_births_parity1, &ws.res_births_parity2, &ws.res_births_parity3};
    k_ar* parity_male[3] = {&ws.births_p1_male, &ws.births_p2_male, &ws.births_p3_male};
    k_ar* parity_female[3] = {&ws.births_p1_female, &ws.births_p2_female, &ws.births_p3_female};
    for (int k = floating ? 1 : ws.parity_count + 1; k <= 3; ++k) {
        zero_series(*parity_series[k - 1]);
        zero_series(*parity_male[k - 1]);
        zero_series(*parity_female[k - 1]);
    }
    if (!floating) {
        zero_series(ws.res_float_births);
        zero_series(ws.res_float_deaths);
    }

    k_ar& pm = ws.pop_male;
    k_ar& pf = ws.pop_female;
    k_ar& nm = ws.next_pop_male;
    k_ar& nf = ws.next_pop_female;
    real w[35];

    for (int y = 0; y < y_count; ++y) {
        auto lm = [&](int x) -> real { return at(at(ws.lt_years_lived_male, x), y); };
        auto lf = [&](int x) -> real { return at(at(ws.lt_years_lived_female, x), y); };

        // 1. Start-of-year population.
        at(mean, y) = persons(ws, 0, n - 1);

        // 2.-4. Survivors, deaths of the resident population (before the infants), doubled births.
        survive_and_bear(ws, y, w);
        {
            real start = 0, survived = 0;
            for (int x = 0; x < n; ++x) start += static_cast<real>(at(pm, x)) + at(pf, x);
            for (int x = 1; x < n; ++x) survived += static_cast<real>(at(nm, x)) + at(nf, x);
            at(ws.res_deaths, y) = to_double(start - survived);
        }

        // 5. Births by parity (closed variant).
        if (!floating) {
            const real sm = at(ws.birth_share_male, y), sf = at(ws.birth_share_female, y);
            for (int k = 1; k <= 3; ++k) {
                at(*parity_male[k - 1], y) = 0;
                at(*parity_female[k - 1], y) = 0;
            }
            for (int k = 1; k <= ws.parity_count; ++k) {
                const real tfr = in.tfr_grid.number(y + 1, k);
                const GridModel& pg = pattern_grid(in, k);
                double& bm = at(*parity_male[k - 1], y);
                double& bf = at(*parity_female[k - 1], y);
                for (int i = 0; i < 35; ++i) {
                    const real part = checked_mul(checked_mul(tfr, w[i]), pg.number(y + 1, i + 1));
                    bm = to_double(bm + part * sm);
                    bf = to_double(bf + part * sf);
                }
                at(*parity_series[k - 1], y) = to_double((static_cast<real>(bm) + bf) / 2.0L);
            }
        }

        // 6.-11. Mean population, births, infants, infant deaths and mortality, deaths.
        {
            real s = 0;
            for (int x = 0; x < n; ++x) s += static_cast<real>(at(nm, x)) + at(nf, x);
            at(mean, y) = to_double((at(mean, y) + s) / 2.0L);
        }
        at(ws.res_births, y) = to_double((static_cast<real>(at(nm, 0)) + at(nf, 0)) / 2.0L);
        at(nm, 0) = to_double(static_cast<real>(at(nm, 0)) * lm(0) / 2.0L);
        at(nf, 0) = to_double(static_cast<real>(at(nf, 0)) * lf(0) / 2.0L);
        at(ws.res_infant_deaths, y) =
            to_double(static_cast<real>(at(ws.res_births, y)) - at(nm, 0) - at(nf, 0));
        at(ws.res_infant_mortality, y) = to_double(checked_div(
            at(ws.res_infant_deaths, y),
            0.8L * (static_cast<real>(at(nm, 0)) + at(nf, 0)) + 0.2L * (static_cast<real>(at(pm, 0)) + at(pf, 0))));
        at(ws.res_deaths, y) = to_double(static_cast<real>(at(ws.res_deaths, y)) + at(ws.res_infant_deaths, y));

        // 12.-13. Whole persons, half to even; totals.
        for (int x = 0; x < n; ++x) {
            at(pm, x) = to_double(round_half_even(at(nm, x)));
            at(pf, x) = to_double(round_half_even(at(nf, x)));
            at(at(ws.res_pyramid_male, x), y) = pm[static_cast<std::size_t>(x)];
            at(at(ws.res_pyramid_female, x), y) = pf[static_cast<std::size_t>(x)];
        }
        at(ws.res_male_pop, y) = sum_of(pm, 0, n - 1);
        at(ws.res_female_pop, y) = sum_of(pf, 0, n - 1);
        at(ws.res_women_15_49, y) = sum_of(pf, 15, 49);
        const double total = to_double(static_cast<real>(at(ws.res_male_pop, y)) + at(ws.res_female_pop, y));
        at(ws.res_total_pop, y) = total;

        // 14.-15. Rates; urbanisation.
        at(ws.res_birth_rate, y) = to_double(checked_div(at(ws.res_births, y), at(mean, y)));
        at(ws.res_death_rate, y) = to_double(checked_div(at(ws.res_deaths, y), at(mean, y)));
        // ((T_prev - U_prev) k + total) U_prev / T_prev: the product by U_prev comes before the
        // division by T_prev (a quotient taken first can move a value off an exact half).
        const real urban = round_half_even(checked_div(
            checked_mul((static_cast<real>(st.total_prev) - st.urban_prev) * st.k + total, st.urban_prev),
            st.total_prev));
        at(ws.res_urban_pop, y) = to_double(urban);
        st.total_prev = total;
        st.urban_prev = at(ws.res_urban_pop, y);

        // 16. Pyramid shares.
        for (int x = 0; x < n; ++x) {
            at(at(ws.res_pyramid_male, x), y) = to_double(checked_div(-static_cast<real>(at(pm, x)), total));
            at(at(ws.res_pyramid_female, x), y) = to_double(checked_div(at(pf, x), total));
        }

        // 17. Age groups from the rounded population.
        const int top = n - 1;
        at(ws.res_pop_0_14, y) = persons(ws, 0, 14);
        at(ws.res_pop_working_age, y) = persons(ws, 15, 64);
        at(ws.res_pop_elderly, y) = persons(ws, 65, top);
        at(ws.res_age_15_24, y) = persons(ws, 15, 24);
        at(ws.res_age_25_44, y) = persons(ws, 25, 44);
        at(ws.res_age_45_64, y) = persons(ws, 45, 64);
        at(ws.res_age_19_64, y) = persons(ws, 19, 64);
        at(ws.res_male_15_64, y) = sum_of(pm, 15, 64);
        at(ws.res_female_15_64, y) = sum_of(pf, 15, 64);
        at(ws.res_age_60plus, y) = persons(ws, 60, top);
        at(ws.res_age_65plus, y) = persons(ws, 65, top);
        at(ws.res_age_80plus, y) = persons(ws, 80, top);
        at(ws.res_women_23, y) = sum_of(pf, 23, 23);
        at(ws.res_age_6, y) = persons(ws, 6, 6);
        at(ws.res_age_7, y) = persons(ws, 7, 7);
        at(ws.res_age_11, y) = persons(ws, 11, 11);
        at(ws.res_age_15, y) = persons(ws, 15, 15);
        at(ws.res_age_18, y) = persons(ws, 18, 18);
        at(ws.res_age_6_10, y) = persons(ws, 6, 10);
        at(ws.res_women_20_29, y) = sum_of(pf, 20, 29);

        // Floating population, carried beside the resident one.
        if (floating) {
            st.floating = to_double(static_cast<real>(st.floating) + at(ws.res_float_pop, y));
            at(ws.res_float_births, y) = to_double(static_cast<real>(st.floating) * at(ws.float_birth_rate, y));
            at(ws.res_float_deaths, y) = to_double(static_cast<real>(st.floating) * at(ws.float_death_rate, y));
            at(ws.res_float_pop, y) = to_double(static_cast<real>(st.floating) + at(ws.res_float_births, y) -
                                                at(ws.res_float_deaths, y));
        }
    }
}

void run_projection(ProjectionWorkspace& ws, const RunInputs& in)
{
    check_inputs(ws, in);
    const int n = ws.age_group_count, y_count = ws.proj_year_count;
    if (y_count <= 0) throw RangeError();
    size_for_run(ws, n, y_count);

    BaseSnapshot base(ws);
    try {
        RunState st;
        read_yearly_inputs(ws, in, st);
        if (in.mortality == MortalityOption::survivorship)
            mortality_from_survivorship(ws, in);
        else
            mortality_from_life_expectancy(ws, in);
        write_parameter_records(ws, in);
        project_years(ws, in, st);
    } catch (...) {
        base.restore(ws);
        throw;
    }
}

}  // namespace vantelo::projection
