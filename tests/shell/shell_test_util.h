#pragma once
// Shared set-up of the main-window tests (the application object is the shared test entry's): a
// fresh main window with the program state reset, and scripted dialogs.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "shell/app_state.h"
#include "shell/input_tables.h"
#include "shell/launch.h"
#include "shell/menu.h"

namespace vantelo::shell::testing {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_app_state();
        ASSERT_TRUE(dir.isValid());
        QDir::setCurrent(dir.path());
        win = std::make_unique<Tquilta>();
    }
    void TearDown() override
    {
        win.reset();
        ui::set_window_runner({});
        QDir::setCurrent(QDir::tempPath());
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    // Creates an input table through the program's own data preparation.
    void prepare(const QString& file, bool urban_rural = false)
    {
        svc.save_answers.push_back(file);
        if (urban_rural) win->N11Click();
        else win->N10Click();
    }
    void open(const QString& file)
    {
        svc.open_answers.push_back(file);
        win->Open1Click();
    }

    ui::ScopedScriptedServices svc;
    QTemporaryDir dir;
    std::unique_ptr<Tquilta> win;
};

inline QByteArray file_bytes(const QString& p)
{
    QFile f(p);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

}  // namespace vantelo::shell::testing
