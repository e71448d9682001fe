// Text on the coloured columns and field boxes stays readable.
#include <gtest/gtest.h>

#include "platform/ui/readable_text.h"

using namespace vantelo::ui;

TEST(ReadableText, ContrastRatioOfKnownPairs)
{
    // Black on white is 21:1, a colour on itself 1:1; pure blue on white about 8.59:1.
    EXPECT_NEAR(contrast_ratio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(contrast_ratio(QColor(0, 0, 255), QColor(0, 0, 255)), 1.0, 1e-12);
    EXPECT_NEAR(contrast_ratio(QColor(0, 0, 255), Qt::white), 8.59, 0.01);
}

TEST(ReadableText, EveryColumnColourGetsTextOfAtLeastFourAndAHalfToOne)
{
    const struct {
        const char* name;
        QColor background;
        QColor text;
    } cases[] = {
        {"blue", QColor(0, 0, 255), Qt::white},     {"teal", QColor(0, 128, 128), Qt::white},
        {"green", QColor(0, 128, 0), Qt::white},    {"red", QColor(255, 0, 0), Qt::black},
        {"yellow", QColor(255, 255, 0), Qt::black}, {"white", QColor(255, 255, 255), Qt::black},
        {"silver", QColor(192, 192, 192), Qt::black},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readable_text_colour(c.background), c.text);
        EXPECT_GE(contrast_ratio(c.background, readable_text_colour(c.background)), 4.5);
    }
}
