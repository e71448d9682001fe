#include "planning/engine/plan_inputs.h"

#include "platform/core/checked.h"
#include "platform/core/numtext.h"

namespace vantelo::planning {
namespace {

template <class Fails>
void check_each(const std::vector<double>& values, Fails fails)
{
    for (double v : values)
        if (fails(v)) throw InputMessage(msg_bad_data);
}

bool outside_unit(double v) { return v < 0 || v > 1; }

}  // namespace

void check_population_values(const std::vector<double>& values)
{
    check_each(values, [](double v) { return v < 0; });
}

void check_death_rate_values(const std::vector<double>& values) { check_each(values, outside_unit); }

void check_fertility_values(const std::vector<double>& values)
{
    real sum = 0;
    for (double v : values) sum = checked_add(sum, v);
    if (sum == 0) throw InputMessage(msg_bad_data);
    check_each(values, outside_unit);
}

SearchParams read_search_params(const SearchParamTexts& t)
{
    SearchParams p;
    p.population_size = parse_int(t.edit1);
    p.crossover_prob = to_double(parse_float(t.edit2));
    p.mutation_prob = to_double(parse_float(t.edit3));
    p.selection_q = to_double(parse_float(t.edit4));
    p.max_generations = parse_int(t.edit5);
    p.run_count = parse_int(t.edit10);
    p.band_factor = to_double(parse_float(t.edit12));
    return p;
}

}  // namespace vantelo::planning
