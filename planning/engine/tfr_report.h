#pragma once
// The outputs of one planning year: the text file of the year, the summary and counter texts of
// the dialog. Numbers are written in the general format (up to 15 significant digits).
#include <string>
#include <vector>

#include "planning/engine/fertility_search.h"
#include "planning/engine/plan_projection.h"
#include "projection/engine/text_numbers.h"

namespace vantelo::planning {

// The path of the text file of planning year j (from 0): dir + "/TFR" + j + ".txt".
std::string tfr_report_path(const std::string& dir, int j);

// The lines of the text file of planning year j, 47 + 2Y of them (Y = plan_year_count):
//   1..35 (g = 0..34):  mean_curve(g) "    " (bound(g) - mean_curve(g)) W(15+g)
//                       "  " (1 - mean_curve(g)) W(15+g), W the women of year j;
//   " "; "birth:" target; "women mean age:" mean age; "pop Size of birth women:" women 15..49;
//   " "; "mean_TFR:" mean; "TFR_up:" up; "TFR_low:" low;
//   " male survive"; L_M(0..Y) one per line; " female survive "; L_F(0..Y) one per line.
// Y >= N raises the range error.
std::vector<std::string> tfr_report_lines(const PlanningData& data, const WomenByYear& women,
                                          const k_ar& births_target, const YearResult& year, int j);

// Writes the lines, each ended by CR LF, through a temporary file renamed over `path`: a file
// that exists is replaced, and a failure leaves it as it was (projection::write_text_lines).
// Any failure raises InOutError naming the file and the reason.
void write_tfr_report(const std::string& path, const std::vector<std::string>& lines);

// The text file of one planning year, to be written.
using TfrReport = projection::TextFileLines;

// The files of every year of a run as one change (projection::write_text_files): none is replaced or
// created unless all can be, and a failure (InOutError naming the file) leaves every one as it
// was. A kill between two of the renames that put them in place leaves the files of the first
// years new and the others as they were.
void write_tfr_reports(const std::vector<TfrReport>& reports);

// The counter box at the end of a year: its text (the converged count) + "last_curve:" + kept.
std::string counts_text(const std::string& converged_text, int kept);

// The summary box at the end of a year: "Birth:" births "finished   " generations "TFR_up:" up
// "TFR_low:" low "mean_TFR:" mean.
std::string summary_text(const YearResult& year);

}  // namespace vantelo::planning
