// Test entry for window tests: one offscreen QApplication for the whole run; a Qt warning or
// critical message fails the test that caused it.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
void fail_on_warning(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    // The offscreen platform cannot raise windows; that is no fault of the program.
    if (text.contains(QLatin1String("does not support raise()"))) return;
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg) {
        ADD_FAILURE() << "Qt message: " << text.toStdString();
    }
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime_dir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(runtime_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime_dir.path().toLocal8Bit());
    }
    QApplication app(argc, argv);
    qInstallMessageHandler(fail_on_warning);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
