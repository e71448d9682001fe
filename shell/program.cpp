#include "shell/program.h"

#include <QApplication>

#include "analysis/analysis_launchers.h"
#include "analysis/result_column_launchers.h"
#include "charts/chart_launchers.h"
#include "planning/Target_Planning_Unit1.h"
#include "projection/define_wizard_frm1.h"
#include "projection/single_region_launcher.h"
#include "shell/fonts.h"
#include "shell/table_tools.h"
#include "urban_rural/multi_pop_launcher.h"

namespace vantelo {
namespace {

// Command windows register their launchers with the main window here, before it is built:
// vantelo::shell::register_window("Table_info", ...).
void register_windows()
{
    projection::register_single_region_projection();
    charts::register_chart_dialogs();
    projection::register_projection_wizard();
    shell::register_table_tools();
    analysis::register_analysis_windows();
    urban_rural::register_urban_rural_projection();
    analysis::register_year_end_and_standardization();
    register_target_planning();
}

}  // namespace

void set_up_program()
{
    QApplication::setApplicationName(QStringLiteral("Vantelo"));
    shell::install_font_substitutions();
    register_windows();
}

}  // namespace vantelo
