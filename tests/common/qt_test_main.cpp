// Test entry for the window tests: one offscreen QApplication on main()'s stack for the whole run,
// destroyed before the exit handlers. How Qt warnings are taken is chosen per suite when it links
// (see CMakeLists.txt here): let through, or failing the test that caused them, with or without
// the offscreen platform's notice that it cannot raise windows.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef VANTELO_QT_WARNINGS_FAIL
#define VANTELO_QT_WARNINGS_FAIL 0
#endif
#ifndef VANTELO_QT_ALLOW_RAISE_NOTICE
#define VANTELO_QT_ALLOW_RAISE_NOTICE 0
#endif

namespace {
[[maybe_unused]] void fail_on_warning(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    // The offscreen platform cannot raise windows; that is no fault of the program.
    if (VANTELO_QT_ALLOW_RAISE_NOTICE && text.contains(QLatin1String("does not support raise()"))) return;
    ADD_FAILURE() << "Qt message: " << text.toStdString();
}
}  // namespace

int main(int argc, char** argv)
{
    // Test discovery runs the binary without the test environment.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime_dir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(runtime_dir.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime_dir.path().toLocal8Bit());
    }
    QApplication app(argc, argv);
    if (VANTELO_QT_WARNINGS_FAIL) qInstallMessageHandler(fail_on_warning);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
