#include "projection/pop_data_resultFrm1.h"

#include <QFont>
#include <QTextEdit>

#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/windows.h"
#include "projection/rtf_writer.h"
#include "ui_pop_data_resultFrm1.h"

namespace vantelo {

Tpop_data_resultForm1* pop_data_resultForm1 = nullptr;

void show_text_report(const std::vector<std::string>& lines)
{
    auto* w = ui::new_window(nullptr, pop_data_resultForm1);
    w->set_lines(lines);
    ui::show_modal(*w);
}

namespace {

QString join_lines(const std::vector<std::string>& lines)
{
    QStringList parts;
    for (const auto& l : lines) parts << QString::fromStdString(l);
    return parts.join(QLatin1Char('\n'));
}

}  // namespace

Tpop_data_resultForm1::Tpop_data_resultForm1(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::Tpop_data_resultForm1>())
{
    ui_->setupUi(this);
    // The box's font, 13 px: the reports align their columns with blanks, so a font whose
    // digits, Latin letters and blanks share one width and that holds the Chinese glyphs (each
    // two columns wide); the saved RTF names the same font.
    QFont f;
    f.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("WenQuanYi Zen Hei Mono"),
                   QStringLiteral("MS Sans Serif"), QStringLiteral("Noto Sans CJK SC")});
    f.setStyleHint(QFont::TypeWriter);
    f.setPixelSize(13);
    ui_->RichEdit1->setFont(f);
    ui_->RichEdit1->document()->setDefaultFont(f);
    adjustSize();
    ui::centre_on_screen(this);
    ui::connect_guarded(ui_->Button1, &QPushButton::clicked, this, &Tpop_data_resultForm1::Button1Click);
    ui::connect_guarded(ui_->Button2, &QPushButton::clicked, this, &Tpop_data_resultForm1::Button2Click);
}

Tpop_data_resultForm1::~Tpop_data_resultForm1() = default;

QTextEdit* Tpop_data_resultForm1::RichEdit1() const { return ui_->RichEdit1; }

void Tpop_data_resultForm1::set_lines(const std::vector<std::string>& lines)
{
    ui_->RichEdit1->setPlainText(join_lines(lines));
}

void Tpop_data_resultForm1::add_line(const std::string& line)
{
    std::vector<std::string> l = lines();
    l.push_back(line);
    set_lines(l);
}

void Tpop_data_resultForm1::insert_line(int index, const std::string& line)
{
    std::vector<std::string> l = lines();
    if (index < 0 || static_cast<size_t>(index) > l.size()) throw RangeError();
    l.insert(l.begin() + index, line);
    set_lines(l);
}

void Tpop_data_resultForm1::clear_lines() { ui_->RichEdit1->clear(); }

std::vector<std::string> Tpop_data_resultForm1::lines() const
{
    std::vector<std::string> out;
    QString text = ui_->RichEdit1->toPlainText();
    if (text.isEmpty() && ui_->RichEdit1->document()->blockCount() <= 1) return out;
    for (const QString& l : text.split(QLatin1Char('\n'))) out.push_back(l.toStdString());
    return out;
}

void Tpop_data_resultForm1::Button1Click()
{
    if (!ui::services().save_dialog(this, SaveDialog1) || SaveDialog1.file_name.isEmpty()) return;
    const QFont& f = ui_->RichEdit1->font();
    projection::write_rtf_file(SaveDialog1.file_name.toStdString(), lines(), f.families().value(0, f.family()).toStdString());
}

void Tpop_data_resultForm1::Button2Click() { done(QDialog::Rejected); }

}  // namespace vantelo
