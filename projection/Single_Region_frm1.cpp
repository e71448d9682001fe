#include "projection/Single_Region_frm1.h"

#include <map>
#include <memory>

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

#include "platform/core/numtext.h"
#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "platform/ui/modal.h"
#include "platform/ui/readable_text.h"
#include "platform/ui/services.h"
#include "platform/ui/windows.h"
#include "projection/engine/fertility_pattern_file.h"
#include "projection/engine/input_loaders.h"
#include "projection/engine/input_message.h"
#include "projection/engine/projection_run.h"
#include "projection/engine/year_grid.h"
#include "projection/pop_result_Frm1.h"
#include "projection/projection_links.h"
#include "projection/string_grid.h"
#include "ui_Single_Region_frm1.h"

namespace vantelo {

TSingle_Region_frm* Single_Region_frm = nullptr;

using namespace projection;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

const QColor white(255, 255, 255);
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);
const QColor teal(0, 128, 128);
const QColor yellow(255, 255, 0);
const QColor green(0, 128, 0);

struct Place {
    const char* name;
    const char* name_e0;  // the name in the life-expectancy list where it differs
    bool country;
    const char* tfr;
    int e0_male, e0_female;
};

const Place places[] = {
    {"较发达地区", "发达地区", false, "1.6", 72, 79},
    {"不发达地区", nullptr, false, "3.2", 63, 66},
    {"不发达地区（不含中国）", nullptr, false, "3.6", 61, 64},
    {"非洲", nullptr, false, "5.2", 52, 55},
    {"埃及", nullptr, true, "3.5", 65, 68},
    {"突尼斯", nullptr, true, "2.3", 70, 74},
    {"南非", nullptr, true, "2.9", 52, 54},
    {"亚洲", nullptr, false, "2.7", 65, 68},
    {"中国", nullptr, true, "1.8", 69, 73},
    {"日本", nullptr, true, "1.3", 77, 84},
    {"韩国", nullptr, true, "1.5", 71, 78},
    {"印度", nullptr, true, "3.2", 60, 61},
    {"菲律宾", nullptr, true, "3.5", 64, 70},
    {"新加坡", nullptr, true, "1.6", 76, 80},
    {"泰国", nullptr, true, "1.8", 70, 75},
    {"欧洲", nullptr, false, "1.4", 70, 78},
    {"捷克共和国", nullptr, true, "1.1", 71, 78},
    {"波兰", nullptr, true, "1.4", 68, 77},
    {"罗马尼亚", nullptr, true, "1.3", 67, 74},
    {"丹麦", nullptr, true, "1.7", 74, 79},
    {"英国", nullptr, true, "1.7", 75, 80},
    {"意大利", nullptr, true, "1.3", 76, 82},
    {"南斯拉夫", nullptr, true, "1.6", 70, 75},
    {"法国", nullptr, true, "1.9", 75, 83},
    {"德国", nullptr, true, "1.3", 74, 81},
    {"拉丁美洲和加勒比地区", nullptr, false, "2.8", 68, 74},
    {"墨西哥", nullptr, true, "2.8", 73, 78},
    {"阿根廷", nullptr, true, "2.6", 70, 77},
    {"巴西", nullptr, true, "2.4", 65, 72},
    {"北美洲", nullptr, false, "2.0", 74, 80},
    {"加拿大", nullptr, true, "1.4", 76, 81},
    {"美国", nullptr, true, "2.1", 74, 80},
    {"大洋洲", nullptr, false, "2.5", 72, 76},
    {"澳大利亚", nullptr, true, "1.7", 76, 82},
    {"新西兰", nullptr, true, "2.0", 74, 80},
};

void colour_list(QComboBox* box, const QColor& c)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Button, c);
    p.setColor(QPalette::Text, ui::readable_text_colour(c));
    p.setColor(QPalette::ButtonText, ui::readable_text_colour(c));
    box->setPalette(p);
    if (box->lineEdit()) box->lineEdit()->setPalette(p);
}


}  // namespace

TSingle_Region_frm::TSingle_Region_frm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TSingle_Region_frm>())
{
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    for (int n = 1; n <= 8; ++n) grid(n)->take_design_size();

    for (QComboBox* box : {ui_->ComboBox2, ui_->ComboBox3, ui_->ComboBox4, ui_->ComboBox5, ui_->ComboBox6,
                           ui_->ComboBox10, ui_->ComboBox11, ui_->ComboBox8, ui_->ComboBox9})
        ui::fill_list(box, {});

    // The reference lists: display only, first item shown.
    QStringList tfr{QStringLiteral("2000年世界平均总和生育率 2.8")};
    QStringList e0{QStringLiteral("2000年世界平均出生预期寿命:  男:65 女:69")};
    for (const Place& p : places) {
        QString lead = p.country ? QStringLiteral("   ") : QString();
        tfr << lead + QString::fromUtf8(p.name) + ":" + QString::fromUtf8(p.tfr);
        e0 << lead + QString::fromUtf8(p.name_e0 ? p.name_e0 : p.name) + ":   男:" + QString::number(p.e0_male) + " 女:"
                + QString::number(p.e0_female);
    }
    ui_->ComboBox1->addItems(tfr);
    ui_->ComboBox7->addItems(e0);
    ui_->ComboBox1->setCurrentIndex(0);
    ui_->ComboBox7->setCurrentIndex(0);

    using F = TSingle_Region_frm;
    ui::connect_guarded(ui_->ComboBox2, &QComboBox::activated, this, &F::ComboBox2Change);
    ui::connect_guarded(ui_->ComboBox3, &QComboBox::activated, this, &F::ComboBox3Change);
    ui::connect_guarded(ui_->ComboBox4, &QComboBox::activated, this, &F::ComboBox4Change);
    ui::connect_guarded(ui_->ComboBox5, &QComboBox::activated, this, &F::ComboBox5Change);
    ui::connect_guarded(ui_->ComboBox6, &QComboBox::activated, this, &F::ComboBox6Change);
    ui::connect_guarded(ui_->ComboBox10, &QComboBox::activated, this, &F::ComboBox10Change);
    ui::connect_guarded(ui_->ComboBox11, &QComboBox::activated, this, &F::ComboBox11Change);
    ui::connect_guarded(ui_->SpinEdit10, &QSpinBox::valueChanged, this, &F::SpinEdit10Change);
    ui::connect_guarded(ui_->SpinEdit11, &QSpinBox::valueChanged, this, &F::SpinEdit11Change);
    ui_->SpinEdit10->findChild<QLineEdit*>()->installEventFilter(this);
    ui_->SpinEdit11->findChild<QLineEdit*>()->installEventFilter(this);
    ui::connect_guarded(ui_->PageControl1, &QTabWidget::currentChanged, this, &F::PageControl1Change);
    ui::connect_guarded(ui_->RadioButton16, &QRadioButton::clicked, this, &F::RadioButton16Click);
    ui::connect_guarded(ui_->RadioButton20, &QRadioButton::clicked, this, &F::RadioButton20Click);
    ui::connect_guarded(ui_->RadioButton7, &QRadioButton::clicked, this, &F::RadioButton7Click);
    ui::connect_guarded(ui_->RadioButton6, &QRadioButton::clicked, this, &F::RadioButton6Click);
    auto select = [this](StringGrid* g, void (F::*h)(int, int)) {
        connect(g, &StringGrid::select_cell, this, [this, h](int c, int r) { ui::guarded(this, [&] { (this->*h)(c, r); }); });
    };
    select(ui_->StringGrid1, &F::StringGrid1SelectCell);
    select(ui_->StringGrid3, &F::StringGrid3SelectCell);
    select(ui_->StringGrid5, &F::StringGrid5SelectCell);
    select(ui_->StringGrid4, &F::StringGrid4SelectCell);
    select(ui_->StringGrid6, &F::StringGrid6SelectCell);
    select(ui_->StringGrid7, &F::StringGrid7SelectCell);
    ui::connect_guarded(ui_->Button1, &QPushButton::clicked, this, &F::Button1Click);
    ui::connect_guarded(ui_->Button2, &QPushButton::clicked, this, &F::Button2Click);
    ui::connect_guarded(ui_->Button3, &QPushButton::clicked, this, &F::Button3Click);
    ui::connect_guarded(ui_->Button4, &QPushButton::clicked, this, &F::Button4Click);
    ui::connect_guarded(ui_->Button5, &QPushButton::clicked, this, &F::Button5Click);
    ui::connect_guarded(ui_->Button6, &QPushButton::clicked, this, &F::Button6Click);
    ui::connect_guarded(ui_->Button7, &QPushButton::clicked, this, &F::Button7Click);
    ui::connect_guarded(ui_->Button8, &QPushButton::clicked, this, &F::Button8Click);
    ui::connect_guarded(ui_->Button9, &QPushButton::clicked, this, &F::Button9Click);
    ui::connect_guarded(ui_->Button10, &QPushButton::clicked, this, &F::Button10Click);
    ui::connect_guarded(ui_->Button11, &QPushButton::clicked, this, &F::Button11Click);
    ui::connect_guarded(ui_->Button12, &QPushButton::clicked, this, &F::Button12Click);
    ui::connect_guarded(ui_->Button13, &QPushButton::clicked, this, &F::Button13Click);
    ui::connect_guarded(ui_->BitBtn1, &QPushButton::clicked, this, &F::BitBtn1Click);
    ui::connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &F::BitBtn2Click);

    ui::centre_on_screen(this);
}

TSingle_Region_frm::~TSingle_Region_frm()
{
    if (Single_Region_frm == this) Single_Region_frm = nullptr;
}

int TSingle_Region_frm::base_year() const { return ui_->SpinEdit10->value(); }
int TSingle_Region_frm::end_year() const { return ui_->SpinEdit11->value(); }

StringGrid* TSingle_Region_frm::grid(int n) const
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

bool TSingle_Region_frm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == ui_->SpinEdit10->findChild<QLineEdit*>()) ui::guarded(this, [&] { SpinEdit10DblClick(); });
        if (watched == ui_->SpinEdit11->findChild<QLineEdit*>()) ui::guarded(this, [&] { SpinEdit11DblClick(); });
    }
    return QDialog::eventFilter(watched, event);
}

void TSingle_Region_frm::set_field_lists_enabled(bool enabled)
{
    for (QComboBox* box : {ui_->ComboBox2, ui_->ComboBox3, ui_->ComboBox4, ui_->ComboBox5, ui_->ComboBox6})
        box->setEnabled(enabled);
}

void TSingle_Region_frm::set_years(int base, int end)
{
    ui_->SpinEdit10->setValue(base);
    ui_->SpinEdit11->setValue(end);
    SpinEdit10Change();  // also when a value was already there
}

void TSingle_Region_frm::set_year_spins_enabled(bool enabled)
{
    ui_->SpinEdit10->setEnabled(enabled);
    ui_->SpinEdit11->setEnabled(enabled);
}

void TSingle_Region_frm::fill_field_lists(const QStringList& fields)
{
    for (QComboBox* box : {ui_->ComboBox2, ui_->ComboBox3, ui_->ComboBox4, ui_->ComboBox5, ui_->ComboBox6,
                           ui_->ComboBox8, ui_->ComboBox9, ui_->ComboBox10, ui_->ComboBox11})
        ui::fill_list(box, fields);
}

// Row 0 of columns 1..years: the calendar years base + c.
void TSingle_Region_frm::year_headers(StringGrid* g, int years)
{
    const int b = base_year();
    for (int c = 1; c <= years; ++c) g->set_cell(c, 0, QString::number(checked_add(b, c)));
}

void TSingle_Region_frm::lay_out_grids(int years)
{
    const int cols = checked_add(years, 1);
    const QString zero = QStringLiteral("0.0");
    auto values = [&](StringGrid* g, int row) {
        for (int c = 1; c < g->col_count(); ++c) g->set_cell(c, row, zero);
    };
    StringGrid* g2 = ui_->StringGrid2;
    g2->set_col_count(cols);
    g2->set_cell(0, 1, QStringLiteral("性别比"));
    year_headers(g2, years);
    values(g2, 1);

    StringGrid* g3 = ui_->StringGrid3;
    g3->set_col_count(cols);
    g3->set_cell(0, 1, QStringLiteral("男性"));
    year_headers(g3, years);
    values(g3, 1);
    g3->set_cell(0, 2, QStringLiteral("女性"));
    values(g3, 2);

    StringGrid* g1 = ui_->StringGrid1;
    g1->set_cell(0, 1, QStringLiteral("1孩总和生育率"));
    g1->set_col_count(cols);
    year_headers(g1, years);
    values(g1, 1);
    g1->set_cell(0, 2, QStringLiteral("2孩总和生育率"));
    values(g1, 2);
    g1->set_cell(0, 3, QStringLiteral(">=3孩总和生育率"));
    values(g1, 3);

    StringGrid* g8 = ui_->StringGrid8;
    g8->set_cell(0, 1, QStringLiteral("总和生育率"));
    g8->set_col_count(cols);
    year_headers(g8, years);
    values(g8, 1);

    for (StringGrid* p : {ui_->StringGrid4, ui_->StringGrid6, ui_->StringGrid7}) {
        p->set_col_count(cols);
        for (int r = 1; r <= 35; ++r) p->set_cell(0, r, QString::number(14 + r));
        year_headers(p, years);
        for (int r = 1; r <= 35; ++r) values(p, r);
        const int last = p->row_count() - 1;
        p->set_cell(0, last, QStringLiteral("合计"));
        values(p, last);
    }

    StringGrid* g5 = ui_->StringGrid5;
    g5->set_col_count(cols);
    g5->set_cell(0, 1, QStringLiteral("新增人口"));
    year_headers(g5, years);
    values(g5, 1);
    g5->set_cell(0, 2, QStringLiteral("出生率"));
    values(g5, 2);
    g5->set_cell(0, 3, QStringLiteral("死亡率"));
    values(g5, 3);
}

// The main grid's column for a kind of field: the one remembered before turns white, the
// chosen one and the list take the kind's colour.
static void mark_column(int& mark, int& mark_col, int col, QComboBox* box, const QColor& colour)
{
    if (mark) set_main_grid_column_colour(mark_col, white);
    if (col >= 0) set_main_grid_column_colour(col, colour);
    colour_list(box, colour);
    mark = 1;
    mark_col = col;
}

void TSingle_Region_frm::population_loader(QComboBox* box, Sex sex)
{
    if (box->currentText().isEmpty()) return;
    ProjectionWorkspace& ws = projection_workspace();
    const int years = checked_sub(end_year(), base_year());
    store_population(ws, sex, main_table_column(box->currentText()), years);
    if (sex == Sex::male)
        mark_column(ws.grid_mark_pop_male, ws.grid_mark_pop_male_col, box->currentIndex(), box, red);
    else
        mark_column(ws.grid_mark_pop_female, ws.grid_mark_pop_female_col, box->currentIndex(), box, blue);
    derive_population(ws, sex);

    StringGrid* g2 = ui_->StringGrid2;
    g2->set_col_count(checked_add(years, 1));
    const QString srb = q(format_pattern(ws.base_sex_ratio, "#####.########"));
    year_headers(g2, years);
    for (int c = 1; c <= years; ++c) g2->set_cell(c, 1, srb);
    if (sex == Sex::male) {
        StringGrid* g5 = ui_->StringGrid5;
        g5->set_col_count(checked_add(years, 1));
        year_headers(g5, years);
        for (int c = 1; c <= years; ++c)
            for (int r = 1; r <= 3; ++r) g5->set_cell(c, r, QStringLiteral("0.0"));
    }
}

void TSingle_Region_frm::mortality_loader(QComboBox* box, Sex sex)
{
    if (box->currentText().isEmpty()) return;
    ProjectionWorkspace& ws = projection_workspace();
    const int years = checked_sub(end_year(), base_year());
    store_death_rates(ws, sex, main_table_column(box->currentText()), years);
    if (sex == Sex::male)
        mark_column(ws.grid_mark_death_male, ws.grid_mark_death_male_col, box->currentIndex(), box, teal);
    else
        mark_column(ws.grid_mark_death_female, ws.grid_mark_death_female_col, box->currentIndex(), box, yellow);
    derive_death_rates(ws, sex);

    StringGrid* g3 = ui_->StringGrid3;
    g3->set_col_count(checked_add(years, 1));
    const int row = sex == Sex::male ? 1 : 2;
    g3->set_cell(0, row, sex == Sex::male ? QStringLiteral("男性") : QStringLiteral("女性"));
    const QString e0 = q(sex == Sex::male ? ws.base_e0_male_text : ws.base_e0_female_text);
    year_headers(g3, years);
    for (int c = 1; c <= years; ++c) g3->set_cell(c, row, e0);
}

// StringGrid8: the total TFR of the loaded parities, one column per year.
void TSingle_Region_frm::total_tfr_after_load(int years)
{
    ProjectionWorkspace& ws = projection_workspace();
    StringGrid* g8 = ui_->StringGrid8;
    g8->set_cell(0, 1, QStringLiteral("总和生育率"));
    g8->set_col_count(checked_add(years, 1));
    year_headers(g8, years);
    for (int c = 1; c <= years; ++c) {
        real sum = 0;
        for (int k = 1; k <= std::max(ws.parity_count, 1); ++k)
            sum = checked_add(sum, parse_float(ui_->StringGrid1->cell(c, k).toStdString()));
        ws.tfr_value = to_double(sum);
        g8->set_cell(c, 1, q(format_pattern(sum, "#####.########")));
    }
}

void TSingle_Region_frm::fertility_loader(QComboBox* box, int k)
{
    if (box->currentText().isEmpty()) return;
    ProjectionWorkspace& ws = projection_workspace();
    const int years = checked_sub(end_year(), base_year());
    store_fertility(ws, main_table_column(box->currentText()), years);
    mark_column(ws.grid_mark_fertility, ws.grid_mark_fertility_col, box->currentIndex(), box, green);
    derive_fertility(ws, k);

    static const char* labels[] = {"1孩总和生育率", "2孩总和生育率", ">=3孩总和生育率"};
    StringGrid* g1 = ui_->StringGrid1;
    g1->set_cell(0, k, QString::fromUtf8(labels[k - 1]));
    g1->set_col_count(checked_add(years, 1));
    year_headers(g1, years);
    for (int c = 1; c <= years; ++c) g1->set_cell(c, k, q(ws.base_tfr_text));

    StringGrid* p = k == 1 ? ui_->StringGrid4 : k == 2 ? ui_->StringGrid6 : ui_->StringGrid7;
    for (int r = 1; r <= 35; ++r) p->set_cell(0, r, QString::number(14 + r));
    p->set_col_count(checked_add(years, 1));
    year_headers(p, years);
    const QString sum = q(format_pattern(pattern_sum(ws), "####.########"));
    for (int c = 1; c <= years; ++c) {
        for (int i = 0; i < 35; ++i) {
            const double v = at(at(ws.fert_pattern, i), 0);
            p->set_cell(c, i + 1, v == 0 ? QStringLiteral("0.0") : q(format_pattern(v, "##.########")));
        }
        p->set_cell(c, 36, sum);
    }
    p->set_cell(0, 36, QStringLiteral("合计"));

    if (k == 1) ui_->ComboBox10->setEnabled(true);
    if (k == 2) ui_->ComboBox11->setEnabled(true);

    if (k == 1) {
        StringGrid* g8 = ui_->StringGrid8;
        g8->set_cell(0, 1, QStringLiteral("总和生育率"));
        g8->set_col_count(checked_add(years, 1));
        year_headers(g8, years);
        for (int c = 1; c <= years; ++c) g8->set_cell(c, 1, q(ws.base_tfr_text));
    } else {
        total_tfr_after_load(years);
    }
}

void TSingle_Region_frm::ComboBox2Change() { ui::informing(this, [&] { population_loader(ui_->ComboBox2, Sex::male); }); }
void TSingle_Region_frm::ComboBox3Change() { ui::informing(this, [&] { population_loader(ui_->ComboBox3, Sex::female); }); }
void TSingle_Region_frm::ComboBox4Change() { ui::informing(this, [&] { mortality_loader(ui_->ComboBox4, Sex::male); }); }
void TSingle_Region_frm::ComboBox5Change() { ui::informing(this, [&] { mortality_loader(ui_->ComboBox5, Sex::female); }); }
void TSingle_Region_frm::ComboBox6Change() { ui::informing(this, [&] { fertility_loader(ui_->ComboBox6, 1); }); }
void TSingle_Region_frm::ComboBox10Change() { ui::informing(this, [&] { fertility_loader(ui_->ComboBox10, 2); }); }
void TSingle_Region_frm::ComboBox11Change() { ui::informing(this, [&] { fertility_loader(ui_->ComboBox11, 3); }); }

void TSingle_Region_frm::SpinEdit10Change()
{
    projection_workspace().years_changed = 1;
    ui_->BitBtn2->setEnabled(false);
}

void TSingle_Region_frm::SpinEdit11Change() { SpinEdit10Change(); }

void TSingle_Region_frm::rebuild_grids()
{
    ProjectionWorkspace& ws = projection_workspace();
    if (ws.years_changed == 1) {
        // An input error of one loader is reported and the rebuild goes on with the next.
        ComboBox2Change();
        ComboBox3Change();
        ComboBox6Change();
        ComboBox4Change();
        ComboBox5Change();
        ComboBox10Change();
        ComboBox11Change();
        ws.years_changed = 0;
        ui_->BitBtn2->setEnabled(true);
    }
    const int b = base_year(), e = end_year();
    for (QSpinBox* s : {ui_->SpinEdit3, ui_->SpinEdit5, ui_->SpinEdit7, ui_->SpinEdit9, ui_->SpinEdit12})
        s->setRange(checked_add(b, 2), e);
    for (QSpinBox* s : {ui_->SpinEdit1, ui_->SpinEdit2, ui_->SpinEdit4, ui_->SpinEdit6, ui_->SpinEdit8, ui_->SpinEdit13,
                        ui_->SpinEdit15})
        s->setRange(b, e);
    ui_->SpinEdit14->setMaximum(e);
    ui_->SpinEdit16->setMaximum(e);
    for (QSpinBox* s : {ui_->SpinEdit3, ui_->SpinEdit5, ui_->SpinEdit7, ui_->SpinEdit9, ui_->SpinEdit12, ui_->SpinEdit14,
                        ui_->SpinEdit16})
        s->setValue(e);
    for (QSpinBox* s : {ui_->SpinEdit1, ui_->SpinEdit2, ui_->SpinEdit4, ui_->SpinEdit6, ui_->SpinEdit8, ui_->SpinEdit13,
                        ui_->SpinEdit15})
        s->setValue(checked_add(b, 1));
}

// Each form rebuilds its own grids, also when a newer form exists (the wizard's form stays
// alive while a form from the menu comes and goes).
void TSingle_Region_frm::SpinEdit10DblClick() { rebuild_grids(); }
void TSingle_Region_frm::SpinEdit11DblClick() { rebuild_grids(); }
void TSingle_Region_frm::PageControl1Change() { rebuild_grids(); }

void TSingle_Region_frm::RadioButton16Click()
{
    ProjectionWorkspace& ws = projection_workspace();
    ws.with_floating_pop = 0;
    StringGrid* g5 = ui_->StringGrid5;
    const int years = ws.proj_year_count;
    g5->set_col_count(checked_add(years, 1));
    year_headers(g5, years);
    for (int c = 1; c <= years; ++c)
        for (int r = 1; r <= 3; ++r) g5->set_cell(c, r, QStringLiteral("0.0"));
}

void TSingle_Region_frm::RadioButton20Click()
{
    ProjectionWorkspace& ws = projection_workspace();
    ws.with_floating_pop = 1;
    StringGrid* g5 = ui_->StringGrid5;
    const int years = ws.proj_year_count;
    for (int c = 1; c <= years; ++c) {
        g5->set_cell(c, 1, QStringLiteral("10000"));
        g5->set_cell(c, 2, QStringLiteral("0.012"));
        g5->set_cell(c, 3, QStringLiteral("0.003"));
    }
}

void TSingle_Region_frm::RadioButton7Click()
{
    ui_->ComboBox8->setEnabled(false);
    ui_->ComboBox9->setEnabled(false);
    ui_->RadioButton6->setChecked(false);
}

void TSingle_Region_frm::RadioButton6Click()
{
    ui_->ComboBox8->setEnabled(true);
    ui_->ComboBox9->setEnabled(true);
    ui_->RadioButton7->setChecked(false);
}

void TSingle_Region_frm::StringGrid1SelectCell(int, int row) { projection_workspace().grid_current_row = row; }
void TSingle_Region_frm::StringGrid3SelectCell(int, int row) { projection_workspace().grid_current_row = row; }
void TSingle_Region_frm::StringGrid5SelectCell(int, int row) { projection_workspace().grid_current_row = row; }
void TSingle_Region_frm::StringGrid4SelectCell(int col, int row)
{
    projection_workspace().grid_current_col = col;
    projection_workspace().grid_current_row = row;
}
void TSingle_Region_frm::StringGrid6SelectCell(int col, int row) { StringGrid4SelectCell(col, row); }
void TSingle_Region_frm::StringGrid7SelectCell(int col, int row) { StringGrid4SelectCell(col, row); }

void TSingle_Region_frm::interpolate_row_box(int grid_no, int row, int box)
{
    struct Box {
        QSpinBox *start, *end;
        QRadioButton *copy, *linear, *expo;
    };
    const Box boxes[] = {
        {ui_->SpinEdit2, ui_->SpinEdit3, ui_->RadioButton1, ui_->RadioButton9, ui_->RadioButton10},
        {ui_->SpinEdit4, ui_->SpinEdit5, ui_->RadioButton4, ui_->RadioButton2, ui_->RadioButton3},
        {ui_->SpinEdit6, ui_->SpinEdit7, ui_->RadioButton14, ui_->RadioButton5, ui_->RadioButton13},
        {ui_->SpinEdit1, ui_->SpinEdit12, ui_->RadioButton19, ui_->RadioButton17, ui_->RadioButton18},
    };
    const Box& b = boxes[box];
    StringGrid* g = grid(grid_no);
    try {
        interpolate_grid_row(g->model(), row, b.start->value(), b.end->value(), base_year(),
                             projection_workspace().proj_year_count, interpolation_mode(b.copy, b.linear, b.expo));
    } catch (...) {
        g->refresh();  // cells written before a failure stay
        throw;
    }
    g->refresh();
}

void TSingle_Region_frm::interpolate_pattern_box(int grid_no, int box)
{
    struct Box {
        QSpinBox *start, *end;
        QRadioButton *copy, *linear, *expo;
    };
    const Box boxes[] = {
        {ui_->SpinEdit8, ui_->SpinEdit9, ui_->RadioButton15, ui_->RadioButton8, ui_->RadioButton12},
        {ui_->SpinEdit13, ui_->SpinEdit14, ui_->RadioButton23, ui_->RadioButton21, ui_->RadioButton22},
        {ui_->SpinEdit15, ui_->SpinEdit16, ui_->RadioButton26, ui_->RadioButton24, ui_->RadioButton25},
    };
    const Box& b = boxes[box];
    StringGrid* g = grid(grid_no);
    try {
        interpolate_pattern_rows(g->model(), b.start->value(), b.end->value(), base_year(),
                                 projection_workspace().proj_year_count, interpolation_mode(b.copy, b.linear, b.expo));
    } catch (...) {
        g->refresh();
        throw;
    }
    g->refresh();
}

void TSingle_Region_frm::Button1Click()
{
    ui::informing(this, [&] {
        ProjectionWorkspace& ws = projection_workspace();
        interpolate_row_box(1, ws.grid_current_row, 0);
        relay_total_tfr(ws, ui_->StringGrid1->model(), ui_->StringGrid8->model(), base_year());
        ui_->StringGrid8->refresh();
    });
}
void TSingle_Region_frm::Button2Click() { ui::informing(this, [&] { interpolate_row_box(2, 1, 1); }); }
void TSingle_Region_frm::Button3Click()
{
    ui::informing(this, [&] { interpolate_row_box(3, projection_workspace().grid_current_row, 2); });
}
void TSingle_Region_frm::Button5Click()
{
    ui::informing(this, [&] { interpolate_row_box(5, projection_workspace().grid_current_row, 3); });
}
void TSingle_Region_frm::Button4Click() { ui::informing(this, [&] { interpolate_pattern_box(4, 0); }); }
void TSingle_Region_frm::Button6Click() { ui::informing(this, [&] { interpolate_pattern_box(6, 1); }); }
void TSingle_Region_frm::Button7Click() { ui::informing(this, [&] { interpolate_pattern_box(7, 2); }); }

void TSingle_Region_frm::read_pattern(int grid_no)
{
    if (!ui::services().open_dialog(this, OpenDialog1) || OpenDialog1.file_name.isEmpty()) return;
    StringGrid* g = grid(grid_no);
    try {
        read_pattern_into_grid(g->model(), projection_workspace().grid_current_col, OpenDialog1.file_name.toStdString());
    } catch (...) {
        g->refresh();  // the cells read before a failure stay
        throw;
    }
    g->refresh();
}

void TSingle_Region_frm::save_pattern(int grid_no)
{
    if (!ui::services().save_dialog(this, SaveDialog1) || SaveDialog1.file_name.isEmpty()) return;
    write_pattern_from_grid(grid(grid_no)->model(), projection_workspace().grid_current_col,
                            SaveDialog1.file_name.toStdString());
}

void TSingle_Region_frm::Button8Click() { read_pattern(4); }
void TSingle_Region_frm::Button9Click() { save_pattern(4); }
void TSingle_Region_frm::Button10Click() { read_pattern(6); }
void TSingle_Region_frm::Button11Click() { save_pattern(6); }
void TSingle_Region_frm::Button12Click() { read_pattern(7); }
void TSingle_Region_frm::Button13Click() { save_pattern(7); }

void TSingle_Region_frm::BitBtn2Click()
{
    ProjectionWorkspace& ws = projection_workspace();
    RunInputs in;
    in.field_texts = {ui_->ComboBox2->currentText().toStdString(), ui_->ComboBox3->currentText().toStdString(),
                      ui_->ComboBox4->currentText().toStdString(), ui_->ComboBox5->currentText().toStdString(),
                      ui_->ComboBox6->currentText().toStdString()};
    in.tfr_grid = ui_->StringGrid1->model();
    in.e0_grid = ui_->StringGrid3->model();
    in.srb_grid = ui_->StringGrid2->model();
    in.pattern_grids = {ui_->StringGrid4->model(), ui_->StringGrid6->model(), ui_->StringGrid7->model()};
    in.floating_grid = ui_->StringGrid5->model();
    in.urban_share_text = ui_->Edit1->text().toStdString();
    in.floating_pop_text = ui_->Edit2->text().toStdString();
    in.mortality = ui_->RadioButton6->isChecked() ? MortalityOption::survivorship : MortalityOption::life_expectancy;
    in.lx_field_male = ui_->ComboBox8->currentText().toStdString();
    in.lx_field_female = ui_->ComboBox9->currentText().toStdString();
    // The survivorship curves are read from the current table, a whole column at a time.
    auto columns = std::make_shared<std::map<std::string, std::vector<double>>>();
    in.read_field = [columns](int age, const std::string& name) {
        auto it = columns->find(name);
        if (it == columns->end()) it = columns->emplace(name, main_table_column(QString::fromStdString(name))).first;
        return at(it->second, age);
    };
    bool ran = false;
    ui::informing(this, [&] {
        run_projection(ws, in);
        ran = true;
    });
    if (!ran) return;
    // The form closes (it stays alive: the viewer reads its years) and the viewer takes over.
    done(QDialog::Accepted);
    auto* viewer = ui::new_window(nullptr, pop_result_Form1);
    ui::show_modal(*viewer);
}

void TSingle_Region_frm::BitBtn1Click()
{
    reset_main_grid_colours();
    done(QDialog::Rejected);
}

}  // namespace vantelo
