#pragma once
// DataSource1: the link between a dataset and the grid and navigator that show it. The model
// reads values on demand straight from the dataset, so a table of a million records costs no
// more than the rows on screen; edits go into the dataset's current record, which is posted when
// the cursor moves to another record.
#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QStringList>

#include "platform/db/dataset.h"

namespace vantelo::shell {

class DatasetModel : public QAbstractTableModel, public db::DatasetObserver {
    Q_OBJECT
public:
    explicit DatasetModel(db::Dataset& dataset, QObject* parent = nullptr);
    ~DatasetModel() override;

    db::Dataset& dataset() const { return ds_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Writes the text into the field of that record (moving the cursor there first, which posts
    // a pending edit of another record). A text that is not a value of the field's type shows
    // the error and leaves the record as it was.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Background colour of the column of a field, by name (not case-sensitive); it stays while
    // tables are closed and reopened. An invalid colour removes it.
    void set_column_color(const QString& field_name, const QColor& color);
    void clear_column_colors();
    QColor column_color(int column) const;

    // The text a value shows in the grid.
    static QString display_text(const db::Value& v, db::FieldType type);

    // DatasetObserver
    void dataset_changed(db::Dataset& ds) override;
    void record_changed(db::Dataset& ds, int row) override;
    void position_changed(db::Dataset& ds) override;

signals:
    // The dataset's cursor moved to another record.
    void cursor_moved(int row);
    // Opened, closed, or a record's state changed (for the navigator's buttons).
    void state_changed();

private:
    db::Value cell_value(int row, int col) const;
    QVariant cell_data(const QModelIndex& index, int role) const;
    void set_field_text(int col, const QString& text);

    db::Dataset& ds_;
    int rows_ = 0;
    int cols_ = 0;
    int indicator_row_ = -1;
    QHash<QString, QColor> colors_;
};

// The field names of a dataset in table order; none while it is closed.
QStringList field_name_list(const db::Dataset& dataset);

}  // namespace vantelo::shell
