// Indices of age reporting: each on populations whose answer is known by hand, and each refusal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/engine/age_indices.h"
#include "platform/core/errors.h"
#include "platform/core/input_message.h"

using namespace vantelo;
using namespace vantelo::analysis;

namespace {

std::vector<double> flat(int n, double v = 1000) { return std::vector<double>(static_cast<size_t>(n), v); }

// 1000 at every age, twice that at the ages ending in the given digits.
std::vector<double> heaped(int n, std::initializer_list<int> digits)
{
    std::vector<double> p = flat(n);
    for (int x = 0; x < n; ++x)
        for (int d : digits)
            if (x % 10 == d) p[static_cast<size_t>(x)] = 2000;
    return p;
}

void expect_ranges(const IndexReport& r, const char* good, const char* acceptable, const char* not_acceptable)
{
    EXPECT_EQ(r.good, good);
    EXPECT_EQ(r.acceptable, acceptable);
    EXPECT_EQ(r.not_acceptable, not_acceptable);
}

std::string message_of(const std::function<void()>& f)
{
    try {
        f();
    } catch (const InputMessage& e) {
        return e.what();
    }
    return "(no message)";
}

}  // namespace

TEST(AgePreference, FlatPopulationIsOneHundredEverywhere)
{
    const auto lines = age_preference_index(flat(101));
    ASSERT_EQ(lines.size(), 97u);  // ages 2 to 98
    EXPECT_EQ(lines.front().age, 2);
    EXPECT_EQ(lines.back().age, 98);
    for (const auto& a : lines) EXPECT_DOUBLE_EQ(a.index, 100.0);
}

TEST(AgePreference, HeapedOnZeroAndFive)
{
    // Around age 10 the five ages 8..12 hold 4 x 1000 + 2000 = 6000, a mean of 1200.
    const auto lines = age_preference_index(heaped(101, {0, 5}));
    auto index_at = [&](int age) { return lines.at(static_cast<size_t>(age - 2)).index; };
    EXPECT_NEAR(index_at(10), 100.0 * 2000 / 1200, 1e-12);
    EXPECT_NEAR(index_at(11), 100.0 * 1000 / 1200, 1e-12);
    EXPECT_NEAR(index_at(15), 100.0 * 2000 / 1200, 1e-12);
    const IndexReport r = age_preference_report(heaped(101, {0, 5}));
    EXPECT_EQ(r.lines.at(8), "10  166.67");
    EXPECT_EQ(r.lines.at(9), "11  83.33");
    expect_ranges(r, "Near 100", "<110", ">110");
}

TEST(AgePreference, CutOffAtTheLastExactZero)
{
    std::vector<double> p = flat(101);
    p[50] = 0;
    EXPECT_EQ(last_zero_cutoff(p), 50);
    EXPECT_EQ(age_preference_index(p).back().age, 47);

    p[20] = 0;  // an earlier zero does not move the cut-off
    EXPECT_EQ(last_zero_cutoff(p), 50);

    std::vector<double> last = flat(101);
    last[100] = 0;
    EXPECT_EQ(age_preference_index(last).back().age, 97);

    std::vector<double> negative = flat(30);
    negative[25] = -5;  // only an exact zero cuts
    EXPECT_EQ(last_zero_cutoff(negative), 30);

    std::vector<double> early = flat(30);
    early[4] = 0;
    EXPECT_TRUE(age_preference_index(early).empty());
    EXPECT_TRUE(age_preference_report(early).lines.empty());
}

TEST(AgePreference, FiveZeroAgesRaise)
{
    std::vector<double> p = flat(40);
    for (int x = 10; x <= 16; ++x) p[static_cast<size_t>(x)] = 0;
    p[39] = 0;  // cut-off beyond them
    EXPECT_THROW(age_preference_index(p), Error);
}

// Whipple's index runs from 100 (no preference for 0 and 5) to 500 (every age reported ends in
// 0 or 5): Shryock and Siegel, The Methods and Materials of Demography (1976).
TEST(Whipple, PublishedBoundsAndAHeapedPopulation)
{
    EXPECT_DOUBLE_EQ(whipple_index(flat(63)), 100.0);

    std::vector<double> only_0_5(101, 0.0);
    for (int x = 0; x < 101; x += 5) only_0_5[static_cast<size_t>(x)] = 1234;
    EXPECT_DOUBLE_EQ(whipple_index(only_0_5), 500.0);

    // Twice the people at 0 and 5: S2 = 8 x 2000, S1 = 32 x 1000 + 8 x 2000 = 48000.
    EXPECT_NEAR(whipple_index(heaped(101, {0, 5})), 100.0 * 16000 / 9600, 1e-12);
    const IndexReport r = whipple_report(heaped(101, {0, 5}));
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(r.lines[0], "WI  166.67");
    expect_ranges(r, "100-110", "110-130", ">130");
}

TEST(Whipple, NeedsAge62)
{
    EXPECT_EQ(message_of([] { whipple_index(flat(62)); }), "Not Enough Age Groups(<62)");
    EXPECT_EQ(message_of([] { whipple_index(flat(10)); }), "Not Enough Age Groups(<62)");
    EXPECT_EQ(message_of([] { whipple_index(flat(63)); }), "(no message)");
    EXPECT_THROW(whipple_index(flat(63, 0)), Error);
}

TEST(Myers, FlatAndHeapedPopulations)
{
    // Flat: C(d) = 8000 (d+1) + 7000 (9-d) = 71000 + 1000 d, total 755000, and
    // Share(d) - 10 = (100 d - 450)/755, so the index is (2500/755)/2.
    EXPECT_NEAR(myers_index(flat(90)), 2500.0 / 755 / 2, 1e-12);
    // Heaped on 0: C(0) = 8 x 2000 + 9 x 7 x 2000 = 142000, total 826000; Share(0) - 10 and the
    // sum of the other nine deviations are both 5940/826, so the index is 5940/826.
    EXPECT_NEAR(myers_index(heaped(90, {0})), 5940.0 / 826, 1e-12);
    const IndexReport r = myers_report(heaped(101, {0}));
    EXPECT_EQ(r.lines.at(0), "Mayer_index  7.19");
    expect_ranges(r, "<5", "5-10", ">10");
}

TEST(Myers, NeedsAge89)
{
    EXPECT_EQ(message_of([] { myers_index(flat(89)); }), "Not Enough Age Groups(<89)");
    EXPECT_EQ(message_of([] { myers_index(flat(90)); }), "(no message)");
    EXPECT_THROW(myers_index(flat(90, 0)), Error);
}

TEST(FiveYearGroups, WholeGroupsOnly)
{
    std::vector<double> v(13);
    for (int i = 0; i < 13; ++i) v[static_cast<size_t>(i)] = i;
    EXPECT_EQ(five_year_groups(v, 13), (std::vector<double>{10, 35}));
    EXPECT_EQ(five_year_groups(v, 4), std::vector<double>{});
    EXPECT_THROW(five_year_groups(v, 14), RangeError);
}

TEST(AgeAccuracy, FlatAndOneHeapedGroup)
{
    const IndexReport flat_report = age_accuracy_report(flat(101));
    EXPECT_EQ(flat_report.lines.at(0), "ARCerret_Index   ");  // 0 writes nothing
    expect_ranges(flat_report, "<3", "3-7", ">7");

    // Fifteen groups of 5000 with 8000 in group 7: R(6) = R(8) = 300 x 5000/18000,
    // R(7) = 300 x 8000/18000; (16.67 + 33.33 + 16.67)/13.
    std::vector<double> groups(15, 5000);
    groups[7] = 8000;
    const double expected = (2 * (100 - 1500000.0 / 18000) + (2400000.0 / 18000 - 100)) / 13;
    EXPECT_NEAR(age_accuracy_index(groups), expected, 1e-12);
    // The same as single years: 1600 a year in ages 35-39.
    std::vector<double> single = flat(75);
    for (int x = 35; x < 40; ++x) single[static_cast<size_t>(x)] = 1600;
    EXPECT_NEAR(age_accuracy_index(single), expected, 1e-12);
}

TEST(AgeAccuracy, GroupingAndRefusals)
{
    // 25 records are groups as they are; 26 are single years (5 groups: refused).
    std::vector<double> groups(25, 5000);
    groups[20] = 1;  // beyond group 14: no effect
    EXPECT_DOUBLE_EQ(age_accuracy_index(groups), 0.0);
    EXPECT_EQ(message_of([] { age_accuracy_index(flat(26)); }), "Not Enough Age Groups(<75)");
    EXPECT_EQ(message_of([] { age_accuracy_index(flat(14)); }), "Not Enough Age Groups(<75)");
    EXPECT_EQ(message_of([] { age_accuracy_index(flat(74)); }), "Not Enough Age Groups(<75)");
    // 78 or 79 single years: 15 whole groups; the remainder is not read.
    EXPECT_DOUBLE_EQ(age_accuracy_index(flat(78)), 0.0);
    EXPECT_DOUBLE_EQ(age_accuracy_index(flat(79)), 0.0);
    std::vector<double> zeros(15, 0);
    EXPECT_THROW(age_accuracy_index(zeros), Error);
}

TEST(UnAgeSex, HandWorkedThreeGroups)
{
    // SR = 100, 120, 100: SRS = (20 + 20)/2; MAR(1) = 200 x 120/200 = 120; FAR(1) = 100.
    EXPECT_NEAR(un_age_sex_index({100, 120, 100}, {100, 100, 100}), 3 * 20.0 + 20.0, 1e-12);
    const IndexReport r = un_age_sex_report({100, 120, 100}, {100, 100, 100});
    EXPECT_EQ(r.lines.at(0), "联合国分性别指数:   80");
    expect_ranges(r, "<20", "20-40", ">40");
}

TEST(UnAgeSex, EqualSexesScoreOnAgeRatiosAlone)
{
    // 24 records: no regrouping. Group 5 doubled: MAR(4) = MAR(6) = 200 x 1000/3000,
    // MAR(5) = 200 x 2000/2000; each sex (2 x 33.33 + 100)/22.
    std::vector<double> p = flat(24);
    p[5] = 2000;
    const double score = (2 * (100 - 200000.0 / 3000) + 100) / 22;
    EXPECT_NEAR(un_age_sex_index(p, p), 2 * score, 1e-12);
}

TEST(UnAgeSex, RegroupingAndCutOff)
{
    // 101 single ages: 20 groups, age 100 unused.
    std::vector<double> m = flat(101), f = flat(101);
    m[100] = 99999;
    EXPECT_DOUBLE_EQ(un_age_sex_index(m, f), 0.0);

    // 25 records: 5 groups. The male group 2 (ages 10-14) 20 % higher:
    // SR = 100, 100, 120, 100, 100 -> SRS = 40/4; MAR(1) = MAR(3) = 200 x 5000/11000,
    // MAR(2) = 120 -> MARS = (2 x 9.0909 + 20)/3.
    std::vector<double> m25 = flat(25), f25 = flat(25);
    for (int x = 10; x < 15; ++x) m25[static_cast<size_t>(x)] = 1200;
    const double mars = (2 * (100 - 1000000.0 / 11000) + 20) / 3;
    EXPECT_NEAR(un_age_sex_index(m25, f25), 3 * 10.0 + mars, 1e-12);

    // A -1 in the female field at age 85: ages 0-84, 17 groups; what follows is unused.
    std::vector<double> mf = flat(101), ff = flat(101);
    ff[85] = -1;
    for (int x = 86; x < 101; ++x) mf[static_cast<size_t>(x)] = 5;
    EXPECT_DOUBLE_EQ(un_age_sex_index(mf, ff), 0.0);
    // Cut-off at 87: 17 whole groups, ages 85 and 86 left out.
    std::vector<double> f87 = flat(101);
    f87[87] = -1;
    EXPECT_DOUBLE_EQ(un_age_sex_index(mf, f87), 0.0);
}

TEST(UnAgeSex, TooFewGroupsAreRefused)
{
    const std::string msg = "Not Enough Age Groups(<3)";
    EXPECT_EQ(message_of([] { un_age_sex_index({}, {}); }), msg);
    EXPECT_EQ(message_of([] { un_age_sex_index({-1, 5, 5}, {5, 5, 5}); }), msg);
    EXPECT_EQ(message_of([] { un_age_sex_index({1, 2}, {1, 2}); }), msg);
    std::vector<double> m = flat(30), f = flat(30);
    f[14] = -1;  // 14 ages: 2 groups
    EXPECT_EQ(message_of([&] { un_age_sex_index(m, f); }), msg);
    EXPECT_THROW(un_age_sex_index({1, 1, 1}, {1, 0, 1}), ZeroDivideError);
}
