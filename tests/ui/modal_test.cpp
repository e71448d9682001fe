// Showing windows through the one seam: what a runner receives, and the program's own
// non-modal show.
#include <gtest/gtest.h>

#include <QDialog>
#include <QWidget>
#include <vector>

#include "platform/ui/modal.h"

using namespace vantelo::ui;

namespace {

struct Shown {
    QWidget* window;
    bool modal;
};

TEST(WindowSeam, TheRunnerReceivesEveryWindowWithItsModalityAndGivesTheResult)
{
    std::vector<Shown> shown;
    ScopedWindowRunner runner([&](QWidget* w, bool modal) {
        shown.push_back({w, modal});
        return modal ? static_cast<int>(QDialog::Accepted) : 0;
    });
    QDialog dialog;
    QWidget page;
    EXPECT_EQ(show_modal(dialog), QDialog::Accepted);
    EXPECT_EQ(show_window(&page, false), 0);
    EXPECT_EQ(show_window(nullptr, true), 0);  // nothing to show: the runner is not called
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].window, &dialog);
    EXPECT_TRUE(shown[0].modal);
    EXPECT_EQ(shown[1].window, &page);
    EXPECT_FALSE(shown[1].modal);
    EXPECT_FALSE(dialog.isVisible());  // the runner, not the dialog's loop, handled it
}

TEST(WindowSeam, ARunnerMayShowFurtherWindowsAndReplaceItselfWhileItRuns)
{
    QDialog outer;
    QDialog inner;
    std::vector<QWidget*> shown;
    set_window_runner([&](QWidget* w, bool) {
        shown.push_back(w);
        if (w == &outer) {
            show_modal(inner);  // a window opened from inside the first one
            set_window_runner([&](QWidget* later, bool) {
                shown.push_back(later);
                return 7;
            });
            return 1;  // this runner's own state is still intact
        }
        return 2;
    });
    EXPECT_EQ(show_modal(outer), 1);
    EXPECT_EQ(show_modal(inner), 7);
    set_window_runner({});
    EXPECT_EQ(shown, (std::vector<QWidget*>{&outer, &inner, &inner}));
}

TEST(WindowSeam, WithoutARunnerANonModalWindowIsShownAndTheCallReturnsAtOnce)
{
    QWidget page;
    EXPECT_EQ(show_window(&page, false), 0);
    EXPECT_TRUE(page.isVisible());
}

}  // namespace
