#pragma once
// The one seam for everything modal or slow: message boxes, the common dialogs, the help
// viewer and the animation pause. The program uses QtServices; tests install ScriptedServices,
// which answers from a script and records what was asked, so no test blocks or sleeps. The
// program's own windows are shown through platform/ui/modal.h.
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;
class QPrinter;

namespace vantelo::ui {

// The state of an open or save dialog. It persists between uses: OK leaves the chosen name in
// it, a Cancel leaves it as it was.
struct FileDialogState {
    QString file_name;
    QString filter;         // "DB|*.DB|DBF|*.dbf": description|pattern pairs
    int filter_index = 1;   // 1-based, as the filter list counts
    QString default_ext;    // without the dot; added to a typed name without extension
    QString initial_dir;
    QString title;
    bool confirm_overwrite = true;  // save dialogs: ask before choosing an existing file
};

// The state of a font dialog: the font and the colour chosen with it.
struct FontDialogState {
    QFont font;
    QColor color = Qt::black;
};

struct ColourDialogState {
    QColor color = Qt::black;
};

class Services {
public:
    virtual ~Services() = default;
    // An information box with one OK button.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // An information box whose only button is Cancel.
    virtual void information_cancel_only(QWidget* parent, const QString& text) = 0;
    // A confirmation with Yes and No buttons; true for Yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;
    // The application's default error box.
    virtual void error_box(QWidget* parent, const QString& text) = 0;
    // The common dialogs: true when the user accepted the dialog (OK), which writes the choice
    // into the state; false for Cancel or a closed dialog, which leaves the state as it was.
    // A command stops at once on false, with nothing changed.
    [[nodiscard]] virtual bool open_dialog(QWidget* parent, FileDialogState& state) = 0;
    [[nodiscard]] virtual bool save_dialog(QWidget* parent, FileDialogState& state) = 0;
    [[nodiscard]] virtual bool font_dialog(QWidget* parent, FontDialogState& state) = 0;
    [[nodiscard]] virtual bool colour_dialog(QWidget* parent, ColourDialogState& state) = 0;
    // The print set-up dialog on a printer, which keeps an accepted choice for the next print;
    // true when the user accepted it (print), false for Cancel (print nothing).
    [[nodiscard]] virtual bool print_dialog(QWidget* parent, QPrinter& printer) = 0;
    // Shows a topic of a help file.
    virtual void show_help(QWidget* parent, const QString& help_file, const QString& topic) = 0;
    // Pauses the calling thread for an animation frame.
    virtual void pause(int milliseconds) = 0;
};

// The services in force; QtServices until a test installs its own.
Services& services();
// Installs s (not owned); nullptr restores the Qt services.
void set_services(Services* s);

}  // namespace vantelo::ui
