// One QApplication for every chart test, offscreen; an unexpected Qt warning fails the test
// that caused it (a font size of 0, a painter that cannot begin).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QString>

namespace {

void fail_on_warning(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    ADD_FAILURE() << "Qt message: " << message.toStdString();
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString runtime = QDir::tempPath() + "/vantelo-chart-tests-runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    QApplication app(argc, argv);
    qInstallMessageHandler(fail_on_warning);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
