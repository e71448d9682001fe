#pragma once
// The records of an open table kept by column: whole numbers, reals, truth values and dates
// unboxed in one array per field with a bitmap of the empty cells, texts (and a field whose
// cells mix kinds) as values. A table of numbers takes about the bytes its file takes, in a few
// large arrays rather than one allocation per record, so opening a large table costs little
// more than reading its file. A table whose file keeps fixed-width records (Paradox) may
// instead be read from the file's own bytes, cell by cell as asked, until a record changes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/db/value.h"

namespace vantelo::db {

// Records still in a file's own bytes, decoded when a cell is read: what a large table's image
// holds until one of its records changes. A source never changes once made, so images copied
// from one another share it.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    virtual std::size_t size() const = 0;
    virtual Value value(std::size_t row, std::size_t col) const = 0;
    // Every cell of a record as a real number: for each column c, numeric[c] is 1 and out[c]
    // the cell's number when the column holds numbers (an empty cell reads 0), else 0.
    virtual void reals(std::size_t row, double* out, unsigned char* numeric) const = 0;
};

class ColumnStore {
public:
    ColumnStore() = default;
    explicit ColumnStore(std::size_t columns) : columns_(columns) {}
    // An image whose records are read from the source until the first change, which decodes
    // them all into columns.
    ColumnStore(std::size_t columns, std::shared_ptr<const RecordSource> source)
        : columns_(columns), rows_(source->size()), source_(std::move(source)) {}

    std::size_t size() const { return rows_; }
    std::size_t column_count() const { return columns_.size(); }
    void reserve(std::size_t rows);

    // A record with fewer values than columns is filled with empty ones; extra values raise.
    void push_back(Record&& rec);
    void push_back(const Record& rec) { push_back(Record(rec)); }
    void set(std::size_t row, const Record& rec);
    void erase(std::size_t row);

    // A record decoded cell by cell, for readers: one append_* call per column, left to right,
    // then end_row(). A cell of another kind than its column's so far is kept as push_back
    // keeps it.
    void append_empty(std::size_t col);
    void append_int(std::size_t col, std::int64_t v);
    void append_real(std::size_t col, double v);
    void append_value(std::size_t col, Value&& v);
    void end_row() { ++rows_; }

    Value value(std::size_t row, std::size_t col) const;
    // The cell as a real number without making a value, when its column holds only whole
    // numbers, reals, truth values or nothing (an empty cell reads 0); false otherwise.
    bool real_at(std::size_t row, std::size_t col, double& out) const;
    Record record(std::size_t row) const;
    void read_record(std::size_t row, Record& out) const;  // reuses out's storage

private:
    // A column starts without a kind (every cell empty so far), takes the kind of its first
    // value and becomes Mixed when a value of another kind arrives.
    enum class Kind : unsigned char { Unset, Int, Real, Bool, Date, Mixed };
    struct Column {
        Kind kind = Kind::Unset;
        std::vector<std::int64_t> ints;   // Int, Bool (0/1), Date (packed)
        std::vector<double> reals;        // Real
        std::vector<Value> values;        // Mixed
        std::vector<bool> empty;          // typed kinds: the empty cells
    };

    static Kind kind_of(const Value& v);
    void store(Column& c, std::size_t row, Value&& v);   // row < rows_ replaces, row == rows_ appends
    static Value load(const Column& c, std::size_t row);
    [[noreturn]] static void missing(std::size_t row);
    void make_mixed(Column& c);
    void start_kind(Column& c, Kind k);
    // Decodes the source's records into columns before a change.
    void materialize();
    // Reads a record of the source as real numbers, for the reads of a scan that follow.
    void cache_reals(std::size_t row) const;

    std::vector<Column> columns_;
    std::size_t rows_ = 0;
    std::size_t reserve_rows_ = 0;
    std::shared_ptr<const RecordSource> source_;
    // The last record of the source read as real numbers (a scan reads a record field by field).
    mutable std::size_t cached_row_ = static_cast<std::size_t>(-1);
    mutable std::vector<double> cached_reals_;
    mutable std::vector<unsigned char> cached_numeric_;
};

inline Value ColumnStore::load(const Column& c, std::size_t row)
{
    switch (c.kind) {
    case Kind::Unset: return Value{};
    case Kind::Mixed: return row < c.values.size() ? c.values[row] : Value{};
    default: break;
    }
    if (c.empty[row]) return Value{};
    switch (c.kind) {
    case Kind::Int: return Value{c.ints[row]};
    case Kind::Real: return Value{c.reals[row]};
    case Kind::Bool: return Value{c.ints[row] != 0};
    case Kind::Date: {
        const std::int64_t v = c.ints[row];  // year * 65536 + month * 256 + day
        return Value{Date{static_cast<int>(v >> 16), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)}};
    }
    default: return Value{};
    }
}

// Read for every cell a grid or a scan shows, so kept where the compiler can inline it.
inline Value ColumnStore::value(std::size_t row, std::size_t col) const
{
    if (row >= rows_ || col >= columns_.size()) missing(row);
    if (source_) return source_->value(row, col);
    return load(columns_[col], row);
}

inline bool ColumnStore::real_at(std::size_t row, std::size_t col, double& out) const
{
    if (source_) {
        if (row != cached_row_) {
            if (row >= rows_) missing(row);
            cache_reals(row);
        }
        if (col >= cached_reals_.size()) missing(row);
        out = cached_reals_[col];
        return cached_numeric_[col] != 0;
    }
    if (row >= rows_ || col >= columns_.size()) missing(row);
    const Column& c = columns_[col];
    switch (c.kind) {
    case Kind::Unset: out = 0; return true;
    case Kind::Int: out = c.empty[row] ? 0.0 : static_cast<double>(c.ints[row]); return true;
    case Kind::Bool: out = !c.empty[row] && c.ints[row] != 0 ? 1.0 : 0.0; return true;
    case Kind::Real: out = c.empty[row] ? 0.0 : c.reals[row]; return true;
    default: return false;
    }
}

inline void ColumnStore::append_int(std::size_t col, std::int64_t v)
{
    Column& c = columns_[col];
    if (c.kind != Kind::Int) return append_value(col, Value{v});
    c.ints.push_back(v);
    c.empty.push_back(false);
}

inline void ColumnStore::append_real(std::size_t col, double v)
{
    Column& c = columns_[col];
    if (c.kind != Kind::Real) return append_value(col, Value{v});
    c.reals.push_back(v);
    c.empty.push_back(false);
}

inline void ColumnStore::append_empty(std::size_t col)
{
    Column& c = columns_[col];
    switch (c.kind) {
    case Kind::Unset: return;
    case Kind::Real: c.reals.push_back(0); c.empty.push_back(true); return;
    case Kind::Mixed: return append_value(col, Value{});
    default: c.ints.push_back(0); c.empty.push_back(true); return;
    }
}

}  // namespace vantelo::db
