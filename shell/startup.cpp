#include "shell/startup.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/ui/guard.h"
#include "platform/ui/windows.h"
#include "shell/Fenwo_LOGOUnit1.h"
#include "shell/app_state.h"
#include "shell/translations.h"

namespace vantelo::shell {

namespace {

// Ends the program when the main window has closed (a close it refused leaves it shown).
class QuitOnMainWindowClose : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            auto* w = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, w, [w] {
                if (!w->isVisible()) QCoreApplication::quit();
            });
        }
        return false;
    }
};

void free_splash()
{
    if (!FenwoLOGO) return;
    FenwoLOGO->hide();
    delete FenwoLOGO;  // clears the global
    FenwoLOGO = nullptr;
}

}  // namespace

QWidget* start_up(const MainWindowFactory& make_main_window)
{
    try {
        ui::new_window(nullptr, FenwoLOGO);
        FenwoLOGO->show();
        FenwoLOGO->repaint();
        // The timer's tick or a click on the chart or its label stops the timer.
        while (FenwoLOGO && FenwoLOGO->Timer1->isActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } catch (...) {
        free_splash();
        throw;
    }
    free_splash();

    help_file = kStartupHelpFile;
    return make_main_window ? make_main_window() : nullptr;
}

int run_application(const MainWindowFactory& make_main_window)
{
    install_qt_translations();
    QPointer<QWidget> main_window;
    try {
        main_window = start_up(make_main_window);
    } catch (...) {
        vantelo::ui::report_current_exception(nullptr);
        return 1;
    }
    if (!main_window) return 0;
    QuitOnMainWindowClose quit_filter;
    main_window->installEventFilter(&quit_filter);
    main_window->show();
    const int rc = QApplication::exec();
    delete main_window;
    return rc;
}

int run_application(int argc, char** argv, const MainWindowFactory& make_main_window)
{
    vantelo::ui::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantelo"));
    return run_application(make_main_window);
}

}  // namespace vantelo::shell
