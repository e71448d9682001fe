#pragma once
// The program-wide state kept with the main window: which table is current, where the program
// started, and the counters and structures the command windows hand to each other.
#include <QString>
#include <vector>

#include "platform/db/table_data.h"

namespace vantelo::shell {

// One field of a table structure being restructured: the row of the structure grid.
struct Table_structure_info {
    QString FieldName;
    QString FieldType;
    int Width = 0;
    int State = 0;
};

// One field of a table to be created through Table2's field definitions.
struct db_field_define {
    QString Name;
    db::FieldType DataType = db::FieldType::String;
    int Size = 0;
    bool Required = false;
};

// Full path of the table file last opened or created; Table1's table name is set from it.
inline QString current_table_file;
// 1 while a table is open in Table1, else 0.
inline int table_open = 0;
// The current directory when the main window was created.
inline QString start_dir;
// The application's help file; Help > Contents sets it beside start_dir.
inline QString help_file;
// Which structure grid the field-type and width pop-ups write into: 1 new table, 2 restructure,
// 0 none.
inline int structure_edit_mode = 0;
// Mode of the UN age-sex form; 2 = the UN age-sex accuracy index.
inline int un_index_mode = 0;
// The structure before and after a restructure.
inline int old_field_count = 0;
inline std::vector<Table_structure_info> old_structure;
inline std::vector<Table_structure_info> new_structure;

// Puts every value above back to its start value (for tests that build several main windows).
void reset_app_state();

}  // namespace vantelo::shell
