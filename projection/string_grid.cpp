#include "projection/string_grid.h"

#include <QHeaderView>

#include "platform/core/errors.h"

namespace vantelo {

StringGrid::StringGrid(QWidget* parent) : QTableWidget(parent)
{
    horizontalHeader()->setVisible(false);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setDefaultSectionSize(100);
    setTextElideMode(Qt::ElideNone);
    verticalHeader()->setDefaultSectionSize(22);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTableWidget::itemChanged, this, &StringGrid::user_edited);
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
        if (!filling_ && row >= 0 && col >= 0) emit select_cell(col, row);
    });
}

QString StringGrid::cell(int col, int row) const { return QString::fromStdString(model_.cell(col, row)); }

void StringGrid::set_cell(int col, int row, const QString& text)
{
    model_.set_cell(col, row, text.toStdString());
    if (col >= 0 && row >= 0 && col < columnCount() && row < rowCount()) show_cell(col, row);
}

void StringGrid::set_col_count(int n)
{
    if (n < 0) throw RangeError();
    // the form's design gives the row count; the model takes it on first use
    model_.set_size(n, std::max(model_.row_count(), rowCount()));
    refresh();
}

void StringGrid::set_row_count(int n)
{
    if (n < 0) throw RangeError();
    model_.set_size(std::max(model_.col_count(), columnCount()), n);
    refresh();
}

void StringGrid::show_cell(int col, int row)
{
    filling_ = true;
    QTableWidgetItem* it = item(row, col);
    if (!it) {
        it = new QTableWidgetItem;
        if (row == 0 || col == 0) {
            it->setFlags(Qt::ItemIsEnabled);
            it->setBackground(palette().button());
        }
        setItem(row, col, it);
    }
    it->setText(cell(col, row));
    filling_ = false;
}

void StringGrid::refresh()
{
    filling_ = true;
    setColumnCount(model_.col_count());
    setRowCount(model_.row_count());
    filling_ = false;
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) show_cell(c, r);
}

void StringGrid::take_design_size()
{
    model_.set_size(columnCount(), rowCount());
    refresh();
}

void StringGrid::user_edited(QTableWidgetItem* it)
{
    if (filling_ || !it) return;
    model_.set_cell(it->column(), it->row(), it->text().toStdString());
}

}  // namespace vantelo
