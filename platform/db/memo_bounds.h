#pragma once
// The bounds on the memo text a table reader holds, shared by the dBASE and the Paradox readers:
// the most memo text one table's image holds, and the texts and reasons a memo past it reads as.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vantelo::db {

// The most memo text one table's image holds (each record's copy of a shared memo counting);
// the memos of the records past it are not read.
inline constexpr std::size_t memo_total_limit = std::size_t{64} << 20;

// The text of a memo not read for a bound: "(memo block N not read)".
inline std::string memo_not_read_text(std::uint64_t block)
{
    return "(memo block " + std::to_string(block) + " not read)";
}

// The memo text of one table's image, counted against memo_total_limit as its records are read.
class MemoBudget {
public:
    // Whether the limit has been reached: no memo is read from there on.
    bool full() const { return full_; }
    // The bytes that can still be taken.
    std::size_t room() const { return full_ ? 0 : memo_total_limit - held_; }
    // Counts n more bytes; false, and full from then on, when they would pass the limit.
    bool take(std::size_t n)
    {
        if (full_ || n > memo_total_limit - held_) {
            full_ = true;
            return false;
        }
        held_ += n;
        return true;
    }

private:
    std::size_t held_ = 0;
    bool full_ = false;
};

// Why a table is read-only when its memo file's (file) memo text passes memo_total_limit at
// `where` ("record 3, field 'NOTE'").
inline std::string memo_limit_reason(const std::string& file, const std::string& where)
{
    return file + ": the memo text of this table passes " + std::to_string(memo_total_limit) + " bytes at " + where +
           "; the memos from there on are not read";
}

// Why a table is read-only when the memo at `where` is longer than limit bytes.
inline std::string memo_too_long_reason(const std::string& file, const std::string& where, std::size_t limit)
{
    return file + ": the memo of " + where + ", is longer than " + std::to_string(limit) + " bytes; it is not read";
}

}  // namespace vantelo::db
