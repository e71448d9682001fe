// The result viewer's chart windows: new chart windows owned by the viewer, and the pyramid
// the chart window's stepping buttons read (the workspace and the projection form's base year).
#include <QFrame>
#include <QPushButton>

#include "charts/Graph_1.h"
#include "projection/Single_Region_frm1.h"
#include "projection/engine/workspace.h"
#include "platform/ui/windows.h"
#include "projection/projection_links.h"

namespace vantelo::projection {
namespace {

class WorkspacePyramid : public charts::PyramidSource {
public:
    int age_group_count() const override { return projection_workspace().age_group_count; }
    int proj_year_count() const override { return projection_workspace().proj_year_count; }
    int base_year() const override { return Single_Region_frm ? Single_Region_frm->base_year() : 0; }
    double male_share(int age, int year) const override { return at(at(projection_workspace().res_pyramid_male, age), year); }
    double female_share(int age, int year) const override
    {
        return at(at(projection_workspace().res_pyramid_female, age), year);
    }
};

}  // namespace

void install_workspace_pyramid()
{
    static WorkspacePyramid source;
    charts::set_pyramid_source(&source);
}

ChartWindowOps new_chart_window(QWidget* owner)
{
    install_workspace_pyramid();
    auto* g = ui::new_window(owner, charts::Graph);
    g->setWindowState(g->windowState() | Qt::WindowMaximized);
    ChartWindowOps ops;
    ops.chart = &g->chart();
    ops.show = [g] { ui::show_exposed(g); };
    ops.repaint_now = [g] { ui::paint_now({g->Panel1, g->DBChart1}); };
    ops.show_pyramid_buttons = [g] {
        g->Button1->setVisible(true);
        g->Button2->setVisible(true);
    };
    return ops;
}

void set_pyramid_year_cursor(int year) { charts::pyramid_year_cursor = year; }

}  // namespace vantelo::projection
