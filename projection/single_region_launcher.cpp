#include "projection/single_region_launcher.h"

#include "projection/Single_Region_frm1.h"
#include "shell/launch.h"
#include "shell/menu.h"

namespace vantelo::projection {

TSingle_Region_frm* new_single_region_form(QWidget* owner, const QStringList& field_names)
{
    TSingle_Region_frm* form = shell::new_window(owner, Single_Region_frm);
    form->fill_field_lists(field_names);
    ProjectionWorkspace& ws = projection_workspace();
    form->lay_out_grids(ws.proj_year_count);
    ws.from_wizard = 0;
    ws.with_floating_pop = 0;
    return form;
}

void register_single_region_projection()
{
    shell::register_window(QStringLiteral("Projection1"), [](shell::Tquilta& main) -> QWidget* {
        return new_single_region_form(&main, main.field_names());
    });
}

}  // namespace vantelo::projection
