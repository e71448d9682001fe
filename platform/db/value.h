#pragma once
// Field values as the engine hands them out: one variant per cell, one vector per record.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace vantelo::db {

// A calendar date (proleptic Gregorian).
struct Date {
    int year = 0, month = 0, day = 0;
    bool operator==(const Date&) const = default;
};

// A field value. monostate is a null (empty) field; strings are UTF-8.
// Integer kinds hold int64, Float and Currency double, Boolean bool, Date Date,
// String and Other (memo text, times, BCD shown as text) std::string.
using Value = std::variant<std::monostate, std::string, std::int64_t, double, bool, Date>;

inline bool is_null(const Value& v) { return std::holds_alternative<std::monostate>(v); }

using Record = std::vector<Value>;

}  // namespace vantelo::db
