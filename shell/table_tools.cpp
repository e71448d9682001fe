#include "shell/table_tools.h"

#include "shell/About_Frm1.h"
#include "shell/Convert_table.h"
#include "shell/New_Table.h"
#include "shell/Table_Restructure.h"
#include "shell/Table_info.h"
#include "shell/compute_Frm1.h"

namespace vantelo::shell {

void register_table_tools()
{
    register_new_table();
    register_table_info();
    register_table_restructure();
    register_convert_table();
    register_compute();
    register_about();
}

}  // namespace vantelo::shell
