// Fuzzes the dBASE reader (the input serves as the table and as its memo file) and, for what
// it reads, the writer and a second read of what was written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/core/errors.h"
#include "platform/db/dbase.h"

using namespace vantelo;
using namespace vantelo::db;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MemoLoader memo = [&](bool foxpro) -> std::optional<MemoFile> {
        MemoFile m;
        m.label = "fuzz.fpt";
        m.data.assign(data, data + size);
        m.foxpro = foxpro;
        return m;
    };
    TableData t;
    try {
        t = read_dbase_bytes("fuzz.dbf", data, size, memo);
    } catch (const Error&) {
        return 0;
    }
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
