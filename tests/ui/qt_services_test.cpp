// The real common dialogs behind the services: OK writes the choice into the dialog's state and
// answers true; Cancel leaves the state as it was and answers false.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "platform/ui/font_colour_dialog.h"
#include "platform/ui/qt_services.h"

using namespace vantelo::ui;

namespace {

// Runs `call`, which shows one modal dialog, and acts on that dialog with `act` at every tick of
// a timer (run by the dialog's own event loop) until it has closed: a file dialog may take a
// name only once it has listed its folder.
bool answered(const std::function<void(QDialog*)>& act, const std::function<bool()>& call)
{
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) act(d);
    });
    timer.start(5);
    return call();
}

void reject(QDialog* d) { d->reject(); }

// The font dialog's choice of 24 points in red, then `close`.
std::function<void(QDialog*)> big_red_font(void (QDialog::*close)())
{
    return [close](QDialog* d) {
        auto* f = qobject_cast<FontColourDialog*>(d);
        ASSERT_NE(f, nullptr);
        QFont big = f->selected_font();
        big.setPointSize(24);
        f->set_selected_font(big);
        f->set_selected_colour(QColor(255, 0, 0));
        (d->*close)();
    };
}

// The colour dialog's choice of green, then `close`.
std::function<void(QDialog*)> green(void (QDialog::*close)())
{
    return [close](QDialog* d) {
        auto* c = qobject_cast<QColorDialog*>(d);
        ASSERT_NE(c, nullptr);
        c->setCurrentColor(QColor(0, 255, 0));
        (d->*close)();
    };
}

// The offscreen platform's notice that it cannot pass size hints on, which Qt's own dialogs
// cause, is no fault of the program; every other message goes to the suite's handler.
QtMessageHandler suite_handler = nullptr;
void drop_size_hint_notice(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains(QLatin1String("propagateSizeHints"))) return;
    if (suite_handler) suite_handler(type, context, text);
}

class QtServicesDialogs : public ::testing::Test {
protected:
    void SetUp() override { suite_handler = qInstallMessageHandler(drop_size_hint_notice); }
    void TearDown() override { qInstallMessageHandler(suite_handler); }
    QtServices qt;
};

}  // namespace

TEST_F(QtServicesDialogs, FileDialogsAnswerOkWithTheNameAndCancelWithNothingChanged)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString existing = dir.filePath("chosen.db");
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));  // the open dialog takes only an existing file
    }
    struct Case {
        const char* name;
        std::function<bool(FileDialogState&)> run;
        QString chosen;
    } cases[] = {
        {"open", [&](FileDialogState& s) { return qt.open_dialog(nullptr, s); }, existing},
        {"save", [&](FileDialogState& s) { return qt.save_dialog(nullptr, s); }, dir.filePath("new.db")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileDialogState state;
        state.file_name = dir.filePath("earlier.db");
        state.filter = "DB|*.db|DBF|*.dbf";
        state.confirm_overwrite = false;
        EXPECT_FALSE(answered(reject, [&] { return c.run(state); }));
        EXPECT_EQ(state.file_name, dir.filePath("earlier.db"));
        EXPECT_EQ(state.filter_index, 1);

        // The user types the name and presses OK (QFileDialog's own accept takes the typed name).
        const auto choose = [&](QDialog* d) {
            auto* f = qobject_cast<QFileDialog*>(d);
            if (!f) return;
            auto* name = f->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(c.chosen);
            d->accept();
        };
        EXPECT_TRUE(answered(choose, [&] { return c.run(state); }));
        EXPECT_EQ(state.file_name, c.chosen);
    }
}

TEST_F(QtServicesDialogs, FontColourAndPrintDialogsAnswerCancelWithNothingChanged)
{
    FontDialogState font;
    font.font = QFont(QStringLiteral("DejaVu Sans"), 10);
    font.color = QColor(0, 0, 0);
    EXPECT_FALSE(answered(big_red_font(&QDialog::reject), [&] { return qt.font_dialog(nullptr, font); }));
    EXPECT_EQ(font.font.pointSize(), 10);
    EXPECT_EQ(font.color, QColor(0, 0, 0));
    EXPECT_TRUE(answered(big_red_font(&QDialog::accept), [&] { return qt.font_dialog(nullptr, font); }));
    EXPECT_EQ(font.font.pointSize(), 24);
    EXPECT_EQ(font.color, QColor(255, 0, 0));

    ColourDialogState colour;
    EXPECT_FALSE(answered(green(&QDialog::reject), [&] { return qt.colour_dialog(nullptr, colour); }));
    EXPECT_EQ(colour.color, QColor(0, 0, 0));
    EXPECT_TRUE(answered(green(&QDialog::accept), [&] { return qt.colour_dialog(nullptr, colour); }));
    EXPECT_EQ(colour.color, QColor(0, 255, 0));

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    EXPECT_FALSE(answered(reject, [&] { return qt.print_dialog(nullptr, printer); }));
}
