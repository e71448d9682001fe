#include "projection/define_wizard_frm1.h"

#include "platform/core/checked.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/windows.h"
#include "projection/Single_Region_frm1.h"
#include "projection/engine/workspace.h"
#include "projection/wizard_Frm1.h"
#include "shell/launch.h"
#include "ui_define_wizard_frm1.h"

namespace vantelo {

QPointer<Tdefine_wizard_frm> define_wizard_frm;

Tdefine_wizard_frm::Tdefine_wizard_frm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::Tdefine_wizard_frm>())
{
    ui_->setupUi(this);
    ui::connect_guarded(ui_->Button1, &QPushButton::clicked, this, &Tdefine_wizard_frm::Button1Click);
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &Tdefine_wizard_frm::BitBtn1Click);
    ui::centre_on_screen(this);
}

Tdefine_wizard_frm::~Tdefine_wizard_frm() = default;

void Tdefine_wizard_frm::Button1Click()
{
    const int ages = ui_->SpinEdit1->value();
    const int base = ui_->SpinEdit3->value();
    const int end = ui_->SpinEdit4->value();
    const int years = checked_sub(end, base);

    // The projection form the wizard fills: no field lists, the wizard's years, fixed.
    TSingle_Region_frm* form = ui::new_window(nullptr, Single_Region_frm);
    form->set_field_lists_enabled(false);
    form->set_years(base, end);
    projection::ProjectionWorkspace& ws = projection::projection_workspace();
    ws.proj_year_count = years;
    form->set_year_spins_enabled(false);
    ws.from_wizard = 1;
    ws.with_floating_pop = 0;

    Twizard_Frm01* page = ui::new_window(nullptr, wizard_Frm01);
    page->prepare(ages, form);
    ui::show_window(page, false);
    hide();
}

void Tdefine_wizard_frm::BitBtn1Click() { close(); }

namespace projection {

void register_projection_wizard()
{
    shell::register_window(QStringLiteral("N8"), [](shell::Tquilta&) -> QWidget* {
        return ui::new_window(nullptr, define_wizard_frm);
    });
}

}  // namespace projection

}  // namespace vantelo
