#include "planning/Target_Planning_Unit1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "planning/engine/planning_run.h"
#include "planning/engine/tfr_report.h"
#include "platform/chart/chart.h"
#include "platform/chart/chart_widget.h"
#include "platform/chart/series.h"
#include "platform/core/random.h"
#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "platform/ui/spin_edit.h"
#include "shell/app_state.h"
#include "shell/launch.h"
#include "shell/main_table.h"
#include "shell/menu.h"
#include "ui_Target_Planning_Unit1.h"

namespace vantelo {

TTarget_Planning_Frm1* Target_Planning_Frm1 = nullptr;

using namespace planning;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& q) { return q.toStdString(); }

// The program's random numbers: uniform draws, the milliseconds of the day, a given seed.
SearchRandom program_random()
{
    return SearchRandom{[] { return random_uniform(); }, [] { return milliseconds_of_day(); },
                        [](std::uint32_t seed) { randomize(seed); }};
}

// Loads a field into `target` (sized to the table's record count), then checks the values;
// they stay loaded whether or not the check passes.
void load_field(QComboBox* box, k_ar& target, void (*check)(const std::vector<double>&),
                k_ar* also_sized = nullptr)
{
    if (box->currentText().isEmpty()) return;
    const std::vector<double> values = shell::main_table_column(box->currentText());
    const long long n = static_cast<long long>(values.size());
    projection::resize_array(target, n);
    if (also_sized) projection::resize_array(*also_sized, n);
    for (long long i = 0; i < n; ++i) at(target, i) = values[static_cast<std::size_t>(i)];
    check(values);
}

}  // namespace

TTarget_Planning_Frm1::TTarget_Planning_Frm1(QWidget* parent)
    : QDialog(parent), search_random(program_random()), report_dir(shell::start_dir),
      ui_(std::make_unique<Ui::TTarget_Planning_Frm1>())
{
    ui_->setupUi(this);
    ComboBox2 = ui_->ComboBox2;
    ComboBox3 = ui_->ComboBox3;
    ComboBox4 = ui_->ComboBox4;
    ComboBox5 = ui_->ComboBox5;
    ComboBox6 = ui_->ComboBox6;
    SpinEdit1 = ui_->SpinEdit1;
    SpinEdit2 = ui_->SpinEdit2;
    Edit1 = ui_->Edit1;
    Edit2 = ui_->Edit2;
    Edit3 = ui_->Edit3;
    Edit4 = ui_->Edit4;
    Edit5 = ui_->Edit5;
    Edit6 = ui_->Edit6;
    Edit7 = ui_->Edit7;
    Edit9 = ui_->Edit9;
    Edit10 = ui_->Edit10;
    Edit11 = ui_->Edit11;
    Edit12 = ui_->Edit12;
    RadioButton1 = ui_->RadioButton1;
    RadioButton2 = ui_->RadioButton2;
    BitBtn1 = ui_->BitBtn1;
    BitBtn2 = ui_->BitBtn2;
    Chart1 = ui_->Chart1;

    chart::Chart& c = Chart1->chart();
    c.set_view3d(false);
    c.set_title_text(QStringLiteral("TChart"));
    c.set_wall_colour(chart::WallKind::Back, Qt::white);
    c.set_wall_clear(chart::WallKind::Back, true);
    chart::Series& series1 = c.add_series(chart::SeriesKind::FastLine);
    series1.set_title(QStringLiteral("Series1"));
    series1.set_colour(Qt::red);
    chart::Series& series2 = c.add_series(chart::SeriesKind::FastLine);
    series2.set_title(QStringLiteral("Series2"));
    series2.set_colour(Qt::green);

    using F = TTarget_Planning_Frm1;
    ui::connect_guarded(ComboBox2, &QComboBox::activated, this, &F::ComboBox2Change);
    ui::connect_guarded(ComboBox3, &QComboBox::activated, this, &F::ComboBox3Change);
    ui::connect_guarded(ComboBox4, &QComboBox::activated, this, &F::ComboBox4Change);
    ui::connect_guarded(ComboBox5, &QComboBox::activated, this, &F::ComboBox5Change);
    ui::connect_guarded(ComboBox6, &QComboBox::activated, this, &F::ComboBox6Change);
    ui::connect_guarded(BitBtn2, &QPushButton::clicked, this, &F::BitBtn2Click);
    ui::connect_guarded(BitBtn1, &QPushButton::clicked, this, &F::BitBtn1Click);
}

TTarget_Planning_Frm1::~TTarget_Planning_Frm1()
{
    if (Target_Planning_Frm1 == this) Target_Planning_Frm1 = nullptr;
}

void TTarget_Planning_Frm1::fill_field_lists(const QStringList& fields)
{
    for (QComboBox* box : {ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6}) ui::fill_list(box, fields);
}

// The two population loaders keep both population arrays at the table's length.
void TTarget_Planning_Frm1::ComboBox2Change()
{
    ui::informing(this, [&] { load_field(ComboBox2, data.male.pop, check_population_values, &data.female.pop); });
}
void TTarget_Planning_Frm1::ComboBox3Change()
{
    ui::informing(this, [&] { load_field(ComboBox3, data.female.pop, check_population_values, &data.male.pop); });
}
void TTarget_Planning_Frm1::ComboBox4Change()
{
    ui::informing(this, [&] { load_field(ComboBox4, data.male.death_rate, check_death_rate_values); });
}
void TTarget_Planning_Frm1::ComboBox5Change()
{
    ui::informing(this, [&] { load_field(ComboBox5, data.female.death_rate, check_death_rate_values); });
}
void TTarget_Planning_Frm1::ComboBox6Change()
{
    ui::informing(this, [&] { load_field(ComboBox6, data.asfr, check_fertility_values); });
}

void TTarget_Planning_Frm1::BitBtn2Click()
{
    PlanningInputs in;
    in.field_texts = {s(ComboBox2->currentText()), s(ComboBox3->currentText()), s(ComboBox4->currentText()),
                      s(ComboBox5->currentText())};
    in.from_year = SpinEdit1->value();
    in.to_year = SpinEdit2->value();
    in.read_column = [](const std::string& field) { return shell::main_table_column(q(field)); };
    in.population_target_text = s(Edit7->text());
    in.rule = RadioButton1->isChecked()   ? BirthsRule::equal_births
              : RadioButton2->isChecked() ? BirthsRule::equal_survivors
                                          : BirthsRule::none;
    in.params = SearchParamTexts{s(Edit1->text()), s(Edit2->text()), s(Edit3->text()), s(Edit4->text()),
                                 s(Edit5->text()), s(Edit10->text()), s(Edit12->text())};
    in.report_dir = s(report_dir);

    PlanningProgress progress;
    progress.search.run_started = [this](int run) {
        Edit9->setText(QString::number(run));
        // The search dispatches no events: the progress boxes are drawn now. The rest of the
        // dialog does not change during the search.
        for (QLineEdit* e : {Edit9, Edit6, Edit11}) e->repaint();
    };
    progress.search.generation = [this](int counter) { Edit6->setText(QString::number(counter)); };
    progress.search.run_ended = [this](int converged) { Edit11->setText(QString::number(converged)); };
    progress.year_counts = [this](int kept) { Edit11->setText(q(counts_text(s(Edit11->text()), kept))); };
    progress.year_summary = [this](const YearResult& y) { Edit6->setText(q(summary_text(y))); };
    progress.year_chart = [this](const YearResult& y, const std::array<double, gene_count>& reference) {
        chart::Chart& c = Chart1->chart();
        for (std::size_t g = 0; g < gene_count; ++g) {
            c.series(0).add(y.mean_curve[g], QStringLiteral(" "), QColor(Qt::blue));
            c.series(1).add(reference[g], QStringLiteral(" "), QColor(Qt::red));
        }
    };
    ui::informing(this, [&] { run_target_planning(data, in, search_random, progress); });
}

void TTarget_Planning_Frm1::BitBtn1Click() { done(QDialog::Rejected); }

void register_target_planning()
{
    shell::register_window(QStringLiteral("Simulation1"), [](shell::Tquilta& main) -> QWidget* {
        TTarget_Planning_Frm1* dialog = shell::new_window(&main, Target_Planning_Frm1);
        dialog->fill_field_lists(main.field_names());
        return dialog;
    });
}

}  // namespace vantelo
