#include "shell/result_columns.h"

#include "platform/core/checked.h"
#include "platform/core/errors.h"
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

QString no_column_added_message(const QString& reason)
{
    return QStringLiteral("新变量未能写入表中: ") + reason + QLatin1Char('\n') + QString::fromUtf8(no_column_added_text);
}

void add_result_columns(db::Dataset& table, db::Query& query, const std::vector<ResultColumn>& columns)
{
    std::vector<std::string> statements;
    std::vector<std::vector<db::Value>> values;
    db::TableData as_read;
    try {
        reopen(table);
        const size_t n = static_cast<size_t>(table.record_count());
        for (const ResultColumn& c : columns) {
            if (c.values.size() < n) throw RangeError();
            statements.push_back(add_column_statement(table, c.name));
            std::vector<db::Value>& v = values.emplace_back();
            v.reserve(n);
            for (size_t i = 0; i < n; ++i) v.emplace_back(to_double(round_half_even(c.values[i])));
        }
        as_read = table.image();
        table.close();
        query.exec_add_fields(statements, values, &as_read);
    } catch (const std::exception& e) {
        // Nothing was written: the table is shown as it is; one that will not reopen stays closed.
        try {
            reopen(table);
        } catch (...) {
        }
        throw EngineError(no_column_added_message(QString::fromUtf8(e.what())).toStdString());
    }
    reopen(table);
}

void add_result_columns(const std::vector<ResultColumn>& columns)
{
    db::Dataset& table = main_table();
    try {
        add_result_columns(table, main_query(), columns);
    } catch (...) {
        if (!table.active()) table_open = 0;
        throw;
    }
}

}  // namespace vantelo::shell
