#pragma once
// Result arrays written into the current table as new Float columns: first the check that no
// new name is already a field name, then one "alter table" statement per column, run together
// with the values as one change of the table's file. Used by the windows that store their
// results in the table (the standardisation and the year-end estimate).
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class QWidget;

namespace vantelo::db {
class Dataset;
class Query;
}  // namespace vantelo::db

namespace vantelo::shell {

// The second line of the message of a failed add_result_columns.
inline constexpr const char* no_column_added_text = "没有添加任何变量.";

// The message for a new column name that is already a field name: the name followed directly
// by "变量已存在，请输入新的变量名.".
QString existing_column_message(const QString& name);

// For each field of the table in table order, and each name in order: a name equal to the
// field's name, character for character (letter case included), is shown in an information box
// with existing_column_message() and the check fails. Names are not compared with each other;
// an empty name passes. Returns true when every name is new.
bool check_new_column_names(QWidget* parent, const db::Dataset& table, const QStringList& names);
// The same on the current table (Table1).
bool check_new_column_names(QWidget* parent, const QStringList& names);

// The statement that adds a Float column to the table:
//   alter table "<the table's name, its full path>" Add <name> Float
std::string add_column_statement(const db::Dataset& table, const QString& name);

// One new column: its name and the value of each record (record i gets values[i]).
struct ResultColumn {
    QString name;
    const std::vector<double>& values;
};

// The message of a failed add_result_columns: what went wrong, then no_column_added_text on a
// line of its own ("新变量未能写入表中: <reason>\n没有添加任何变量.").
QString no_column_added_message(const QString& reason);

// Adds the columns to the table and fills them, as one change of its file:
//  1. the table is opened when it is not (by its name, for writing); every column needs a
//     value for each record, else the range error;
//  2. per column, the statement
//       alter table "<the table's name, its full path>" Add <name> Float
//     becomes the query's only line (told to its on_execute);
//  3. with the table closed, the statements run together with the values (record i, column
//     k: values[i] rounded to the nearest whole number, half to even) as one rewrite of the
//     file (Query::exec_add_fields), refused when the file no longer holds the table as read;
//  4. the table is reopened for writing.
// Any failure before the file has changed (a statement the engine refuses, a value that does
// not fit, a write error) leaves the file as it was, reopens the table and raises
// no_column_added_message() with the error's text; the table then has none of the columns. A
// table that fails to reopen after the change raises that error as it is.
void add_result_columns(db::Dataset& table, db::Query& query, const std::vector<ResultColumn>& columns);
// The same on the current table (Table1) through Query1; should the table fail to reopen, no
// table counts as open any more.
void add_result_columns(const std::vector<ResultColumn>& columns);

}  // namespace vantelo::shell
