#include "platform/ui/qt_services.h"

#include "platform/ui/font_colour_dialog.h"
#include "platform/ui/help_viewer.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QThread>
#include <QWidget>

namespace vantelo::ui {

QStringList file_dialog_filters(const QString& filter)
{
    QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) out << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return out;
}

namespace {

void message(QWidget* parent, QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButton button)
{
    QMessageBox box(icon, QApplication::applicationName(), text, button, parent);
    box.exec();
}

bool run_file_dialog(QWidget* parent, FileDialogState& state, QFileDialog::AcceptMode mode)
{
    QFileDialog dlg(parent, state.title);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptOpen) dlg.setFileMode(QFileDialog::ExistingFile);
    if (!state.confirm_overwrite) dlg.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters = file_dialog_filters(state.filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        int idx = state.filter_index - 1;
        if (idx >= 0 && idx < filters.size()) dlg.selectNameFilter(filters[idx]);
    }
    if (!state.default_ext.isEmpty()) dlg.setDefaultSuffix(state.default_ext);
    if (!state.file_name.isEmpty()) {
        dlg.selectFile(state.file_name);
    } else if (!state.initial_dir.isEmpty()) {
        dlg.setDirectory(state.initial_dir);
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    state.file_name = dlg.selectedFiles().first();
    int idx = filters.indexOf(dlg.selectedNameFilter());
    if (idx >= 0) state.filter_index = idx + 1;
    return true;
}

}  // namespace

void QtServices::information(QWidget* parent, const QString& text)
{
    message(parent, QMessageBox::Information, text, QMessageBox::Ok);
}

void QtServices::information_cancel_only(QWidget* parent, const QString& text)
{
    message(parent, QMessageBox::Information, text, QMessageBox::Cancel);
}

bool QtServices::question(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtServices::error_box(QWidget* parent, const QString& text)
{
    message(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}

bool QtServices::open_dialog(QWidget* parent, FileDialogState& state)
{
    return run_file_dialog(parent, state, QFileDialog::AcceptOpen);
}

bool QtServices::save_dialog(QWidget* parent, FileDialogState& state)
{
    return run_file_dialog(parent, state, QFileDialog::AcceptSave);
}

bool QtServices::font_dialog(QWidget* parent, FontDialogState& state)
{
    FontColourDialog dlg(state, parent);
    if (dlg.exec() != QDialog::Accepted) return false;
    dlg.write_back(state);
    return true;
}

bool QtServices::colour_dialog(QWidget* parent, ColourDialogState& state)
{
    QColor c = QColorDialog::getColor(state.color, parent, QString(), QColorDialog::DontUseNativeDialog);
    if (!c.isValid()) return false;
    state.color = c;
    return true;
}

bool QtServices::print_dialog(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dlg(&printer, parent);
    return dlg.exec() == QDialog::Accepted;
}

void QtServices::show_help(QWidget* parent, const QString& help_file, const QString& topic)
{
    show_help_window(parent, help_file, topic);
}

void QtServices::pause(int milliseconds)
{
    if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

}  // namespace vantelo::ui
