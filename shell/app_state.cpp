#include "shell/app_state.h"

namespace vantelo::shell {

void reset_app_state()
{
    current_table_file.clear();
    table_open = 0;
    start_dir.clear();
    help_file.clear();
    structure_edit_mode = 0;
    un_index_mode = 0;
    old_field_count = 0;
    old_structure.clear();
    new_structure.clear();
}

}  // namespace vantelo::shell
