// libFuzzer target for the Paradox reader: any input either reads or raises EngineError.
// The input is read as a table, then once more with itself as the memo file so that memo
// pointers lead somewhere. A table that reads and can be written must read back the same
// after writing.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/errors.h"
#include "platform/db/dataset.h"
#include "platform/db/paradox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);
    try {
        vantelo::db::TableData t = vantelo::db::read_paradox_bytes("fuzz.db", bytes);
        std::vector<unsigned char> written;
        try {
            written = vantelo::db::build_paradox(t, "fuzz.db");
        } catch (const vantelo::EngineError&) {
            written.clear();
        }
        if (!written.empty()) {
            vantelo::db::TableData back;
            try {
                back = vantelo::db::read_paradox_bytes("fuzz.db", written);
            } catch (const vantelo::EngineError&) {
                __builtin_trap();   // our own file must read
            }
            if (back.records != t.records || back.fields.size() != t.fields.size()) __builtin_trap();
        }
    } catch (const vantelo::EngineError&) {
    }
    try {
        // The compact image reads its records from the bytes as they are asked for: every value,
        // and every number read the quick way, as the plain reading has it.
        const vantelo::db::TableData plain = vantelo::db::read_paradox_bytes("fuzz.db", bytes);
        const vantelo::db::TableData image = vantelo::db::read_paradox_image("fuzz.db", bytes);
        if (image.record_count() != plain.records.size()) __builtin_trap();
        for (std::size_t r = 0; r < plain.records.size(); ++r)
            for (std::size_t c = 0; c < plain.fields.size(); ++c) {
                if (image.value(r, c) != plain.records[r][c]) __builtin_trap();
                double quick;
                if (image.columns.real_at(r, c, quick) &&
                    quick != static_cast<double>(vantelo::db::value_as_real(plain.records[r][c], plain.fields[c])))
                    __builtin_trap();
            }
    } catch (const vantelo::EngineError&) {
    }
    try {
        vantelo::db::ParadoxMemo memo{"fuzz.mb", bytes};
        vantelo::db::read_paradox_bytes("fuzz.db", bytes, &memo);
    } catch (const vantelo::EngineError&) {
    }
    return 0;
}
