#pragma once
// The main window's 图形 commands: 线型图, 垂直直方图, 水平直方图, 点状图, 面积图, 散点图 and
// 年龄结构图. Each creates a new dialog on the current table (its field list filled with the
// table's field names, its display options at their first items) and the main window shows
// it modally. The line, scatter and pyramid dialogs belong to the main window; the bar,
// horizontal bar, point and area dialogs to the application.
namespace vantelo::charts {

// Registers the seven commands with the main window (items "Line1", "Bar1", "HorizBar1",
// "Point1", "Area1", "Scator1", "AgePyrimider1").
void register_chart_dialogs();

}  // namespace vantelo::charts
