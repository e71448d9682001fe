#include "shell/data_type.h"

#include <QListWidget>

#include "platform/ui/guard.h"
#include "shell/New_Table.h"
#include "shell/Table_Restructure.h"
#include "shell/app_state.h"
#include "shell/structure_grid.h"
#include "shell/structure_grid_view.h"
#include "ui_data_type.h"

namespace vantelo::shell {

QPointer<TData_type_frm> Data_type_frm;

QTableWidget* edited_structure_grid()
{
    if (structure_edit_mode == 1 && New_Table_Frm) return New_Table_Frm->StringGrid1;
    if (structure_edit_mode == 2 && Table_Restructure_Frm) return Table_Restructure_Frm->StringGrid1;
    return nullptr;
}

TData_type_frm::TData_type_frm(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::TData_type_frm>())
{
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    ListBox1 = ui_->ListBox1;
    QFont f = ListBox1->font();
    f.setPixelSize(13);
    ListBox1->setFont(f);
    for (int i = 0; i < ListBox1->count(); ++i) ListBox1->item(i)->setSizeHint(QSize(0, 16));
    ui::connect_guarded(ListBox1, &QListWidget::itemClicked, this, &TData_type_frm::ListBox1Click);
}

TData_type_frm::~TData_type_frm() = default;

void TData_type_frm::ListBox1Click()
{
    QTableWidget* grid = edited_structure_grid();
    if (grid && ListBox1->currentItem())
        set_structure_cell(grid, struct_grid_col, struct_grid_row, ListBox1->currentItem()->text());
    done(QDialog::Rejected);
}

}  // namespace vantelo::shell
