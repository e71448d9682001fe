// libFuzzer target for the Paradox reader: any input either reads or raises EngineError.
// The input is read as a table, then once more with itself as the memo file so that memo
// pointers lead somewhere.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/errors.h"
#include "platform/db/paradox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);
    try {
        vantelo::db::read_paradox_bytes("fuzz.db", bytes);
    } catch (const vantelo::EngineError&) {
    }
    try {
        vantelo::db::ParadoxMemo memo{"fuzz.mb", bytes};
        vantelo::db::read_paradox_bytes("fuzz.db", bytes, &memo);
    } catch (const vantelo::EngineError&) {
    }
    return 0;
}
