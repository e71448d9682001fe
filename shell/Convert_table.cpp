#include "shell/Convert_table.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "platform/ui/field_list.h"
#include "platform/ui/guard.h"
#include "platform/ui/inform.h"
#include "platform/ui/windows.h"
#include "shell/engine/field_compute.h"
#include "shell/launch.h"
#include "shell/menu.h"
#include "ui_Convert_table.h"

namespace vantelo::shell {

QPointer<Tconvert_table_frm> convert_table_frm;

namespace {
// The items of the format list, in order, and the table type each stands for.
const std::vector<std::string> format_items = {"ASCII", "DBase", "FoxPro", "Paradox"};
const db::TableType format_types[] = {db::TableType::Ascii, db::TableType::DBase, db::TableType::FoxPro,
                                      db::TableType::Paradox};
}  // namespace

Tconvert_table_frm::Tconvert_table_frm(QWidget* owner)
    : QDialog(owner), ui_(std::make_unique<Ui::Tconvert_table_frm>())
{
    ui_->setupUi(this);
    Edit1 = ui_->Edit1;
    ComboBox2 = ui_->ComboBox2;
    Button1 = ui_->Button1;
    Button2 = ui_->Button2;
    for (QPushButton* b : {Button1, Button2}) b->setAutoDefault(false);
    // "ASCII" shown, no item chosen.
    QStringList items;
    for (const std::string& f : format_items) items << QString::fromStdString(f);
    ui::fill_list(ComboBox2, items, QStringLiteral("ASCII"));
    ui::connect_guarded(Button1, &QPushButton::clicked, this, &Tconvert_table_frm::Button1Click);
    ui::connect_guarded(Button2, &QPushButton::clicked, this, &Tconvert_table_frm::Button2Click);
    ui::centre_on_screen(this);
}

Tconvert_table_frm::~Tconvert_table_frm() = default;

void Tconvert_table_frm::Button1Click()
{
    // The format by the list's text: a chosen item shows its own text and the untouched list
    // "ASCII"; a typed text that names no format is refused rather than taken for ASCII.
    const int format = list_item_for_text(format_items, ComboBox2->currentText().toStdString());
    if (format < 0) {
        ui::inform(this, QStringLiteral("\"%1\"不是可选的数据格式.").arg(ComboBox2->currentText()));
        return;
    }
    if (!ui::services().save_dialog(this, SaveDialog1)) return;
    const QString file = SaveDialog1.file_name;
    if (file.isEmpty()) return;
    Tquilta& main = *quilta;
    main.Table2.close();
    main.Table2.set_table_name(file.toStdString());
    main.BatchMove1.source = &main.Table1;
    main.BatchMove1.destination = &main.Table2;
    main.Table2.set_table_type(format_types[format]);
    main.BatchMove1.execute();
    done(QDialog::Rejected);
}

void Tconvert_table_frm::Button2Click() { done(QDialog::Rejected); }

void register_convert_table()
{
    register_window(QStringLiteral("Convert1"), [](Tquilta& main) -> QWidget* {
        Tconvert_table_frm* w = new_window(&main, convert_table_frm);
        w->Edit1->setText(QString::fromStdString(main.Table1.table_name()));
        return w;
    });
}

}  // namespace vantelo::shell
