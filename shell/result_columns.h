#pragma once
// Result arrays written into the current table as new Float columns: first the check that no
// new name is already a field name, then one "alter table" statement per column and the values,
// record by record. Used by the windows that store their results in the table (the
// standardisation and the year-end estimate).
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

// When the table is reopened: after each column's statement, or once after the last.
enum class ReopenTable { after_each_column, after_last_column };

// Adds the columns to the table and fills them:
//  1. every column needs a value for each record of the open table, else the range error is
//     raised before anything changes;
//  2. per column: the table is closed, the statement
//       alter table "<the table's name, its full path>" Add <name> Float
//     is the query's only line and runs, and the table is reopened for writing (with
//     after_last_column the statements run one after the other and the table is reopened once);
//  3. from the first record, each record in turn is edited, column k gets values[i] rounded to
//     the nearest whole number, half to even, and the move to the next record posts it.
// A statement the engine refuses ends the action with its error, the table reopened first (the
// columns added before it stay, empty).
void add_result_columns(db::Dataset& table, db::Query& query, const std::vector<ResultColumn>& columns,
                        ReopenTable reopen = ReopenTable::after_each_column);
// The same on the current table (Table1) through Query1; should the table fail to reopen, no
// table counts as open any more.
void add_result_columns(const std::vector<ResultColumn>& columns, ReopenTable reopen = ReopenTable::after_each_column);

}  // namespace vantelo::shell
