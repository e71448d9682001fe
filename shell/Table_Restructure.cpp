#include "shell/Table_Restructure.h"

#include <QPushButton>

#include "platform/ui/guard.h"
#include "platform/ui/windows.h"
#include "shell/app_state.h"
#include "shell/launch.h"
#include "shell/main_table.h"
#include "shell/menu.h"
#include "shell/structure_grid.h"
#include "shell/structure_grid_view.h"
#include "ui_Table_Restructure.h"

namespace vantelo::shell {

QPointer<TTable_Restructure_Frm> Table_Restructure_Frm;
std::vector<std::string> add_field_list;
std::vector<std::string> drop_field_list;

TTable_Restructure_Frm::TTable_Restructure_Frm(QWidget* owner)
    : QDialog(owner), ui_(std::make_unique<Ui::TTable_Restructure_Frm>())
{
    ui_->setupUi(this);
    StringGrid1 = ui_->StringGrid1;
    Button5 = ui_->Button5;
    Button6 = ui_->Button6;
    for (QPushButton* b : {Button5, Button6}) b->setAutoDefault(false);

    StringGrid1->set_editing(false);
    StringGrid1->on_mouse_down = [this](Qt::MouseButton b, QPoint p) { StringGrid1MouseDown(b, p); };
    StringGrid1->on_key_down = [this](int key) { StringGrid1KeyDown(key); };
    StringGrid1->on_key_press = [this](QChar c) { return StringGrid1KeyPress(c); };
    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this](int, int, int, int) { ui::guarded(this, [this] { StringGrid1Click(); }); });
    ui::connect_guarded(Button5, &QPushButton::clicked, this, &TTable_Restructure_Frm::Button5Click);
    ui::connect_guarded(Button6, &QPushButton::clicked, this, &TTable_Restructure_Frm::Button6Click);
    ui::centre_on_screen(this);
}

TTable_Restructure_Frm::~TTable_Restructure_Frm() = default;

void TTable_Restructure_Frm::StringGrid1Click() { structure_grid_click(StringGrid1); }

void TTable_Restructure_Frm::StringGrid1MouseDown(Qt::MouseButton button, QPoint pos)
{
    structure_grid_mouse_down(this, StringGrid1, button, pos, false);
}

bool TTable_Restructure_Frm::StringGrid1KeyPress(QChar key) { return structure_grid_key_press(StringGrid1, key); }

void TTable_Restructure_Frm::StringGrid1KeyDown(int key)
{
    struct_grid_row = StringGrid1->currentRow();
    struct_grid_col = StringGrid1->currentColumn();
    const bool on_last_row = StringGrid1->currentRow() == StringGrid1->rowCount() - 1;
    if (key == Qt::Key_Delete) {
        if (StringGrid1->rowCount() > 1) {
            delete_structure_row(StringGrid1, StringGrid1->currentRow());
            renumber_structure_grid(StringGrid1);
        }
    } else if (key == Qt::Key_Down && on_last_row) {
        StringGrid1->set_editing(true);
        append_structure_row_if_complete(StringGrid1);
        renumber_structure_grid(StringGrid1);
    } else if (key == Qt::Key_Up && on_last_row) {
        StringGrid1->set_editing(false);
        remove_empty_last_structure_row(StringGrid1);
    }
}

void TTable_Restructure_Frm::run_on_current_table(const std::string& statement)
{
    db::Dataset& table = main_table();
    db::Query& query = main_query();
    table.close();
    query.clear();
    query.add(statement);
    try {
        query.exec_sql();
    } catch (...) {
        // The table stays the current one: open again before the error is shown. Should it not
        // open, no table counts as open.
        try {
            table.open();
        } catch (...) {
            table_open = 0;
        }
        throw;
    }
    try {
        table.open();
    } catch (...) {
        table_open = 0;
        throw;
    }
}

void TTable_Restructure_Frm::Button5Click()
{
    StringGrid1->commit_editor();
    // A "Char" width that is not a whole number raises here, before anything changes.
    new_structure = structure_from_grid(StringGrid1);
    StructureChanges changes = structure_changes(old_structure, new_structure);
    add_field_list = std::move(changes.add_items);
    drop_field_list = std::move(changes.drop_names);
    const std::string table = main_table().table_name();
    for (const std::string& item : add_field_list) run_on_current_table(alter_add_statement(table, item));
    for (const std::string& name : drop_field_list) run_on_current_table(alter_drop_statement(table, name));
    structure_edit_mode = 0;
    done(QDialog::Rejected);
}

void TTable_Restructure_Frm::Button6Click()
{
    structure_edit_mode = 0;
    done(QDialog::Rejected);
}

void register_table_restructure()
{
    register_window(QStringLiteral("Restructure1"), [](Tquilta& main) -> QWidget* {
        TTable_Restructure_Frm* w = new_window(&main, Table_Restructure_Frm);
        fill_structure_grid(w->StringGrid1, main.Table1);
        old_field_count = main.Table1.field_count();
        old_structure = structure_from_grid(w->StringGrid1);
        return w;
    });
}

}  // namespace vantelo::shell
