#include "analysis/result_column_launchers.h"

#include "analysis/pop_stru_end_Frm1.h"
#include "analysis/standardization_Frm1.h"
#include "shell/launch.h"
#include "shell/menu.h"

namespace vantelo::analysis {

Tpop_stru_end_Frm* new_year_end_form(QWidget* owner, const QStringList& field_names)
{
    Tpop_stru_end_Frm* form = shell::new_window(owner, pop_stru_end_Frm);
    form->fill_field_lists(field_names);
    return form;
}

Tstandardization_Frm* new_standardization_form(QWidget* owner, const QStringList& field_names)
{
    Tstandardization_Frm* form = shell::new_window(owner, standardization_Frm);
    form->fill_field_lists(field_names);
    return form;
}

void register_year_end_and_standardization()
{
    shell::register_window(QStringLiteral("N7"), [](shell::Tquilta& main) -> QWidget* {
        return new_year_end_form(&main, main.field_names());
    });
    shell::register_window(QStringLiteral("N12"), [](shell::Tquilta& main) -> QWidget* {
        return new_standardization_form(&main, main.field_names());
    });
}

}  // namespace vantelo::analysis
