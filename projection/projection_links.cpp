#include "projection/projection_links.h"

#include "platform/core/errors.h"
#include "platform/db/dataset.h"
#include "shell/dataset_model.h"

namespace vantelo::projection {
namespace {

MainWindowLink& link()
{
    static MainWindowLink l;
    return l;
}

db::Dataset& table()
{
    if (!link().table) throw EngineError("Dataset is not open");
    return *link().table;
}

}  // namespace

void set_main_window_link(MainWindowLink l) { link() = std::move(l); }

int main_table_field_count() { return link().table && link().table->active() ? link().table->field_count() : 0; }

QStringList main_table_field_names() { return link().table ? shell::field_name_list(*link().table) : QStringList(); }

int main_table_record_count() { return link().table && link().table->active() ? link().table->record_count() : 0; }

std::vector<double> main_table_column(const QString& field_name)
{
    db::Dataset& t = table();
    db::Field f = t.field_by_name(field_name.toStdString());
    std::vector<double> out;
    const int n = t.record_count();
    out.reserve(static_cast<size_t>(n));
    t.first();
    for (int x = 0; x < n; ++x) {
        out.push_back(f.as_float());
        t.next();
    }
    return out;
}

void set_main_grid_column_colour(int col, const QColor& colour)
{
    QStringList names = main_table_field_names();
    if (col < 0 || col >= names.size()) return;  // a column the grid does not have
    if (link().colour_column) link().colour_column(names[col], colour);
}

}  // namespace vantelo::projection
