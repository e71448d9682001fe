#pragma once
// A stand-in for the dialogs, for tests: it answers from queues and records every request.
#include <deque>
#include <functional>
#include <vector>

#include "platform/ui/services.h"

namespace vantelo::ui {

class ScriptedServices : public Services {
public:
    struct Message {
        enum Kind { Information, InformationCancelOnly, Error, Question } kind;
        QString text;
    };

    // Answers for the next file dialogs: each is the file name the dialog holds afterwards
    // (an empty text leaves the state's name as it was, as a cancelled dialog does).
    std::deque<QString> open_answers, save_answers;
    std::deque<FontDialogState> font_answers;
    std::deque<QColor> colour_answers;
    // Answers for the next confirmations; with none left the answer is No.
    std::deque<bool> question_answers;
    // Called on every pause, e.g. to grab the frame a chart shows.
    std::function<void(int)> on_pause;
    // Called on every message, e.g. to check what the window shows at that moment.
    std::function<void(const Message&)> on_message;

    std::vector<Message> messages;
    std::vector<int> pauses;
    std::vector<QString> help_shown;
    int print_dialogs = 0;
    int open_dialogs = 0, save_dialogs = 0;

    void information(QWidget*, const QString& text) override;
    void information_cancel_only(QWidget*, const QString& text) override;
    bool question(QWidget*, const QString& text) override;
    void error_box(QWidget*, const QString& text) override;
    void open_dialog(QWidget*, FileDialogState& state) override;
    void save_dialog(QWidget*, FileDialogState& state) override;
    void font_dialog(QWidget*, FontDialogState& state) override;
    void colour_dialog(QWidget*, ColourDialogState& state) override;
    void print_dialog(QWidget*, QPrinter&) override;
    void show_help(QWidget*, const QString& help_file, const QString& topic) override;
    void pause(int milliseconds) override;

    // The texts of all messages so far, in order.
    QStringList message_texts() const;
    void clear();
};

// Installs a ScriptedServices for the life of the object.
class ScopedScriptedServices : public ScriptedServices {
public:
    ScopedScriptedServices() { set_services(this); }
    ~ScopedScriptedServices() override { set_services(nullptr); }
};

}  // namespace vantelo::ui
