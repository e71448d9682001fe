// The spin edit keeps typed values outside its range; the arrows step within it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "platform/ui/spin_edit.h"

using vantelo::ui::SpinEdit;

TEST(SpinEdit, TypedTextIsTheValueEvenOutsideTheRange)
{
    SpinEdit s;
    s.setRange(1, 40);
    s.setValue(4);
    EXPECT_EQ(s.value(), 4);
    struct Case {
        const char* typed;
        int value;
    } cases[] = {{"50", 50}, {"0", 0}, {"-7", -7}, {" 12 ", 12}, {"abc", 1}, {"", 1}, {"3.5", 1}, {"99999999999", 1}};
    for (const Case& c : cases) {
        s.set_text(QString::fromUtf8(c.typed));
        EXPECT_EQ(s.value(), c.value) << c.typed;
    }
}

TEST(SpinEdit, KeysTypeAnyTextAndArrowsStepWithinTheRange)
{
    SpinEdit s;
    s.setRange(1, 40);
    s.set_text("");
    for (QChar ch : QStringLiteral("55")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(&s, &press);
    }
    EXPECT_EQ(s.text(), "55");  // Qt's own spin box would refuse the second 5
    EXPECT_EQ(s.value(), 55);
    s.stepBy(1);
    EXPECT_EQ(s.value(), 40);
    s.setValue(1);
    s.stepBy(-1);
    EXPECT_EQ(s.value(), 1);
    s.stepBy(3);
    EXPECT_EQ(s.value(), 4);
}
