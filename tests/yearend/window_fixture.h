#pragma once
// A main window with its launchers registered, scripted dialogs, and a table opened through
// File > 打开; the command windows are run by a script instead of a modal loop.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <filesystem>

#include "analysis/result_column_launchers.h"
#include "platform/db/dataset.h"
#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "projection/engine/workspace.h"
#include "shell/app_state.h"
#include "shell/main_table.h"
#include "shell/menu.h"
#include "shell/result_columns.h"
#include "tests/common/widget_events.h"
#include "tests/db_common/fault_trials.h"
#include "tests/db_dbase/independent.h"
#include "tests/db_paradox/pxlib_reader.h"
#include "urban_rural/engine/urban_workspace.h"

class CommandWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vantelo::projection::reset_projection_workspace();
        vantelo::urban_rural::reset_urban_workspace();
        vantelo::shell::reset_app_state();
        ASSERT_TRUE(cwd.isValid());
        QDir::setCurrent(cwd.path());
        vantelo::analysis::register_year_end_and_standardization();
        main = std::make_unique<vantelo::shell::Tquilta>();
        main->update_launchers();
    }
    void TearDown() override
    {
        main.reset();
        vantelo::ui::set_window_runner({});
        QDir::setCurrent(QDir::tempPath());
    }

    void open(const std::string& path)
    {
        svc.open_answers.push_back(QString::fromStdString(path));
        main->Open1Click();
        ASSERT_TRUE(main->Table1.active());
    }

    // Runs a menu command; the script acts on the window of kind W it opens. Returns whether
    // the window was still shown when the script ended.
    template <class W>
    bool run(void (vantelo::shell::Tquilta::*command)(), const std::function<void(W*)>& script)
    {
        bool shown = false, opened = false;
        vantelo::ui::set_window_runner([&](QWidget* w, bool modal) -> int {
            EXPECT_TRUE(modal);
            auto* form = qobject_cast<W*>(w);
            EXPECT_NE(form, nullptr);
            if (!form) return 0;
            opened = true;
            form->show();
            script(form);
            shown = form->isVisible();
            form->hide();
            return form->result();
        });
        ((*main).*command)();
        EXPECT_TRUE(opened);
        return shown;
    }

    std::vector<std::string> messages() const
    {
        std::vector<std::string> out;
        for (const auto& m : svc.messages) out.push_back(m.text.toStdString());
        return out;
    }

    // The fault trials of a command that adds result columns to the table at path (opened as
    // the current table before each trial through File > 打开): a write error at each of its
    // writing calls. What it reports is the first message it shows; a failure is an error box
    // saying that no column was added, with the table open again as it was.
    vantelo::db::test_common::TrialCounts result_column_trials(const std::string& path, const std::function<void()>& command)
    {
        namespace tc = vantelo::db::test_common;
        const std::vector<unsigned char> original = tc::file_bytes(path);
        tc::FaultTrials t;
        t.folder = std::filesystem::path(path).parent_path().string();
        t.kills = false;  // the engine-level trials kill the same writes in a child process
        t.setup = [&] {
            main->Table1.close();
            vantelo::db::write_file_atomically(path, original);
            svc.messages.clear();
            open(path);
        };
        int fields_before = 0;
        t.command = [&]() -> std::string {
            fields_before = vantelo::shell::main_table_field_count();
            command();
            return svc.messages.empty() ? std::string() : svc.messages[0].text.toStdString();
        };
        t.snapshot = [&] { return tc::describe_table_file(path); };
        t.on_failure = [&](const std::string& reported) {
            ASSERT_EQ(svc.messages.size(), 1u);
            EXPECT_EQ(svc.messages[0].kind, vantelo::ui::ScriptedServices::Message::Error);
            EXPECT_EQ(reported.rfind("新变量未能写入表中: ", 0), 0u) << reported;
            EXPECT_NE(reported.find(vantelo::shell::no_column_added_text), std::string::npos) << reported;
            EXPECT_TRUE(main->Table1.active());
            EXPECT_EQ(vantelo::shell::table_open, 1);
            EXPECT_EQ(vantelo::shell::main_table_field_count(), fields_before);
        };
        return tc::run_fault_trials(t);
    }

    vantelo::ui::ScopedScriptedServices svc;
    QTemporaryDir cwd;
    std::unique_ptr<vantelo::shell::Tquilta> main;
};

template <class W>
QComboBox* list(W* w, const char* name) { return w->template findChild<QComboBox*>(name); }
template <class W>
QLineEdit* edit(W* w, const char* name) { return w->template findChild<QLineEdit*>(name); }
template <class W>
QPushButton* button(W* w, const char* name) { return w->template findChild<QPushButton*>(name); }

// The user picks a field by name in a field list.
inline void choose(QComboBox* box, const QString& field)
{
    const int i = box->findText(field);
    ASSERT_GE(i, 0) << field.toStdString();
    test_events::pick(box, i);
}

// A numeric field of a table file read by a reader that shares nothing with the program's:
// pxlib for Paradox, shapelib for dBASE. Null cells read as nullopt.
inline std::vector<std::optional<double>> independent_column(const std::string& path, const std::string& field)
{
    std::vector<std::optional<double>> out;
    auto column_of = [&](const auto& fields) {
        for (size_t j = 0; j < fields.size(); ++j)
            if (fields[j].name == field) return static_cast<int>(j);
        ADD_FAILURE() << "no field " << field;
        return -1;
    };
    if (path.size() > 3 && path.substr(path.size() - 3) == ".db") {
        const pxtest::PxTable t = pxtest::px_read(path);
        const int col = column_of(t.fields);
        if (col < 0) return out;
        for (const auto& r : t.records)
            out.push_back(r[col].null ? std::nullopt : std::optional<double>(r[col].d));
    } else {
        const dbase_test::IndepTable t = dbase_test::shapelib_read(path);
        const int col = column_of(t.fields);
        if (col < 0) return out;
        for (const auto& r : t.rows)
            out.push_back(r[col] && !r[col]->empty() ? std::optional<double>(std::stod(*r[col])) : std::nullopt);
    }
    return out;
}
