// One request end to end: a prepared urban/rural table, the form opened by the menu command,
// ten fields chosen, a shorter span rebuilt, migrants typed in, 运算, and the viewer's text
// reports compared with a projection of both parts worked out here from the model's rules.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cmath>

#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "projection/engine/workspace.h"
#include "projection/pop_data_resultFrm1.h"
#include "projection/projection_links.h"
#include "projection/string_grid.h"
#include "shell/app_state.h"
#include "shell/launch.h"
#include "shell/menu.h"
#include "tests/common/widget_events.h"
#include "tests/urban_rural_engine/reference_projection.h"
#include "urban_rural/engine/urban_workspace.h"
#include "urban_rural/multi_pop_Frm1.h"
#include "urban_rural/multi_pop_launcher.h"
#include "urban_rural/multi_result_Frm1.h"
#include "urban_table.h"

using namespace vantelo;
using Lines = std::vector<std::string>;

namespace {

constexpr int ages = 81, years = 3;

// Rural: the flat fixture. Urban: fewer people at older ages, more boys than girls at age 0,
// lower mortality, fertility 0.1 at ages 22..36 (TFR 1.5).
UrbanRow input_row(int x)
{
    UrbanRow r = flat_row(x);
    r.urban_male = 1200 - 5 * x;
    r.urban_female = 1150 - 5 * x;
    r.urban_m_male = x == 80 ? 0.2 : 0.008;
    r.urban_m_female = x == 80 ? 0.2 : 0.006;
    r.urban_fertility = x >= 22 && x <= 36 ? 0.1 : 0;
    return r;
}

// Person-years lived L(x) of a single-year life table of radix 1 from constant rates, the last
// age open (L = l/m), with the separation factors of the sex: a(0) and a(1..4) from q0 below
// 0.1, 0.45 at 5..9, 0.52 at 10..69, 0.5 from 70.
std::vector<double> years_lived(bool urban, bool male)
{
    std::vector<long double> m(ages), a(ages);
    std::vector<double> l(ages + 1), big_l(ages);
    for (int x = 0; x < ages; ++x) {
        const UrbanRow r = input_row(x);
        m[x] = urban ? (male ? r.urban_m_male : r.urban_m_female) : (male ? r.rural_m_male : r.rural_m_female);
    }
    const double q0 = static_cast<double>(1 - std::exp(-m[0]));
    for (int x = 0; x < ages; ++x) a[x] = x < 5 ? 0 : x < 10 ? 0.45L : x < 70 ? 0.52L : 0.5L;
    a[0] = static_cast<double>(male ? 0.0425L + 2.875L * q0 : 0.05L + 3.0L * q0);
    for (int x = 1; x < 5; ++x)
        a[x] = static_cast<double>(male ? (1.63L - 3.013L * q0) / 4 : (1.524L - 1.627L * q0) / 4);
    l[0] = 1;
    for (int x = 0; x + 1 < ages; ++x) {
        const double q = static_cast<double>(1 - std::exp(-m[x]));
        const double d = static_cast<double>(l[x] * static_cast<long double>(q));
        l[x + 1] = static_cast<double>(static_cast<long double>(l[x]) - d);
        big_l[x] = static_cast<double>((static_cast<long double>(l[x]) - l[x + 1]) * a[x] + l[x + 1]);
    }
    big_l[ages - 1] = static_cast<double>(l[ages - 1] / m[ages - 1]);
    return big_l;
}

urban_reference::PartResult worked_part(bool urban, long double migrants, int sign)
{
    urban_reference::PartInput in;
    for (int x = 0; x < ages; ++x) {
        const UrbanRow r = input_row(x);
        in.pm.push_back(urban ? r.urban_male : r.rural_male);
        in.pf.push_back(urban ? r.urban_female : r.rural_female);
        // the pattern is read back from its six-decimal text, times the loaded TFR
        const long double share = urban ? (r.urban_fertility == 0 ? 0.0L : 0.066667L) : r.rural_fertility / 2.0L;
        in.asfr.push_back(static_cast<double>(share * (urban ? 1.5L : 2.0L)));
    }
    const auto lm = years_lived(urban, true), lf = years_lived(urban, false);
    for (int x = 0; x < ages; ++x) {
        in.lm.push_back(std::vector<double>(years, lm[x]));
        in.lf.push_back(std::vector<double>(years, lf[x]));
    }
    // the sex ratio at birth as the grid shows it: 100 m0/f0 with four decimals
    const long double srb = urban ? 104.3478L : 100.0L;
    in.share_male = srb / (srb + 100);
    in.share_female = 100 / (srb + 100);
    std::vector<long double> shares(ages, 0.0L);
    for (int x = 0; x < 80; ++x) shares[x] = 0.0125L;
    return urban_reference::project_part(in, years, migrants, migrants, shares, sign);
}

std::string integer_text(double v) { return std::to_string(static_cast<long long>(v)); }

}  // namespace

TEST(UrbanEndToEnd, PreparedTableToTheViewersText)
{
    ui::ScopedScriptedServices services;
    UrbanTable input(ages, input_row);
    input.table.close();
    projection::reset_projection_workspace();
    urban_rural::reset_urban_workspace();
    shell::reset_app_state();
    QTemporaryDir cwd;
    QDir::setCurrent(cwd.path());

    urban_rural::register_urban_rural_projection();
    auto main = std::make_unique<shell::Tquilta>();
    main->update_launchers();
    services.open_answers.push_back(QString::fromStdString(input.path));
    main->Open1Click();
    ASSERT_TRUE(main->Table1.active());
    ASSERT_TRUE(main->menu_item("N6")->isEnabled());

    std::vector<Lines> reports;
    bool viewer_shown = false, form_visible_under_viewer = false;
    Tmulti_pop_Frm* opened = nullptr;
    ui::set_window_runner([&](QWidget* w, bool modal) -> int {
        EXPECT_TRUE(modal);
        if (auto* form = qobject_cast<Tmulti_pop_Frm*>(w)) {
            opened = form;
            form->show();
            form->findChild<QSpinBox*>("SpinEdit17")->setValue(1990 + years);
            choose_all_fields(form);
            EXPECT_FALSE(form->findChild<QPushButton*>("BitBtn2")->isEnabled());
            form->SpinEdit17DblClick();  // the grids follow the new end year
            for (int c = 1; c <= years; ++c) {
                form->grid(8)->set_cell(c, 1, "100");
                form->grid(8)->set_cell(c, 2, "100");
                for (int r = 1; r <= 80; ++r) {
                    form->grid(6)->set_cell(c, r, "0.0125");
                    form->grid(7)->set_cell(c, r, "0.0125");
                }
            }
            form->findChild<QPushButton*>("BitBtn2")->click();
            return form->result();
        }
        if (auto* viewer = qobject_cast<Tmulti_result_Frm*>(w)) {
            viewer_shown = true;
            form_visible_under_viewer = opened && opened->isVisible();
            for (int k : {-1, 9, 18, 21, 27}) {
                if (k >= 0) test_events::pick(viewer->ComboBox1(), k);
                viewer->BitBtn2()->click();
            }
            return 0;
        }
        if (auto* t = qobject_cast<Tpop_data_resultForm1*>(w)) reports.push_back(t->lines());
        return 0;
    });
    main->menu_item("N6")->trigger();
    ui::set_window_runner({});

    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->parent(), main.get());
    EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();
    ASSERT_TRUE(viewer_shown);
    EXPECT_TRUE(form_visible_under_viewer);  // the form goes only when the viewer is closed
    EXPECT_FALSE(opened->isVisible());
    EXPECT_EQ(opened->result(), QDialog::Rejected);
    ASSERT_EQ(reports.size(), 5u);

    const auto rural = worked_part(false, 100, -1);
    const auto urban = worked_part(true, 100, +1);
    auto listing = [&](const char* heading, auto value) {
        Lines out{"", heading};
        for (int y = 0; y < years; ++y) out.push_back(std::to_string(1991 + y) + "   " + integer_text(value(y)));
        return out;
    };
    EXPECT_EQ(reports[0], listing("总人口数", [&](int y) { return rural.total[y] + urban.total[y]; }));
    EXPECT_EQ(reports[1], listing("农村总人口数", [&](int y) { return rural.total[y]; }));
    EXPECT_EQ(reports[2], listing("城市总人口数", [&](int y) { return urban.total[y]; }));
    EXPECT_EQ(reports[3], listing("城市0--14岁人口数", [&](int y) { return urban.young[y]; }));
    ASSERT_EQ(reports[4].size(), 4u + ages);
    EXPECT_EQ(reports[4][1], "总人口年龄结构");
    EXPECT_EQ(reports[4][2], "1993年 年龄结构");
    for (int x : {0, 1, 40, 79, 80})
        EXPECT_EQ(reports[4][static_cast<size_t>(4 + x)],
                  std::to_string(x) + "  " + integer_text(rural.pm[x] + urban.pm[x]) + "   " +
                      integer_text(rural.pf[x] + urban.pf[x]))
            << x;
    // the migrants really moved: the rural part lost people against a closed projection
    EXPECT_LT(rural.total[0], worked_part(false, 0, -1).total[0]);

    shell::register_window(QStringLiteral("N6"), {});
    projection::set_main_window_link({});
    main.reset();
    multi_pop_Frm = nullptr;
    multi_result_Frm = nullptr;
    QDir::setCurrent(QDir::tempPath());
}
