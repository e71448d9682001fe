#include "projection/wizard_Frm1.h"

#include "platform/core/checked.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "platform/ui/modal.h"
#include "platform/ui/windows.h"
#include "projection/Single_Region_frm1.h"
#include "projection/engine/wizard_inputs.h"
#include "projection/string_grid.h"
#include "projection/wizard_Frm2.h"
#include "ui_wizard_Frm1.h"

namespace vantelo {

QPointer<Twizard_Frm01> wizard_Frm01;

using namespace projection;

Twizard_Frm01::Twizard_Frm01(QWidget* parent) : WizardPage(parent), ui_(std::make_unique<Ui::Twizard_Frm01>())
{
    ui_->setupUi(this);
    ui_->StringGrid1->take_design_size();
    using F = Twizard_Frm01;
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &F::BitBtn1Click);
    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &F::BitBtn2Click);
    ui::connect_guarded(ui_->BitBtn3, &QPushButton::clicked, this, &F::BitBtn3Click);
    ui::connect_guarded(ui_->BitBtn4, &QPushButton::clicked, this, &F::BitBtn4Click);
    ui::centre_on_screen(this);
}

Twizard_Frm01::~Twizard_Frm01() = default;

void Twizard_Frm01::prepare(int ages, TSingle_Region_frm* form)
{
    begin(ui_->StringGrid1, ages, form, {QStringLiteral("年龄"), QStringLiteral("男性"), QStringLiteral("女性")}, 0, ages, ages);
}

void Twizard_Frm01::BitBtn1Click() { read_file(); }
void Twizard_Frm01::BitBtn2Click() { save_file(); }
void Twizard_Frm01::BitBtn4Click() { close(); }

void Twizard_Frm01::BitBtn3Click()
{
    ui::informing(this, [&] {
        const std::vector<double> male = column(1, ages());
        const std::vector<double> female = column(2, ages());
        TSingle_Region_frm& f = form();
        wizard_population(projection_workspace(), male, female, checked_sub(f.end_year(), f.base_year()),
                          f.base_year(), f.grid(2)->model(), f.grid(5)->model());
        f.grid(2)->refresh();
        f.grid(5)->refresh();

        Twizard_Frm02* next = ui::new_window(nullptr, wizard_Frm02);
        next->prepare(ages(), &f);
        ui::show_window(next, false);
        close();
    });
}

}  // namespace vantelo
