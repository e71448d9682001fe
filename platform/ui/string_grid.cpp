#include "platform/ui/string_grid.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

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

    frozen_ = new QTableView(this);
    frozen_->setObjectName(QStringLiteral("frozen_label_column"));
    frozen_->setModel(model());
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setSelectionMode(QAbstractItemView::NoSelection);
    frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozen_->horizontalHeader()->setVisible(false);
    frozen_->verticalHeader()->setVisible(false);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setTextElideMode(Qt::ElideNone);
    frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    viewport()->stackUnder(frozen_);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(), &QScrollBar::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (col == 0) {
            frozen_->setColumnWidth(0, size);
            place_frozen_column();
        }
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int size) { frozen_->setRowHeight(row, size); });
    connect(model(), &QAbstractItemModel::columnsInserted, this, [this] { show_only_label_column(); });
    show_only_label_column();
}

void StringGrid::show_only_label_column()
{
    for (int c = 0; c < model()->columnCount(); ++c) frozen_->setColumnHidden(c, c != 0);
    if (model()->columnCount() > 0) frozen_->setColumnWidth(0, columnWidth(0));
    place_frozen_column();
}

void StringGrid::place_frozen_column()
{
    if (!frozen_) return;
    const bool shown = columnCount() > 1 && rowCount() > 0;
    frozen_->setVisible(shown);
    if (!shown) return;
    const QRect vp = viewport()->geometry();
    frozen_->setGeometry(vp.left(), vp.top(), std::min(columnWidth(0), vp.width()), vp.height());
    frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void StringGrid::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    place_frozen_column();
}

void StringGrid::updateGeometries()
{
    QTableWidget::updateGeometries();
    place_frozen_column();
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
    const QString text = cell(col, row);
    it->setText(text);
    // Columns widen to show their whole texts (up to 15 significant digits after an
    // interpolation); they never narrow below the form's width.
    const int need = fontMetrics().horizontalAdvance(text) + 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    if (need > columnWidth(col)) setColumnWidth(col, need);
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
