// The year listing and the age-structure table with a viewer's own series and spacing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "projection/engine/report_lines.h"

using namespace vantelo;
using namespace vantelo::projection;

TEST(ReportLines, YearListingWithEachViewersGap)
{
    const std::vector<std::string> values{"12.5", "13", "-1"};
    std::vector<std::string> out{"总人口数"};
    year_listing(2001, 3, urban_rural_year_gap, [&](int i) { return values.at(static_cast<size_t>(i)); }, out);
    EXPECT_EQ(out, (std::vector<std::string>{"总人口数", "2001   12.5", "2002   13", "2003   -1"}));
    out.clear();
    year_listing(2001, 1, single_region_year_gap, [&](int i) { return values.at(static_cast<size_t>(i)); }, out);
    EXPECT_EQ(out, std::vector<std::string>{"2001    12.5"});

    // A failing value ends the listing with the lines before it kept.
    out.clear();
    EXPECT_THROW(year_listing(2001, 5, "   ", [&](int i) { return values.at(static_cast<size_t>(i)); }, out),
                 std::out_of_range);
    EXPECT_EQ(out.size(), 3u);
    out.clear();
    year_listing(2001, 0, "   ", [](int) { return std::string("x"); }, out);
    EXPECT_TRUE(out.empty());
}

TEST(ReportLines, AgeStructureRoundsHalvesToEven)
{
    // The urban/rural viewer passes the sums of its two regions.
    const std::vector<double> rural{10.5, 2.25}, urban{1.0, 0.25};
    std::vector<std::string> out;
    age_structure_listing(
        2010, 2, [&](int x) { return static_cast<real>(rural[x]) + urban[x]; },
        [&](int x) { return static_cast<real>(rural[x]) * 2 + 0.5; }, out);
    // male: 11.5 -> 12, 2.5 -> 2; female: 21.5 -> 22, 5 -> 5
    EXPECT_EQ(out, (std::vector<std::string>{"2010年 年龄结构", "年龄  男性        女性", "0  12   22", "1  2   5"}));
}
