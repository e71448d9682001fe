#pragma once
// The inputs of target planning: the checks of the dialog's field loaders, the texts of its
// refusals, and the search parameters read from their edit boxes.
#include <string>
#include <vector>

#include "planning/engine/plan_messages.h"

namespace vantelo::planning {

// The checks the field loaders make once a column of the current table is read. Each raises
// InputMessage "数据格式不正确." at the first value that fails, in age order; the caller keeps
// the values loaded whether or not the check passes. 0 and 1 pass.
//   population: a value below 0 fails;
//   death rate: a value below 0 or above 1 fails;
//   fertility:  the values are summed (extended precision) first; a sum of exactly 0 fails
//               without the per-value test, otherwise a value below 0 or above 1 fails.
void check_population_values(const std::vector<double>& values);
void check_death_rate_values(const std::vector<double>& values);
void check_fertility_values(const std::vector<double>& values);

// The parameters of the genetic search as the run reads them.
struct SearchParams {
    int population_size = 100;    // P (Edit1), candidates per generation
    double crossover_prob = 0.2;  // Edit2
    double mutation_prob = 0.5;   // Edit3
    double selection_q = 0.05;    // q (Edit4), weight of the best rank
    int max_generations = 300;    // G (Edit5)
    int run_count = 500;          // R (Edit10), runs per planning year
    double band_factor = 2.0;     // k (Edit12), width of the band around the input rates
};

// The texts of the seven parameter edits, in the dialog's order.
struct SearchParamTexts {
    std::string edit1 = "100", edit2 = "0.2", edit3 = "0.5", edit4 = "0.05", edit5 = "300",
                edit10 = "500", edit12 = "2.0";
};

// Reads the parameters in the order Edit1, Edit2, Edit3, Edit4, Edit5, Edit10, Edit12:
// P, G and R as integers ("'%s' is not a valid integer value"), the others as reals
// ("'%s' is not a valid floating point value"); the first text that fails raises. No range
// test is made here.
SearchParams read_search_params(const SearchParamTexts& texts);

}  // namespace vantelo::planning
