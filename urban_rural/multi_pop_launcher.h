#pragma once
// 人口分析 > 人口预测 > 分城乡人口预测: the main window's command that opens a new urban/rural
// projection form on the current table.
#include <QStringList>

class QWidget;

namespace vantelo {
class Tmulti_pop_Frm;
}

namespace vantelo::urban_rural {

// A new urban/rural form owned by `owner`, made multi_pop_Frm: its ten field lists get the
// table's field names, proj_year_count := end year - base year of the form (10 with its
// defaults), and its grids are laid out for those years with "0.0" in every value cell.
// The caller shows it modally.
Tmulti_pop_Frm* new_multi_pop_form(QWidget* owner, const QStringList& field_names);

// Registers the command with the main window (its item "N6").
void register_urban_rural_projection();

}  // namespace vantelo::urban_rural
