#include "shell/main_table.h"

#include "platform/core/errors.h"
#include "platform/db/dataset.h"
#include "shell/dataset_model.h"

namespace vantelo::shell {
namespace {

MainWindowLink& link()
{
    static MainWindowLink l;
    return l;
}

// A field read as a real the strict way: a null or blank field, or a text that is no number,
// raises the variant conversion error.
double strict_real(const db::Field& f) { return f.as_real_strict(); }

std::vector<double> read_column(const QString& field_name, double (*read)(const db::Field&))
{
    db::Dataset& t = main_table();
    db::Field f = t.field_by_name(field_name.toStdString());
    std::vector<double> out;
    const int n = t.record_count();
    out.reserve(static_cast<size_t>(n));
    t.first();
    for (int x = 0; x < n; ++x) {
        out.push_back(read(f));
        t.next();
    }
    return out;
}

}  // namespace

void set_main_window_link(MainWindowLink l) { link() = std::move(l); }

const MainWindowLink& main_window_link() { return link(); }

db::Dataset& main_table()
{
    if (!link().table) throw EngineError("Dataset is not open");
    return *link().table;
}

db::Query& main_query()
{
    if (!link().query) throw EngineError("Dataset is not open");
    return *link().query;
}

int main_table_field_count() { return link().table && link().table->active() ? link().table->field_count() : 0; }

QStringList main_table_field_names() { return link().table ? field_name_list(*link().table) : QStringList(); }

std::vector<double> main_table_column(const QString& field_name)
{
    return read_column(field_name, [](const db::Field& f) { return f.as_float(); });
}

std::vector<double> main_table_column_strict(const QString& field_name) { return read_column(field_name, strict_real); }

void set_main_grid_column_colour(int col, const QColor& colour)
{
    QStringList names = main_table_field_names();
    if (col < 0 || col >= names.size()) return;  // a column the grid does not have
    if (link().colour_column) link().colour_column(names[col], colour);
}

void reset_main_grid_colours()
{
    const int n = main_table_field_count();
    for (int i = 0; i < n; ++i) set_main_grid_column_colour(i, QColor(255, 255, 255));
}

}  // namespace vantelo::shell
