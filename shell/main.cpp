#include "platform/ui/guard.h"
#include "shell/fonts.h"
#include "shell/menu.h"
#include "shell/startup.h"
#include "shell/table_tools.h"
#include "planning/Target_Planning_Unit1.h"
#include "projection/define_wizard_frm1.h"
#include "projection/single_region_launcher.h"
#include "charts/chart_launchers.h"
#include "analysis/analysis_launchers.h"
#include "urban_rural/multi_pop_launcher.h"
#include "analysis/result_column_launchers.h"

// Command windows register their launchers with the main window here, before it is built:
// vantelo::shell::register_window("Table_info", ...).
static void register_windows()
{
    vantelo::projection::register_single_region_projection();
    vantelo::charts::register_chart_dialogs();
    vantelo::projection::register_projection_wizard();
    vantelo::shell::register_table_tools();
    vantelo::analysis::register_analysis_windows();
    vantelo::urban_rural::register_urban_rural_projection();
    vantelo::analysis::register_year_end_and_standardization();
    vantelo::register_target_planning();
}

int main(int argc, char** argv)
{
    vantelo::ui::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantelo"));
    vantelo::shell::install_font_substitutions();
    register_windows();
    // The splash, then the main window and the message loop until it closes.
    return vantelo::shell::run_application([] { return new vantelo::shell::Tquilta; });
}
