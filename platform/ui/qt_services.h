#pragma once
#include "platform/ui/services.h"

namespace vantelo::ui {

// The real dialogs and message boxes.
class QtServices : public Services {
public:
    void information(QWidget* parent, const QString& text) override;
    void information_cancel_only(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    void error_box(QWidget* parent, const QString& text) override;
    bool open_dialog(QWidget* parent, FileDialogState& state) override;
    bool save_dialog(QWidget* parent, FileDialogState& state) override;
    bool font_dialog(QWidget* parent, FontDialogState& state) override;
    bool colour_dialog(QWidget* parent, ColourDialogState& state) override;
    bool print_dialog(QWidget* parent, QPrinter& printer) override;
    void show_help(QWidget* parent, const QString& help_file, const QString& topic) override;
    void pause(int milliseconds) override;
};

// Name filters for QFileDialog from a "desc|pattern|desc|pattern" filter text.
QStringList file_dialog_filters(const QString& filter);

}  // namespace vantelo::ui
