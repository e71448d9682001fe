// The font dialog that holds a colour beside the font.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontDialog>

#include "platform/ui/font_colour_dialog.h"

using vantelo::ui::FontColourDialog;
using vantelo::ui::FontDialogState;

TEST(FontColourDialog, StartsFromItsStateAndWritesTheChoiceBack)
{
    FontDialogState state;
    state.font = QFont(QStringLiteral("DejaVu Sans"), 10);
    state.color = QColor(0, 0, 0);
    FontColourDialog dlg(state);
    EXPECT_EQ(dlg.selected_colour(), QColor(0, 0, 0));
    EXPECT_EQ(dlg.selected_font().pointSize(), 10);

    QFont chosen = dlg.selected_font();
    chosen.setPointSize(20);
    chosen.setBold(true);
    chosen.setUnderline(true);
    dlg.set_selected_font(chosen);
    dlg.colour_box->setCurrentIndex(dlg.colour_box->findText(QStringLiteral("红色")));
    dlg.write_back(state);
    EXPECT_EQ(state.font.pointSize(), 20);
    EXPECT_TRUE(state.font.bold());
    EXPECT_TRUE(state.font.underline());
    EXPECT_EQ(state.color, QColor(255, 0, 0));
}

TEST(FontColourDialog, AColourOutsideTheListIsAddedAndKept)
{
    FontDialogState state;
    state.color = QColor(12, 34, 56);
    FontColourDialog dlg(state);
    EXPECT_EQ(dlg.selected_colour(), QColor(12, 34, 56));
    FontDialogState out;
    dlg.write_back(out);
    EXPECT_EQ(out.color, QColor(12, 34, 56));
}
