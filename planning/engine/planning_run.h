#pragma once
// The planning run (&OK of the target-planning dialog): for a planning period of Y years, the
// age-specific fertility rates of ages 15..49 whose births bring the present population to a
// target total at the end of the period, searched year by year.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "planning/engine/fertility_search.h"
#include "planning/engine/plan_inputs.h"
#include "planning/engine/plan_projection.h"

namespace vantelo::planning {

// What the run reads from the dialog, as plain values and texts.
struct PlanningInputs {
    // The texts of the male and female population and death-rate field lists; only tested for
    // being empty.
    std::array<std::string, 4> field_texts;
    int from_year = 1990, to_year = 2000;
    // Reads a whole field of the current table by name, record by record from the first; called
    // for the four fields in the order of field_texts.
    std::function<std::vector<double>(const std::string& field)> read_column;
    std::string population_target_text = "1260000000";  // Edit7
    BirthsRule rule = BirthsRule::equal_births;
    SearchParamTexts params;
    std::string report_dir;  // where the year files TFR<j>.txt go
};

// What the dialog shows while and after each year is searched. Any may be empty; the year
// callbacks come in this order. The year files are written together after the last year.
struct PlanningProgress {
    SearchProgress search;
    std::function<void(int kept)> year_counts;                  // Edit11: + "last_curve:" + kept
    std::function<void(const YearResult&)> year_summary;        // Edit6: summary_text
    std::function<void(const YearResult&, const std::array<double, gene_count>& reference)> year_chart;
};

// The run. In this order, each failure ending it:
//   1. a field text empty: InputMessage "Not enough variable selected!";
//   2. Y = to_year - from_year <= 0: InputMessage "Please Redefine the Restrospect Years Aagain!";
//   3. N = the number of records; every array sized, population and death rates zeroed, then
//      the four fields read again (no range test);
//   4. the separation factors of both sexes from their m(0) (fewer than 71 ages: range error);
//   5. the life tables as far as L; 6. the projection without births (no woman aged 15..49 in a
//   year: invalid operation);
//   7. the population target read as a real (conversion error), the births targets (Y >= N:
//      range error);
//   8. the search parameters read (conversion errors);
//   9. every gene must admit a value (InputMessage "Fertility rates of ages 15-49 cannot be
//      searched!"); no fertility field loaded is the range error;
//  10. each year j: the search, then the outputs: year_counts, year_summary, year_chart. A year
//      without a converged run ends the run with the invalid-operation error of its mean, and
//      no file is written;
//  11. the files TFR<j>.txt of every year, as one change (write_tfr_reports): a failure (an
//      InOutError) leaves every one of them as it was.
// Afterwards data's population arrays hold the survivors at the end of the period and
// plan_year_count is Y (set at step 2, before its test, as the dialog stores it).
void run_target_planning(PlanningData& data, const PlanningInputs& in, const SearchRandom& random,
                         const PlanningProgress& progress);

}  // namespace vantelo::planning
