#include "charts/chart_launchers.h"

#include "charts/Age_stru_frm1.h"
#include "charts/Area_def_frm1.h"
#include "charts/Bar_def_frm1.h"
#include "charts/Horiz_def_frm1.h"
#include "charts/Line_def_frm1.h"
#include "charts/Piont_def_frm1.h"
#include "charts/scatter_Frm1.h"
#include "platform/ui/app_windows.h"
#include "shell/launch.h"
#include "shell/menu.h"

namespace vantelo::charts {
namespace {

// A new dialog on the main window's table: owned by the main window, or by the application
// when owner is null; its field list holds the table's field names.
template <class W>
W* new_dialog(shell::Tquilta& main, QWidget* owner, W*& newest)
{
    W* w = shell::new_window(owner, newest);
    if (!owner) ui::keep_until_exit(w);
    w->fill_fields(main.field_names());
    return w;
}

template <class W>
void register_definition(const QString& item, bool owned_by_main, bool has_combination, W*& newest)
{
    shell::register_window(item, [owned_by_main, has_combination, &newest](shell::Tquilta& main) -> QWidget* {
        W* w = new_dialog(main, owned_by_main ? static_cast<QWidget*>(&main) : nullptr, newest);
        set_radio_index(w->RadioGroup1, 0);
        if constexpr (requires { &W::RadioGroup2; }) {
            if (has_combination) set_radio_index(w->RadioGroup2, 0);
        }
        return w;
    });
}

}  // namespace

void register_chart_dialogs()
{
    register_definition(QStringLiteral("Line1"), true, false, Line_def_frm);
    register_definition(QStringLiteral("Bar1"), false, true, Bar_def_frm);
    register_definition(QStringLiteral("HorizBar1"), false, true, Horiz_def_frm);
    register_definition(QStringLiteral("Point1"), false, false, Point_def_frm);
    register_definition(QStringLiteral("Area1"), false, true, Area_def_frm);
    shell::register_window(QStringLiteral("Scator1"), [](shell::Tquilta& main) -> QWidget* {
        Tscatter_Frm* w = new_dialog(main, &main, scatter_Frm);
        set_radio_index(w->RadioGroup1, 0);
        return w;
    });
    shell::register_window(QStringLiteral("AgePyrimider1"), [](shell::Tquilta& main) -> QWidget* {
        return new_dialog(main, &main, Age_stru_frm);
    });
}

}  // namespace vantelo::charts
