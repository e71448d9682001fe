#include "platform/db/column_store.h"

#include <algorithm>
#include <string>

#include "platform/core/errors.h"

namespace vantelo::db {

namespace {

// A date packed into one whole number: the year times 65536 plus month and day in a byte each.
bool packable(const Date& d) { return d.month >= 0 && d.month < 256 && d.day >= 0 && d.day < 256; }
std::int64_t pack(const Date& d) { return static_cast<std::int64_t>(d.year) * 65536 + d.month * 256 + d.day; }

}  // namespace

ColumnStore::Kind ColumnStore::kind_of(const Value& v)
{
    switch (v.index()) {
    case 0: return Kind::Unset;
    case 2: return Kind::Int;
    case 3: return Kind::Real;
    case 4: return Kind::Bool;
    case 5: return packable(std::get<Date>(v)) ? Kind::Date : Kind::Mixed;
    default: return Kind::Mixed;
    }
}

void ColumnStore::reserve(std::size_t rows)
{
    if (source_) return;   // the columns are made, at their full size, on the first change
    for (Column& c : columns_) {
        c.empty.reserve(rows);
        if (c.kind == Kind::Real) c.reals.reserve(rows);
        else if (c.kind == Kind::Mixed) c.values.reserve(rows);
        else if (c.kind != Kind::Unset) c.ints.reserve(rows);
    }
    reserve_rows_ = rows;
}

void ColumnStore::start_kind(Column& c, Kind k)
{
    // Every cell so far is empty.
    c.kind = k;
    const std::size_t want = std::max(reserve_rows_, rows_ + 1);
    if (k == Kind::Mixed) {
        c.values.reserve(want);
        c.values.assign(rows_, Value{});
        c.empty.clear();
        c.empty.shrink_to_fit();
        return;
    }
    c.empty.reserve(want);
    c.empty.assign(rows_, true);
    if (k == Kind::Real) {
        c.reals.reserve(want);
        c.reals.assign(rows_, 0.0);
    } else {
        c.ints.reserve(want);
        c.ints.assign(rows_, 0);
    }
}

void ColumnStore::make_mixed(Column& c)
{
    std::vector<Value> values;
    values.reserve(std::max(reserve_rows_, rows_ + 1));
    const std::size_t n = c.kind == Kind::Unset ? 0 : c.empty.size();
    for (std::size_t r = 0; r < n; ++r) values.push_back(load(c, r));
    values.resize(n);
    c.ints = {};
    c.reals = {};
    c.empty = {};
    c.values = std::move(values);
    c.kind = Kind::Mixed;
}

void ColumnStore::store(Column& c, std::size_t row, Value&& v)
{
    const bool append = row == rows_;
    const Kind k = kind_of(v);
    if (c.kind == Kind::Unset) {
        if (k == Kind::Unset) return;   // still every cell empty
        start_kind(c, k);
    } else if (k != Kind::Unset && k != c.kind && c.kind != Kind::Mixed) {
        make_mixed(c);
    }
    if (c.kind == Kind::Mixed) {
        if (c.values.size() < rows_) c.values.resize(rows_);
        if (append) c.values.push_back(std::move(v));
        else c.values[row] = std::move(v);
        return;
    }
    const bool empty = k == Kind::Unset;
    std::int64_t i = 0;
    double d = 0;
    if (!empty) {
        switch (c.kind) {
        case Kind::Int: i = std::get<std::int64_t>(v); break;
        case Kind::Bool: i = std::get<bool>(v) ? 1 : 0; break;
        case Kind::Date: i = pack(std::get<Date>(v)); break;
        case Kind::Real: d = std::get<double>(v); break;
        default: break;
        }
    }
    if (append) {
        c.empty.push_back(empty);
        if (c.kind == Kind::Real) c.reals.push_back(d);
        else c.ints.push_back(i);
    } else {
        c.empty[row] = empty;
        if (c.kind == Kind::Real) c.reals[row] = d;
        else c.ints[row] = i;
    }
}

void ColumnStore::materialize()
{
    if (!source_) return;
    const std::shared_ptr<const RecordSource> source = std::move(source_);
    const std::size_t rows = rows_;
    rows_ = 0;
    reserve_rows_ = rows + 1;
    try {
        for (std::size_t r = 0; r < rows; ++r) {
            for (std::size_t c = 0; c < columns_.size(); ++c) store(columns_[c], r, source->value(r, c));
            ++rows_;
        }
    } catch (...) {
        // Left as it was: read from the source.
        for (Column& c : columns_) c = Column{};
        rows_ = rows;
        source_ = source;
        throw;
    }
}

void ColumnStore::cache_reals(std::size_t row) const
{
    cached_reals_.resize(columns_.size());
    cached_numeric_.resize(columns_.size());
    source_->reals(row, cached_reals_.data(), cached_numeric_.data());
    cached_row_ = row;
}

void ColumnStore::append_value(std::size_t col, Value&& v)
{
    if (source_) materialize();
    store(columns_[col], rows_, std::move(v));
}

void ColumnStore::push_back(Record&& rec)
{
    if (rec.size() > columns_.size()) throw EngineError("The record does not match the table's fields");
    materialize();
    for (std::size_t c = 0; c < columns_.size(); ++c)
        store(columns_[c], rows_, c < rec.size() ? std::move(rec[c]) : Value{});
    ++rows_;
}

void ColumnStore::set(std::size_t row, const Record& rec)
{
    if (row >= rows_ || rec.size() > columns_.size()) throw EngineError("The record does not match the table's fields");
    materialize();
    for (std::size_t c = 0; c < columns_.size(); ++c) store(columns_[c], row, c < rec.size() ? Value(rec[c]) : Value{});
}

void ColumnStore::erase(std::size_t row)
{
    if (row >= rows_) throw EngineError("Record " + std::to_string(row) + " does not exist");
    materialize();
    for (Column& c : columns_) {
        const auto at = static_cast<std::ptrdiff_t>(row);
        switch (c.kind) {
        case Kind::Unset: break;
        case Kind::Mixed:
            if (row < c.values.size()) c.values.erase(c.values.begin() + at);
            break;
        case Kind::Real:
            c.reals.erase(c.reals.begin() + at);
            c.empty.erase(c.empty.begin() + at);
            break;
        default:
            c.ints.erase(c.ints.begin() + at);
            c.empty.erase(c.empty.begin() + at);
            break;
        }
    }
    --rows_;
}

void ColumnStore::missing(std::size_t row)
{
    throw EngineError("Record " + std::to_string(row) + " does not exist");
}

void ColumnStore::read_record(std::size_t row, Record& out) const
{
    if (row >= rows_) throw EngineError("Record " + std::to_string(row) + " does not exist");
    out.resize(columns_.size());
    for (std::size_t c = 0; c < columns_.size(); ++c) out[c] = source_ ? source_->value(row, c) : load(columns_[c], row);
}

Record ColumnStore::record(std::size_t row) const
{
    Record out;
    read_record(row, out);
    return out;
}

}  // namespace vantelo::db
