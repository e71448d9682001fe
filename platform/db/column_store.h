#pragma once
// The records of an open table kept by column: whole numbers, reals, truth values and dates
// unboxed in one array per field with a bitmap of the empty cells, texts (and a field whose
// cells mix kinds) as values. A table of numbers takes about the bytes its file takes, in a few
// large arrays rather than one allocation per record, so opening a large table costs little
// more than reading its file.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/db/value.h"

namespace vantelo::db {

class ColumnStore {
public:
    ColumnStore() = default;
    explicit ColumnStore(std::size_t columns) : columns_(columns) {}

    std::size_t size() const { return rows_; }
    std::size_t column_count() const { return columns_.size(); }
    void reserve(std::size_t rows);

    // A record with fewer values than columns is filled with empty ones; extra values raise.
    void push_back(Record&& rec);
    void push_back(const Record& rec) { push_back(Record(rec)); }
    void set(std::size_t row, const Record& rec);
    void erase(std::size_t row);

    Value value(std::size_t row, std::size_t col) const;
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

    std::vector<Column> columns_;
    std::size_t rows_ = 0;
    std::size_t reserve_rows_ = 0;
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
    return load(columns_[col], row);
}

}  // namespace vantelo::db
