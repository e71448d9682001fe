#include "platform/ui/guard.h"

#include <QWidget>

namespace vantelo::ui {

void report_current_exception(QWidget* parent)
{
    QString text;
    try {
        throw;
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    services().error_box(parent, text);
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        report_current_exception(qobject_cast<QWidget*>(receiver));
        return false;
    }
}

}  // namespace vantelo::ui
