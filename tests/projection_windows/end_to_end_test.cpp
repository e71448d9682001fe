// One request end to end: a prepared table, the projection form opened by the menu command,
// fields chosen, 开始预测, and the viewer's text reports compared with a projection worked out
// here, step by step from the cohort-component rules, without the program's own code.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>

#include <QAction>
#include <QDir>
#include <QTemporaryDir>

#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "projection/Single_Region_frm1.h"
#include "projection/pop_data_resultFrm1.h"
#include "projection/pop_result_Frm1.h"
#include "projection/projection_links.h"
#include "projection/single_region_launcher.h"
#include "projection/string_grid.h"
#include "projection_table.h"
#include "shell/app_state.h"
#include "shell/dataset_model.h"
#include "shell/launch.h"
#include "shell/menu.h"
#include "tests/common/widget_events.h"

using namespace vantelo;
using namespace vantelo::projection;
using Lines = std::vector<std::string>;

namespace {

constexpr int ages = 81;

InputRow input_row(int x)
{
    InputRow r;
    r.male = 1000 + 7 * (80 - x);
    r.female = 990 + 6 * (80 - x);
    r.m_male = x == 0 ? 0.02 : 0.004 + 0.0011 * x;
    r.m_female = x == 0 ? 0.018 : 0.003 + 0.001 * x;
    r.fertility = (x >= 20 && x < 35) ? 0.1 : 0;  // TFR 1.5
    return r;
}

// Person-years lived L(x) of a single-year life table with radix 1.
std::vector<long double> years_lived(bool male)
{
    std::vector<long double> m(ages), a(ages), l(ages + 1), big_l(ages);
    for (int x = 0; x < ages; ++x) m[x] = male ? input_row(x).m_male : input_row(x).m_female;
    // separation factors: the infant rate decides the first five ages
    const double q0 = static_cast<double>(1 - std::exp(-m[0]));
    for (int x = 0; x < ages; ++x) a[x] = x < 5 ? 0 : x < 10 ? 0.45L : x < 70 ? 0.52L : 0.5L;
    if (q0 >= 0.1) {
        a[0] = male ? 0.33L : 0.35L;
        for (int x = 1; x < 5; ++x) a[x] = male ? 0.338L : 0.34025L;
    } else {
        a[0] = male ? 0.0425L + 2.875L * q0 : 0.05L + 3.0L * q0;
        for (int x = 1; x < 5; ++x) a[x] = male ? (1.63L - 3.013L * q0) / 4 : (1.524L - 1.627L * q0) / 4;
    }
    l[0] = 1;
    for (int x = 0; x + 1 < ages; ++x) {
        const double q = static_cast<double>(1 - std::exp(-m[x]));
        const double d = static_cast<double>(l[x] * q);
        l[x + 1] = static_cast<double>(l[x] - d);
        big_l[x] = static_cast<double>((l[x] - l[x + 1]) * a[x] + l[x + 1]);
    }
    big_l[ages - 1] = static_cast<double>(l[ages - 1] / m[ages - 1]);
    return big_l;
}

struct YearResult {
    long double total, male, births;
};

// The closed projection, the oldest age open-ended, with the base year's mortality in every year (the life-expectancy
// cells are left as loaded) and a sex ratio at birth of 105.
std::vector<YearResult> worked_projection(int years, std::vector<double>& pm, std::vector<double>& pf)
{
    const auto lm = years_lived(true), lf = years_lived(false);
    const long double sm = 105.0L / 205.0L, sf = 100.0L / 205.0L;
    for (int x = 0; x < ages; ++x) {
        pm[x] = input_row(x).male;
        pf[x] = input_row(x).female;
    }
    std::vector<YearResult> out;
    for (int y = 0; y < years; ++y) {
        std::vector<long double> nm(ages), nf(ages);
        for (int x = 0; x + 2 < ages; ++x) {
            nm[x + 1] = lm[x + 1] / lm[x] * pm[x];
            nf[x + 1] = lf[x + 1] / lf[x] * pf[x];
        }
        // the oldest age is open-ended: those aged N-2 and N-1 survive into it by the ratio of
        // the person-years lived at N-1 to those lived at N-2 and over
        const int o = ages - 1;
        nm[o] = (pm[o - 1] + pm[o]) * lm[o] / (lm[o - 1] + lm[o]);
        nf[o] = (pf[o - 1] + pf[o]) * lf[o] / (lf[o - 1] + lf[o]);
        long double bm = 0, bf = 0;
        for (int x = 15; x <= 49; ++x) {
            const long double w = lf[x] / lf[x - 1] * pf[x - 1] + pf[x];
            bm += w * input_row(x).fertility * sm;
            bf += w * input_row(x).fertility * sf;
        }
        const long double births = (bm + bf) / 2;
        nm[0] = bm * lm[0] / 2;
        nf[0] = bf * lf[0] / 2;
        long double total = 0, male = 0;
        for (int x = 0; x < ages; ++x) {
            pm[x] = std::nearbyint(static_cast<double>(nm[x]));
            pf[x] = std::nearbyint(static_cast<double>(nf[x]));
            male += pm[x];
            total += pm[x] + pf[x];
        }
        out.push_back({total, male, births});
    }
    return out;
}

std::string integer_text(long double v) { return std::to_string(static_cast<long long>(v)); }

}  // namespace

TEST(EndToEnd, PreparedTableToTheViewersText)
{
    ui::ScopedScriptedServices services;
    ProjectionTable input(ages, input_row, "e2e");
    input.table.close();
    reset_projection_workspace();
    shell::reset_app_state();
    QTemporaryDir cwd;
    QDir::setCurrent(cwd.path());

    // The main window opens the table; the command is on its menu.
    register_single_region_projection();
    auto main = std::make_unique<shell::Tquilta>();
    main->update_launchers();
    services.open_answers.push_back(QString::fromStdString(input.path));
    main->Open1Click();
    ASSERT_TRUE(main->Table1.active());

    std::vector<Lines> reports;
    bool viewer_shown = false;
    TSingle_Region_frm* opened = nullptr;
    // Every window goes through the one runner: the form from the main window's launcher, then the
    // viewer and its text reports from inside the form's run.
    ui::set_window_runner([&](QWidget* w, bool modal) -> int {
        EXPECT_TRUE(modal);
        if (auto* form = qobject_cast<TSingle_Region_frm*>(w)) {
            opened = form;
            auto choose = [&](const char* box, const char* field) {
                EXPECT_TRUE(test_events::pick_text(form->findChild<QComboBox*>(box), QString::fromUtf8(field))) << field;
            };
            form->findChild<QSpinBox*>("SpinEdit11")->setValue(2002);
            choose("ComboBox2", "男性人口");
            choose("ComboBox3", "女性人口");
            choose("ComboBox4", "男性死亡率");
            choose("ComboBox5", "女性死亡率");
            choose("ComboBox6", "年龄别生育率");
            form->SpinEdit11DblClick();  // the grids follow the new end year
            form->grid(2)->set_cell(1, 1, "105");
            form->grid(2)->set_cell(2, 1, "105");
            form->findChild<QPushButton*>("BitBtn2")->click();
            return form->result();
        }
        if (auto* viewer = qobject_cast<Tpop_result_Form1*>(w)) {
            viewer_shown = true;
            for (int k : {-1, 1, 15, 21}) {
                if (k >= 0) test_events::pick(viewer->ComboBox1(), k);
                viewer->BitBtn2()->click();
            }
            return 0;
        }
        if (auto* t = qobject_cast<Tpop_data_resultForm1*>(w)) reports.push_back(t->lines());
        return 0;
    });
    main->menu_item("Projection1")->trigger();
    ui::set_window_runner({});

    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->parent(), main.get());
    EXPECT_EQ(opened->result(), QDialog::Accepted);  // closed by the run, still alive
    // the used columns are coloured in the main grid
    EXPECT_EQ(main->DataSource1->column_color(1), QColor(255, 0, 0));
    EXPECT_EQ(main->DataSource1->column_color(5), QColor(0, 128, 0));

    EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();
    ASSERT_TRUE(viewer_shown);
    ASSERT_EQ(reports.size(), 4u);

    std::vector<double> pm(ages), pf(ages);
    auto expected = worked_projection(2, pm, pf);
    EXPECT_EQ(reports[0], (Lines{"", "总人口数", "2001    " + integer_text(expected[0].total),
                                 "2002    " + integer_text(expected[1].total)}));
    EXPECT_EQ(reports[1], (Lines{"", "男性总人口数", "2001    " + integer_text(expected[0].male),
                                 "2002    " + integer_text(expected[1].male)}));
    ASSERT_EQ(reports[2].size(), 4u);
    EXPECT_EQ(reports[2][2], "2001    " + integer_text(std::nearbyint(static_cast<double>(expected[0].births))));
    EXPECT_EQ(reports[2][3], "2002    " + integer_text(std::nearbyint(static_cast<double>(expected[1].births))));
    ASSERT_EQ(reports[3].size(), 3u + ages);
    EXPECT_EQ(reports[3][1], "2002年 年龄结构");
    for (int x : {0, 1, 40, 80})
        EXPECT_EQ(reports[3][static_cast<size_t>(3 + x)],
                  std::to_string(x) + "  " + integer_text(pm[x]) + "   " + integer_text(pf[x]))
            << x;
    shell::register_window(QStringLiteral("Projection1"), {});
    set_main_window_link({});
    main.reset();
    Single_Region_frm = nullptr;
    QDir::setCurrent(QDir::tempPath());
}
