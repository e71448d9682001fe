#include "analysis/analysis_launchers.h"

#include "analysis/Data_quality_frm1.h"
#include "analysis/Life_table_frm1.h"
#include "analysis/UN_sex_age1.h"
#include "shell/launch.h"
#include "shell/menu.h"

namespace vantelo::analysis {

void register_analysis_windows()
{
    // The life-table form belongs to the main window; the two index forms to the application.
    shell::register_window(QStringLiteral("LifeTable1"), [](shell::Tquilta& main) -> QWidget* {
        TLife_table_frm* form = shell::new_window(&main, Life_table_frm);
        form->fill_field_list(main.field_names());
        return form;
    });
    shell::register_window(QStringLiteral("N3"), [](shell::Tquilta& main) -> QWidget* {
        TData_quality_frm* form = shell::new_window(static_cast<QWidget*>(nullptr), Data_quality_frm);
        form->fill_field_list(main.field_names());
        return form;
    });
    shell::register_window(QStringLiteral("N4"), [](shell::Tquilta& main) -> QWidget* {
        TUN_sex_age_frm* form = shell::new_window(static_cast<QWidget*>(nullptr), UN_sex_age_frm);
        form->fill_field_list(main.field_names());
        return form;
    });
}

}  // namespace vantelo::analysis
