#include "shell/structure_grid.h"

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

namespace {
void set_cell(QTableWidget* grid, int row, int col, const QString& text)
{
    if (auto* item = grid->item(row, col)) item->setText(text);
    else grid->setItem(row, col, new QTableWidgetItem(text));
}

QString cell(QTableWidget* grid, int row, int col)
{
    auto* item = grid->item(row, col);
    return item ? item->text() : QString();
}
}  // namespace

void fill_structure_grid(QTableWidget* grid, db::Dataset& table)
{
    if (grid->columnCount() < 4) grid->setColumnCount(4);
    if (grid->rowCount() < 1) grid->setRowCount(1);
    const int n = table.field_count();
    for (int i = 0; i < n; ++i) {
        const db::FieldDef& def = table.field_def(i);
        set_cell(grid, i, 1, QString::fromStdString(def.name));
        set_cell(grid, i, 2, structure_type_name(def.type));
        if (structure_shows_width(def.type)) set_cell(grid, i, 3, QString::number(def.display_width()));
        set_cell(grid, i, 0, QString::number(grid->rowCount()));
        if (i != n - 1) grid->setRowCount(grid->rowCount() + 1);
    }
}

std::vector<Table_structure_info> structure_from_grid(QTableWidget* grid)
{
    std::vector<Table_structure_info> out;
    for (int r = 0; r < grid->rowCount(); ++r) {
        Table_structure_info s;
        s.FieldName = cell(grid, r, 1);
        s.FieldType = cell(grid, r, 2);
        s.State = 0;
        s.Width = s.FieldType == QLatin1String("Char") ? parse_int(cell(grid, r, 3).toStdString()) : 0;
        out.push_back(s);
    }
    return out;
}

}  // namespace vantelo::shell
