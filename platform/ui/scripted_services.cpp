#include "platform/ui/scripted_services.h"

namespace vantelo::ui {

namespace {
void take_answer(std::deque<QString>& answers, FileDialogState& state)
{
    if (answers.empty()) return;
    QString a = answers.front();
    answers.pop_front();
    if (!a.isEmpty()) state.file_name = a;
}
}  // namespace

void ScriptedServices::information(QWidget*, const QString& text)
{
    messages.push_back({Message::Information, text});
    if (on_message) on_message(messages.back());
}

void ScriptedServices::information_cancel_only(QWidget*, const QString& text)
{
    messages.push_back({Message::InformationCancelOnly, text});
    if (on_message) on_message(messages.back());
}

bool ScriptedServices::question(QWidget*, const QString& text)
{
    messages.push_back({Message::Question, text});
    if (on_message) on_message(messages.back());
    if (question_answers.empty()) return false;
    bool yes = question_answers.front();
    question_answers.pop_front();
    return yes;
}

void ScriptedServices::error_box(QWidget*, const QString& text)
{
    messages.push_back({Message::Error, text});
    if (on_message) on_message(messages.back());
}

void ScriptedServices::open_dialog(QWidget*, FileDialogState& state)
{
    ++open_dialogs;
    take_answer(open_answers, state);
}

void ScriptedServices::save_dialog(QWidget*, FileDialogState& state)
{
    ++save_dialogs;
    take_answer(save_answers, state);
}

void ScriptedServices::font_dialog(QWidget*, FontDialogState& state)
{
    if (font_answers.empty()) return;
    state = font_answers.front();
    font_answers.pop_front();
}

void ScriptedServices::colour_dialog(QWidget*, ColourDialogState& state)
{
    if (colour_answers.empty()) return;
    state.color = colour_answers.front();
    colour_answers.pop_front();
}

void ScriptedServices::print_dialog(QWidget*, QPrinter&) { ++print_dialogs; }

void ScriptedServices::show_help(QWidget*, const QString& help_file, const QString& topic)
{
    help_shown.push_back(help_file + "#" + topic);
}

void ScriptedServices::pause(int milliseconds)
{
    pauses.push_back(milliseconds);
    if (on_pause) on_pause(milliseconds);
}

QStringList ScriptedServices::message_texts() const
{
    QStringList out;
    for (const auto& m : messages) out << m.text;
    return out;
}

void ScriptedServices::clear()
{
    messages.clear();
    pauses.clear();
    help_shown.clear();
    print_dialogs = open_dialogs = save_dialogs = 0;
}

}  // namespace vantelo::ui
