#include "projection/wizard_Frm3.h"

#include "platform/core/checked.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "platform/ui/modal.h"
#include "platform/ui/windows.h"
#include "projection/Single_Region_frm1.h"
#include "projection/engine/wizard_inputs.h"
#include "projection/string_grid.h"
#include "ui_wizard_Frm3.h"

namespace vantelo {

QPointer<Twizard_Frm03> wizard_Frm03;

using namespace projection;

namespace {
// Rows 1..35 hold ages 15..49, row 36 age 50.
constexpr int fertility_rows = 36;
// A file must give ages 15..49; age 50 may be left out.
constexpr int fertility_rows_required = 35;
}  // namespace

Twizard_Frm03::Twizard_Frm03(QWidget* parent) : WizardPage(parent), ui_(std::make_unique<Ui::Twizard_Frm03>())
{
    ui_->setupUi(this);
    ui_->StringGrid1->take_design_size();
    using F = Twizard_Frm03;
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &F::BitBtn1Click);
    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &F::BitBtn2Click);
    ui::connect_guarded(ui_->BitBtn3, &QPushButton::clicked, this, &F::BitBtn3Click);
    ui::connect_guarded(ui_->BitBtn5, &QPushButton::clicked, this, &F::BitBtn5Click);
    ui::centre_on_screen(this);
}

Twizard_Frm03::~Twizard_Frm03() = default;

void Twizard_Frm03::prepare(int ages, TSingle_Region_frm* form)
{
    begin(ui_->StringGrid1, ages, form, {QStringLiteral("年龄"), QStringLiteral("女性")}, 15, fertility_rows, fertility_rows_required);
}

void Twizard_Frm03::BitBtn1Click() { read_file(); }
void Twizard_Frm03::BitBtn2Click() { save_file(); }
void Twizard_Frm03::BitBtn5Click() { close(); }

void Twizard_Frm03::BitBtn3Click()
{
    bool filled = false;
    ui::informing(this, [&] {
        const std::vector<double> rates = column(1, fertility_rows);
        TSingle_Region_frm& f = form();
        wizard_fertility(projection_workspace(), rates, ages(), checked_sub(f.end_year(), f.base_year()), f.base_year(),
                         f.grid(1)->model(), f.grid(4)->model());
        f.grid(1)->refresh();
        f.grid(4)->refresh();
        filled = true;
    });
    if (!filled) return;

    // The form is handed over as the wizard left it, also if a form opened from the menu in the
    // meantime changed the shared flags: filled by the wizard, new years waiting for the grid
    // rebuild that the first change of tab runs.
    TSingle_Region_frm& f = form();
    projection_workspace().from_wizard = 1;
    f.SpinEdit10Change();
    hide();
    ui::show_window(&f, true);
    close();
}

}  // namespace vantelo
