#pragma once
// The table tools of the main window's menus: 新建 (with its tool button), 表结构, 修改表结构,
// 格式转换, 计算 and 关于.
namespace vantelo::shell {

// Registers their launchers with the main window.
void register_table_tools();

}  // namespace vantelo::shell
