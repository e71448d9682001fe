#pragma once
#include <algorithm>
// The main window on a small Paradox table of float columns, for the analysis window tests:
// the table lives in a temporary folder and is opened through 文件 > 打开.
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_launchers.h"
#include "platform/db/dataset.h"
#include "platform/ui/scripted_services.h"
#include "shell/app_state.h"
#include "shell/menu.h"
#include "tests/common/temp_dir.h"

struct Column {
    std::string name;
    std::vector<double> values;
    std::vector<size_t> empty_records = {};  // records whose field is left empty
};

class AnalysisMain {
public:
    vantelo::test_support::TempDir dir{"vantelo_analysis"};
    std::string path;
    std::unique_ptr<vantelo::shell::Tquilta> main;

    AnalysisMain(vantelo::ui::ScriptedServices& services, const std::vector<Column>& columns)
    {
        vantelo::shell::reset_app_state();
        path = dir.file("input.db");
        std::string fields;
        for (const auto& c : columns) fields += (fields.empty() ? "" : ",") + c.name + " float";
        vantelo::db::execute_statement("Create table \"" + path + "\" (" + fields + ")");
        vantelo::db::Dataset t;
        t.set_table_name(path);
        t.open();
        const size_t n = columns.empty() ? 0 : columns[0].values.size();
        for (size_t r = 0; r < n; ++r) {
            t.append();
            for (size_t c = 0; c < columns.size(); ++c) {
                const auto& e = columns[c].empty_records;
                if (std::find(e.begin(), e.end(), r) == e.end())
                    t.field(static_cast<int>(c)).set_as_float(columns[c].values[r]);
            }
            t.post();
        }
        t.close();

        vantelo::analysis::register_analysis_windows();
        main = std::make_unique<vantelo::shell::Tquilta>();
        main->update_launchers();
        services.open_answers.push_back(QString::fromStdString(path));
        main->Open1Click();
    }
};

// A component of a window by its design name.
template <class W>
W* child(QWidget* w, const char* name)
{
    W* c = w->findChild<W*>(QString::fromLatin1(name));
    EXPECT_TRUE(c) << name;
    return c;
}

inline void click(QWidget* w, const char* name) { child<QPushButton>(w, name)->click(); }

// Picks a field of ListBox2 as the user does: it becomes current and the list reports the click.
inline void pick_field(QWidget* form, int row)
{
    auto* list = child<QListWidget>(form, "ListBox2");
    list->setCurrentRow(row);
    emit list->clicked(list->model()->index(row, 0));
}
