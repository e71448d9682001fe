#include "shell/New_Table.h"

#include <QFileInfo>
#include <QPushButton>

#include "platform/db/table_files.h"
#include "platform/ui/guard.h"
#include "platform/ui/windows.h"
#include "shell/app_state.h"
#include "shell/launch.h"
#include "shell/main_table.h"
#include "shell/menu.h"
#include "shell/structure_grid.h"
#include "shell/structure_grid_view.h"
#include "ui_New_Table.h"

namespace vantelo::shell {

QPointer<TNew_Table_Frm> New_Table_Frm;

namespace {
const QString file_exists_message = QStringLiteral(" 文件已存在.");
const QString duplicate_name_message = QStringLiteral("Field Name Define Error!");

// Whether the chosen name, or the file the engine makes of it (a name without an extension
// becomes a Paradox table with ".db"), already exists.
bool table_file_exists(const QString& name)
{
    if (QFileInfo::exists(name)) return true;
    try {
        return QFileInfo::exists(QString::fromStdString(db::resolve_table(name.toStdString(), db::TableType::Default).path));
    } catch (const Error&) {
        return false;  // a name the engine cannot take; the statement reports it
    }
}
}  // namespace

TNew_Table_Frm::TNew_Table_Frm(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::TNew_Table_Frm>())
{
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    StringGrid1 = ui_->StringGrid1;
    Button2 = ui_->Button2;
    Button3 = ui_->Button3;
    Button5 = ui_->Button5;
    Button6 = ui_->Button6;
    for (QPushButton* b : {Button2, Button3, Button5, Button6}) b->setAutoDefault(false);

    SaveDialog1.filter = QStringLiteral("*.db|*.db|*.dbf|*.dbf");
    SaveDialog1.confirm_overwrite = false;  // 创建 tests for an existing file itself

    StringGrid1->set_editing(true);
    renumber_structure_grid(StringGrid1);
    StringGrid1->on_mouse_down = [this](Qt::MouseButton b, QPoint p) { StringGrid1MouseDown(b, p); };
    StringGrid1->on_key_down = [this](int key) { StringGrid1KeyDown(key); };
    StringGrid1->on_key_press = [this](QChar c) { return StringGrid1KeyPress(c); };
    connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
        ui::guarded(this, [&] {
            StringGrid1SelectCell(col, row);
            StringGrid1Click();
        });
    });
    ui::connect_guarded(Button2, &QPushButton::clicked, this, &TNew_Table_Frm::Button2Click);
    ui::connect_guarded(Button3, &QPushButton::clicked, this, &TNew_Table_Frm::Button3Click);
    ui::connect_guarded(Button5, &QPushButton::clicked, this, &TNew_Table_Frm::Button5Click);
    ui::connect_guarded(Button6, &QPushButton::clicked, this, &TNew_Table_Frm::Button6Click);
    ui::centre_on_screen(this);
}

TNew_Table_Frm::~TNew_Table_Frm() = default;

void TNew_Table_Frm::StringGrid1SelectCell(int col, int)
{
    if (col == 1) StringGrid1->set_editing(true);
}

void TNew_Table_Frm::StringGrid1Click() { structure_grid_click(StringGrid1); }

void TNew_Table_Frm::StringGrid1MouseDown(Qt::MouseButton button, QPoint pos)
{
    structure_grid_mouse_down(this, StringGrid1, button, pos, true);
}

void TNew_Table_Frm::StringGrid1KeyDown(int key)
{
    if (StringGrid1->currentRow() != StringGrid1->rowCount() - 1) return;
    if (key == Qt::Key_Down) {
        append_structure_row_if_complete(StringGrid1);
        renumber_structure_grid(StringGrid1);
    } else if (key == Qt::Key_Up) {
        remove_empty_last_structure_row(StringGrid1);
    }
}

bool TNew_Table_Frm::StringGrid1KeyPress(QChar key) { return structure_grid_key_press(StringGrid1, key); }

void TNew_Table_Frm::Button2Click()
{
    StringGrid1->commit_editor();
    const int row = struct_grid_row;
    if (row < 0 || row >= StringGrid1->rowCount()) return;
    if (structure_cell(StringGrid1, 1, row).isEmpty() || structure_cell(StringGrid1, 2, row).isEmpty()) return;
    insert_structure_row(StringGrid1, row);
    renumber_structure_grid(StringGrid1);
}

void TNew_Table_Frm::Button3Click()
{
    StringGrid1->commit_editor();
    delete_structure_row(StringGrid1, struct_grid_row);
    renumber_structure_grid(StringGrid1);
}

void TNew_Table_Frm::Button5Click()
{
    StringGrid1->commit_editor();
    bool duplicates = false;
    const int n = StringGrid1->rowCount();
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (structure_cell(StringGrid1, 1, i) == structure_cell(StringGrid1, 1, j)) {
                ui::services().information(this, duplicate_name_message);
                duplicates = true;
            }
    if (duplicates) {
        structure_edit_mode = 0;
        return;
    }
    // Each 创建 starts the dialog without a name; the hook below runs only when the user
    // confirms one.
    SaveDialog1.file_name.clear();
    if (ui::services().save_dialog(this, SaveDialog1) && !SaveDialog1.file_name.isEmpty()) SaveDialog1CanClose();
    structure_edit_mode = 0;
}

void TNew_Table_Frm::SaveDialog1CanClose()
{
    const QString file = SaveDialog1.file_name;
    if (table_file_exists(file)) {
        ui::services().information(this, file_exists_message);
        return;
    }
    structure_edit_mode = 0;
    remove_empty_last_structure_row(StringGrid1);
    std::vector<std::string> items;
    for (int r = 0; r < StringGrid1->rowCount(); ++r)
        items.push_back(create_table_item(structure_cell(StringGrid1, 1, r).toStdString(),
                                          structure_cell(StringGrid1, 2, r).toStdString(),
                                          structure_cell(StringGrid1, 3, r).toStdString()));
    db::Query& query = main_query();
    query.clear();
    query.add(create_table_statement(file.toStdString(), items));
    query.exec_sql();
    db::Dataset& table = main_table();
    table.close();
    table_open = 0;
    current_table_file = file;
    table.set_table_name(current_table_file.toStdString());
    table.open();
    table_open = 1;
}

void TNew_Table_Frm::Button6Click()
{
    structure_edit_mode = 0;
    done(QDialog::Rejected);
}

void register_new_table()
{
    register_window(QStringLiteral("New1"), [](Tquilta& main) -> QWidget* {
        TNew_Table_Frm* w = new_window(&main, New_Table_Frm);
        return w;
    });
}

}  // namespace vantelo::shell
