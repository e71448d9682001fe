// The target-planning dialog reached through the main window's unbound command: its defaults,
// its loaders' messages, the refusals of &OK, and a whole run writing its year files and chart.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <random>

#include "planning/Target_Planning_Unit1.h"
#include "platform/chart/chart.h"
#include "platform/chart/chart_widget.h"
#include "platform/chart/series.h"
#include "platform/ui/modal.h"
#include "platform/ui/spin_edit.h"
#include "platform/ui/scripted_services.h"
#include "projection_table.h"
#include "shell/app_state.h"
#include "shell/launch.h"
#include "shell/menu.h"
#include "tests/common/widget_events.h"

using namespace vantelo;

namespace {

// A county of 1000 people of each sex per age 0..80.
InputRow county(int x)
{
    InputRow r;
    r.male = 1000;
    r.female = 1000;
    r.m_male = x == 0 ? 0.03 : std::min(0.9, 0.0006 * std::exp(0.08 * (x - 20)));
    r.m_female = x == 0 ? 0.025 : std::min(0.9, 0.0004 * std::exp(0.08 * (x - 20)));
    if (x == 80) r.m_male = 0.2, r.m_female = 0.18;
    r.fertility = x >= 15 && x <= 49 ? 0.15 * std::exp(-std::pow((x - 26) / 6.0, 2)) + 0.0005 : 0;
    return r;
}

struct TargetPlanning : testing::Test {
    ui::ScopedScriptedServices services;
    QTemporaryDir cwd;
    std::unique_ptr<ProjectionTable> input;
    std::unique_ptr<shell::Tquilta> main;
    std::mt19937_64 engine{7};
    std::uint32_t now = 0;

    void SetUp() override
    {
        shell::reset_app_state();
        QDir::setCurrent(cwd.path());
        register_target_planning();
        main = std::make_unique<shell::Tquilta>();
    }
    void TearDown() override
    {
        main.reset();
        input.reset();
        shell::register_window(QStringLiteral("Simulation1"), {});
        QDir::setCurrent(QDir::tempPath());
    }

    void open_table(const std::function<InputRow(int)>& row = county)
    {
        input = std::make_unique<ProjectionTable>(81, row, "plan");
        input->table.close();
        services.open_answers.push_back(QString::fromStdString(input->path));
        main->Open1Click();
        ASSERT_TRUE(main->Table1.active());
    }

    // Opens the dialog through the command; `act` works in it while it is shown.
    void with_dialog(const std::function<void(TTarget_Planning_Frm1&)>& act)
    {
        ui::ScopedWindowRunner runner([&](QWidget* w, bool modal) -> int {
            EXPECT_TRUE(modal);
            auto* d = qobject_cast<TTarget_Planning_Frm1*>(w);
            EXPECT_TRUE(d);
            if (d) {
                d->search_random = {[this] { return std::uniform_real_distribution<double>(0.0, 1.0)(engine); },
                                    [this] { return now++; }, [this](std::uint32_t s) { engine.seed(s); }};
                act(*d);
            }
            return 0;
        });
        main->Simulation1Click();
    }

    static void choose_all(TTarget_Planning_Frm1& d)
    {
        EXPECT_TRUE(test_events::pick_text(d.ComboBox2, "男性人口"));
        EXPECT_TRUE(test_events::pick_text(d.ComboBox3, "女性人口"));
        EXPECT_TRUE(test_events::pick_text(d.ComboBox4, "男性死亡率"));
        EXPECT_TRUE(test_events::pick_text(d.ComboBox5, "女性死亡率"));
        EXPECT_TRUE(test_events::pick_text(d.ComboBox6, "年龄别生育率"));
    }
};

TEST_F(TargetPlanning, WithoutATableTheDialogIsCreatedButNotShown)
{
    bool shown = false;
    ui::ScopedWindowRunner runner([&](QWidget*, bool) {
        shown = true;
        return 0;
    });
    main->Simulation1Click();
    EXPECT_FALSE(shown);
    ASSERT_TRUE(Target_Planning_Frm1);
    EXPECT_FALSE(Target_Planning_Frm1->isVisible());
    EXPECT_EQ(services.message_texts(), QStringList{"没有打开的数据表!请先打开数据表."});
}

TEST_F(TargetPlanning, DefaultsAndFieldLists)
{
    open_table();
    bool seen = false;
    with_dialog([&](TTarget_Planning_Frm1& d) {
        seen = true;
        EXPECT_EQ(d.windowTitle(), "Target_Planning_Frm1");
        EXPECT_EQ(d.parent(), main.get());
        for (QComboBox* box : {d.ComboBox2, d.ComboBox3, d.ComboBox4, d.ComboBox5, d.ComboBox6}) {
            EXPECT_EQ(box->count(), 6);
            EXPECT_EQ(box->currentText(), "");
        }
        EXPECT_EQ(d.SpinEdit1->value(), 1990);
        EXPECT_EQ(d.SpinEdit2->value(), 2000);
        EXPECT_EQ(d.SpinEdit1->minimum(), 1500);
        EXPECT_EQ(d.SpinEdit2->maximum(), 3000);
        const std::vector<std::pair<QLineEdit*, const char*>> texts = {
            {d.Edit7, "1260000000"}, {d.Edit1, "100"}, {d.Edit2, "0.2"},  {d.Edit3, "0.5"},   {d.Edit4, "0.05"},
            {d.Edit5, "300"},        {d.Edit10, "500"}, {d.Edit12, "2.0"}, {d.Edit6, "Edit6"}, {d.Edit9, "Edit9"},
            {d.Edit11, "Edit11"}};
        for (const auto& [edit, text] : texts) EXPECT_EQ(edit->text(), text) << edit->objectName().toStdString();
        EXPECT_TRUE(d.RadioButton1->isChecked());
        EXPECT_EQ(d.RadioButton1->text(), "RadioButton1");
        EXPECT_EQ(d.RadioButton2->text(), "RadioButton2");
        EXPECT_EQ(d.BitBtn2->text(), "&OK");
        EXPECT_EQ(d.BitBtn1->text(), "&Exit");
        EXPECT_EQ(d.Chart1->chart().series_count(), 2);
        d.BitBtn1Click();
        EXPECT_EQ(d.result(), QDialog::Rejected);
    });
    EXPECT_TRUE(seen);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(TargetPlanning, LoadersKeepWhatFailsTheirCheck)
{
    open_table([](int x) {
        InputRow r = county(x);
        if (x == 3) r.m_female = 1.5;
        if (x == 5) r.female = -1;
        return r;
    });
    with_dialog([&](TTarget_Planning_Frm1& d) {
        test_events::pick_text(d.ComboBox5, "女性死亡率");
        test_events::pick_text(d.ComboBox3, "女性人口");
        test_events::pick_text(d.ComboBox2, "男性人口");  // after the female field: the female values stay
        EXPECT_EQ(d.data.female.death_rate.size(), 81u);
        EXPECT_EQ(d.data.female.death_rate[3], 1.5);
        EXPECT_EQ(d.data.female.pop[5], -1);
        EXPECT_EQ(d.data.male.pop[5], 1000);
    });
    EXPECT_EQ(services.message_texts(), (QStringList{"数据格式不正确.", "数据格式不正确."}));
}

TEST_F(TargetPlanning, RefusalsOfTheRun)
{
    open_table([](int x) {
        InputRow r = county(x);
        if (x == 49) r.fertility = 0;  // no births at 49: that gene admits no value
        return r;
    });
    with_dialog([&](TTarget_Planning_Frm1& d) {
        d.BitBtn2Click();
        choose_all(d);
        d.SpinEdit2->setValue(1990);
        d.BitBtn2Click();
        d.SpinEdit2->setValue(1992);
        d.BitBtn2Click();
    });
    EXPECT_EQ(services.message_texts(),
              (QStringList{"Not enough variable selected!", "Please Redefine the Restrospect Years Aagain!",
                           "Fertility rates of ages 15-49 cannot be searched!"}));
    EXPECT_FALSE(QFile::exists(cwd.filePath("TFR0.txt")));
}

// Text that is not a whole number in a year box counts as the box's minimum, 1500. The run is
// stopped by a bad generation count after the years check, so a period that passes the check
// ends with that message.
TEST_F(TargetPlanning, YearBoxTextThatIsNotANumberCountsAs1500)
{
    open_table();
    // Types into the box as the user does: everything selected, then the keys.
    auto type_into = [](QAbstractSpinBox* box, const QString& text) {
        box->findChild<QLineEdit*>()->selectAll();
        QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &erase);
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(box, &press);
        }
        EXPECT_EQ(box->text(), text);
    };
    const QString years_message = "Please Redefine the Restrospect Years Aagain!";
    const QString param_message = "'3x' is not a valid integer value";
    struct Case {
        const char* name;
        const char* from;  // nullptr: left at 1990
        const char* to;    // nullptr: left at 2000
        int years;         // the period the run took
        QString message;
    } cases[] = {
        {"To cleared", nullptr, "", 1500 - 1990, years_message},
        {"To with a letter", nullptr, "20o0", 1500 - 1990, years_message},
        {"To with a fraction", nullptr, "1995.5", 1500 - 1990, years_message},
        {"From with letters, To 1501", "abc", "1501", 1, param_message},
        {"both empty", "", "", 0, years_message},
        {"whole numbers as typed", "1991", "1993", 2, param_message},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.clear();
        with_dialog([&](TTarget_Planning_Frm1& d) {
            choose_all(d);
            d.Edit5->setText("3x");
            if (c.from) type_into(d.SpinEdit1, QString::fromUtf8(c.from));
            if (c.to) type_into(d.SpinEdit2, QString::fromUtf8(c.to));
            d.BitBtn2->click();
            EXPECT_EQ(d.data.plan_year_count, c.years);
        });
        EXPECT_EQ(services.message_texts(), QStringList{c.message});
    }
}

TEST_F(TargetPlanning, BadParameterEndsTheRunInTheErrorBox)
{
    open_table();
    with_dialog([&](TTarget_Planning_Frm1& d) {
        choose_all(d);
        d.SpinEdit2->setValue(1991);
        d.Edit5->setText("3x");
        d.BitBtn2->click();
    });
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].kind, ui::ScriptedServices::Message::Error);
    EXPECT_EQ(services.messages[0].text, "'3x' is not a valid integer value");
}

TEST_F(TargetPlanning, RunWritesEveryYearAndDrawsItsRates)
{
    open_table();
    std::vector<double> asfr;
    with_dialog([&](TTarget_Planning_Frm1& d) {
        choose_all(d);
        asfr = d.data.asfr;
        d.SpinEdit2->setValue(1992);
        d.Edit7->setText("165000");
        d.Edit1->setText("30");
        d.Edit10->setText("6");
        d.BitBtn2->click();
        EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();

        // Edit11: the last year's converged count glued to its kept count.
        const QString counts = d.Edit11->text();
        const int glue = counts.indexOf("last_curve:");
        ASSERT_GT(glue, 0) << counts.toStdString();
        EXPECT_GE(counts.left(glue).toInt(), counts.mid(glue + 11).toInt());
        EXPECT_EQ(d.Edit9->text(), "5");
        EXPECT_TRUE(d.Edit6->text().startsWith("Birth:")) << d.Edit6->text().toStdString();
        EXPECT_TRUE(d.Edit6->text().contains("finished   "));
        EXPECT_TRUE(d.Edit6->text().contains("TFR_up:"));

        chart::Chart& c = d.Chart1->chart();
        ASSERT_EQ(c.series(0).count(), 70);
        ASSERT_EQ(c.series(1).count(), 70);
        for (int i = 0; i < 70; ++i) {
            EXPECT_EQ(c.series(1).point(i).value, asfr[static_cast<std::size_t>(15 + i % 35)]);
            EXPECT_EQ(c.series(0).drawn_colour(i), QColor(Qt::blue));
            EXPECT_EQ(c.series(1).drawn_colour(i), QColor(Qt::red));
            EXPECT_EQ(c.series(0).point(i).label, " ");
        }
        // A second press appends after the first press's points and rewrites the files.
        std::filesystem::remove(cwd.filePath("TFR1.txt").toStdString());
        d.BitBtn2->click();
        EXPECT_EQ(c.series(0).count(), 140);
    });
    for (const char* name : {"TFR0.txt", "TFR1.txt"}) {
        std::ifstream f(cwd.filePath(name).toStdString(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(f)), {});
        std::size_t crlf = 0;
        for (std::size_t p = 0; (p = text.find("\r\n", p)) != std::string::npos; p += 2) ++crlf;
        EXPECT_EQ(crlf, 47u + 2 * 2) << name;
        EXPECT_NE(text.find("\r\nbirth:"), std::string::npos) << name;
    }
    EXPECT_FALSE(QFile::exists(cwd.filePath("TFR2.txt")));
}

}  // namespace
