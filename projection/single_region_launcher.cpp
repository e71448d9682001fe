#include "projection/single_region_launcher.h"

#include "platform/ui/services.h"
#include "projection/Single_Region_frm1.h"
#include "projection/modal.h"
#include "projection/projection_links.h"

namespace vantelo::projection {

void Projection1Click(QWidget* main_window, bool table_open)
{
    if (!table_open) {
        ui::services().information(main_window, QStringLiteral("没有打开的数据表!请先打开数据表."));
        return;
    }
    auto* form = new TSingle_Region_frm(main_window);
    Single_Region_frm = form;
    form->fill_field_lists(main_table_field_names());
    ProjectionWorkspace& ws = projection_workspace();
    form->lay_out_grids(ws.proj_year_count);
    ws.from_wizard = 0;
    ws.with_floating_pop = 0;
    show_modal(form);
}

}  // namespace vantelo::projection
