#pragma once
// 人口分析 > 生命表 and 数据质量评价 > 年龄结构法 / 联合国法: the main window's commands that open the
// life-table form, the data-quality form and the UN age-sex form on the current table.
namespace vantelo::analysis {

// Registers the three commands with the main window (items "LifeTable1", "N3" and "N4"); the
// main window makes the table check and shows the form modally.
void register_analysis_windows();

}  // namespace vantelo::analysis
