#pragma once
// 人口分析 > 人口预测 > 单区域人口预测: opens a new projection form on the current table.
class QWidget;

namespace vantelo::projection {

// Without an open table: the message "没有打开的数据表!请先打开数据表." and nothing else.
// Otherwise a new projection form owned by `main_window` becomes Single_Region_frm; its field
// lists get the current table's field names, its grids are laid out for the projected years
// that the workspace holds now (`proj_year_count`, whatever set it last), the form counts as
// not filled by the wizard and without floating population, and it is shown modally.
void Projection1Click(QWidget* main_window, bool table_open);

}  // namespace vantelo::projection
