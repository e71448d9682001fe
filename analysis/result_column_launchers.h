#pragma once
// 人口分析 > 推算年末人口结构 (menu item N7) and 人口分析 > 人口数据标准化 (N12): the main window's
// commands that open the year-end estimate and the standardisation on the current table.
#include <QStringList>

class QWidget;

namespace vantelo {
class Tpop_stru_end_Frm;
class Tstandardization_Frm;
}  // namespace vantelo

namespace vantelo::analysis {

// New windows owned by `owner`, made the newest of their kind, their field lists filled with
// the table's field names. The caller shows them modally.
Tpop_stru_end_Frm* new_year_end_form(QWidget* owner, const QStringList& field_names);
Tstandardization_Frm* new_standardization_form(QWidget* owner, const QStringList& field_names);

// Registers both commands with the main window, which makes the table check and shows the
// window modally.
void register_year_end_and_standardization();

}  // namespace vantelo::analysis
