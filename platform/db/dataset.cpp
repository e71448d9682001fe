#include "platform/db/dataset.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/core/checked.h"
#include "platform/core/errors.h"
#include "platform/core/numtext.h"
#include "platform/db/atomic_file.h"
#include "platform/db/byte_reader.h"
#include "platform/db/encoding.h"
#include "platform/db/table_files.h"

namespace vantelo::db {
namespace {

const char* const open_error = "Cannot perform this operation on an open dataset";
const char* const closed_error = "Dataset is not open";
const char* const batch_error = "Cannot append or delete records during a batch update";
const char* const nested_batch_error = "A batch update is already in progress";

bool is_integer_kind(FieldType t)
{
    return t == FieldType::SmallInt || t == FieldType::Integer || t == FieldType::LargeInt;
}

bool is_float_kind(FieldType t) { return t == FieldType::Float || t == FieldType::Currency; }

bool is_text_kind(FieldType t) { return t == FieldType::String || t == FieldType::Other; }

// The whole-number range a kind of integer field holds.
void integer_range(FieldType t, std::int64_t& lo, std::int64_t& hi)
{
    switch (t) {
    case FieldType::SmallInt:
        lo = std::numeric_limits<std::int16_t>::min();
        hi = std::numeric_limits<std::int16_t>::max();
        return;
    case FieldType::LargeInt:
        lo = std::numeric_limits<std::int64_t>::min();
        hi = std::numeric_limits<std::int64_t>::max();
        return;
    default:
        lo = std::numeric_limits<std::int32_t>::min();
        hi = std::numeric_limits<std::int32_t>::max();
        return;
    }
}

[[noreturn]] void out_of_range(const FieldDef& f, const std::string& value)
{
    throw EngineError("Value " + value + " out of range for field '" + f.name + "'");
}

std::int64_t checked_integer(const FieldDef& f, std::int64_t v)
{
    std::int64_t lo, hi;
    integer_range(f.type, lo, hi);
    if (v < lo || v > hi) out_of_range(f, std::to_string(v));
    return v;
}

std::string date_text(const Date& d)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

bool leap_year(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Reads "yyyy-mm-dd" (one or two digits for month and day).
Date parse_date(const std::string& text)
{
    Date d;
    const char* p = text.data();
    const char* end = p + text.size();
    auto number = [&](int& out, int max_digits) {
        const char* start = p;
        auto r = std::from_chars(p, end, out);
        if (r.ec != std::errc() || r.ptr == start || r.ptr - start > max_digits || *start == '-' || *start == '+')
            throw EngineError("'" + text + "' is not a valid date");
        p = r.ptr;
    };
    auto dash = [&] {
        if (p == end || *p != '-') throw EngineError("'" + text + "' is not a valid date");
        ++p;
    };
    number(d.year, 4);
    dash();
    number(d.month, 2);
    dash();
    number(d.day, 2);
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (p != end || d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1 ||
        d.day > days[d.month - 1] + (d.month == 2 && leap_year(d.year) ? 1 : 0))
        throw EngineError("'" + text + "' is not a valid date");
    return d;
}

std::string trimmed(const std::string& s)
{
    std::size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return {};
    std::size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}


// The text of any value, as a grid shows it.
std::string text_of(const Value& v)
{
    if (is_null(v)) return {};
    if (auto s = std::get_if<std::string>(&v)) return *s;
    if (auto n = std::get_if<std::int64_t>(&v)) return std::to_string(*n);
    if (auto d = std::get_if<double>(&v)) return format_general(*d);
    if (auto b = std::get_if<bool>(&v)) return *b ? "True" : "False";
    return date_text(std::get<Date>(v));
}

// A value read as a real number: null and empty text read 0.
real real_of(const Value& v, const FieldDef& f)
{
    if (is_null(v)) return 0;
    if (auto n = std::get_if<std::int64_t>(&v)) return static_cast<real>(*n);
    if (auto d = std::get_if<double>(&v)) return *d;
    if (auto b = std::get_if<bool>(&v)) return *b ? 1 : 0;
    if (auto s = std::get_if<std::string>(&v)) {
        if (trimmed(*s).empty()) return 0;
        return parse_float(*s);
    }
    throw EngineError("Field '" + f.name + "' holds a date and cannot be read as a number");
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Field

const FieldDef& Field::def() const { return ds_->field_def(index_); }

bool Field::is_null() const { return db::is_null(ds_->current_value(index_)); }

double Field::as_real_strict() const { return to_double(value_as_real_strict(ds_->current_value(index_))); }

void Field::set_as_float(double v)
{
    const FieldDef& f = def();
    check_finite(v);
    if (is_integer_kind(f.type)) {
        // Whole numbers, ties to even; beyond the field's range is an error, not a wrap.
        real r = round_half_even(static_cast<real>(v));
        std::int64_t lo, hi;
        integer_range(f.type, lo, hi);
        if (r < static_cast<real>(lo) || r > static_cast<real>(hi)) out_of_range(f, format_general(v));
        ds_->set_current_value(index_, static_cast<std::int64_t>(r));
    } else if (is_float_kind(f.type)) {
        ds_->set_current_value(index_, v);
    } else if (f.type == FieldType::Boolean) {
        ds_->set_current_value(index_, v != 0);
    } else if (is_text_kind(f.type)) {
        set_as_string(format_general(v));
    } else {
        throw EngineError("Field '" + f.name + "' holds a date and cannot be set from a number");
    }
}

std::string Field::as_string() const { return text_of(ds_->current_value(index_)); }

void Field::set_as_string(const std::string& text)
{
    const FieldDef& f = def();
    if (is_text_kind(f.type)) {
        ds_->set_current_value(index_, text.empty() ? Value{} : Value{text});
        return;
    }
    std::string t = trimmed(text);
    if (t.empty()) {
        ds_->set_current_value(index_, Value{});
        return;
    }
    if (is_integer_kind(f.type)) {
        std::int64_t n = f.type == FieldType::LargeInt ? parse_int64(text) : parse_int(text);
        ds_->set_current_value(index_, checked_integer(f, n));
    } else if (is_float_kind(f.type)) {
        ds_->set_current_value(index_, to_double(parse_float(text)));
    } else if (f.type == FieldType::Boolean) {
        if (equal_names(t, "true") || equal_names(t, "t")) ds_->set_current_value(index_, true);
        else if (equal_names(t, "false") || equal_names(t, "f")) ds_->set_current_value(index_, false);
        else throw EngineError("'" + text + "' is not a valid boolean value");
    } else {
        ds_->set_current_value(index_, parse_date(t));
    }
}

std::int64_t Field::as_integer() const
{
    const Value& v = ds_->current_value(index_);
    if (auto n = std::get_if<std::int64_t>(&v)) return *n;
    if (auto s = std::get_if<std::string>(&v)) return trimmed(*s).empty() ? 0 : parse_int(*s);
    return round_to_int64(real_of(v, def()));
}

void Field::set_as_integer(std::int64_t v)
{
    const FieldDef& f = def();
    if (is_integer_kind(f.type)) ds_->set_current_value(index_, checked_integer(f, v));
    else if (is_float_kind(f.type)) ds_->set_current_value(index_, static_cast<double>(v));
    else if (f.type == FieldType::Boolean) ds_->set_current_value(index_, v != 0);
    else if (is_text_kind(f.type)) set_as_string(std::to_string(v));
    else throw EngineError("Field '" + f.name + "' holds a date and cannot be set from a number");
}

void Field::clear() { ds_->set_current_value(index_, Value{}); }

Value Field::value() const { return ds_->current_value(index_); }

void Field::set_value(const Value& v)
{
    const FieldDef& f = def();
    if (db::is_null(v)) return clear();
    if (auto s = std::get_if<std::string>(&v)) return set_as_string(*s);
    if (auto n = std::get_if<std::int64_t>(&v)) return set_as_integer(*n);
    if (auto d = std::get_if<double>(&v)) return set_as_float(*d);
    if (auto b = std::get_if<bool>(&v)) {
        if (f.type == FieldType::Boolean) return ds_->set_current_value(index_, *b);
        return set_as_integer(*b ? 1 : 0);
    }
    const Date& d = std::get<Date>(v);
    if (f.type == FieldType::Date) return ds_->set_current_value(index_, d);
    if (is_text_kind(f.type)) return set_as_string(date_text(d));
    throw EngineError("Field '" + f.name + "' cannot hold a date");
}

// ---------------------------------------------------------------------------------------
// Dataset

Dataset::Dataset() = default;

Dataset::~Dataset()
{
    // Like close, without telling observers that may be gone already.
    observers_.clear();
    state_ = State::Inactive;
}

void Dataset::require_active() const
{
    if (state_ == State::Inactive) throw EngineError(closed_error);
}

void Dataset::require_closed() const
{
    if (state_ != State::Inactive) throw EngineError(open_error);
}

void Dataset::set_table_name(const std::string& path)
{
    require_closed();
    table_name_ = path;
}

void Dataset::set_table_type(TableType t)
{
    require_closed();
    table_type_ = t;
}

void Dataset::set_read_only(bool ro)
{
    if (ro == read_only_) return;
    require_closed();
    read_only_ = ro;
}

bool Dataset::read_only() const
{
    return read_only_ || (state_ != State::Inactive && data_.read_only);
}

std::string Dataset::resolved_path() const { return resolve_table(table_name_, table_type_).path; }

TableFormat Dataset::resolved_format() const { return resolve_table(table_name_, table_type_).format; }

void Dataset::open()
{
    if (state_ != State::Inactive) return;
    ResolvedTable r = resolve_table(table_name_, table_type_);
    TableData data = read_table(r, true);
    data_ = std::move(data);
    open_path_ = r.path;
    open_format_ = r.format;
    buffer_.clear();
    modified_ = false;
    state_ = State::Browse;
    cursor_ = (data_.record_count() == 0) ? -1 : 0;
    bof_ = true;
    eof_ = (data_.record_count() == 0);
    notify_changed();
}

void Dataset::close()
{
    batch_ = batch_dirty_ = false;
    batch_check_ = nullptr;
    batch_base_ = TableData{};
    if (state_ == State::Inactive) return;
    state_ = State::Inactive;
    data_ = TableData{};
    buffer_.clear();
    open_path_.clear();
    cursor_ = -1;
    bof_ = eof_ = true;
    modified_ = false;
    notify_changed();
}

int Dataset::record_count() const
{
    return state_ == State::Inactive ? 0 : static_cast<int>(data_.record_count());
}

void Dataset::post_if_editing()
{
    if (state_ != State::Edit && state_ != State::Insert) return;
    if (modified_) post();
    else cancel();
}

void Dataset::first()
{
    require_active();
    post_if_editing();
    cursor_ = (data_.record_count() == 0) ? -1 : 0;
    bof_ = true;
    eof_ = (data_.record_count() == 0);
    notify_position();
}

void Dataset::next()
{
    require_active();
    post_if_editing();
    bof_ = false;
    if (cursor_ + 1 < record_count()) {
        ++cursor_;
        eof_ = false;
    } else {
        eof_ = true;
    }
    notify_position();
}

void Dataset::prior()
{
    require_active();
    post_if_editing();
    eof_ = false;
    if (cursor_ > 0) {
        --cursor_;
        bof_ = false;
    } else {
        bof_ = true;
    }
    notify_position();
}

void Dataset::last()
{
    require_active();
    post_if_editing();
    cursor_ = record_count() - 1;
    eof_ = true;
    bof_ = (data_.record_count() == 0);
    notify_position();
}

void Dataset::move_to(int row)
{
    require_active();
    if (row < 0 || row >= record_count()) throw EngineError("Record " + std::to_string(row) + " does not exist");
    post_if_editing();
    cursor_ = row;
    bof_ = eof_ = false;
    notify_position();
}

void Dataset::edit()
{
    require_active();
    if (state_ == State::Edit || state_ == State::Insert) return;
    if (read_only_) throw EngineError("Cannot modify a read-only dataset");
    check_writable(open_path_, data_);
    if ((data_.record_count() == 0)) {
        append();
        return;
    }
    buffer_ = data_.record(static_cast<std::size_t>(cursor_));
    state_ = State::Edit;
    modified_ = false;
}

void Dataset::append()
{
    require_active();
    if (batch_) throw EngineError(batch_error);
    post_if_editing();
    if (read_only_) throw EngineError("Cannot modify a read-only dataset");
    check_writable(open_path_, data_);
    buffer_.assign(data_.fields.size(), Value{});
    state_ = State::Insert;
    modified_ = false;
    cursor_ = static_cast<int>(data_.record_count());
    bof_ = eof_ = false;
    notify_changed();
}

void Dataset::post()
{
    require_active();
    if (state_ != State::Edit && state_ != State::Insert) throw EngineError("Dataset not in edit or insert mode");
    for (std::size_t i = 0; i < data_.fields.size(); ++i)
        if (data_.fields[i].required && is_null(buffer_[i]))
            throw EngineError("Field '" + data_.fields[i].name + "' must have a value");
    ResolvedTable r{open_path_, open_format_};
    if (state_ == State::Edit) {
        // Written through at once, in place; the image changes only when the file did, and
        // then holds the record as the file does.
        auto index = static_cast<std::size_t>(cursor_);
        if (batch_) {
            // Written by end_batch(); refused here, as a write-through would be, when a value
            // does not fit the file.
            batch_check_(buffer_, index);
            data_.set_record(index, std::move(buffer_));
            batch_dirty_ = true;
        } else {
            data_.set_record(index, write_record(r, data_, index, buffer_));
        }
        state_ = State::Browse;
        modified_ = false;
        buffer_.clear();
        notify_record(cursor_);
    } else {
        // A new record always goes to the physical end of the file.
        data_.add_record(append_record(r, data_, buffer_));
        state_ = State::Browse;
        modified_ = false;
        buffer_.clear();
        cursor_ = static_cast<int>(data_.record_count()) - 1;
        notify_changed();
    }
}

void Dataset::begin_batch()
{
    require_active();
    // Beginning again would lose the batch's changes so far (the table as read and whether
    // anything changed): refused before anything, a pending edit included, changes.
    if (batch_) throw EngineError(nested_batch_error);
    post_if_editing();
    if (read_only_) throw EngineError("Cannot modify a read-only dataset");
    check_writable(open_path_, data_);
    batch_check_ = record_check(ResolvedTable{open_path_, open_format_}, data_);
    // The table as read, which the file must still hold when the batch is written. An image
    // still read from the file's bytes shares them with this copy.
    batch_base_ = data_;
    batch_ = true;
    batch_dirty_ = false;
}

void Dataset::end_batch()
{
    if (!batch_) return;
    require_active();
    try {
        post_if_editing();
    } catch (...) {
        cancel();
        batch_ = false;
        end_batch_write();
        throw;
    }
    batch_ = false;
    end_batch_write();
}

void Dataset::end_batch_write()
{
    batch_check_ = nullptr;
    TableData base = std::move(batch_base_);
    batch_base_ = TableData{};
    if (!batch_dirty_) {
        notify_position();
        return;
    }
    batch_dirty_ = false;
    const ResolvedTable r{open_path_, open_format_};
    try {
        // Under the file's lock, refused when the file no longer holds the table as read.
        write_table(r, data_, &base);
        // The image takes the values as the file holds them (a dBASE number to its decimals).
        data_ = read_table(r, true);
        notify_changed();
    } catch (...) {
        // The file was not changed: take the image back from it (with another program's
        // changes, when it made any), or, when it cannot be read now, the table as it was read.
        try {
            data_ = read_table(r, true);
        } catch (...) {
            data_ = std::move(base);
        }
        if (cursor_ >= static_cast<int>(data_.record_count())) cursor_ = static_cast<int>(data_.record_count()) - 1;
        if (data_.record_count() == 0) bof_ = eof_ = true;
        notify_changed();
        throw;
    }
}

void Dataset::cancel()
{
    if (state_ != State::Edit && state_ != State::Insert) return;
    bool inserting = state_ == State::Insert;
    state_ = State::Browse;
    modified_ = false;
    buffer_.clear();
    if (inserting) {
        cursor_ = static_cast<int>(data_.record_count()) - 1;
        notify_changed();
    } else {
        notify_record(cursor_);
    }
}

void Dataset::delete_record()
{
    require_active();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (batch_) throw EngineError(batch_error);
    if (data_.record_count() == 0) throw EngineError("Cannot delete from an empty table");
    if (read_only_) throw EngineError("Cannot modify a read-only dataset");
    check_writable(open_path_, data_);
    state_ = State::Browse;
    modified_ = false;
    buffer_.clear();
    // The table is written from the image without the record, which is not copied for it.
    const auto gone = static_cast<std::size_t>(cursor_);
    const RecordFeed all = records_of(data_);
    const RecordFeed rest{data_.record_count() - 1, [&](std::size_t row, Record& scratch) -> const Record& {
                              return all.read(row < gone ? row : row + 1, scratch);
                          }};
    const ResolvedTable r{open_path_, open_format_};
    write_table(r, data_, rest, &data_);
    // The table as the file now holds it: a text that does not survive encoding exactly (bytes
    // that are not valid text) is shown as it was written.
    try {
        data_ = read_table(r, true);
    } catch (const Error&) {
        data_.erase_record(gone);
    }
    if (cursor_ >= static_cast<int>(data_.record_count())) cursor_ = static_cast<int>(data_.record_count()) - 1;
    eof_ = data_.record_count() == 0;
    notify_changed();
}

int Dataset::field_count() const
{
    return state_ == State::Inactive ? 0 : static_cast<int>(data_.fields.size());
}

void Dataset::field_out_of_range(int i) const
{
    require_active();
    throw EngineError("Field index " + std::to_string(i) + " out of range");
}

int Dataset::find_field(const std::string& name) const
{
    if (state_ == State::Inactive) return -1;
    return find_field_in(data_, open_format_, name);
}

Field Dataset::field_by_name(const std::string& name)
{
    require_active();
    int i = find_field(name);
    if (i < 0) throw EngineError("Field '" + shown_in_code_page(name, data_.code_page) + "' not found");
    return Field(this, i);
}

std::vector<std::string> Dataset::field_names() const
{
    std::vector<std::string> out;
    if (state_ == State::Inactive) return out;
    for (const auto& f : data_.fields) out.push_back(f.name);
    return out;
}

Value Dataset::value_at(int row, int col) const
{
    require_active();
    if (col < 0 || col >= field_count()) throw EngineError("Field index " + std::to_string(col) + " out of range");
    if ((state_ == State::Edit || state_ == State::Insert) && row == cursor_)
        return buffer_[static_cast<std::size_t>(col)];
    if (row < 0 || row >= record_count()) throw EngineError("Record " + std::to_string(row) + " does not exist");
    return data_.value(static_cast<std::size_t>(row), static_cast<std::size_t>(col));
}

void Dataset::create_table()
{
    require_closed();
    create_table_with_records(resolve_table(table_name_, table_type_), field_defs_, {});
}

void Dataset::add_observer(DatasetObserver* o)
{
    if (o && std::find(observers_.begin(), observers_.end(), o) == observers_.end()) observers_.push_back(o);
}

void Dataset::remove_observer(DatasetObserver* o)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

Value Dataset::current_value(int col) const
{
    require_active();
    if (col < 0 || col >= field_count()) throw EngineError("Field index " + std::to_string(col) + " out of range");
    auto c = static_cast<std::size_t>(col);
    if (state_ == State::Edit || state_ == State::Insert) return buffer_[c];
    if (cursor_ < 0) return Value{};  // an empty table: every field reads empty
    return data_.value(static_cast<std::size_t>(cursor_), c);
}

double Dataset::current_real_slow(int col) const
{
    return to_double(real_of(current_value(col), field_def(col)));
}

void Dataset::set_current_value(int col, const Value& v)
{
    require_active();
    if (col < 0 || col >= field_count()) throw EngineError("Field index " + std::to_string(col) + " out of range");
    if (state_ != State::Edit && state_ != State::Insert) throw EngineError("Dataset not in edit or insert mode");
    const FieldDef& f = data_.fields[static_cast<std::size_t>(col)];
    if (f.read_only) throw EngineError("Field '" + f.name + "' cannot be modified");
    Value value = value_for_field(v, f);
    if (auto s = std::get_if<std::string>(&value); s && f.type == FieldType::String) {
        // The width counts bytes in the file's code page; a longer text is refused, not cut.
        std::string bytes = open_format_ == TableFormat::Ascii ? *s : encode(*s, data_.code_page);
        if (static_cast<int>(bytes.size()) > f.size)
            throw EngineError("Text too long for field '" + f.name + "' (at most " + std::to_string(f.size) + " bytes)");
    }
    buffer_[static_cast<std::size_t>(col)] = std::move(value);
    modified_ = true;
    notify_record(cursor_);
}

const FieldDef& Dataset::field_def(int col) const
{
    require_active();
    if (col < 0 || col >= field_count()) throw EngineError("Field index " + std::to_string(col) + " out of range");
    return data_.fields[static_cast<std::size_t>(col)];
}

void Dataset::notify_changed()
{
    auto list = observers_;
    for (auto* o : list)
        if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) o->dataset_changed(*this);
}

void Dataset::notify_record(int row)
{
    if (batch_) return;  // told once, by the end of the batch
    auto list = observers_;
    for (auto* o : list)
        if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) o->record_changed(*this, row);
}

void Dataset::notify_position()
{
    if (batch_ || observers_.empty()) return;
    auto list = observers_;
    for (auto* o : list)
        if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) o->position_changed(*this);
}

// ---------------------------------------------------------------------------------------
// Query

void Query::exec_sql()
{
    std::string text;
    for (std::size_t i = 0; i < sql_.size(); ++i) {
        if (i) text += '\n';
        text += sql_[i];
    }
    if (on_execute) on_execute(text);
    execute_statement(text);
}

real value_as_real(const Value& v, const FieldDef& f) { return real_of(v, f); }

real value_as_real_strict(const Value& v)
{
    if (auto s = std::get_if<std::string>(&v)) {
        if (trimmed(*s).empty()) throw VariantError();
        try {
            return parse_float(*s);
        } catch (const ConvertError&) {
            throw VariantError();
        }
    }
    if (auto n = std::get_if<std::int64_t>(&v)) return static_cast<real>(*n);
    if (auto d = std::get_if<double>(&v)) return *d;
    if (auto b = std::get_if<bool>(&v)) return *b ? 1 : 0;
    throw VariantError();  // null or a date
}

}  // namespace vantelo::db
