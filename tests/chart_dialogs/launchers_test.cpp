// The 图形 menu: each command opens a new dialog on the current table with its defaults.
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>

#include "charts/Age_stru_frm1.h"
#include "charts/Area_def_frm1.h"
#include "charts/Bar_def_frm1.h"
#include "charts/Horiz_def_frm1.h"
#include "charts/Line_def_frm1.h"
#include "charts/Piont_def_frm1.h"
#include "charts/chart_launchers.h"
#include "charts/scatter_Frm1.h"
#include "dialog_fixture.h"
#include "shell/app_state.h"
#include "shell/launch.h"
#include "shell/menu.h"
#include "tests/common/text_fit.h"

using namespace vantelo;
using namespace vantelo::charts;
using namespace chart_dialog_tests;

namespace {

const char* const kItems[] = {"Line1", "Bar1", "HorizBar1", "Point1", "Area1", "Scator1", "AgePyrimider1"};

class ChartMenu : public DialogTest {
protected:
    ChartMenu()
    {
        shell::reset_app_state();
        register_chart_dialogs();
        main = std::make_unique<shell::Tquilta>();
        main->update_launchers();
    }
    ~ChartMenu() override
    {
        for (const char* item : kItems) shell::register_window(QString::fromLatin1(item), {});
        vantelo::ui::free_kept_windows();
        main.reset();
    }
    std::unique_ptr<shell::Tquilta> main;
};

TEST_F(ChartMenu, WithoutATableEachCommandOnlySaysSo)
{
    for (const char* item : kItems) {
        SCOPED_TRACE(item);
        QAction* a = main->menu_item(QString::fromLatin1(item));
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(a->isEnabled());
        services.clear();
        a->trigger();
        EXPECT_EQ(services.message_texts(), QStringList{shell::no_table_message});
        EXPECT_TRUE(shown.empty());
    }
}

TEST_F(ChartMenu, EachCommandOpensANewDialogWithItsOwnerAndDefaults)
{
    ChartTable data(three_rows());
    services.open_answers.push_back(QString::fromStdString(data.table.table_name()));
    main->Open1Click();
    ASSERT_TRUE(main->Table1.active());

    struct Case {
        const char* item;
        bool owned_by_main;
        int combination;  // RadioGroup2's item, -1 where there is none
    } cases[] = {{"Line1", true, -1},  {"Bar1", false, 0},   {"HorizBar1", false, 0}, {"Point1", false, -1},
                 {"Area1", false, 0},  {"Scator1", true, -1}, {"AgePyrimider1", true, -1}};
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.item);
        shown.clear();
        main->menu_item(QString::fromLatin1(tc.item))->trigger();
        ASSERT_EQ(shown.size(), 1u);
        QWidget* w = shown[0].window;
        EXPECT_TRUE(shown[0].modal);
        EXPECT_EQ(w->parentWidget(), tc.owned_by_main ? main.get() : nullptr);
        EXPECT_TRUE(w->isWindow());
        auto* fields = w->findChild<QListWidget*>("ListBox1");
        ASSERT_NE(fields, nullptr);
        EXPECT_EQ(items(fields), data.field_names());
        if (auto* g = w->findChild<QGroupBox*>("RadioGroup1")) EXPECT_EQ(radio_index(g), 0);
        if (tc.combination >= 0) EXPECT_EQ(radio_index(w->findChild<QGroupBox*>("RadioGroup2")), tc.combination);
    }
    // Each global names the newest dialog of its kind.
    EXPECT_NE(Line_def_frm, nullptr);
    EXPECT_NE(Bar_def_frm, nullptr);
    EXPECT_NE(Horiz_def_frm, nullptr);
    EXPECT_NE(Point_def_frm, nullptr);
    EXPECT_NE(Area_def_frm, nullptr);
    EXPECT_NE(scatter_Frm, nullptr);
    EXPECT_NE(Age_stru_frm, nullptr);
    // The pyramid dialog has no display group.
    EXPECT_EQ(Age_stru_frm->findChild<QGroupBox*>("RadioGroup1"), nullptr);
}

// Every caption, option and box of the chart dialogs shows its whole text at the dialog's size,
// in the dialog's own font.
TEST_F(ChartMenu, EveryCaptionShowsItsWholeText)
{
    ChartTable data(three_rows());
    services.open_answers.push_back(QString::fromStdString(data.table.table_name()));
    main->Open1Click();
    ASSERT_TRUE(main->Table1.active());
    for (const char* item : kItems) {
        SCOPED_TRACE(item);
        shown.clear();
        main->menu_item(QString::fromLatin1(item))->trigger();
        ASSERT_EQ(shown.size(), 1u);
        QWidget* w = shown[0].window;
        w->show();
        QCoreApplication::processEvents();
        const QStringList clipped = test_text_fit::clipped_texts(w);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join('\n').toStdString();
        w->hide();
    }
}

}  // namespace
