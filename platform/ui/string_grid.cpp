#include "platform/ui/string_grid.h"

#include <QHeaderView>

#include "platform/core/errors.h"

namespace vantelo::ui {

void TextCells::set_size(int cols, int rows)
{
    if (cols < 0 || rows < 0) throw RangeError();
    cells_.resize(static_cast<size_t>(rows));
    for (auto& r : cells_) r.resize(static_cast<size_t>(cols));
    cols_ = cols;
    rows_ = rows;
}

std::string TextCells::cell(int col, int row) const
{
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return {};
    return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void TextCells::set_cell(int col, int row, std::string text)
{
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return;
    cells_[static_cast<size_t>(row)][static_cast<size_t>(col)] = std::move(text);
}

StringGrid::StringGrid(QWidget* parent) : QTableWidget(parent), own_(std::make_unique<TextCells>()), cells_(own_.get())
{
    set_up();
}

StringGrid::StringGrid(QWidget* parent, GridCells& cells) : QTableWidget(parent), cells_(&cells) { set_up(); }


void StringGrid::set_up()
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

QString StringGrid::cell(int col, int row) const { return QString::fromStdString(cells_->cell(col, row)); }

void StringGrid::set_cell(int col, int row, const QString& text)
{
    cells_->set_cell(col, row, text.toStdString());
    if (col >= 0 && row >= 0 && col < columnCount() && row < rowCount()) show_cell(col, row);
}

void StringGrid::set_col_count(int n)
{
    if (n < 0) throw RangeError();
    // the form's design gives the row count; the model takes it on first use
    cells_->set_size(n, std::max(cells_->row_count(), rowCount()));
    refresh();
}

void StringGrid::set_row_count(int n)
{
    if (n < 0) throw RangeError();
    cells_->set_size(std::max(cells_->col_count(), columnCount()), n);
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
    setColumnCount(cells_->col_count());
    setRowCount(cells_->row_count());
    filling_ = false;
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) show_cell(c, r);
}

void StringGrid::take_design_size()
{
    cells_->set_size(columnCount(), rowCount());
    refresh();
}

void StringGrid::user_edited(QTableWidgetItem* it)
{
    if (filling_ || !it) return;
    cells_->set_cell(it->column(), it->row(), it->text().toStdString());
}

}  // namespace vantelo::ui
