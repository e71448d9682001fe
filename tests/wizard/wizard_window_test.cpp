// The projection wizard driven as a user drives it: 文件 > 预测向导, the four pages typed or read
// from text files, the projection form it fills, 开始预测; and its refusals.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "platform/ui/string_grid.h"
#include "projection/Single_Region_frm1.h"
#include "projection/define_wizard_frm1.h"
#include "projection/pop_result_Frm1.h"
#include "projection/projection_links.h"
#include "projection/single_region_launcher.h"
#include "projection/string_grid.h"
#include "projection/wizard_Frm1.h"
#include "projection/wizard_Frm2.h"
#include "projection/wizard_Frm3.h"
#include "projection_table.h"
#include "shell/app_state.h"
#include "shell/launch.h"
#include "shell/menu.h"
#include "tests/common/temp_dir.h"
#include "tests/common/widget_events.h"

using namespace vantelo;
using namespace vantelo::projection;

namespace {

constexpr int ages = 81;

// The same base data for the wizard and for a table: 105 boys per 100 girls at age 0, a TFR of
// 2 spread evenly over ages 20..44 (shares of .04, exact in every picture).
InputRow input_row(int x)
{
    InputRow r;
    r.male = x == 0 ? 1050 : 1000 + 7 * (80 - x);
    r.female = x == 0 ? 1000 : 990 + 6 * (80 - x);
    // rates of six decimals, so that a file written in the general format gives them back
    auto six = [](double v) { return std::round(v * 1e6) / 1e6; };
    r.m_male = x == 0 ? 0.02 : six(0.004 + 0.0011 * x);
    r.m_female = x == 0 ? 0.018 : six(0.003 + 0.001 * x);
    r.fertility = (x >= 20 && x < 45) ? 0.08 : 0;
    return r;
}

QString text(double v) { return QString::number(v, 'g', 15); }

struct Results {
    std::vector<double> total, male, births, deaths, pop_male, pop_female;
    bool operator==(const Results&) const = default;
};

Results results_now()
{
    const ProjectionWorkspace& ws = projection_workspace();
    return {ws.res_total_pop, ws.res_male_pop, ws.res_births, ws.res_deaths, ws.pop_male, ws.pop_female};
}

template <class T>
T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(c) << name;
    return c;
}

// Every window the wizard shows goes through the runner: windows shown without blocking are
// shown for real (offscreen), a modal one is handed to `on_modal`.
struct WizardFixture : ::testing::Test {
    ui::ScopedScriptedServices services;
    test_support::TempDir dir{"vantelo-wizard"};
    std::vector<std::pair<QPointer<QWidget>, bool>> shown;
    std::function<int(QWidget*)> on_modal;
    std::unique_ptr<ui::ScopedWindowRunner> runner;
    std::vector<QPointer<QWidget>> made;  // windows without an owner, deleted at the end

    void SetUp() override
    {
        reset_projection_workspace();
        shell::reset_app_state();
        runner = std::make_unique<ui::ScopedWindowRunner>([this](QWidget* w, bool modal) -> int {
            shown.emplace_back(w, modal);
            made.emplace_back(w);
            if (!modal) {
                w->show();
                return 0;
            }
            return on_modal ? on_modal(w) : 0;
        });
    }
    void TearDown() override
    {
        runner.reset();
        made.emplace_back(Single_Region_frm);
        made.emplace_back(define_wizard_frm.data());
        for (auto& w : made) delete w.data();
        Single_Region_frm = nullptr;
        shell::register_window(QStringLiteral("N8"), {});
    }
    std::string file(const char* name) const { return (dir.path() / name).string(); }

    // Page 1 opened as the menu opens it, with N ages.
    Tdefine_wizard_frm* first_page(int n = ages)
    {
        auto* page = ui::new_window(nullptr, define_wizard_frm);
        made.emplace_back(page);
        child<QSpinBox>(page, "SpinEdit1")->setValue(n);
        return page;
    }
    template <class W>
    W* next_page(QPushButton* button, const QPointer<W>& global)
    {
        const auto before = shown.size();
        button->click();
        EXPECT_EQ(shown.size(), before + 1);
        EXPECT_TRUE(global);
        if (shown.size() == before + 1) {
            EXPECT_FALSE(shown.back().second);  // without blocking
        }
        return global.data();
    }
    QString message() const { return services.messages.empty() ? QString() : services.messages.back().text; }
};

void type_population(ui::StringGrid* g)
{
    for (int x = 0; x < ages; ++x) {
        g->set_cell(1, x + 1, text(input_row(x).male));
        g->set_cell(2, x + 1, text(input_row(x).female));
    }
}
void type_death_rates(ui::StringGrid* g)
{
    for (int x = 0; x < ages; ++x) {
        g->set_cell(1, x + 1, text(input_row(x).m_male));
        g->set_cell(2, x + 1, text(input_row(x).m_female));
    }
}
void type_fertility(ui::StringGrid* g)
{
    for (int x = 15; x <= 50; ++x) g->set_cell(1, x - 14, text(input_row(x).fertility));
}

// The projection of the same data from a table through the form of the menu command.
Results table_run()
{
    ProjectionTable table(ages, input_row, "same");
    set_main_window_link({&table.table, [](const QString&, const QColor&) {}});
    reset_projection_workspace();
    TSingle_Region_frm* form = new_single_region_form(nullptr, main_table_field_names());
    child<QSpinBox>(form, "SpinEdit10")->setValue(1990);
    child<QSpinBox>(form, "SpinEdit11")->setValue(2000);
    for (auto [box, field] : {std::pair{"ComboBox2", "男性人口"}, {"ComboBox3", "女性人口"}, {"ComboBox4", "男性死亡率"},
                              {"ComboBox5", "女性死亡率"}, {"ComboBox6", "年龄别生育率"}})
        EXPECT_TRUE(test_events::pick_text(child<QComboBox>(form, box), QString::fromUtf8(field)));
    form->SpinEdit11DblClick();
    EXPECT_EQ(form->grid(2)->cell(1, 1), "105");
    EXPECT_EQ(form->grid(1)->cell(1, 1), "2");
    EXPECT_EQ(form->grid(4)->cell(1, 6), ".04");
    {
        ui::ScopedWindowRunner viewer([](QWidget* w, bool) {
            delete w;
            return 0;
        });
        child<QPushButton>(form, "BitBtn2")->click();
    }
    EXPECT_EQ(form->result(), QDialog::Accepted);
    delete form;
    set_main_window_link({});
    return results_now();
}

}  // namespace

TEST_F(WizardFixture, MenuCommandNeedsNoTableAndShowsThePageWithoutBlocking)
{
    register_projection_wizard();
    auto main = std::make_unique<shell::Tquilta>();
    main->update_launchers();
    ASSERT_TRUE(main->menu_item("N8")->isEnabled());
    EXPECT_TRUE(main->findChild<QToolButton*>("ToolButton10")->isEnabled());
    main->menu_item("N8")->trigger();
    EXPECT_TRUE(services.messages.empty());  // no table check
    ASSERT_EQ(shown.size(), 1u);
    auto* page = qobject_cast<Tdefine_wizard_frm*>(shown[0].first.data());
    ASSERT_TRUE(page);
    EXPECT_FALSE(shown[0].second);
    EXPECT_EQ(page, define_wizard_frm.data());
    EXPECT_EQ(page->parent(), nullptr);  // owned by the application
    EXPECT_EQ(page->windowTitle(), "人口预测向导 第一步");
    auto* n = child<QSpinBox>(page, "SpinEdit1");
    EXPECT_EQ(n->value(), 90);
    EXPECT_EQ(n->minimum(), 50);
    EXPECT_EQ(n->maximum(), 120);
    EXPECT_EQ(child<QSpinBox>(page, "SpinEdit3")->value(), 1990);
    EXPECT_EQ(child<QSpinBox>(page, "SpinEdit4")->value(), 2000);
    // a second use makes a new page
    main->menu_item("N8")->trigger();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[1].first, shown[0].first);
    // 取消 closes the page
    child<QPushButton>(page, "BitBtn1")->click();
    EXPECT_FALSE(page->isVisible());
    main.reset();
}

TEST_F(WizardFixture, TypedValuesAndTheirFilesReachTheSameRunAsATable)
{
    // A form opened from the menu while the wizard runs is never written by the wizard.
    TSingle_Region_frm* menu_form = nullptr;
    auto run_wizard = [&](bool from_files) -> Results {
        reset_projection_workspace();
        auto* page1 = first_page();
        auto* page2 = next_page(child<QPushButton>(page1, "Button1"), wizard_Frm01);
        EXPECT_FALSE(page1->isVisible());
        EXPECT_TRUE(page2->isVisible());
        TSingle_Region_frm* form = Single_Region_frm;
        EXPECT_TRUE(form);
        EXPECT_EQ(form->parent(), nullptr);
        for (const char* box : {"ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6"})
            EXPECT_FALSE(child<QComboBox>(form, box)->isEnabled()) << box;
        EXPECT_FALSE(child<QSpinBox>(form, "SpinEdit10")->isEnabled());
        EXPECT_FALSE(child<QSpinBox>(form, "SpinEdit11")->isEnabled());
        EXPECT_EQ(form->base_year(), 1990);
        EXPECT_EQ(form->end_year(), 2000);
        EXPECT_FALSE(child<QPushButton>(form, "BitBtn2")->isEnabled());
        EXPECT_EQ(projection_workspace().from_wizard, 1);
        EXPECT_EQ(projection_workspace().proj_year_count, 10);

        ui::StringGrid* g2 = page2->grid();
        EXPECT_EQ(page2->windowTitle(), "人口预测向导 第二步");
        EXPECT_EQ(g2->row_count(), ages + 1);
        EXPECT_EQ(g2->col_count(), 3);
        EXPECT_EQ(g2->cell(0, 0), "年龄");
        EXPECT_EQ(g2->cell(2, 0), "女性");
        EXPECT_EQ(g2->cell(0, ages), "80");
        EXPECT_EQ(g2->cell(1, ages), "0.0");
        if (from_files) {
            services.open_answers.push_back(QString::fromStdString(file("pop.txt")));
            child<QPushButton>(page2, "BitBtn1")->click();
            EXPECT_EQ(g2->cell(1, 1), "1050");
            EXPECT_EQ(g2->cell(2, ages), "990");
        } else {
            type_population(g2);
            services.save_answers.push_back(QString::fromStdString(file("pop.txt")));
            child<QPushButton>(page2, "BitBtn2")->click();
            std::ifstream saved(file("pop.txt"), std::ios::binary);
            std::string first(12, '\0');
            saved.read(first.data(), 12);
            EXPECT_EQ(first, "1050  1000\r\n");  // the cell texts, two blanks apart, CR LF
        }
        auto* page3 = next_page(child<QPushButton>(page2, "BitBtn3"), wizard_Frm02);
        EXPECT_FALSE(page2->isVisible());
        EXPECT_EQ(form->grid(2)->cell(0, 1), "性别比");
        EXPECT_EQ(form->grid(2)->cell(1, 0), "1991");
        EXPECT_EQ(form->grid(2)->cell(10, 0), "2000");
        EXPECT_EQ(form->grid(2)->cell(10, 1), "105");
        EXPECT_EQ(form->grid(5)->cell(1, 1), "10000");
        EXPECT_EQ(form->grid(5)->cell(1, 2), "0.012");
        EXPECT_EQ(form->grid(5)->cell(10, 3), "0.003");

        if (!from_files) menu_form = new_single_region_form(nullptr, {});
        ui::StringGrid* g3 = page3->grid();
        EXPECT_EQ(page3->windowTitle(), "人口预测向导 第三步");
        EXPECT_EQ(g3->row_count(), ages + 1);
        if (from_files) {
            services.open_answers.push_back(QString::fromStdString(file("death.txt")));
            child<QPushButton>(page3, "BitBtn1")->click();
        } else {
            type_death_rates(g3);
            services.save_answers.push_back(QString::fromStdString(file("death.txt")));
            child<QPushButton>(page3, "BitBtn2")->click();
        }
        auto* page4 = next_page(child<QPushButton>(page3, "BitBtn3"), wizard_Frm03);
        const ProjectionWorkspace& ws = projection_workspace();
        EXPECT_EQ(form->grid(3)->cell(0, 1), "男性");
        EXPECT_EQ(form->grid(3)->cell(10, 2), QString::fromStdString(ws.base_e0_female_text));
        EXPECT_NEAR(form->grid(3)->cell(1, 1).toDouble(), ws.life_exp_male[0], 0.00005);  // four decimals
        EXPECT_LE(form->grid(3)->cell(1, 1).section('.', 1).size(), 4);

        ui::StringGrid* g4 = page4->grid();
        EXPECT_EQ(page4->windowTitle(), "人口预测向导 第四步");
        EXPECT_EQ(g4->cell(1, 0), "女性");
        EXPECT_EQ(g4->row_count(), 37);
        EXPECT_EQ(g4->cell(0, 1), "15");
        EXPECT_EQ(g4->cell(0, 36), "50");
        if (from_files) {
            services.open_answers.push_back(QString::fromStdString(file("fert.txt")));
            child<QPushButton>(page4, "BitBtn1")->click();
            EXPECT_EQ(g4->cell(1, 6), "0.08");
        } else {
            type_fertility(g4);
            services.save_answers.push_back(QString::fromStdString(file("fert.txt")));
            child<QPushButton>(page4, "BitBtn2")->click();
        }

        bool form_shown = false;
        on_modal = [&](QWidget* w) -> int {
            if (w != form) return 0;  // the viewer
            form_shown = true;
            EXPECT_FALSE(page4->isVisible());
            EXPECT_EQ(form->grid(1)->cell(0, 1), "总和生育率");
            EXPECT_EQ(form->grid(1)->cell(1, 1), "2");
            EXPECT_EQ(form->grid(1)->cell(1, 2), "");
            EXPECT_EQ(form->grid(4)->cell(1, 6), ".04");
            EXPECT_EQ(form->grid(4)->cell(10, 30), ".04");
            EXPECT_EQ(form->grid(4)->cell(1, 36), "1");
            EXPECT_EQ(form->grid(8)->cell(1, 1), "");
            auto* run = child<QPushButton>(form, "BitBtn2");
            EXPECT_FALSE(run->isEnabled());
            child<QTabWidget>(form, "PageControl1")->setCurrentIndex(1);  // the rebuild
            EXPECT_TRUE(run->isEnabled());
            EXPECT_EQ(child<QSpinBox>(form, "SpinEdit2")->value(), 1991);
            EXPECT_EQ(child<QSpinBox>(form, "SpinEdit3")->value(), 2000);
            run->click();
            return form->result();
        };
        page4->BitBtn3Click();
        on_modal = {};
        EXPECT_TRUE(form_shown);
        EXPECT_FALSE(page4->isVisible());
        EXPECT_EQ(form->result(), QDialog::Accepted);
        EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();
        EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                                [](auto& s) { return qobject_cast<Tpop_result_Form1*>(s.first.data()); }),
                  from_files ? 2 : 1);
        made.emplace_back(form);
        return results_now();
    };

    const Results typed = run_wizard(false);
    ASSERT_TRUE(menu_form);
    EXPECT_EQ(menu_form->grid(3)->cell(1, 1), "0.0");  // as its own layout left it, untouched by the wizard
    delete menu_form;
    EXPECT_EQ(typed.total.size(), 10u);
    const Results from_files = run_wizard(true);
    EXPECT_TRUE(from_files == typed);
    const Results table = table_run();
    EXPECT_TRUE(table == typed);
    EXPECT_EQ(table.total, typed.total);
    EXPECT_EQ(table.births, typed.births);
}

TEST_F(WizardFixture, PageTwoRefusesNegativeAndNonNumericCells)
{
    auto* page2 = next_page(child<QPushButton>(first_page(), "Button1"), wizard_Frm01);
    type_population(page2->grid());
    page2->grid()->set_cell(2, 40, "-3");
    child<QPushButton>(page2, "BitBtn3")->click();
    EXPECT_EQ(message(), "数据格式不正确.");
    EXPECT_EQ(services.messages.back().kind, ui::ScriptedServices::Message::Information);
    EXPECT_FALSE(wizard_Frm02);
    EXPECT_TRUE(page2->isVisible());  // the page stays open

    page2->grid()->set_cell(2, 40, "abc");
    child<QPushButton>(page2, "BitBtn3")->click();
    EXPECT_EQ(message(), "'abc' is not a valid floating point value");
    EXPECT_EQ(services.messages.back().kind, ui::ScriptedServices::Message::Error);
    EXPECT_FALSE(wizard_Frm02);

    // 取消 closes this page and nothing more
    TSingle_Region_frm* form = Single_Region_frm;
    child<QPushButton>(page2, "BitBtn4")->click();
    EXPECT_FALSE(page2->isVisible());
    EXPECT_EQ(Single_Region_frm, form);
}

TEST_F(WizardFixture, BadFilesChangeNothing)
{
    auto* page2 = next_page(child<QPushButton>(first_page(), "Button1"), wizard_Frm01);
    ui::StringGrid* g = page2->grid();
    type_population(g);
    auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return QString::fromStdString(file(name));
    };
    std::string lines;
    for (int x = 0; x < 5; ++x) lines += "7  8\r\n";
    struct Case {
        QString path;
        QString message;
        ui::ScriptedServices::Message::Kind kind;
    };
    const Case cases[] = {
        {write("short.txt", lines), "文件" + QString::fromStdString(file("short.txt")) + "中的数据不够: 需要81个年龄的数据, 只有5个.",
         ui::ScriptedServices::Message::Information},
        {write("word.txt", lines + "7  eight\r\n"), "Invalid numeric input", ui::ScriptedServices::Message::Error},
        {QString::fromStdString(file("missing.txt")), "File not found", ui::ScriptedServices::Message::Error},
    };
    for (const Case& c : cases) {
        services.open_answers.push_back(c.path);
        child<QPushButton>(page2, "BitBtn1")->click();
        EXPECT_EQ(message(), c.message);
        EXPECT_EQ(services.messages.back().kind, c.kind) << c.message.toStdString();
        for (int x : {0, 4, 5, 80}) EXPECT_EQ(g->cell(1, x + 1), text(input_row(x).male)) << x;
    }
    // a cancelled dialog does nothing
    const auto before = services.messages.size();
    services.open_answers.push_back(QString());
    auto* page_dialog = &page2->OpenDialog1;
    page_dialog->file_name.clear();
    child<QPushButton>(page2, "BitBtn1")->click();
    EXPECT_EQ(services.messages.size(), before);
    EXPECT_EQ(page2->OpenDialog1.filter, "txt|*.txt");
}

// 读取 reads a file no further than the page's rows: what follows them (a word, a line too long
// to be read) is never reached; a file that is not a regular file is refused at once.
TEST_F(WizardFixture, ReadingStopsAtThePagesRows)
{
    auto* page2 = next_page(child<QPushButton>(first_page(), "Button1"), wizard_Frm01);
    ui::StringGrid* g = page2->grid();
    std::string bytes;
    for (int x = 0; x < ages; ++x) bytes += std::to_string(x) + "  " + std::to_string(2 * x) + "\r\n";
    bytes += "word\r\n" + std::string(70000, '9') + "\r\n";
    std::ofstream(file("long.txt"), std::ios::binary) << bytes;
    services.open_answers.push_back(QString::fromStdString(file("long.txt")));
    child<QPushButton>(page2, "BitBtn1")->click();
    EXPECT_TRUE(services.messages.empty()) << message().toStdString();
    for (int x : {0, 40, 80}) {
        EXPECT_EQ(g->cell(1, x + 1), QString::number(x)) << x;
        EXPECT_EQ(g->cell(2, x + 1), QString::number(2 * x)) << x;
    }
    services.open_answers.push_back(QStringLiteral("/dev/zero"));
    child<QPushButton>(page2, "BitBtn1")->click();
    EXPECT_EQ(message(), "/dev/zero is not a regular file, so it cannot be read as a text file");
    EXPECT_EQ(g->cell(1, 81), QString::number(80));
}

// On each data page a Cancel in the 读取 or 保存 dialog changes nothing: not at the first use,
// and not after an earlier 读取 and 保存, whose file name the dialogs keep.
TEST_F(WizardFixture, CancelledReadOrSaveChangesNothing)
{
    const auto cells = [](ui::StringGrid* g) {
        QStringList out;
        for (int r = 0; r < g->row_count(); ++r)
            for (int c = 0; c < g->col_count(); ++c) out << g->cell(c, r);
        return out;
    };
    const auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const auto check_page = [&](WizardPage* page, const char* name, const std::function<void(ui::StringGrid*)>& type) {
        SCOPED_TRACE(name);
        ui::StringGrid* g = page->grid();
        const std::string path = file(name);
        services.clear();
        const QStringList start = cells(g);
        services.open_answers.push_back(QString());
        child<QPushButton>(page, "BitBtn1")->click();
        services.save_answers.push_back(QString());
        child<QPushButton>(page, "BitBtn2")->click();
        EXPECT_EQ(cells(g), start);
        EXPECT_FALSE(std::filesystem::exists(path));

        type(g);
        services.save_answers.push_back(QString::fromStdString(path));
        child<QPushButton>(page, "BitBtn2")->click();
        const std::string saved = bytes(path);
        ASSERT_FALSE(saved.empty());
        services.open_answers.push_back(QString::fromStdString(path));
        child<QPushButton>(page, "BitBtn1")->click();
        const QStringList read = cells(g);

        // An edit after them: a Cancel neither reads the file over it nor writes it.
        g->set_cell(1, 1, "7");
        services.open_answers.push_back(QString());
        child<QPushButton>(page, "BitBtn1")->click();
        EXPECT_EQ(g->cell(1, 1), "7");
        services.save_answers.push_back(QString());
        child<QPushButton>(page, "BitBtn2")->click();
        EXPECT_EQ(bytes(path), saved);
        EXPECT_EQ(page->OpenDialog1.file_name, QString::fromStdString(path));
        EXPECT_EQ(page->SaveDialog1.file_name, QString::fromStdString(path));
        EXPECT_EQ(services.open_dialogs, 3);
        EXPECT_EQ(services.save_dialogs, 3);
        EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();
        g->set_cell(1, 1, read[g->col_count() + 1]);
    };
    auto* page2 = next_page(child<QPushButton>(first_page(), "Button1"), wizard_Frm01);
    check_page(page2, "pop.txt", type_population);
    auto* page3 = next_page(child<QPushButton>(page2, "BitBtn3"), wizard_Frm02);
    check_page(page3, "death.txt", type_death_rates);
    auto* page4 = next_page(child<QPushButton>(page3, "BitBtn3"), wizard_Frm03);
    check_page(page4, "fert.txt", type_fertility);
}

TEST_F(WizardFixture, PageThreeRefusalsAndTooFewAges)
{
    for (int n : {ages, 60}) {
        services.clear();
        auto* page2 = next_page(child<QPushButton>(first_page(n), "Button1"), wizard_Frm01);
        for (int x = 0; x < n; ++x) {
            page2->grid()->set_cell(1, x + 1, "100");
            page2->grid()->set_cell(2, x + 1, "100");
        }
        auto* page3 = next_page(child<QPushButton>(page2, "BitBtn3"), wizard_Frm02);
        for (int x = 0; x < n; ++x) {
            page3->grid()->set_cell(1, x + 1, "0.01");
            page3->grid()->set_cell(2, x + 1, "0.01");
        }
        if (n == ages) page3->grid()->set_cell(2, 30, "0");
        const QPointer<Twizard_Frm03> before = wizard_Frm03;
        child<QPushButton>(page3, "BitBtn3")->click();
        if (n == ages) {
            EXPECT_EQ(message(), "数据格式不正确.");
            EXPECT_EQ(Single_Region_frm->grid(3)->cell(1, 2), "");  // no female row
            EXPECT_NE(Single_Region_frm->grid(3)->cell(1, 1), "");  // the male one is done
        } else {
            EXPECT_EQ(message(), "Range check error");
            EXPECT_EQ(services.messages.back().kind, ui::ScriptedServices::Message::Error);
        }
        EXPECT_EQ(wizard_Frm03, before);  // no page 4
        EXPECT_TRUE(page3->isVisible());
        made.emplace_back(Single_Region_frm);
    }
}

TEST_F(WizardFixture, PageFourRefusesAllZeroRates)
{
    auto* page2 = next_page(child<QPushButton>(first_page(), "Button1"), wizard_Frm01);
    type_population(page2->grid());
    auto* page3 = next_page(child<QPushButton>(page2, "BitBtn3"), wizard_Frm02);
    type_death_rates(page3->grid());
    auto* page4 = next_page(child<QPushButton>(page3, "BitBtn3"), wizard_Frm03);
    const auto before = shown.size();
    child<QPushButton>(page4, "BitBtn3")->click();
    EXPECT_EQ(message(), "数据格式不正确.");
    EXPECT_EQ(shown.size(), before);  // the form is not shown
    EXPECT_TRUE(page4->isVisible());
}
