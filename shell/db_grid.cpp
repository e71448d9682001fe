#include "shell/db_grid.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include "platform/ui/guard.h"
#include "shell/dataset_model.h"

namespace vantelo::shell {

DBGrid::DBGrid(QWidget* parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    // Fixed row heights keep a table of a million records as quick as a small one.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("▶▶")));
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

void DBGrid::set_data_source(DatasetModel* source)
{
    source_ = source;
    setModel(source);
    if (!source) return;
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &DBGrid::current_row_changed);
    connect(source, &DatasetModel::cursor_moved, this, &DBGrid::follow_cursor);
    connect(source, &QAbstractItemModel::modelReset, this, &DBGrid::size_columns);
    connect(source, &QAbstractItemModel::modelReset, this, [this] {
        // A new model resets the selection model's connections only when setModel is called;
        // after a reset the current index is gone, so place it on the dataset's cursor again.
        if (source_) follow_cursor(source_->dataset().rec_no());
    });
    size_columns();
}

void DBGrid::commit_editor()
{
    // Only the editor the grid opened: the current cell may have moved on from the cell being
    // edited.
    QPointer<QWidget> editor = editor_;
    const QPersistentModelIndex cell = editor_index_;
    if (!editor || state() != QAbstractItemView::EditingState) return;
    // An editor whose row went away (its record deleted or its append cancelled) is gone with
    // it and has nothing left to write.
    if (!cell.isValid() || indexWidget(cell) != editor) {
        editor_ = nullptr;
        editor_index_ = QPersistentModelIndex();
        return;
    }
    // The editor is closed before its text is written: writing it may move the cursor, which
    // posts a record left behind and so may reset the whole table under an editor still open.
    QAbstractItemDelegate* delegate = itemDelegateForIndex(cell);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (editor && delegate && cell.isValid()) delegate->setModelData(editor, model(), cell);
}

bool DBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    bool started = QTableView::edit(index, trigger, event);
    if (started) {
        // The view opened an editor for the cell, or (an edit trigger on the cell being edited)
        // kept the one it has.
        const QModelIndex cell = model() ? model()->buddy(index) : index;
        if (QWidget* opened = indexWidget(cell)) {
            editor_ = opened;
            editor_index_ = cell;
        }
        emit editing_changed();
    }
    return started;
}

void DBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Forgotten first: closing with "edit the next cell" opens the next editor on the way.
    if (editor == editor_) {
        editor_ = nullptr;
        editor_index_ = QPersistentModelIndex();
    }
    QTableView::closeEditor(editor, hint);
    emit editing_changed();
}

void DBGrid::set_column_color(const QString& field_name, const QColor& color)
{
    if (source_) source_->set_column_color(field_name, color);
}

void DBGrid::clear_column_colors()
{
    if (source_) source_->clear_column_colors();
}

void DBGrid::follow_cursor(int row)
{
    if (!source_ || row < 0 || row >= source_->rowCount()) return;
    QModelIndex cur = currentIndex();
    if (cur.isValid() && cur.row() == row) return;
    following_ = true;
    int col = cur.isValid() ? cur.column() : 0;
    setCurrentIndex(source_->index(row, col));
    following_ = false;
}

void DBGrid::current_row_changed(const QModelIndex& current, const QModelIndex& previous)
{
    if (following_ || !source_ || !current.isValid()) return;
    if (previous.isValid() && previous.row() == current.row()) return;
    db::Dataset& ds = source_->dataset();
    if (!ds.active() || ds.rec_no() == current.row()) return;
    // Moving to another record posts the one being edited.
    ui::guarded(this, [&] { ds.move_to(current.row()); });
}

void DBGrid::size_columns()
{
    if (!source_) return;
    const db::Dataset& ds = source_->dataset();
    if (!ds.active()) return;
    const QFontMetrics fm = fontMetrics();
    const int digit = fm.horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < source_->columnCount(); ++c) {
        const auto& def = ds.field_def(c);
        int chars = std::min(def.display_width(), 12);
        int w = std::max(chars * digit, fm.horizontalAdvance(QString::fromStdString(def.name))) + 2 * digit;
        horizontalHeader()->resizeSection(c, w);
    }
}

}  // namespace vantelo::shell
