// One whole process per measurement of the program's start, run under /usr/bin/time -v by
// whole_process.sh beside the same start without a table. Modes:
//   empty       starts the program as main() does and ends at the first paint of the main
//               window's grid, no table open
//   open FILE   the same start; at the first paint the 打开 command runs (its open dialog
//               answers FILE) and the process ends at the next paint of the grid, which shows
//               the table's first rows
// The splash's four-second wait is cut short in both modes: its timer is stopped as soon as the
// splash is shown and painted. Everything else is the program's own start-up and 打开 command.
// Prints what the grid showed (the rows it holds and the texts of its first row), so runs can
// be checked against one another. Runs offscreen (QT_QPA_PLATFORM=offscreen) and under xvfb-run.
// With VANTELO_BENCH_PHASES set, the times of the steps since main() are written to stderr.
#include <cstdio>
#include <cstring>
#include <memory>

#include <QAction>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include "platform/ui/guard.h"
#include "platform/ui/scripted_services.h"
#include "shell/Fenwo_LOGOUnit1.h"
#include "shell/app_state.h"
#include "shell/dataset_model.h"
#include "shell/db_grid.h"
#include "shell/menu.h"
#include "shell/program.h"
#include "shell/startup.h"

namespace {

using vantelo::shell::Tquilta;

QElapsedTimer since_main;
const bool show_phases = qEnvironmentVariableIsSet("VANTELO_BENCH_PHASES");

void phase(const char* what)
{
    if (show_phases) std::fprintf(stderr, "%8.1f ms  %s\n", since_main.nsecsElapsed() / 1e6, what);
}

// Follows the paints of the grid's viewport: the first one without a table runs 打开 (open mode)
// or ends the program (empty mode); the first one with the table open notes what it shows and
// ends the program. The paint itself goes ahead; the program ends once it is done.
class FirstPaint : public QObject {
public:
    FirstPaint(Tquilta* w, bool open) : w_(w), open_(open) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || done_) return false;
        if (vantelo::shell::table_open == 0) {
            phase("paint of the grid without a table");
            if (!open_) {
                finish();
            } else if (!asked_) {
                asked_ = true;
                QTimer::singleShot(0, w_, [this] {
                    phase("打开");
                    w_->menu_item(QStringLiteral("Open1"))->trigger();
                    phase("打开 done");
                    // A table that could not be opened is not waited for; its message is reported.
                    if (vantelo::shell::table_open == 0) finish();
                });
            }
            return false;
        }
        vantelo::shell::DatasetModel* m = w_->DataSource1;
        if (m->rowCount() > 0 && w_->DBGrid1->rowAt(0) != 0) return false;  // not the first rows yet
        phase("paint of the grid with the table");
        shown = QStringLiteral("rows %1:").arg(m->rowCount());
        for (int c = 0; c < m->columnCount() && m->rowCount() > 0; ++c)
            shown += QLatin1Char(' ') + m->index(0, c).data().toString();
        finish();
        return false;
    }

    QString shown = QStringLiteral("no table");
    bool done_ = false;

private:
    void finish()
    {
        done_ = true;
        QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
    }

    Tquilta* w_;
    bool open_;
    bool asked_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    since_main.start();
    const bool open = argc == 3 && std::strcmp(argv[1], "open") == 0;
    if (!open && !(argc == 2 && std::strcmp(argv[1], "empty") == 0)) {
        std::fprintf(stderr, "usage: bench_start empty | open FILE\n");
        return 2;
    }
    vantelo::ui::Application app(argc, argv);
    vantelo::set_up_program();
    phase("application set up");

    // The open dialog answers the file; a message or an error box is kept and reported.
    vantelo::ui::ScopedScriptedServices services;
    if (open) services.open_answers.push_back(QString::fromLocal8Bit(argv[2]));

    // Stops the splash's timer once the splash is up, as a click on it would.
    QTimer splash_watch;
    splash_watch.setInterval(0);
    QObject::connect(&splash_watch, &QTimer::timeout, [&splash_watch] {
        using vantelo::shell::FenwoLOGO;
        if (FenwoLOGO && FenwoLOGO->Timer1->isActive()) {
            phase("splash shown");
            FenwoLOGO->Timer1Timer();
        }
        if (vantelo::shell::quilta) splash_watch.stop();
    });
    splash_watch.start();

    std::unique_ptr<FirstPaint> watch;
    const int rc = vantelo::shell::run_application([&] {
        phase("splash gone");
        auto* w = new Tquilta;
        phase("main window built");
        watch = std::make_unique<FirstPaint>(w, open);
        QObject::connect(w->DataSource1, &QAbstractItemModel::modelAboutToBeReset, [] { phase("table read, grid told"); });
        QObject::connect(w->DataSource1, &QAbstractItemModel::modelReset, [] { phase("grid reset"); });
        w->DBGrid1->viewport()->installEventFilter(watch.get());
        return w;
    });
    phase("main window freed");
    for (const QString& m : services.message_texts()) std::fprintf(stderr, "%s\n", qPrintable(m));
    if (rc != 0) return rc;
    if (!watch || !watch->done_ || !services.messages.empty() || (open && vantelo::shell::table_open == 0)) return 1;
    std::printf("%s\n", qPrintable(watch->shown));
    return 0;
}
