#pragma once
// DBGrid1: the grid on the current table. It follows the dataset's cursor, moves the cursor
// when the user goes to another row (which posts the record left behind), and can give single
// columns a background colour.
#include <QPointer>
#include <QTableView>

namespace vantelo::shell {

class DatasetModel;

class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);
    using QTableView::edit;

    void set_data_source(DatasetModel* source);
    DatasetModel* data_source() const { return source_; }

    // Writes the open cell editor's text into the record of the cell it edits and closes the
    // editor, so that a value just typed is part of the record before a command reads or writes
    // the table. The editor is the one the grid opened, wherever the current cell is by now.
    void commit_editor();
    // A cell editor is open.
    bool editing() const { return state() == QAbstractItemView::EditingState; }

    // Background colour of the column of a field; an invalid colour removes it.
    void set_column_color(const QString& field_name, const QColor& color);
    void clear_column_colors();

signals:
    // A cell editor opened or closed.
    void editing_changed();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void follow_cursor(int row);
    void current_row_changed(const QModelIndex& current, const QModelIndex& previous);
    void size_columns();

    DatasetModel* source_ = nullptr;
    bool following_ = false;
    // The cell editor the grid opened last and has not closed, and the cell it edits.
    QPointer<QWidget> editor_;
    QPersistentModelIndex editor_index_;
};

}  // namespace vantelo::shell
