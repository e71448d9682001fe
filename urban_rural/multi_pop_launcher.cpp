#include "urban_rural/multi_pop_launcher.h"

#include "platform/core/checked.h"
#include "projection/engine/workspace.h"
#include "shell/launch.h"
#include "shell/menu.h"
#include "urban_rural/engine/urban_workspace.h"
#include "urban_rural/multi_pop_Frm1.h"

namespace vantelo::urban_rural {

Tmulti_pop_Frm* new_multi_pop_form(QWidget* owner, const QStringList& field_names)
{
    Tmulti_pop_Frm* form = shell::new_window(owner, multi_pop_Frm);
    form->fill_field_lists(field_names);
    const int years = checked_sub(form->end_year(), form->base_year());
    projection::projection_workspace().proj_year_count = years;
    urban_workspace().urban.proj_year_count = years;
    form->lay_out_grids(years);
    return form;
}

void register_urban_rural_projection()
{
    shell::register_window(QStringLiteral("N6"), [](shell::Tquilta& main) -> QWidget* {
        return new_multi_pop_form(&main, main.field_names());
    });
}

}  // namespace vantelo::urban_rural
