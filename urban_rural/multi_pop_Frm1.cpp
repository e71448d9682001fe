#include "urban_rural/multi_pop_Frm1.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>

#include "platform/core/numtext.h"
#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "platform/ui/modal.h"
#include "platform/ui/services.h"
#include "platform/ui/windows.h"
#include "projection/engine/input_loaders.h"
#include "projection/engine/input_message.h"
#include "projection/engine/life_table.h"
#include "projection/engine/year_grid.h"
#include "platform/db/dataset.h"
#include "projection/projection_links.h"
#include "projection/string_grid.h"
#include "ui_multi_pop_Frm1.h"
#include "urban_rural/engine/urban_run.h"
#include "urban_rural/engine/urban_workspace.h"
#include "urban_rural/multi_result_Frm1.h"

namespace vantelo {

Tmulti_pop_Frm* multi_pop_Frm = nullptr;

using namespace projection;
using urban_rural::urban_workspace;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// Number pictures of this form's grids.
constexpr LoaderPatterns patterns{"#####.####", "#####.##", "##.######", "####.####", "#####.####"};

}  // namespace

Tmulti_pop_Frm::Tmulti_pop_Frm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::Tmulti_pop_Frm>())
{
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    for (int n = 1; n <= 8; ++n) grid(n)->take_design_size();
    for (QComboBox* box : {ui_->ComboBox2, ui_->ComboBox3, ui_->ComboBox4, ui_->ComboBox5, ui_->ComboBox6, ui_->ComboBox1,
                           ui_->ComboBox10, ui_->ComboBox11, ui_->ComboBox12, ui_->ComboBox13})
        ui::fill_list(box, {});
    ui_->ComboBox7->addItems({QStringLiteral("男性"), QStringLiteral("女性")});
    ui_->ComboBox7->setCurrentIndex(0);
    // Typing into the sex list leaves no item chosen; choosing an item (or setting one) picks it.
    connect(ui_->ComboBox7, &QComboBox::currentIndexChanged, this, [this](int i) { share_sex_item_ = i; });
    connect(ui_->ComboBox7, &QComboBox::activated, this, [this](int i) { share_sex_item_ = i; });
    connect(ui_->ComboBox7->lineEdit(), &QLineEdit::textEdited, this, [this] { share_sex_item_ = -1; });

    using F = Tmulti_pop_Frm;
    // A loader runs when an item is chosen and on every change typed into the list.
    auto loader = [this](QComboBox* box, void (F::*h)()) {
        ui::connect_guarded(box, &QComboBox::activated, this, h);
        ui::connect_guarded(box->lineEdit(), &QLineEdit::textEdited, this, h);
    };
    loader(ui_->ComboBox2, &F::ComboBox2Change);
    loader(ui_->ComboBox3, &F::ComboBox3Change);
    loader(ui_->ComboBox1, &F::ComboBox1Change);
    loader(ui_->ComboBox10, &F::ComboBox10Change);
    loader(ui_->ComboBox4, &F::ComboBox4Change);
    loader(ui_->ComboBox5, &F::ComboBox5Change);
    loader(ui_->ComboBox11, &F::ComboBox11Change);
    loader(ui_->ComboBox12, &F::ComboBox12Change);
    loader(ui_->ComboBox6, &F::ComboBox6Change);
    loader(ui_->ComboBox13, &F::ComboBox13Change);
    auto select = [this](StringGrid* g, void (F::*h)(int, int)) {
        connect(g, &StringGrid::select_cell, this, [this, h](int c, int r) { ui::guarded(this, [&] { (this->*h)(c, r); }); });
    };
    select(ui_->StringGrid1, &F::StringGrid1SelectCell);
    select(ui_->StringGrid8, &F::StringGrid1SelectCell);
    select(ui_->StringGrid2, &F::StringGrid2SelectCell);
    select(ui_->StringGrid3, &F::StringGrid3SelectCell);
    ui::connect_guarded(ui_->Button1, &QPushButton::clicked, this, &F::Button1Click);
    ui::connect_guarded(ui_->Button2, &QPushButton::clicked, this, &F::Button2Click);
    ui::connect_guarded(ui_->Button3, &QPushButton::clicked, this, &F::Button3Click);
    ui::connect_guarded(ui_->Button4, &QPushButton::clicked, this, &F::Button4Click);
    ui::connect_guarded(ui_->Button5, &QPushButton::clicked, this, &F::Button5Click);
    ui::connect_guarded(ui_->Button6, &QPushButton::clicked, this, &F::Button6Click);
    ui::connect_guarded(ui_->Button7, &QPushButton::clicked, this, &F::Button7Click);
    ui::connect_guarded(ui_->SpinEdit16, &QSpinBox::valueChanged, this, &F::SpinEdit16Change);
    ui::connect_guarded(ui_->SpinEdit17, &QSpinBox::valueChanged, this, &F::SpinEdit17Change);
    ui_->SpinEdit16->findChild<QLineEdit*>()->installEventFilter(this);
    ui_->SpinEdit17->findChild<QLineEdit*>()->installEventFilter(this);
    ui::connect_guarded(ui_->PageControl1, &QTabWidget::currentChanged, this, &F::PageControl1Change);
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &F::BitBtn1Click);
    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &F::BitBtn2Click);

    ui::centre_on_screen(this);
}

Tmulti_pop_Frm::~Tmulti_pop_Frm()
{
    if (multi_pop_Frm == this) multi_pop_Frm = nullptr;
}

int Tmulti_pop_Frm::base_year() const { return ui_->SpinEdit16->value(); }
int Tmulti_pop_Frm::end_year() const { return ui_->SpinEdit17->value(); }

StringGrid* Tmulti_pop_Frm::grid(int n) const
{
    switch (n) {
    case 1: return ui_->StringGrid1;
    case 2: return ui_->StringGrid2;
    case 3: return ui_->StringGrid3;
    case 4: return ui_->StringGrid4;
    case 5: return ui_->StringGrid5;
    case 6: return ui_->StringGrid6;
    case 7: return ui_->StringGrid7;
    case 8: return ui_->StringGrid8;
    default: throw RangeError();
    }
}

bool Tmulti_pop_Frm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == ui_->SpinEdit16->findChild<QLineEdit*>()) ui::guarded(this, [&] { SpinEdit16DblClick(); });
        if (watched == ui_->SpinEdit17->findChild<QLineEdit*>()) ui::guarded(this, [&] { SpinEdit17DblClick(); });
    }
    return QDialog::eventFilter(watched, event);
}

void Tmulti_pop_Frm::fill_field_lists(const QStringList& fields)
{
    for (QComboBox* box : {ui_->ComboBox2, ui_->ComboBox3, ui_->ComboBox4, ui_->ComboBox5, ui_->ComboBox6, ui_->ComboBox1,
                           ui_->ComboBox10, ui_->ComboBox11, ui_->ComboBox12, ui_->ComboBox13})
        ui::fill_list(box, fields);
}

// Row 0 of columns 1..years: the calendar years base + c.
void Tmulti_pop_Frm::year_headers(StringGrid* g, int years)
{
    const int b = base_year();
    for (int c = 1; c <= years; ++c) g->set_cell(c, 0, QString::number(checked_add(b, c)));
}

void Tmulti_pop_Frm::lay_out_grids(int years)
{
    const int cols = checked_add(years, 1);
    const QString zero = QStringLiteral("0.0");

    StringGrid* g1 = ui_->StringGrid1;  // keeps the columns of its design
    g1->set_cell(0, 1, QStringLiteral("农村"));
    g1->set_cell(0, 2, QStringLiteral("城市"));
    for (int c = 1; c < g1->col_count(); ++c) {
        g1->set_cell(c, 0, QString::number(checked_add(base_year(), c)));
        g1->set_cell(c, 1, zero);
        g1->set_cell(c, 2, zero);
    }

    StringGrid* g3 = ui_->StringGrid3;
    g3->set_col_count(cols);
    const char* e0_rows[] = {"农村男性", "农村女性", "城市男性", "城市女性"};
    for (int r = 1; r <= 4; ++r) {
        g3->set_cell(0, r, QString::fromUtf8(e0_rows[r - 1]));
        year_headers(g3, years);
        for (int c = 1; c <= years; ++c) g3->set_cell(c, r, zero);
    }

    StringGrid* g2 = ui_->StringGrid2;
    g2->set_col_count(cols);
    const char* srb_rows[] = {"农村", "城市"};
    for (int r = 1; r <= 2; ++r) {
        g2->set_cell(0, r, QString::fromUtf8(srb_rows[r - 1]));
        year_headers(g2, years);
        for (int c = 1; c <= years; ++c) g2->set_cell(c, r, zero);
    }

    for (StringGrid* p : {ui_->StringGrid4, ui_->StringGrid5}) {
        p->set_col_count(cols);
        year_headers(p, years);
        for (int r = 1; r <= 35; ++r) p->set_cell(0, r, QString::number(14 + r));
        for (int c = 1; c <= years; ++c)
            for (int r = 1; r <= 35; ++r) p->set_cell(c, r, zero);
        const int last = p->row_count() - 1;
        p->set_cell(0, last, QStringLiteral("合计"));
        for (int c = 1; c <= years; ++c) p->set_cell(c, last, zero);
    }

    lay_out_migration_grids(years, zero);
}

// The migrant grid and the two migration-share grids for Y years, every value cell `zero`.
void Tmulti_pop_Frm::lay_out_migration_grids(int years, const QString& zero)
{
    const int cols = checked_add(years, 1);
    for (StringGrid* g : {ui_->StringGrid6, ui_->StringGrid7, ui_->StringGrid8}) g->set_col_count(cols);
    StringGrid* g8 = ui_->StringGrid8;
    g8->set_cell(0, 1, QStringLiteral("男性"));
    g8->set_cell(0, 2, QStringLiteral("女性"));
    for (int c = 1; c <= years; ++c) {
        g8->set_cell(c, 1, zero);
        g8->set_cell(c, 2, zero);
    }
    year_headers(g8, years);
    for (StringGrid* g : {ui_->StringGrid6, ui_->StringGrid7}) {
        for (int c = 1; c <= years; ++c)
            for (int r = 1; r <= 102; ++r) g->set_cell(c, r, zero);
        year_headers(g, years);
        for (int r = 1; r <= 101; ++r) g->set_cell(0, r, QString::number(r - 1));
        g->set_cell(0, 102, QStringLiteral("合计"));
    }
}

// The common start of the loaders: Y := end year - base year, refused when negative before
// anything is sized.
int Tmulti_pop_Frm::loader_start(Part)
{
    const int years = checked_sub(end_year(), base_year());
    if (years < 0) throw RangeError();
    return years;
}

namespace {

ProjectionWorkspace& part_workspace(bool rural) { return rural ? projection_workspace() : urban_workspace().urban; }

// The two parts share N and Y: what a loader set in one part holds for the other too.
void share_counts(const ProjectionWorkspace& from)
{
    for (ProjectionWorkspace* ws : {&projection_workspace(), &urban_workspace().urban}) {
        ws->age_group_count = from.age_group_count;
        ws->proj_year_count = from.proj_year_count;
    }
}

}  // namespace

void Tmulti_pop_Frm::population_loader(QComboBox* box, Part part, Sex sex)
{
    if (box->currentText().isEmpty()) return;
    const int years = loader_start(part);
    const bool rural = part == Part::rural;
    ProjectionWorkspace& ws = part_workspace(rural);
    store_population(ws, sex, main_table_column(box->currentText()), years);
    share_counts(ws);
    derive_population(ws, sex);

    StringGrid* g2 = ui_->StringGrid2;
    const int row = rural ? 1 : 2;
    g2->set_col_count(checked_add(years, 1));
    year_headers(g2, years);
    const QString srb = q(format_pattern(ws.base_sex_ratio, patterns.sex_ratio));
    for (int c = 1; c <= years; ++c) g2->set_cell(c, row, srb);
    if (sex == Sex::female) g2->set_cell(0, row, rural ? QStringLiteral("农村") : QStringLiteral("城市"));
}

void Tmulti_pop_Frm::mortality_loader(QComboBox* box, Part part, Sex sex)
{
    if (box->currentText().isEmpty()) return;
    const int years = loader_start(part);
    const bool rural = part == Part::rural;
    ProjectionWorkspace& ws = part_workspace(rural);
    store_death_rates(ws, sex, main_table_column(box->currentText()), years);
    share_counts(ws);
    derive_death_rates(ws, sex, patterns);

    static const char* labels[] = {"农村男性", "农村女性", "城市男性", "城市女性"};
    const int row = (rural ? 1 : 3) + (sex == Sex::male ? 0 : 1);
    StringGrid* g3 = ui_->StringGrid3;
    g3->set_col_count(checked_add(years, 1));
    g3->set_cell(0, row, QString::fromUtf8(labels[row - 1]));
    year_headers(g3, years);
    const QString e0 = q(sex == Sex::male ? ws.base_e0_male_text : ws.base_e0_female_text);
    for (int c = 1; c <= years; ++c) g3->set_cell(c, row, e0);
}

void Tmulti_pop_Frm::fertility_loader(QComboBox* box, Part part)
{
    if (box->currentText().isEmpty()) return;
    const int years = loader_start(part);
    const bool rural = part == Part::rural;
    ProjectionWorkspace& ws = part_workspace(rural);
    store_fertility(ws, main_table_column(box->currentText()), years);
    share_counts(ws);
    derive_fertility(ws, 1, patterns);

    const int row = rural ? 1 : 2;
    StringGrid* g1 = ui_->StringGrid1;
    g1->set_cell(0, row, rural ? QStringLiteral("农村") : QStringLiteral("城市"));
    g1->set_col_count(checked_add(years, 1));
    year_headers(g1, years);
    for (int c = 1; c <= years; ++c) g1->set_cell(c, row, q(ws.base_tfr_text));

    StringGrid* p = rural ? ui_->StringGrid4 : ui_->StringGrid5;
    for (int r = 1; r <= 35; ++r) p->set_cell(0, r, QString::number(14 + r));
    p->set_col_count(checked_add(years, 1));
    year_headers(p, years);
    const QString sum = q(format_pattern(pattern_sum(ws), patterns.pattern_total));
    for (int c = 1; c <= years; ++c)
        for (int i = 0; i < 35; ++i) {
            const double v = at(at(ws.fert_pattern, i), 0);
            p->set_cell(c, i + 1, v == 0 ? QStringLiteral("0.0") : q(format_pattern(v, patterns.pattern)));
        }
    p->set_cell(0, 36, QStringLiteral("合计"));
    for (int c = 1; c <= years; ++c) p->set_cell(c, 36, sum);
}

void Tmulti_pop_Frm::ComboBox2Change() { ui::informing(this, [&] { population_loader(ui_->ComboBox2, Part::rural, Sex::male); }); }
void Tmulti_pop_Frm::ComboBox3Change() { ui::informing(this, [&] { population_loader(ui_->ComboBox3, Part::rural, Sex::female); }); }
void Tmulti_pop_Frm::ComboBox1Change() { ui::informing(this, [&] { population_loader(ui_->ComboBox1, Part::urban, Sex::male); }); }
void Tmulti_pop_Frm::ComboBox10Change() { ui::informing(this, [&] { population_loader(ui_->ComboBox10, Part::urban, Sex::female); }); }
void Tmulti_pop_Frm::ComboBox4Change() { ui::informing(this, [&] { mortality_loader(ui_->ComboBox4, Part::rural, Sex::male); }); }
void Tmulti_pop_Frm::ComboBox5Change() { ui::informing(this, [&] { mortality_loader(ui_->ComboBox5, Part::rural, Sex::female); }); }
void Tmulti_pop_Frm::ComboBox11Change() { ui::informing(this, [&] { mortality_loader(ui_->ComboBox11, Part::urban, Sex::male); }); }
void Tmulti_pop_Frm::ComboBox12Change() { ui::informing(this, [&] { mortality_loader(ui_->ComboBox12, Part::urban, Sex::female); }); }
void Tmulti_pop_Frm::ComboBox6Change() { ui::informing(this, [&] { fertility_loader(ui_->ComboBox6, Part::rural); }); }
void Tmulti_pop_Frm::ComboBox13Change() { ui::informing(this, [&] { fertility_loader(ui_->ComboBox13, Part::urban); }); }

void Tmulti_pop_Frm::StringGrid1SelectCell(int, int row) { urban_workspace().multi_grid_current_row = row; }
void Tmulti_pop_Frm::StringGrid2SelectCell(int, int row) { urban_workspace().multi_grid_current_row = row; }
void Tmulti_pop_Frm::StringGrid3SelectCell(int, int row) { urban_workspace().multi_grid_current_row = row; }

namespace {
struct Box {
    QSpinBox *start, *end;
    QRadioButton *copy, *linear, *expo;
};
}  // namespace

void Tmulti_pop_Frm::interpolate_row_box(int grid_no, int row, int box)
{
    const Box boxes[] = {
        {ui_->SpinEdit2, ui_->SpinEdit3, ui_->RadioButton1, ui_->RadioButton9, ui_->RadioButton10},
        {ui_->SpinEdit4, ui_->SpinEdit5, ui_->RadioButton4, ui_->RadioButton2, ui_->RadioButton3},
        {ui_->SpinEdit6, ui_->SpinEdit7, ui_->RadioButton14, ui_->RadioButton5, ui_->RadioButton13},
        {ui_->SpinEdit12, ui_->SpinEdit13, ui_->RadioButton20, ui_->RadioButton18, ui_->RadioButton19},
    };
    const Box& b = boxes[box];
    StringGrid* g = grid(grid_no);
    try {
        interpolate_grid_row(g->model(), row, b.start->value(), b.end->value(), base_year(),
                             checked_sub(end_year(), base_year()), interpolation_mode(b.copy, b.linear, b.expo));
    } catch (...) {
        g->refresh();  // cells written before a failure stay
        throw;
    }
    g->refresh();
}

// The pattern boxes (rows 1..35, totals of every column) and the migration-share box (rows
// 1..101, copy or linear only, totals of the interpolated columns only).
void Tmulti_pop_Frm::interpolate_pattern_box(StringGrid* g, int box, int rows, bool every_column)
{
    const Box boxes[] = {
        {ui_->SpinEdit8, ui_->SpinEdit9, ui_->RadioButton15, ui_->RadioButton8, ui_->RadioButton12},
        {ui_->SpinEdit10, ui_->SpinEdit11, ui_->RadioButton17, ui_->RadioButton6, ui_->RadioButton16},
        {ui_->SpinEdit14, ui_->SpinEdit15, ui_->RadioButton23, ui_->RadioButton21, nullptr},
    };
    const Box& b = boxes[box];
    const PatternGridShape shape{rows, patterns.pattern_total,
                                 every_column ? TotalColumns::every_year : TotalColumns::interpolated};
    try {
        interpolate_pattern_rows(g->model(), b.start->value(), b.end->value(), base_year(),
                                 checked_sub(end_year(), base_year()), interpolation_mode(b.copy, b.linear, b.expo), shape);
    } catch (...) {
        g->refresh();
        throw;
    }
    g->refresh();
}

void Tmulti_pop_Frm::Button1Click()
{
    ui::informing(this, [&] { interpolate_row_box(1, urban_workspace().multi_grid_current_row, 0); });
}
void Tmulti_pop_Frm::Button2Click()
{
    ui::informing(this, [&] { interpolate_row_box(2, urban_workspace().multi_grid_current_row, 1); });
}
void Tmulti_pop_Frm::Button3Click()
{
    ui::informing(this, [&] { interpolate_row_box(3, urban_workspace().multi_grid_current_row, 2); });
}
void Tmulti_pop_Frm::Button6Click()
{
    ui::informing(this, [&] { interpolate_row_box(8, urban_workspace().multi_grid_current_row, 3); });
}
void Tmulti_pop_Frm::Button4Click() { ui::informing(this, [&] { interpolate_pattern_box(ui_->StringGrid4, 0, 35, true); }); }
void Tmulti_pop_Frm::Button5Click() { ui::informing(this, [&] { interpolate_pattern_box(ui_->StringGrid5, 1, 35, true); }); }
void Tmulti_pop_Frm::Button7Click()
{
    StringGrid* g = share_sex_item_ == 1 ? ui_->StringGrid7 : ui_->StringGrid6;
    ui::informing(this, [&] { interpolate_pattern_box(g, 2, 101, false); });
}

void Tmulti_pop_Frm::SpinEdit16Change()
{
    projection_workspace().years_changed = 1;
    ui_->BitBtn2->setEnabled(false);
}

void Tmulti_pop_Frm::SpinEdit17Change() { SpinEdit16Change(); }

void Tmulti_pop_Frm::rebuild_grids()
{
    ProjectionWorkspace& ws = projection_workspace();
    const int b = base_year(), e = end_year();
    if (ws.years_changed == 1) {
        const int years = checked_sub(e, b);
        if (years < 0) throw RangeError();
        ws.proj_year_count = years;
        urban_workspace().urban.proj_year_count = years;
        const QString zero = QStringLiteral("0");

        StringGrid* g1 = ui_->StringGrid1;
        g1->set_cell(0, 1, QStringLiteral("农村"));
        g1->set_cell(0, 2, QStringLiteral("城市"));
        for (int c = 1; c <= years; ++c) {
            g1->set_cell(c, 1, zero);
            g1->set_cell(c, 2, zero);
        }
        year_headers(g1, years);
        lay_out_migration_grids(years, zero);
        // An input error of one loader is reported and the rebuild goes on with the next.
        ComboBox2Change();
        ComboBox3Change();
        ComboBox4Change();
        ComboBox5Change();
        ComboBox6Change();
        ComboBox1Change();
        ComboBox10Change();
        ComboBox11Change();
        ComboBox12Change();
        ComboBox13Change();
        ws.years_changed = 0;
        ui_->BitBtn2->setEnabled(true);
    }
    QSpinBox* ends[] = {ui_->SpinEdit3, ui_->SpinEdit5, ui_->SpinEdit7, ui_->SpinEdit9,
                        ui_->SpinEdit11, ui_->SpinEdit13, ui_->SpinEdit15};
    QSpinBox* starts[] = {ui_->SpinEdit2, ui_->SpinEdit4, ui_->SpinEdit6, ui_->SpinEdit8,
                          ui_->SpinEdit10, ui_->SpinEdit12, ui_->SpinEdit14};
    for (QSpinBox* s : ends) s->setRange(checked_add(b, 2), e);
    for (QSpinBox* s : starts) s->setRange(b, e);
    for (QSpinBox* s : ends) s->setValue(e);
    for (QSpinBox* s : starts) s->setValue(checked_add(b, 1));
}

void Tmulti_pop_Frm::SpinEdit16DblClick()
{
    if (multi_pop_Frm) multi_pop_Frm->rebuild_grids();
}
void Tmulti_pop_Frm::SpinEdit17DblClick() { SpinEdit16DblClick(); }
void Tmulti_pop_Frm::PageControl1Change() { SpinEdit16DblClick(); }

void Tmulti_pop_Frm::BitBtn1Click() { done(QDialog::Rejected); }

void Tmulti_pop_Frm::BitBtn2Click()
{
    urban_rural::UrbanRunInputs in;
    in.age_count = shell::main_table().record_count();
    in.year_count = checked_sub(end_year(), base_year());
    auto text = [](QComboBox* box) { return box->currentText().toStdString(); };
    in.rural_fields = {text(ui_->ComboBox2), text(ui_->ComboBox3), text(ui_->ComboBox4), text(ui_->ComboBox5),
                       text(ui_->ComboBox6)};
    in.urban_fields = {text(ui_->ComboBox1), text(ui_->ComboBox10), text(ui_->ComboBox11), text(ui_->ComboBox12),
                       text(ui_->ComboBox13)};
    in.tfr_grid = ui_->StringGrid1->model();
    in.srb_grid = ui_->StringGrid2->model();
    in.e0_grid = ui_->StringGrid3->model();
    in.rural_pattern = ui_->StringGrid4->model();
    in.urban_pattern = ui_->StringGrid5->model();
    in.migrants = ui_->StringGrid8->model();
    in.male_shares = ui_->StringGrid6->model();
    in.female_shares = ui_->StringGrid7->model();
    try {
        urban_rural::run_urban_rural(projection_workspace(), urban_workspace(), in);
    } catch (const InputMessage& m) {
        ui::inform(this, QString::fromUtf8(m.what()));
        return;
    }
    // The viewer opens in front of the form, which goes when the viewer is closed.
    ui::show_modal(*ui::new_window(nullptr, multi_result_Frm));
    done(QDialog::Rejected);
}

}  // namespace vantelo
