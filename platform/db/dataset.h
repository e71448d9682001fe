#pragma once
// Datasets over table files: the program's Table1 and Table2. A dataset owns the image of one
// table (fields and records in physical order, kept by column); open reads the file by its
// path, a posted record is written through at once.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/checked.h"
#include "platform/db/table_data.h"

namespace vantelo::db {

class Dataset;

enum class TableType { Default, Paradox, DBase, FoxPro, Ascii };

// A field of an open dataset, addressed by index; reads and writes the current record.
class Field {
public:
    Field(Dataset* ds, int index) : ds_(ds), index_(index) {}
    const FieldDef& def() const;
    const std::string& name() const { return def().name; }
    int index() const { return index_; }
    bool is_null() const;
    double as_float() const;            // null or empty text reads 0
    // The value as a real number, strictly: null, empty or non-numeric text and dates raise
    // VariantError "Invalid variant type conversion"; true and false read 1 and 0.
    double as_real_strict() const;
    void set_as_float(double v);        // integers round half to even
    std::string as_string() const;
    void set_as_string(const std::string& text);
    std::int64_t as_integer() const;
    void set_as_integer(std::int64_t v);
    void clear();                       // set null
    Value value() const;
    void set_value(const Value& v);

private:
    Dataset* ds_;
    int index_;
};

// A value read as a real number as Field::as_float reads it: null and blank text read 0, text is
// parsed strictly, a date raises.
real value_as_real(const Value& v, const FieldDef& f);
// A value read as a real number strictly: null, blank or non-numeric text and dates raise
// "Invalid variant type conversion"; true and false read 1 and 0.
real value_as_real_strict(const Value& v);

// The definition of a field of a table to be created.
struct FieldDefinition {
    std::string name;
    FieldType type = FieldType::String;
    int size = 0;
    bool required = false;
};

// Told of every change so that grids and navigators can follow.
class DatasetObserver {
public:
    virtual ~DatasetObserver() = default;
    virtual void dataset_changed(Dataset& ds) = 0;          // opened, closed, records added or removed
    virtual void record_changed(Dataset& ds, int row) = 0;  // one record's values
    virtual void position_changed(Dataset&) {}
};

class Dataset {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    Dataset();
    ~Dataset();
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;

    // Changing either while open raises "Cannot perform this operation on an open dataset".
    void set_table_name(const std::string& path);
    const std::string& table_name() const { return table_name_; }
    void set_table_type(TableType t);
    TableType table_type() const { return table_type_; }
    void set_database_name(const std::string& n) { database_name_ = n; }
    const std::string& database_name() const { return database_name_; }
    void set_read_only(bool ro);        // a change while open raises as above
    bool read_only() const;             // also true while a table that cannot be written is open

    // The file a table name resolves to: no extension -> Paradox + ".db"; with a type,
    // the type's extension; an unknown extension with Default raises.
    std::string resolved_path() const;
    TableFormat resolved_format() const;

    void open();
    void close();                       // discards an unposted edit; no-op when closed
    bool active() const { return state_ != State::Inactive; }
    State state() const { return state_; }

    int record_count() const;
    int rec_no() const { return cursor_; }  // 0-based, -1 when empty
    void first();                       // every move posts a pending edit first (an edit or a new
                                        // record with no field assigned is dropped instead)
    void next();                        // on the last record sets eof and stays
    void prior();
    void last();
    void move_to(int row);
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }

    void edit();                        // on an empty table, as append
    void append();                      // a new blank record at the end, in insert state; posts a pending edit
    void post();                        // raises "Dataset not in edit or insert mode" when browsing;
                                        // a failed write keeps the edit pending and the image unchanged;
                                        // a file that no longer holds the table as read is refused
                                        // (changed_file_message); after a post the image holds the
                                        // record as the file does
    void cancel();
    void delete_record();               // rewrites the file without the current record (refused, as a
                                        // post is, when the file no longer holds the table as read)
    bool modified() const { return modified_; }

    // Deferred writing, for passes that change many records: between begin_batch() and
    // end_batch() a posted edit changes the image only, and end_batch() posts a pending edit
    // (as a move does) and then writes the whole table once, through a temporary file, under the
    // file's lock and only when the file still holds the table as it was read (else
    // changed_file_message, after the file's name, and nothing is written). When the write fails
    // or is refused, the batch's changes are dropped and the image is read back from the file as
    // it now is (with another program's changes, when it made any; the table as it was read when
    // the file cannot be read now), and the error is raised. During a batch the dataset keeps a
    // copy of the table as read (an image still read from the file's bytes shares them).
    // Appending or deleting a record during a batch raises "Cannot append or delete records
    // during a batch update", and beginning a batch during one "A batch update is already in
    // progress" (the batch, a pending edit included, stays as it was); closing the dataset ends
    // the batch and discards what it has not written. Observers hear nothing during a batch and
    // are told once at its end (the records changed, or only the position when none did).
    void begin_batch();
    void end_batch();
    bool in_batch() const { return batch_; }

    int field_count() const;
    Field field(int i)
    {
        if (state_ == State::Inactive || static_cast<unsigned>(i) >= data_.fields.size()) field_out_of_range(i);
        return Field(this, i);
    }
    Field field_by_name(const std::string& name);   // case-insensitive, else "Field '%s' not found"
    int find_field(const std::string& name) const;  // -1 when absent
    std::vector<std::string> field_names() const;

    // Values of any record without moving the cursor (for grids and charts).
    Value value_at(int row, int col) const;
    // Field definitions for create_table(); create refuses an existing file.
    std::vector<FieldDefinition>& field_defs() { return field_defs_; }
    void create_table();

    // The open table as plain records (a copy, for comparisons and rewrites); image() is the
    // compact image the dataset keeps, without copying.
    TableData data() const { return plain_image(data_); }
    const TableData& image() const { return data_; }

    void add_observer(DatasetObserver* o);
    void remove_observer(DatasetObserver* o);

    // Field access (used by Field).
    Value current_value(int col) const;
    double current_real(int col) const;   // as Field::as_float reads it
    void set_current_value(int col, const Value& v);
    const FieldDef& field_def(int col) const;

private:
    void require_active() const;
    [[noreturn]] void field_out_of_range(int i) const;
    double current_real_slow(int col) const;
    void require_closed() const;
    void post_if_editing();
    void end_batch_write();
    void notify_changed();
    void notify_record(int row);
    void notify_position();

    std::string table_name_;
    std::string database_name_;
    TableType table_type_ = TableType::Default;
    bool read_only_ = false;
    State state_ = State::Inactive;
    TableData data_;
    std::string open_path_;
    TableFormat open_format_ = TableFormat::Paradox;
    Record buffer_;                     // the record being edited or inserted
    int cursor_ = -1;
    bool eof_ = true, bof_ = true, modified_ = false;
    bool batch_ = false, batch_dirty_ = false;
    std::function<void(const Record&, std::size_t)> batch_check_;  // a record fits the file
    TableData batch_base_;              // during a batch: the table as read
    std::vector<FieldDefinition> field_defs_;
    std::vector<DatasetObserver*> observers_;
};

// The statement runner (Query1): an SQL list, executed as one local SQL statement.
class Query {
public:
    void clear() { sql_.clear(); }
    void add(const std::string& line) { sql_.push_back(line); }
    const std::vector<std::string>& sql() const { return sql_; }
    void exec_sql();
    // Statements that each add a field to one table ("alter table "path" Add <name> Float"),
    // run together with the values of the new fields as one change (add_filled_fields): each
    // becomes the SQL list in turn and is told to on_execute, then all run at once; the list
    // keeps the last.
    void exec_add_fields(const std::vector<std::string>& statements, const std::vector<std::vector<Value>>& values,
                         const TableData* expected = nullptr);
    // Called with the statement text before it runs (tests record the texts this way).
    std::function<void(const std::string&)> on_execute;

private:
    std::vector<std::string> sql_;
};

// Runs one local SQL statement: Create table, alter table add / drop / Add ... Float.
void execute_statement(const std::string& statement);

// Runs statements that each add one field to the same table, together with the values of the
// new fields, as one change: values[k][i] goes into record i of the field statement k adds
// (converted as a field assignment converts it). Every check comes before the first byte: each
// statement an "alter table ... add" of one table, the new names unique (without regard to
// case) among the old and the new fields, one value per record for each, every value fitting
// its field, and with expected, the file holding that table (the one the caller read, else
// changed_file_message). Then the table is rewritten once through a temporary file, under its
// lock and with the check that the file still holds what was read. Any failure leaves the file
// as it was: either no new field, or all of them with every value.
void add_filled_fields(const std::vector<std::string>& statements, const std::vector<std::vector<Value>>& values,
                       const TableData* expected = nullptr);

// Batch copy (BatchMove1): the destination is created anew from the source's fields and every
// record is copied. The destination may not resolve to the source's own file.
class BatchMove {
public:
    Dataset* source = nullptr;
    Dataset* destination = nullptr;
    void execute();
};

// Read for every value of a scan, so kept where the compiler can inline it: a browsed record
// of a column of numbers is read without making a value.
inline double Dataset::current_real(int col) const
{
    if (state_ == State::Browse && cursor_ >= 0 && data_.compact && static_cast<unsigned>(col) < data_.fields.size()) {
        double d;
        if (data_.columns.real_at(static_cast<std::size_t>(cursor_), static_cast<std::size_t>(col), d)) return d;
    }
    return current_real_slow(col);
}

inline double Field::as_float() const { return ds_->current_real(index_); }

}  // namespace vantelo::db
