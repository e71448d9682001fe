// Fuzzes the dBASE reader with a table and its memo file, and, for what it reads, the writer and
// a second read of what was written. The input is split: its first 4 bytes (little-endian) give
// the length of the table, the rest after the table is the memo file (a FoxPro .fpt when the
// table's version byte asks for one, else a dBASE .dbt). An input too short for the split is
// the table alone, with no memo file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/core/errors.h"
#include "platform/db/dbase.h"

using namespace vantelo;
using namespace vantelo::db;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::uint8_t* table = data;
    std::size_t table_size = size;
    std::vector<unsigned char> memo_bytes;
    bool has_memo = false;
    if (size >= 4) {
        const std::size_t declared = static_cast<std::size_t>(data[0]) | static_cast<std::size_t>(data[1]) << 8 |
                                     static_cast<std::size_t>(data[2]) << 16 | static_cast<std::size_t>(data[3]) << 24;
        table = data + 4;
        table_size = declared < size - 4 ? declared : size - 4;
        memo_bytes.assign(table + table_size, data + size);
        has_memo = true;
    }
    int asked = 0;
    MemoLoader memo = [&](bool foxpro) -> std::optional<MemoFile> {
        if (++asked > 1) std::abort();  // the memo file is asked for once
        if (!has_memo) return std::nullopt;
        return memo_in_memory("fuzz.memo", memo_bytes, foxpro);
    };
    TableData t;
    try {
        t = read_dbase_bytes("fuzz.dbf", table, table_size, memo);
    } catch (const Error&) {
        return 0;
    }
    // However the memos are shared, the image holds no more memo text than the bound.
    std::size_t text = 0;
    for (const Record& r : t.records)
        for (const Value& v : r)
            if (auto s = std::get_if<std::string>(&v)) text += s->size();
    // (Other texts: at most 3 bytes of UTF-8 for each byte of a record; a placeholder or a
    // binary memo's note is less than 64 bytes.)
    if (text > memo_total_limit + t.records.size() * (3 * 65536 + 64 * t.fields.size())) std::abort();
    if (t.read_only) return 0;
    std::vector<unsigned char> out;
    try {
        out = build_dbase(t, size % 2 == 1);
    } catch (const Error&) {
        return 0;  // a value or name our writer refuses
    }
    TableData back = read_dbase_bytes("again.dbf", out.data(), out.size());
    if (back.records.size() != t.records.size() || back.fields.size() != t.fields.size()) std::abort();
    return 0;
}
