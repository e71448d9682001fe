#pragma once
// Indices of the accuracy of age reporting: age preference, Whipple, Myers, age accuracy and
// the United Nations age-sex accuracy index, each over a population by single year of age
// (record x = age x) or by five-year group. Each index is a plain function of its values and
// raises what it refuses; the *_report functions give the lines and the three ranges the index
// result window shows.
#include <string>
#include <vector>

namespace vantelo::analysis {

// The cut-off of the age preference index: the index of the last value equal to 0 exactly, or
// the count of values when none is 0.
int last_zero_cutoff(const std::vector<double>& p);

// Whole five-year groups of the first `count` values: group g = v(5g) + ... + v(5g+4) for
// g = 0..floor(count/5) - 1; a remainder of 1 to 4 values is left out. count beyond the
// values raises the range error.
std::vector<double> five_year_groups(const std::vector<double>& values, int count);

struct AgePreference {
    int age;
    double index;
};

// Age preference index of every age x = 2..E-3 (E = last_zero_cutoff):
//   A(x) = 100 P(x) / [(P(x-2) + P(x-1) + P(x) + P(x+1) + P(x+2)) / 5],
// the age in percent of the mean of the five ages centred on it; 100 means no preference.
// Empty when E < 5. Five ages summing to 0 raise the division error.
std::vector<AgePreference> age_preference_index(const std::vector<double>& p);

// Whipple's index on ages 23 to 62 (single years, record x = age x):
//   WI = 100 S2 / (S1 / 5), S1 = sum of P(23..62), S2 = sum of P(25, 30, ..., 60);
// 100 for no heaping on digits 0 and 5, 500 when everyone reports such an age.
// Fewer than 63 values raise InputMessage "Not Enough Age Groups(<62)"; S1 = 0 the division
// error. (Shryock and Siegel, The Methods and Materials of Demography, 1976, p. 117.)
double whipple_index(const std::vector<double>& p);

// Myers' blended index on ages 10 to 89, in the program's variant: for each terminal digit d,
//   A(d) = sum of P(10+d, 20+d, ..., 80+d) (8 ages), B(d) = sum of P(20+d, ..., 80+d) (7 ages),
//   C(d) = (d+1) A(d) + (9-d) B(d), Share(d) = 100 C(d) / sum of C,
//   index = sum over d of |Share(d) - 10| / 2.
// The textbook method sums seven decades in both A and B, so a population without heaping
// gives 0 there; with the first sum over eight decades a flat population gives about 1.66.
// Fewer than 90 values raise InputMessage "Not Enough Age Groups(<89)"; a zero total the
// division error.
double myers_index(const std::vector<double>& p);

// Age accuracy index over the five-year groups 0..14 (ages 0 to 74):
//   R(j) = 300 g(j) / (g(j-1) + g(j) + g(j+1)), j = 1..13;  index = sum of |R(j) - 100| / 13.
// With more than 25 values the values are single years and are regrouped into whole five-year
// groups; with 25 or fewer they are the groups. Fewer than 15 groups raise InputMessage
// "Not Enough Age Groups(<75)"; three groups summing to 0 the division error.
// The program's own variant of the age-ratio score (the UN score divides by the two neighbours
// only, 200 g(j) / (g(j-1) + g(j+1))).
double age_accuracy_index(const std::vector<double>& p);

// United Nations age-sex accuracy index of male and female populations M(x), F(x):
//   E = the index of the last record where M or F equals -1 exactly (the count when none);
//   with 25 records or more the first E values of each sex are regrouped into whole five-year
//   groups (E becomes the group count), with fewer the first E records are the groups;
//   SR(g) = 100 M(g) / F(g); SRS = sum of |SR(g) - SR(g+1)|, g = 0..E-2, / (E - 1);
//   MAR(g) = 200 M(g) / (M(g-1) + M(g+1)), FAR likewise, g = 1..E-2;
//   MARS = sum of |MAR(g) - 100| / (E - 2), FARS likewise;
//   index = 3 SRS + MARS + FARS.
// Every group enters, the open last one included (the published method stops below 75).
// Fewer than 3 groups raise InputMessage "Not Enough Age Groups(<3)"; a female group of 0 or
// two zero neighbours the division error. M and F must be as long as each other.
double un_age_sex_index(const std::vector<double>& male, const std::vector<double>& female);

// What the index result window shows: its lines and the ranges read as good, acceptable and
// not acceptable. Values are written with the pattern "#####.##".
struct IndexReport {
    std::vector<std::string> lines;
    std::string good;
    std::string acceptable;
    std::string not_acceptable;
};

IndexReport age_preference_report(const std::vector<double>& p);
IndexReport whipple_report(const std::vector<double>& p);
IndexReport myers_report(const std::vector<double>& p);
IndexReport age_accuracy_report(const std::vector<double>& p);
IndexReport un_age_sex_report(const std::vector<double>& male, const std::vector<double>& female);

// The pattern of every index value.
inline constexpr const char* index_pattern = "#####.##";

}  // namespace vantelo::analysis
