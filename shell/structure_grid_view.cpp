#include "shell/structure_grid_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "shell/Data_width.h"
#include "shell/app_state.h"
#include "shell/data_type.h"
#include "shell/launch.h"
#include "shell/structure_grid.h"

namespace vantelo::shell {

StructureGrid::StructureGrid(QWidget* parent) : QTableWidget(parent)
{
    set_editing(false);
    // Every new row gets its fixed number cell; the first row's name cell becomes current, so
    // that what the user types at once is a field name.
    auto rows_changed = [this] {
        make_number_column_fixed(this);
        if (!currentIndex().isValid() && rowCount() > 0 && columnCount() > 1) setCurrentCell(0, 1);
    };
    connect(model(), &QAbstractItemModel::rowsInserted, this, rows_changed);
    connect(model(), &QAbstractItemModel::columnsInserted, this, rows_changed);
}

void StructureGrid::set_editing(bool on)
{
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed
                       : QAbstractItemView::NoEditTriggers);
}

bool StructureGrid::editing() const { return editTriggers() != QAbstractItemView::NoEditTriggers; }

QWidget* StructureGrid::open_editor() const
{
    if (state() != QAbstractItemView::EditingState) return nullptr;
    QWidget* w = QApplication::focusWidget();
    return w && w != this && isAncestorOf(w) ? w : nullptr;
}

void StructureGrid::commit_editor()
{
    if (QWidget* ed = open_editor()) commitData(ed);
}

void StructureGrid::close_editor()
{
    if (QWidget* ed = open_editor()) {
        commitData(ed);
        closeEditor(ed, QAbstractItemDelegate::NoHint);
    }
}

void StructureGrid::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    const QPoint pos = event->position().toPoint();
    if (button == Qt::LeftButton) QTableWidget::mousePressEvent(event);
    else event->accept();
    if (on_mouse_down) ui::guarded(window(), [&] { on_mouse_down(button, pos); });
}

void StructureGrid::keyPressEvent(QKeyEvent* event)
{
    // What the user typed into an open editor counts as the cell's text from here on.
    commit_editor();
    if (on_key_down) ui::guarded(window(), [&] { on_key_down(event->key()); });
    const QString text = event->text();
    if (on_key_press && text.size() == 1 && text[0].isPrint()) {
        bool used = false;
        ui::guarded(window(), [&] { used = on_key_press(text[0]); });
        if (used) {
            event->accept();
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

void structure_grid_click(StructureGrid* grid)
{
    struct_grid_row = grid->currentRow();
    struct_grid_col = grid->currentColumn();
    const int last = grid->rowCount() - 1;
    if (grid->currentRow() != last && structure_cell(grid, 1, last).isEmpty()) remove_empty_last_structure_row(grid);
}

void structure_grid_mouse_down(QWidget* window, StructureGrid* grid, Qt::MouseButton button, QPoint pos,
                               bool switch_editing)
{
    const int col = grid->currentColumn();
    const int row = grid->currentRow();
    if (col == 1) {
        if (switch_editing) grid->set_editing(true);
    } else if (col == 2) {
        if (switch_editing) grid->set_editing(false);
        if (button == Qt::RightButton) {
            TData_type_frm* popup = new_window(window, Data_type_frm);
            popup->move(grid->viewport()->mapToGlobal(pos));
            ui::show_window(popup, true);
        }
    } else if (col == 3 && structure_cell(grid, 2, row) == QLatin1String("Char")) {
        if (switch_editing) grid->set_editing(false);
        if (button == Qt::RightButton) {
            TData_width_frm* popup = new_window(window, Data_width_frm);
            popup->move(grid->viewport()->mapToGlobal(pos) + QPoint(0, popup->height()));
            ui::show_window(popup, true);
        }
    }
}

bool structure_grid_key_press(StructureGrid* grid, QChar key)
{
    const int col = grid->currentColumn();
    const int row = grid->currentRow();
    if (col != 2 && col != 3) return false;
    grid->close_editor();
    if (col == 2) {
        const std::string type = type_for_key(key.unicode());
        if (!type.empty()) set_structure_cell(grid, 2, row, QString::fromStdString(type));
    } else if (structure_cell(grid, 2, row) == QLatin1String("Char") && key >= u'0' && key <= u'9') {
        set_structure_cell(grid, 3, row, structure_cell(grid, 3, row) + key);
    }
    return true;
}

}  // namespace vantelo::shell
