#include "shell/result_columns.h"

#include "platform/core/checked.h"
#include "platform/core/numtext.h"
#include "platform/db/dataset.h"
#include "platform/ui/services.h"
#include "shell/app_state.h"
#include "shell/main_table.h"

namespace vantelo::shell {
namespace {

void reopen(db::Dataset& table)
{
    if (table.active()) return;
    table.set_read_only(false);
    table.open();
}

void run_statement(db::Dataset& table, db::Query& query, const QString& name)
{
    query.clear();
    query.add(add_column_statement(table, name));
    query.exec_sql();
}

// The field a new column became: its exact name first (a name that differs from an older field
// only in letter case must not write into that field).
db::Field new_field(db::Dataset& table, const QString& name)
{
    const std::string n = name.toStdString();
    const std::vector<std::string> names = table.field_names();
    for (int i = 0; i < static_cast<int>(names.size()); ++i)
        if (names[static_cast<size_t>(i)] == n) return table.field(i);
    return table.field_by_name(n);
}

}  // namespace

std::string add_column_statement(const db::Dataset& table, const QString& name)
{
    return "alter table \"" + table.table_name() + "\" Add " + name.toStdString() + " Float";
}

QString existing_column_message(const QString& name) { return name + QStringLiteral("变量已存在，请输入新的变量名."); }

bool check_new_column_names(QWidget* parent, const db::Dataset& table, const QStringList& names)
{
    if (!table.active()) return true;
    for (const std::string& field : table.field_names()) {
        for (const QString& name : names) {
            if (name.toStdString() == field) {
                ui::services().information(parent, existing_column_message(name));
                return false;
            }
        }
    }
    return true;
}

bool check_new_column_names(QWidget* parent, const QStringList& names)
{
    return check_new_column_names(parent, main_table(), names);
}

void add_result_columns(db::Dataset& table, db::Query& query, const std::vector<ResultColumn>& columns,
                        ReopenTable reopen_when)
{
    if (table.active()) {
        const size_t n = static_cast<size_t>(table.record_count());
        for (const ResultColumn& c : columns)
            if (c.values.size() < n) throw RangeError();
    }
    try {
        for (const ResultColumn& c : columns) {
            table.close();
            run_statement(table, query, c.name);
            if (reopen_when == ReopenTable::after_each_column) reopen(table);
        }
    } catch (...) {
        // The statement's error is the one shown; a table that will not reopen stays closed.
        try {
            reopen(table);
        } catch (...) {
        }
        throw;
    }
    reopen(table);

    std::vector<db::Field> fields;
    for (const ResultColumn& c : columns) fields.push_back(new_field(table, c.name));
    const int n = table.record_count();
    table.first();
    for (int i = 0; i < n; ++i) {
        table.edit();
        for (size_t k = 0; k < columns.size(); ++k)
            fields[k].set_as_float(to_double(round_half_even(at(columns[k].values, i))));
        table.next();
    }
}

void add_result_columns(const std::vector<ResultColumn>& columns, ReopenTable reopen_when)
{
    db::Dataset& table = main_table();
    try {
        add_result_columns(table, main_query(), columns, reopen_when);
    } catch (...) {
        if (!table.active()) table_open = 0;
        throw;
    }
}

}  // namespace vantelo::shell
