#include "projection/wizard_Frm2.h"

#include "platform/core/checked.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "platform/ui/modal.h"
#include "platform/ui/windows.h"
#include "projection/Single_Region_frm1.h"
#include "projection/engine/wizard_inputs.h"
#include "projection/string_grid.h"
#include "projection/wizard_Frm3.h"
#include "ui_wizard_Frm2.h"

namespace vantelo {

QPointer<Twizard_Frm02> wizard_Frm02;

using namespace projection;

Twizard_Frm02::Twizard_Frm02(QWidget* parent) : WizardPage(parent), ui_(std::make_unique<Ui::Twizard_Frm02>())
{
    ui_->setupUi(this);
    ui_->StringGrid1->take_design_size();
    using F = Twizard_Frm02;
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &F::BitBtn1Click);
    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &F::BitBtn2Click);
    ui::connect_guarded(ui_->BitBtn3, &QPushButton::clicked, this, &F::BitBtn3Click);
    ui::connect_guarded(ui_->BitBtn5, &QPushButton::clicked, this, &F::BitBtn5Click);
    ui::centre_on_screen(this);
}

Twizard_Frm02::~Twizard_Frm02() = default;

void Twizard_Frm02::prepare(int ages, TSingle_Region_frm* form)
{
    begin(ui_->StringGrid1, ages, form, {QStringLiteral("年龄"), QStringLiteral("男性"), QStringLiteral("女性")}, 0, ages, ages);
}

void Twizard_Frm02::BitBtn1Click() { read_file(); }
void Twizard_Frm02::BitBtn2Click() { save_file(); }
void Twizard_Frm02::BitBtn5Click() { close(); }

void Twizard_Frm02::BitBtn3Click()
{
    ui::informing(this, [&] {
        const std::vector<double> male = column(1, ages());
        const std::vector<double> female = column(2, ages());
        TSingle_Region_frm& f = form();
        try {
            wizard_mortality(projection_workspace(), male, female, checked_sub(f.end_year(), f.base_year()),
                             f.base_year(), f.grid(3)->model());
        } catch (...) {
            f.grid(3)->refresh();  // the male row stays when the female rates are refused
            throw;
        }
        f.grid(3)->refresh();

        Twizard_Frm03* next = ui::new_window(nullptr, wizard_Frm03);
        next->prepare(ages(), &f);
        ui::show_window(next, false);
        close();
    });
}

}  // namespace vantelo
