#include "projection/string_grid.h"

#include <QHeaderView>

#include "platform/core/errors.h"

namespace vantelo {

StringGrid::StringGrid(QWidget* parent) : QTableWidget(parent)
{
    horizontalHeader()->setVisible(false);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setDefaultSectionSize(64);
    verticalHeader()->setDefaultSectionSize(22);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTableWidget::itemChanged, this, &StringGrid::user_edited);
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
        if (!filling_ && row >= 0 && col >= 0) emit select_cell(col, row);
    });
    connect(this, &QTableWidget::cellPressed, this, [this](int row, int col) {
        if (!filling_) emit select_cell(col, row);
    });
}

QString StringGrid::cell(int col, int row) const
{
    auto it = cells_.find({col, row});
    return it == cells_.end() ? QString() : it->second;
}

void StringGrid::set_cell(int col, int row, const QString& text)
{
    if (col < 0 || row < 0) throw RangeError();
    cells_[{col, row}] = text;
    if (col < columnCount() && row < rowCount()) show_cell(col, row);
}

void StringGrid::set_col_count(int n)
{
    if (n < 0) throw RangeError();
    filling_ = true;
    setColumnCount(n);
    filling_ = false;
    refresh();
}

void StringGrid::set_row_count(int n)
{
    if (n < 0) throw RangeError();
    filling_ = true;
    setRowCount(n);
    filling_ = false;
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
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) show_cell(c, r);
}

void StringGrid::user_edited(QTableWidgetItem* it)
{
    if (filling_ || !it) return;
    cells_[{it->column(), it->row()}] = it->text();
}

}  // namespace vantelo
