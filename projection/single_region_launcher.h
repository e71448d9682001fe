#pragma once
// 人口分析 > 人口预测 > 单区域人口预测: the main window's command that opens a new projection form
// on the current table.
#include <QStringList>

class QWidget;

namespace vantelo {
class TSingle_Region_frm;
}

namespace vantelo::projection {

// A new projection form owned by `owner`, made Single_Region_frm: its field lists get the
// table's field names, its grids are laid out for the projected years the workspace holds now
// (`proj_year_count`, whatever set it last: 0 before any projection), and it counts as not
// filled by the wizard and without floating population. The caller shows it modally.
TSingle_Region_frm* new_single_region_form(QWidget* owner, const QStringList& field_names);

// Registers the command with the main window (its item "Projection1"); the main window makes
// the table check and shows the form modally. The projection windows then read the main
// window's Table1 and colour its DBGrid1.
void register_single_region_projection();

}  // namespace vantelo::projection
