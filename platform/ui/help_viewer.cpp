#include "platform/ui/help_viewer.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace vantelo::ui {

namespace {
QPointer<QWidget> viewer;
}

QWidget* help_window() { return viewer.data(); }

void show_help_window(QWidget* parent, const QString& html_file, const QString& topic)
{
    if (!viewer) {
        viewer = new QWidget(parent, Qt::Window);
        viewer->setObjectName(QStringLiteral("HelpWindow"));
        viewer->setWindowTitle(QStringLiteral("帮助"));
        viewer->resize(640, 520);
        auto* layout = new QVBoxLayout(viewer);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* browser = new QTextBrowser(viewer);
        browser->setObjectName(QStringLiteral("HelpBrowser"));
        browser->setOpenExternalLinks(false);
        layout->addWidget(browser);
    }
    auto* browser = viewer->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
    QUrl url = QUrl::fromLocalFile(html_file);
    if (!topic.isEmpty()) url.setFragment(topic);
    browser->setSource(url);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

}  // namespace vantelo::ui
