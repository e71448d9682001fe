#include "platform/ui/scripted_services.h"

namespace vantelo::ui {

namespace {
// The next answer, or nullopt when none is left.
template <class T>
std::optional<T> next_answer(std::deque<T>& answers)
{
    if (answers.empty()) return std::nullopt;
    T a = std::move(answers.front());
    answers.pop_front();
    return a;
}

bool take_answer(std::deque<QString>& answers, FileDialogState& state)
{
    const auto a = next_answer(answers);
    if (!a) return true;
    if (a->isEmpty()) return false;
    state.file_name = *a;
    return true;
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

bool ScriptedServices::open_dialog(QWidget*, FileDialogState& state)
{
    ++open_dialogs;
    return take_answer(open_answers, state);
}

bool ScriptedServices::save_dialog(QWidget*, FileDialogState& state)
{
    ++save_dialogs;
    return take_answer(save_answers, state);
}

bool ScriptedServices::font_dialog(QWidget*, FontDialogState& state)
{
    const auto a = next_answer(font_answers);
    if (!a) return true;
    if (!*a) return false;
    state = **a;
    return true;
}

bool ScriptedServices::colour_dialog(QWidget*, ColourDialogState& state)
{
    const auto a = next_answer(colour_answers);
    if (!a) return true;
    if (!a->isValid()) return false;
    state.color = *a;
    return true;
}

bool ScriptedServices::print_dialog(QWidget*, QPrinter&)
{
    ++print_dialogs;
    return next_answer(print_answers).value_or(true);
}

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
