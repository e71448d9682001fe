#include "shell/structure_grid.h"

#include <QSignalBlocker>
#include <QTableWidget>

#include "platform/core/numtext.h"

namespace vantelo::shell {

using db::FieldType;

QString structure_type_name(FieldType type)
{
    switch (type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt: return QStringLiteral("Integer");
    case FieldType::Boolean: return QStringLiteral("Boolean");
    case FieldType::Float:
    case FieldType::Currency: return QStringLiteral("Float");
    case FieldType::Date: return QStringLiteral("Date");
    case FieldType::String:
    case FieldType::Other: break;
    }
    return QStringLiteral("Char");
}

bool structure_shows_width(FieldType type) { return type == FieldType::String || type == FieldType::Other; }

QString structure_cell(const QTableWidget* grid, int col, int row)
{
    auto* item = grid->item(row, col);
    return item ? item->text() : QString();
}

namespace {
// A cell of the number column, the grid's fixed column: grey, never current, never selected or
// edited (keys and clicks pass over it), its text drawn as on a button.
QTableWidgetItem* new_fixed_item(const QTableWidget* grid)
{
    auto* item = new QTableWidgetItem;
    item->setFlags(Qt::NoItemFlags);
    item->setBackground(grid->palette().button());
    item->setForeground(grid->palette().buttonText());
    return item;
}
}  // namespace

void set_structure_cell(QTableWidget* grid, int col, int row, const QString& text)
{
    auto* item = grid->item(row, col);
    if (!item) {
        item = col == 0 ? new_fixed_item(grid) : new QTableWidgetItem;
        grid->setItem(row, col, item);
    }
    item->setText(text);
}

void make_number_column_fixed(QTableWidget* grid)
{
    if (grid->columnCount() < 1) return;
    for (int r = 0; r < grid->rowCount(); ++r)
        if (!grid->item(r, 0)) grid->setItem(r, 0, new_fixed_item(grid));
}

void renumber_structure_grid(QTableWidget* grid)
{
    for (int r = 0; r < grid->rowCount(); ++r) set_structure_cell(grid, 0, r, QString::number(r + 1));
}

bool structure_row_complete_at(const QTableWidget* grid, int row)
{
    return structure_row_complete(structure_cell(grid, 1, row).toStdString(), structure_cell(grid, 2, row).toStdString(),
                                  structure_cell(grid, 3, row).toStdString());
}

namespace {
// Changes the grid's rows without telling its click handler of the moves of the current cell
// they cause (the handler would change the rows again from inside the change); the current
// cell is recorded afterwards.
template <class F>
void change_rows(QTableWidget* grid, F&& f)
{
    {
        const QSignalBlocker block(grid);
        f();
    }
    struct_grid_row = grid->currentRow();
    struct_grid_col = grid->currentColumn();
}
}  // namespace

bool append_structure_row_if_complete(QTableWidget* grid)
{
    if (!structure_row_complete_at(grid, grid->rowCount() - 1)) return false;
    change_rows(grid, [&] { grid->setRowCount(grid->rowCount() + 1); });
    return true;
}

void remove_empty_last_structure_row(QTableWidget* grid)
{
    const int last = grid->rowCount() - 1;
    if (last > 0 && structure_cell(grid, 1, last).isEmpty()) change_rows(grid, [&] { grid->setRowCount(last); });
}

void delete_structure_row(QTableWidget* grid, int row)
{
    if (grid->rowCount() > 1 && row >= 0 && row < grid->rowCount()) change_rows(grid, [&] { grid->removeRow(row); });
}

void insert_structure_row(QTableWidget* grid, int row)
{
    if (row < 0 || row >= grid->rowCount()) return;
    change_rows(grid, [&] { grid->insertRow(row); });
}

void fill_structure_grid(QTableWidget* grid, db::Dataset& table)
{
    if (grid->columnCount() < 4) grid->setColumnCount(4);
    if (grid->rowCount() < 1) grid->setRowCount(1);
    const int n = table.field_count();
    for (int i = 0; i < n; ++i) {
        const db::FieldDef& def = table.field_def(i);
        set_structure_cell(grid, 1, i, QString::fromStdString(def.name));
        set_structure_cell(grid, 2, i, structure_type_name(def.type));
        if (structure_shows_width(def.type)) set_structure_cell(grid, 3, i, QString::number(def.display_width()));
        set_structure_cell(grid, 0, i, QString::number(grid->rowCount()));
        if (i != n - 1) grid->setRowCount(grid->rowCount() + 1);
    }
}

std::vector<Table_structure_info> structure_from_grid(QTableWidget* grid)
{
    std::vector<Table_structure_info> out;
    for (int r = 0; r < grid->rowCount(); ++r) {
        Table_structure_info s;
        s.FieldName = structure_cell(grid, 1, r).toStdString();
        s.FieldType = structure_cell(grid, 2, r).toStdString();
        s.State = 0;
        s.Width = s.FieldType == "Char" ? parse_int(structure_cell(grid, 3, r).toStdString()) : 0;
        out.push_back(s);
    }
    return out;
}

}  // namespace vantelo::shell
