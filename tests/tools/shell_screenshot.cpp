// Shows the main window with a table open and saves what it shows as PNG files:
//   shell_screenshot <table file> <output prefix>
// writes <prefix>_main.png (the window) and <prefix>_menu.png (the 数据管理 menu dropped).
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include "platform/ui/guard.h"
#include "platform/ui/scripted_services.h"
#include "shell/fonts.h"
#include "shell/menu.h"

int main(int argc, char** argv)
{
    vantelo::ui::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantelo"));
    if (argc < 3) return 2;
    vantelo::shell::install_font_substitutions();
    vantelo::shell::Tquilta w;
    w.show();
    {
        vantelo::ui::ScopedScriptedServices svc;
        svc.open_answers.push_back(QString::fromLocal8Bit(argv[1]));
        w.Open1Click();
    }
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(500, [&] {
        w.grab().save(prefix + "_main.png");
        auto* menu = w.findChild<QMenu*>(QStringLiteral("DataManagement1"));
        auto* button = w.findChild<QToolButton*>(QStringLiteral("ToolButton2"));
        menu->popup(button->mapToGlobal(QPoint(0, button->height())));
        QTimer::singleShot(300, [&app, menu, prefix] {
            menu->grab().save(prefix + "_menu.png");
            menu->close();
            app.quit();
        });
    });
    return app.exec();
}
