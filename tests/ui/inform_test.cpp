// Input errors shown as an information box through the seam.
#include <gtest/gtest.h>

#include "platform/core/checked.h"
#include "platform/ui/inform.h"
#include "platform/ui/scripted_services.h"

using namespace vantelo;

TEST(Inform, AnInputMessageEndsTheActionWithOneInformationBox)
{
    ui::ScopedScriptedServices seam;
    bool after = false;
    ui::informing(nullptr, [&] {
        throw InputMessage("数据格式不正确.");
        after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].kind, ui::ScriptedServices::Message::Information);
    EXPECT_EQ(seam.message_texts(), QStringList{QStringLiteral("数据格式不正确.")});

    ui::inform(nullptr, QStringLiteral("插值设定错误！请重新设定。"));
    EXPECT_EQ(seam.message_texts().size(), 2);
}

TEST(Inform, OtherErrorsPassOnAndAQuietActionShowsNothing)
{
    ui::ScopedScriptedServices seam;
    EXPECT_THROW(ui::informing(nullptr, [] { throw ZeroDivideError(); }), ZeroDivideError);
    int runs = 0;
    ui::informing(nullptr, [&] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(seam.messages.empty());
}
