// Reading Paradox tables: header, field descriptions, block chain, field values, memo text.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/core/errors.h"
#include "platform/db/atomic_file.h"
#include "platform/db/encoding.h"
#include "platform/db/memo_bounds.h"
#include "platform/db/paradox.h"
#include "platform/db/paradox_layout.h"

namespace vantelo::db {
namespace paradox_detail {
namespace {

struct TypeInfo {
    Kind kind;
    char code;
    int fixed_size;   // 0 = variable
};

bool type_info(std::uint8_t type_byte, TypeInfo& out)
{
    switch (type_byte) {
    case 0x01: out = {Kind::Alpha, 'A', 0}; return true;
    case 0x02: out = {Kind::Date, 'D', 4}; return true;
    case 0x03: out = {Kind::Short, 'S', 2}; return true;
    case 0x04: out = {Kind::Long, 'I', 4}; return true;
    case 0x05: out = {Kind::Money, '$', 8}; return true;
    case 0x06: out = {Kind::Number, 'N', 8}; return true;
    case 0x09: out = {Kind::Logical, 'L', 1}; return true;
    case 0x0C: out = {Kind::Memo, 'M', 0}; return true;
    case 0x0D: out = {Kind::Blob, 'B', 0}; return true;
    case 0x0E: out = {Kind::FmtMemo, 'F', 0}; return true;
    case 0x0F: out = {Kind::Ole, 'O', 0}; return true;
    case 0x10: out = {Kind::Graphic, 'G', 0}; return true;
    case 0x14: out = {Kind::Time, 'T', 4}; return true;
    case 0x15: out = {Kind::Timestamp, '@', 8}; return true;
    case 0x16: out = {Kind::AutoInc, '+', 4}; return true;
    case 0x17: out = {Kind::Bcd, '#', 17}; return true;
    case 0x18: out = {Kind::Bytes, 'Y', 0}; return true;
    default: return false;
    }
}

bool is_blob_kind(Kind k)
{
    return k == Kind::Memo || k == Kind::FmtMemo || k == Kind::Blob || k == Kind::Ole || k == Kind::Graphic;
}

std::string hex2(unsigned v)
{
    static const char* digits = "0123456789ABCDEF";
    return std::string{'0', 'x', digits[(v >> 4) & 15], digits[v & 15]};
}

}  // namespace

int effective_code_page(int declared)
{
    if (declared <= 0) return 936;
    if (declared != 936 && codepage_charset(declared) == "GBK") return 936;  // unknown to us
    return declared;
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
static std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

std::int64_t day_number(const Date& d)
{
    return days_from_civil(d.year, static_cast<unsigned>(d.month), static_cast<unsigned>(d.day)) + 719163;
}

Date date_from_day_number(std::int64_t n)
{
    std::int64_t z = n - 719163 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return Date{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

std::size_t declared_size(const unsigned char* head, std::size_t n, std::size_t file_size)
{
    if (n < 0x0E) return file_size;   // too short for a header: read as it is and refused
    const std::size_t header = std::max<std::size_t>(get_u16le(head + 2), 0x78);
    const std::size_t code = head[5];
    const std::size_t block = code >= 1 && code <= 32 ? code * 0x400 : 0;
    return std::min(file_size, header + get_u16le(head + 0x0C) * block);
}

Layout parse_layout(const std::string& label, const unsigned char* data, std::size_t size)
{
    ByteReader r(label, data, size);
    Layout L;
    if (size < 0x58) r.fail_eof("header", size);
    L.record_size = r.u16le("header");
    L.header_size = r.u16le("header");
    L.file_type = r.u8("header");
    int max_table_size = r.u8("header");
    L.num_records = r.u32le("header");
    r.skip(2, "header");                       // nextBlock
    L.file_blocks = r.u16le("header");
    L.first_block = r.u16le("header");
    L.last_block = r.u16le("header");
    r.seek(0x21, "header");
    int num_fields = static_cast<std::int16_t>(r.u16le("header"));
    L.primary_key_fields = static_cast<std::int16_t>(r.u16le("header"));
    std::uint32_t encryption1 = r.u32le("header");
    r.seek(0x38, "header");
    L.write_protected = r.u8("header") != 0;
    L.version_id = r.u8("header");
    r.seek(0x49, "header");
    L.auto_inc = r.u32le("header");

    if (L.file_type == 1 || (L.file_type >= 3 && L.file_type <= 8))
        throw EngineError(label + ": is a Paradox index file, not a table (file type " +
                          std::to_string(L.file_type) + ")");
    if (L.file_type != 0 && L.file_type != 2)
        throw EngineError(label + ": is not a Paradox table (unknown file type " + std::to_string(L.file_type) + ")");
    if (L.version_id < 3 || L.version_id > 12)
        throw EngineError(label + ": is not a Paradox table (unknown file version " + std::to_string(L.version_id) + ")");
    const bool level4 = L.version_id >= 5;
    const std::size_t field_info_at = level4 ? 0x78 : 0x58;

    std::uint32_t encryption = 0;
    if (encryption1 != 0 && encryption1 != 0xFF00FF00u) encryption = encryption1;
    if (level4) {
        if (size < 0x78) r.fail_eof("header", size);
        r.seek(0x5C, "header");
        std::uint32_t encryption2 = r.u32le("header");
        if (encryption == 0) encryption = encryption2;
        r.seek(0x6A, "header");
        L.declared_code_page = r.u16le("header");
    }
    if (encryption != 0)
        throw EngineError(label + ": the table is encrypted (password-protected); encrypted Paradox tables cannot be opened");

    if (max_table_size < 1 || max_table_size > 32)
        throw EngineError(label + ": is not a Paradox table (unknown block size code " + std::to_string(max_table_size) + ")");
    L.block_size = max_table_size * 0x400;
    if (L.record_size < 1) throw EngineError(label + ": is not a Paradox table (record size 0)");
    if (L.header_size < static_cast<int>(field_info_at))
        throw EngineError(label + ": is not a Paradox table (header size " + std::to_string(L.header_size) + ")");
    if (static_cast<std::size_t>(L.header_size) > size)
        throw EngineError(label + ": the header gives a header size of " + std::to_string(L.header_size) +
                          " bytes, but the file has only " + std::to_string(size) + " (truncated file)");
    if (num_fields < 1 || num_fields > 255)
        throw EngineError(label + ": is not a Paradox table (" + std::to_string(num_fields) + " fields)");

    // Field descriptions, names and the rest of the header lie within headerSize.
    ByteReader h(label, data, static_cast<std::size_t>(L.header_size));
    h.seek(field_info_at, "field descriptions");
    int offset = 0;
    for (int i = 0; i < num_fields; ++i) {
        std::size_t at = h.offset();
        std::uint8_t type_byte = h.u8("field descriptions");
        int fsize = h.u8("field descriptions");
        TypeInfo ti;
        if (!type_info(type_byte, ti))
            h.fail("field " + std::to_string(i + 1) + " has unknown type " + hex2(type_byte), at);
        Column c{ti.kind, type_byte, ti.code, fsize, 0, offset};
        if (ti.kind == Kind::Bcd) {
            if (fsize > 32) h.fail("field " + std::to_string(i + 1) + ": BCD field with " + std::to_string(fsize) + " decimals", at);
            c.decimals = fsize;
            c.size = 17;
        } else if (ti.fixed_size != 0 && fsize != ti.fixed_size) {
            h.fail("field " + std::to_string(i + 1) + " of type " + std::string(1, ti.code) + " has size " +
                       std::to_string(fsize),
                   at);
        } else if (fsize < 1 || (is_blob_kind(ti.kind) && fsize < 10)) {
            h.fail("field " + std::to_string(i + 1) + " of type " + std::string(1, ti.code) + " has size " +
                       std::to_string(fsize),
                   at);
        }
        offset += c.size;
        L.columns.push_back(c);
    }
    if (offset != L.record_size)
        throw EngineError(label + ": record size " + std::to_string(L.record_size) +
                          " in the header does not match the fields (" + std::to_string(offset) + " bytes)");
    if (L.record_size + static_cast<int>(kBlockHead) > L.block_size)
        throw EngineError(label + ": record size " + std::to_string(L.record_size) + " does not fit a block of " +
                          std::to_string(L.block_size) + " bytes");
    h.skip(4 + 4 * static_cast<std::size_t>(num_fields), "field name pointers");
    h.skip(L.version_id >= 12 ? 261 : 79, "table name");
    for (int i = 0; i < num_fields; ++i) {
        std::size_t at = h.offset();
        std::string name = h.cstring(256, "field names");
        if (name.size() == 256) h.fail("field " + std::to_string(i + 1) + ": name without an end", at);
        L.raw_names.push_back(std::move(name));
    }

    // The data blocks the header counts must all be there; the last may end short of the block
    // size (some writers leave it so) as long as its records are in the file, checked below.
    const std::size_t data_end = static_cast<std::size_t>(L.header_size) +
                                 static_cast<std::size_t>(std::max(L.file_blocks - 1, 0)) * L.block_size +
                                 (L.file_blocks > 0 ? kBlockHead : 0);
    if (data_end > size)
        throw EngineError(label + ": the header counts " + std::to_string(L.file_blocks) + " data blocks of " +
                          std::to_string(L.block_size) + " bytes, but the file ends at byte " + std::to_string(size) +
                          " (truncated file)");
    const std::uint64_t capacity = static_cast<std::uint64_t>(L.file_blocks) * L.records_per_block();
    if (L.num_records > capacity)
        throw EngineError(label + ": the header counts " + std::to_string(L.num_records) +
                          " records, more than its data blocks can hold");

    std::vector<bool> seen(static_cast<std::size_t>(L.file_blocks) + 1, false);
    std::uint64_t total = 0;
    // A first block is named even when the header counts no blocks: it is refused as out of range.
    int b = L.first_block;
    while (b != 0) {
        if (b > L.file_blocks)
            throw EngineError(label + ": the data block chain refers to block " + std::to_string(b) + " of " +
                              std::to_string(L.file_blocks));
        if (seen[static_cast<std::size_t>(b)])
            throw EngineError(label + ": the data block chain returns to block " + std::to_string(b));
        seen[static_cast<std::size_t>(b)] = true;
        std::size_t at = static_cast<std::size_t>(L.header_size) + static_cast<std::size_t>(b - 1) * L.block_size;
        r.seek(at, "data block");
        int next = r.u16le("data block");
        r.skip(2, "data block");
        int add = static_cast<std::int16_t>(r.u16le("data block"));
        // (records - 1) * record size: an empty block holds minus one record's size.
        if (add < -L.record_size || add % L.record_size != 0 || add / L.record_size + 1 > L.records_per_block())
            r.fail("data block " + std::to_string(b) + " has an impossible record count", at + 4);
        const int count = add / L.record_size + 1;
        if (at + kBlockHead + static_cast<std::size_t>(count) * L.record_size > size)
            throw EngineError(label + ": data block " + std::to_string(b) + " holds " + std::to_string(count) +
                              " records, but the file ends at byte " + std::to_string(size) + " (truncated file)");
        L.chain.push_back(Block{b, at, count});
        total += static_cast<std::uint64_t>(count);
        b = next;
    }
    if (total != L.num_records)
        throw EngineError(label + ": the header counts " + std::to_string(L.num_records) +
                          " records but the data blocks hold " + std::to_string(total));
    // Every record of the chain reads as it should, but the header names other blocks: blocks
    // the chain does not reach (a rewrite would drop them), or another last block.
    const int last = L.chain.empty() ? 0 : L.chain.back().number;
    if (L.chain.size() != static_cast<std::size_t>(L.file_blocks))
        L.chain_problems.push_back("the header counts " + std::to_string(L.file_blocks) +
                                   " data blocks, but the block chain holds " + std::to_string(L.chain.size()));
    else if (L.last_block != last)
        L.chain_problems.push_back("the header names block " + std::to_string(L.last_block) +
                                   " as the last data block, but the block chain ends at block " + std::to_string(last));
    return L;
}

}  // namespace paradox_detail

using namespace paradox_detail;

namespace {

std::string two(int v) { return std::string{static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)}; }

std::string time_text(std::int64_t ms)
{
    std::int64_t s = ms / 1000;
    int milli = static_cast<int>(ms % 1000);
    std::string t = two(static_cast<int>(s / 3600 % 100)) + ":" + two(static_cast<int>(s / 60 % 60)) + ":" +
                    two(static_cast<int>(s % 60));
    if (milli != 0) {
        t += '.';
        t += static_cast<char>('0' + milli / 100);
        t += static_cast<char>('0' + milli / 10 % 10);
        t += static_cast<char>('0' + milli % 10);
    }
    return t;
}

std::string date_text(const Date& d)
{
    std::string y = std::to_string(d.year < 0 ? -d.year : d.year);
    while (y.size() < 4) y.insert(y.begin(), '0');
    return (d.year < 0 ? "-" : "") + y + "-" + two(d.month) + "-" + two(d.day);
}

// A double as Paradox stores it (null when all bytes are zero).
bool decode_double(const unsigned char* p, double& out)
{
    std::uint64_t u = be64(p);
    if (u == 0) return false;
    if (u & 0x8000000000000000ull) u &= 0x7FFFFFFFFFFFFFFFull;
    else u = ~u;
    std::memcpy(&out, &u, sizeof out);
    return true;
}

// A BCD value: byte 0 holds the sign (bit 7 set = positive) and the decimals; 32 digits
// follow, one per nibble, all inverted for a negative value. A nibble above 9 ends the
// significant digits (writers leave such filler past the precision they kept).
Value decode_bcd(const unsigned char* p, int decimals)
{
    bool all_zero = true;
    for (int i = 0; i < 17; ++i)
        if (p[i] != 0) all_zero = false;
    if (all_zero) return {};
    const bool negative = (p[0] & 0x80) == 0;
    const int int_digits = 32 - decimals;
    std::string ip, fp;
    for (int i = 0; i < 32; ++i) {
        unsigned char byte = p[1 + i / 2];
        int nib = (i % 2 == 0) ? byte >> 4 : byte & 0x0F;
        if (negative) nib = 15 - nib;
        if (nib > 9) {
            if (i < int_digits) return {};   // no readable number
            break;
        }
        (i < int_digits ? ip : fp).push_back(static_cast<char>('0' + nib));
    }
    std::size_t first = ip.find_first_not_of('0');
    ip = first == std::string::npos ? "0" : ip.substr(first);
    bool nonzero = ip != "0" || fp.find_first_not_of('0') != std::string::npos;
    std::string text = (negative && nonzero ? "-" : "") + ip;
    if (decimals > 0) text += "." + fp;
    return text;
}

// The file beside path with the same name and the extension ext_lower in lower, upper or
// capitalised case, or "".
std::string sibling(const std::string& path, const char* ext_lower)
{
    auto slash = path.find_last_of('/');
    auto dot = path.find_last_of('.');
    std::string stem = (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? path.substr(0, dot) : path;
    std::string lower = ext_lower, upper;
    for (char c : lower) upper.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c));
    for (const std::string& e : {lower, upper, std::string(1, upper[0]) + lower.substr(1)}) {
        std::string p = stem + "." + e;
        if (file_exists(p)) return p;
    }
    return {};
}

// The memo file of a table, read a piece at a time as memo texts need it (never whole): from
// bytes in memory, or from the file beside the table, looked for and opened at the first text
// that needs it; or none.
class MemoSource {
public:
    MemoSource() = default;
    explicit MemoSource(const ParadoxMemo* memo)
    {
        if (!memo) return;
        label_ = memo->label;
        bytes_ = memo->data.data();
        size_ = memo->data.size();
        open_ = true;
    }
    explicit MemoSource(std::string table_path) : table_path_(std::move(table_path)), tried_(false) {}

    // Whether there is a memo file to read (opened now when not yet tried).
    bool available()
    {
        if (tried_) return open_;
        tried_ = true;
        // The memo file has the table's name with the extension .mb in any case.
        const std::string mb = sibling(table_path_, "mb");
        if (mb.empty()) return false;
        label_ = file_label(mb);
        try {
            file_ = std::make_unique<FileReader>(mb);
        } catch (const EngineError&) {
            return false;   // an unreadable memo file leaves the texts empty, as a missing one does
        }
        size_ = file_->size();
        open_ = true;
        return true;
    }

    // n bytes at offset (valid until the next call); past the end of the file raises
    // "<file>: <what>: unexpected end of file at byte N".
    const unsigned char* at(std::size_t offset, std::size_t n, const char* what)
    {
        check_within(offset, n, what);
        if (bytes_) return bytes_ + offset;
        scratch_.resize(n);
        if (file_->read(offset, scratch_.data(), n) < n) reader().fail_eof(what, size_);
        return scratch_.data();
    }
    // The same into out, read straight there.
    void read(std::size_t offset, std::size_t n, const char* what, std::string& out)
    {
        check_within(offset, n, what);
        if (bytes_) {
            out.assign(reinterpret_cast<const char*>(bytes_) + offset, n);
            return;
        }
        out.resize(n);
        if (file_->read(offset, reinterpret_cast<unsigned char*>(out.data()), n) < n) reader().fail_eof(what, size_);
    }
    // Raises as at() does when the file does not hold n bytes at offset.
    void check_within(std::size_t offset, std::size_t n, const char* what) const
    {
        if (offset > size_ || n > size_ - offset) reader().fail_eof(what, size_);
    }
    const std::string& label() const { return label_; }
    [[noreturn]] void fail(const std::string& message, std::size_t offset) const { reader().fail(message, offset); }

private:
    ByteReader reader() const { return ByteReader(label_, nullptr, size_); }

    std::string table_path_;
    bool tried_ = true, open_ = false;   // looked for (from the first), found
    std::string label_;
    const unsigned char* bytes_ = nullptr;
    std::unique_ptr<FileReader> file_;
    std::size_t size_ = 0;
    std::vector<unsigned char> scratch_;
};

// Where in the memo file the text of a memo lies that a record's field points at (a
// single-blob block of type 2, or entry `index` of a suballocated block of type 3), its length
// as the record gives it. Raises when the memo file does not hold it so.
std::size_t memo_start(MemoSource& memo, std::uint32_t pointer, std::uint32_t length)
{
    const std::uint32_t index = pointer & 0xFF;
    const std::size_t block = pointer & 0xFFFFFF00u;
    const std::uint8_t type = *memo.at(block, 1, "memo block");
    if (index == 0xFF) {
        // Type, two bytes, the length, two bytes, then the text.
        if (type != 2) memo.fail("memo block is not a single-blob block", block);
        if (get_u32le(memo.at(block + 1, 8, "memo block") + 2) != length)
            memo.fail("memo length does not match the table", block + 3);
        memo.check_within(block + 9, length, "memo text");
        return block + 9;
    }
    if (type != 3) memo.fail("memo block is not a suballocated block", block);
    if (index >= 64) memo.fail("memo entry index out of range", block);
    // An entry: the text's start in 16-byte units, its length in units, two bytes, the length
    // of its last unit.
    const unsigned char* entry = memo.at(block + 12 + index * 5, 5, "memo entry");
    const std::size_t start = block + static_cast<std::size_t>(entry[0]) * 16;
    const std::uint32_t units = entry[1];
    const std::uint32_t rest = entry[4];
    if (units == 0 || (units - 1) * 16 + rest != length) memo.fail("memo length does not match the table", block + 12 + index * 5);
    memo.check_within(start, length, "memo text");
    return start;
}

void add_reason(TableData& t, const std::string& why)
{
    t.read_only = true;
    if (!t.read_only_reason.empty()) t.read_only_reason += "; ";
    t.read_only_reason += why;
}

// The memo texts of a table's records as they are read: a text in the record's leading part
// as it is there; one in the memo file read once however many records point at it, within
// memo_total_limit for the memo file's text the image holds (each record's copy counting). A
// memo past that bound reads as memo_not_read_text, and the reason, added to t's, names the
// record and the field; a memo that cannot be had reads empty.
class MemoTexts {
public:
    MemoTexts(MemoSource& source, int code_page, TableData& t) : source_(source), code_page_(code_page), t_(t) {}

    // The value of the memo field (size bytes at field) of record `record` (from 1), column c.
    Value cell(const unsigned char* field, int size, std::size_t record, std::size_t c)
    {
        const int leader = size - 10;
        const std::uint32_t pointer = get_u32le(field + leader);
        const std::uint32_t length = get_u32le(field + leader + 4);
        if (length <= static_cast<std::uint32_t>(leader)) {
            if (length == 0) return Value{};
            return Value{decode(std::string_view(reinterpret_cast<const char*>(field), length), code_page_)};
        }
        if (!source_.available()) {
            missing_ = true;
            return Value{};
        }
        // The memo file's blocks are of 4 KiB.
        const std::uint64_t block = (pointer & 0xFFFFFF00u) / 4096;
        if (budget_.full()) return Value{memo_not_read_text(block)};
        const auto where = [&] { return "record " + std::to_string(record) + ", field '" + shown_name(t_.fields[c].name) + "'"; };
        const std::uint64_t key = std::uint64_t{pointer} << 32 | length;
        auto it = texts_.find(key);
        if (it == texts_.end()) {
            Text read;
            try {
                const std::size_t start = memo_start(source_, pointer, length);
                if (length > memo_total_limit) {
                    read.state = Text::State::TooLong;
                } else if (length > budget_.room()) {
                    budget_.take(length);   // passes the limit: full from here on
                    return past_the_limit(block, where());
                } else {
                    std::string bytes;
                    source_.read(start, length, "memo text", bytes);
                    read.text = decode(bytes, code_page_);
                    read.state = Text::State::Ok;
                }
            } catch (const EngineError& e) {
                if (problem_.empty()) problem_ = e.what();
            }
            it = texts_.emplace(key, std::move(read)).first;
        }
        const Text& m = it->second;
        switch (m.state) {
        case Text::State::Ok:
            if (m.text.empty()) return Value{};
            if (!budget_.take(m.text.size())) return past_the_limit(block, where());
            return Value{m.text};
        case Text::State::TooLong:
            if (!too_long_noted_) add_reason(t_, memo_too_long_reason(source_.label(), where(), memo_total_limit));
            too_long_noted_ = true;
            return Value{memo_not_read_text(block)};
        case Text::State::Failed: break;
        }
        return Value{};
    }

    // The reasons for the memos that could not be had.
    void finish()
    {
        if (missing_) add_reason(t_, "the memo file is missing, so long memo texts are shown empty");
        if (!problem_.empty()) add_reason(t_, problem_ + " (memo texts shown empty)");
    }

private:
    struct Text {
        enum class State { Failed, Ok, TooLong } state = State::Failed;
        std::string text;
    };

    // The placeholder of the memo at which the limit was passed, its reason added.
    Value past_the_limit(std::uint64_t block, const std::string& where)
    {
        texts_.clear();
        add_reason(t_, memo_limit_reason(source_.label(), where));
        return Value{memo_not_read_text(block)};
    }

    MemoSource& source_;
    int code_page_;
    TableData& t_;
    std::unordered_map<std::uint64_t, Text> texts_;   // by pointer and length, each read once
    MemoBudget budget_;
    bool missing_ = false, too_long_noted_ = false;
    std::string problem_;
};

FieldDef field_def_for(const Column& c, std::string name)
{
    FieldDef f;
    f.name = std::move(name);
    f.native = c.code;
    f.native_size = c.size;
    f.size = c.size;
    switch (c.kind) {
    case Kind::Alpha: f.type = FieldType::String; break;
    case Kind::Short: f.type = FieldType::SmallInt; break;
    case Kind::Long:
    case Kind::AutoInc: f.type = FieldType::Integer; break;
    case Kind::Number: f.type = FieldType::Float; break;
    case Kind::Money: f.type = FieldType::Currency; break;
    case Kind::Date: f.type = FieldType::Date; break;
    case Kind::Logical: f.type = FieldType::Boolean; break;
    default:
        f.type = FieldType::Other;
        f.read_only = true;
        f.decimals = c.decimals;
        break;
    }
    return f;
}

const char* kind_name(Kind k)
{
    switch (k) {
    case Kind::Time: return "time";
    case Kind::Timestamp: return "timestamp";
    case Kind::Bcd: return "BCD";
    case Kind::Bytes: return "bytes";
    case Kind::Memo: return "memo";
    case Kind::FmtMemo: return "formatted memo";
    case Kind::Blob: return "binary";
    case Kind::Ole: return "OLE";
    case Kind::Graphic: return "graphic";
    default: return "other";
    }
}



}  // namespace

namespace {

// One cell of any kind but the memo kinds, which need the memo file.
Value decode_cell(const Column& c, const unsigned char* p, int cp)
{
    switch (c.kind) {
    case Kind::Alpha: {
        std::size_t n = 0;
        while (n < static_cast<std::size_t>(c.size) && p[n] != 0) ++n;
        if (n == 0) return {};
        return decode(std::string_view(reinterpret_cast<const char*>(p), n), cp);
    }
    case Kind::Short: {
        std::uint16_t u = be16(p);
        if (u == 0) return {};
        return static_cast<std::int64_t>(static_cast<std::int16_t>(u ^ 0x8000u));
    }
    case Kind::Long:
    case Kind::AutoInc: {
        std::uint32_t u = be32(p);
        if (u == 0) return {};
        return static_cast<std::int64_t>(static_cast<std::int32_t>(u ^ 0x80000000u));
    }
    case Kind::Number:
    case Kind::Money: {
        double v;
        if (!decode_double(p, v)) return {};
        return v;
    }
    case Kind::Date: {
        std::uint32_t u = be32(p);
        if (u == 0) return {};
        return date_from_day_number(static_cast<std::int32_t>(u ^ 0x80000000u));
    }
    case Kind::Logical:
        if (p[0] == 0) return {};
        return p[0] != 0x80;
    case Kind::Time: {
        std::uint32_t u = be32(p);
        std::int32_t ms = static_cast<std::int32_t>(u ^ 0x80000000u);
        if (u == 0 || ms < 0) return {};
        return time_text(ms);
    }
    case Kind::Timestamp: {
        double v;
        // Milliseconds since day 1 at midnight; keep to years 1..9999.
        if (!decode_double(p, v) || !(v >= 86400000.0 && v < 3.16e14)) return {};
        std::int64_t ms = static_cast<std::int64_t>(std::floor(v));
        std::int64_t days = ms / 86400000;
        return date_text(date_from_day_number(days)) + " " + time_text(ms - days * 86400000);
    }
    case Kind::Bcd: return decode_bcd(p, c.decimals);
    default: return {};   // bytes and binary kinds: shown empty
    }
}

bool is_number_kind(Kind k) { return k == Kind::Number || k == Kind::Money; }

// Whether a stored number decodes to an infinity or a NaN, from its first two bytes: the
// exponent is all ones (kept as it is in a positive number's bytes, inverted in a negative
// one's). A blank cell, all zero bytes, is not one.
inline bool stored_not_finite(const unsigned char* p)
{
    const unsigned hi = be16(p);
    const unsigned exponent = (hi >> 4) & 0x7FF;
    if (hi & 0x8000) return exponent == 0x7FF;
    return exponent == 0 && be64(p) != 0;
}

// Refuses a table holding a stored number that is an infinity or not a number, naming the
// first such record and field in the table's order.
void check_stored_numbers(const std::string& label, const Layout& L, const unsigned char* data,
                          const std::vector<FieldDef>& fields)
{
    std::vector<std::size_t> numbers;
    for (std::size_t i = 0; i < L.columns.size(); ++i)
        if (is_number_kind(L.columns[i].kind)) numbers.push_back(i);
    if (numbers.empty()) return;
    std::size_t recno = 0;
    for (const Block& b : L.chain) {
        const unsigned char* rec = data + b.offset + kBlockHead;
        for (int k = 0; k < b.count; ++k, rec += L.record_size, ++recno)
            for (std::size_t i : numbers)
                if (stored_not_finite(rec + L.columns[i].offset))
                    throw EngineError(label + ": record " + std::to_string(recno + 1) + " field '" + fields[i].name +
                                      "': the stored number is not finite");
    }
}

// A cell of a kind that holds numbers as a real number (an empty cell reads 0); false for
// the other kinds.
bool real_of(const Column& c, const unsigned char* p, double& out)
{
    switch (c.kind) {
    case Kind::Number:
    case Kind::Money:
        if (!decode_double(p, out)) out = 0;
        return true;
    case Kind::Long:
    case Kind::AutoInc: {
        const std::uint32_t u = be32(p);
        out = u == 0 ? 0.0 : static_cast<double>(static_cast<std::int32_t>(u ^ 0x80000000u));
        return true;
    }
    case Kind::Short: {
        const std::uint16_t u = be16(p);
        out = u == 0 ? 0.0 : static_cast<double>(static_cast<std::int16_t>(u ^ 0x8000u));
        return true;
    }
    case Kind::Logical: out = p[0] != 0 && p[0] != 0x80 ? 1.0 : 0.0; return true;
    default: out = 0; return false;
    }
}

// The records of a table read from the file's bytes as they are asked for: the file stays in
// memory as it was read, with the place of each data block's first record, so opening a large
// table costs reading its file and no more.
class ParadoxRecords final : public RecordSource {
public:
    ParadoxRecords(std::shared_ptr<FileBytes> file, const Layout& L, int code_page)
        : file_(std::move(file)), columns_(L.columns), code_page_(code_page),
          record_size_(static_cast<std::size_t>(L.record_size))
    {
        std::size_t row = 0;
        for (const Block& b : L.chain) {
            if (b.count <= 0) continue;
            starts_.push_back(file_->data() + b.offset + kBlockHead);
            firsts_.push_back(row);
            row += static_cast<std::size_t>(b.count);
        }
        rows_ = row;
        firsts_.push_back(row);
    }

    std::size_t size() const override { return rows_; }

    Value value(std::size_t row, std::size_t col) const override
    {
        const Column& c = columns_[col];
        return decode_cell(c, record(row) + c.offset, code_page_);
    }

    void reals(std::size_t row, double* out, unsigned char* numeric) const override
    {
        const unsigned char* rec = record(row);
        for (std::size_t c = 0; c < columns_.size(); ++c)
            numeric[c] = real_of(columns_[c], rec + columns_[c].offset, out[c]) ? 1 : 0;
    }

private:
    const unsigned char* record(std::size_t row) const
    {
        // Reads mostly go forward, so the block of the last read is tried first.
        if (row - block_first_ >= block_rows_) find_block(row);
        const unsigned char* rec = block_start_ + (row - block_first_) * record_size_;
        // A scan reads record after record: ask for the bytes a few records on before they are needed.
        __builtin_prefetch(rec + 8 * record_size_);
        return rec;
    }

    void find_block(std::size_t row) const
    {
        const auto b = static_cast<std::size_t>(std::upper_bound(firsts_.begin(), firsts_.end(), row) - firsts_.begin()) - 1;
        block_first_ = firsts_[b];
        block_rows_ = firsts_[b + 1] - firsts_[b];
        block_start_ = starts_[b];
    }

    std::shared_ptr<FileBytes> file_;
    std::vector<Column> columns_;
    int code_page_;
    std::size_t record_size_;
    std::size_t rows_ = 0;
    std::vector<const unsigned char*> starts_;   // each non-empty block's first record
    std::vector<std::size_t> firsts_;            // the row of that record, then the row count
    // The block of the last read (none at first). An image is read by one thread at a time.
    mutable std::size_t block_first_ = 0, block_rows_ = 0;
    mutable const unsigned char* block_start_ = nullptr;
};

TableData read_paradox_span(const std::string& label, const unsigned char* data, std::size_t size,
                            MemoSource& memo, bool compact, std::shared_ptr<FileBytes> file = {})
{
    const Layout L = parse_layout(label, data, size);
    TableData t;
    t.code_page = effective_code_page(L.declared_code_page);
    const int cp = t.code_page;
    const std::size_t nf = L.columns.size();

    for (std::size_t i = 0; i < nf; ++i) {
        t.fields.push_back(field_def_for(L.columns[i], decode(L.raw_names[i], cp)));
        if (t.fields.back().read_only)
            add_reason(t, "field '" + t.fields.back().name + "' is of the " + kind_name(L.columns[i].kind) +
                              " type, which is shown but not written");
    }
    if (L.file_type == 0 || L.primary_key_fields > 0) add_reason(t, "the table is keyed (it has a primary key)");
    if (L.write_protected) add_reason(t, "the table is write-protected");
    for (const std::string& problem : L.chain_problems) add_reason(t, problem);

    // Every stored number is checked before any record is taken, so that a damaged one is
    // refused at the open whichever image is made.
    check_stored_numbers(label, L, data, t.fields);
    t.compact = compact;
    const bool has_memo_kind =
        std::any_of(L.columns.begin(), L.columns.end(), [](const Column& c) { return c.kind == Kind::Memo; });
    if (compact && file && !has_memo_kind) {
        // The compact image reads its records from the file's bytes.
        t.columns = ColumnStore(nf, std::make_shared<ParadoxRecords>(std::move(file), L, cp));
        return t;
    }

    MemoTexts memos(memo, cp, t);
    if (compact) t.columns = ColumnStore(nf);
    t.reserve(L.num_records);
    Record out;
    ByteReader blocks(label, data, size);
    std::size_t number = 0;   // of the record being read, from 1
    for (const Block& b : L.chain) {
        // Whole blocks at a time; the records follow the block's head.
        blocks.seek(b.offset, "data block");
        const unsigned char* rec =
            blocks.bytes(kBlockHead + static_cast<std::size_t>(b.count) * L.record_size, "data block") + kBlockHead;
        for (int k = 0; k < b.count; ++k, rec += L.record_size) {
            ++number;
            out.clear();
            out.reserve(nf);
            for (std::size_t i = 0; i < nf; ++i) {
                const Column& c = L.columns[i];
                const unsigned char* p = rec + c.offset;
                if (c.kind != Kind::Memo) {
                    out.push_back(decode_cell(c, p, cp));
                    continue;
                }
                const bool blank = std::all_of(p, p + c.size, [](unsigned char x) { return x == 0; });
                out.push_back(blank ? Value{} : memos.cell(p, c.size, number, i));
            }
            t.add_record(std::move(out));
        }
    }
    memos.finish();
    return t;
}

}  // namespace

TableData read_paradox_bytes(const std::string& label, const std::vector<unsigned char>& data, const ParadoxMemo* memo)
{
    MemoSource source(memo);
    return read_paradox_span(label, data.data(), data.size(), source, false);
}

TableData read_paradox_image(const std::string& label, std::vector<unsigned char> data)
{
    auto file = std::make_shared<FileBytes>(std::move(data));
    const unsigned char* bytes = file->data();
    const std::size_t size = file->size();
    MemoSource none;
    return read_paradox_span(label, bytes, size, none, true, std::move(file));
}

TableData read_paradox(const std::string& path, bool compact)
{
    const std::string label = file_label(path);
    // Only the header and the blocks it declares are read; the memo file only as far as the
    // memo texts of the records need it.
    auto data = std::make_shared<FileBytes>(path, declared_size);
    MemoSource memo(path);
    // A primary index (.px) belongs only to a table whose header says it is keyed; beside any
    // other table it is left over from a table this one replaced, and is not taken for its index.
    const unsigned char* bytes = data->data();
    const std::size_t size = data->size();
    return read_paradox_span(label, bytes, size, memo, compact, std::move(data));
}

}  // namespace vantelo::db
