#pragma once
// What the chart dialog tests share: a Paradox table with fields of every kind in a temporary
// folder, the dialog seam answered from a script, and a runner that records every window
// shown instead of running it.
#include <gtest/gtest.h>

#include <QDir>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

#include "charts/Graph_1.h"
#include "charts/chart_settings.h"
#include "platform/chart/chart.h"
#include "platform/db/dataset.h"
#include "platform/ui/app_windows.h"
#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "shell/main_table.h"

namespace chart_dialog_tests {

using vantelo::db::FieldType;

// One record of the test table; an empty optional leaves the field null.
struct Row {
    int age;
    std::optional<double> male, female;
    double income;
    std::string name;
    std::optional<double> gap;
};

// 年龄 small integer, 男性 integer, 女性 float, 收入 currency, 名称 text, 日期 date, 标志 boolean,
// 缺失 float (null where the row says so). The newest such table is the current table the
// dialogs read, as if the main window had it open.
class ChartTable {
public:
    explicit ChartTable(const std::vector<Row>& rows)
    {
        path_ = (dir_.path() + "/chart.db").toStdString();
        table.set_table_name(path_);
        table.field_defs() = {{"年龄", FieldType::SmallInt, 0, false}, {"男性", FieldType::Integer, 0, false},
                              {"女性", FieldType::Float, 0, false},    {"收入", FieldType::Currency, 0, false},
                              {"名称", FieldType::String, 10, false},  {"日期", FieldType::Date, 0, false},
                              {"标志", FieldType::Boolean, 0, false},  {"缺失", FieldType::Float, 0, false}};
        table.create_table();
        table.open();
        for (const Row& r : rows) {
            table.append();
            table.field(0).set_as_integer(r.age);
            if (r.male) table.field(1).set_as_float(*r.male);
            if (r.female) table.field(2).set_as_float(*r.female);
            table.field(3).set_as_float(r.income);
            table.field(4).set_as_string(r.name);
            table.field(5).set_value(vantelo::db::Date{2000, 1, 1 + r.age});
            table.field(6).set_value(r.age % 2 == 0);
            if (r.gap) table.field(7).set_as_float(*r.gap);
            table.post();
        }
        table.first();
        vantelo::shell::set_main_window_link({&table, {}, nullptr});
    }
    ~ChartTable()
    {
        if (vantelo::shell::main_window_link().table == &table) vantelo::shell::set_main_window_link({});
        table.close();
    }

    QStringList field_names() const
    {
        QStringList out;
        for (const std::string& n : table.field_names()) out << QString::fromStdString(n);
        return out;
    }

    vantelo::db::Dataset table;

private:
    QTemporaryDir dir_;
    std::string path_;
};

// Males 3, 5, 2; females 50, 50, 60; names 甲, 乙, 丙; 缺失 empty in the middle record.
inline std::vector<Row> three_rows()
{
    return {{0, 3, 50, 1.25, "甲", 7}, {1, 5, 50, 2.5, "乙", std::nullopt}, {2, 2, 60, 3.75, "丙", 9}};
}

class DialogTest : public ::testing::Test {
protected:
    DialogTest()
        : runner_([this](QWidget* w, bool modal) {
              shown.push_back({w, modal});
              return 0;
          })
    {
        vantelo::charts::reset_chart_settings();
    }
    ~DialogTest() override { vantelo::ui::free_kept_windows(); }

    struct Shown {
        QPointer<QWidget> window;
        bool modal;
    };

    // The chart windows shown so far.
    std::vector<vantelo::charts::TGraph*> charts_shown() const
    {
        std::vector<vantelo::charts::TGraph*> out;
        for (const Shown& s : shown)
            if (auto* g = qobject_cast<vantelo::charts::TGraph*>(s.window.data())) out.push_back(g);
        return out;
    }
    // The one chart window shown (fails the test when there is not exactly one).
    vantelo::chart::Chart& only_chart()
    {
        const auto g = charts_shown();
        if (g.size() != 1) throw std::runtime_error("expected one chart window, got " + std::to_string(g.size()));
        return g[0]->chart();
    }

    // The one chart shown holds `count` series without points.
    void expect_empty_series(int count)
    {
        EXPECT_TRUE(services.messages.empty()) << services.message_texts().join("|").toStdString();
        vantelo::chart::Chart& c = only_chart();
        ASSERT_EQ(c.series_count(), count);
        for (int i = 0; i < count; ++i) EXPECT_EQ(c.series(i).count(), 0) << i;
    }

    static void select(QListWidget* list, const QStringList& names)
    {
        list->clearSelection();
        for (int i = 0; i < list->count(); ++i)
            if (names.contains(list->item(i)->text())) list->item(i)->setSelected(true);
    }
    static QStringList items(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    static std::vector<double> values(const vantelo::chart::Series& s)
    {
        std::vector<double> out;
        for (const auto& p : s.points()) out.push_back(p.value);
        return out;
    }

    vantelo::ui::ScopedScriptedServices services;
    std::vector<Shown> shown;

private:
    vantelo::ui::ScopedWindowRunner runner_;
};

}  // namespace chart_dialog_tests
