#pragma once
// A stand-in for the dialogs, for tests: it answers from queues and records every request.
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ui/services.h"

namespace vantelo::ui {

class ScriptedServices : public Services {
public:
    struct Message {
        enum Kind { Information, InformationCancelOnly, Error, Question } kind;
        QString text;
    };

    // Answers for the next common dialogs, one per dialog shown. A file answer is the name the
    // user chooses with OK, an empty text a Cancel; a font answer is the choice made with OK,
    // std::nullopt a Cancel; a colour answer is the colour chosen with OK, an invalid QColor()
    // a Cancel; a print answer is true for OK, false for Cancel. A Cancel leaves the state as
    // it was. With no answer left the user presses OK on what the dialog holds.
    std::deque<QString> open_answers, save_answers;
    std::deque<std::optional<FontDialogState>> font_answers;
    std::deque<QColor> colour_answers;
    std::deque<bool> print_answers;
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
    bool open_dialog(QWidget*, FileDialogState& state) override;
    bool save_dialog(QWidget*, FileDialogState& state) override;
    bool font_dialog(QWidget*, FontDialogState& state) override;
    bool colour_dialog(QWidget*, ColourDialogState& state) override;
    bool print_dialog(QWidget*, QPrinter&) override;
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
