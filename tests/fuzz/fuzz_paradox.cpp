// libFuzzer target for the Paradox reader: any input either reads or raises EngineError.
// The input is read as a table, then once more with itself as the memo file so that memo
// pointers lead somewhere (the memo text the table then holds staying within its bound). A table that reads and can be written must read back the same
// after writing. Read from files (the input as the table and as its memo file), where only what
// the header declares is read and the memo file a piece at a time, it reads as from the bytes.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/errors.h"
#include "platform/db/dataset.h"
#include "platform/db/paradox.h"
#include "tests/fuzz/scratch_folder.h"

namespace {

void put(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The table or the message of its refusal.
template <class Read>
std::string outcome(Read read, vantelo::db::TableData& t)
{
    try {
        t = read();
        return {};
    } catch (const vantelo::EngineError& e) {
        return e.what();
    }
}

}  // namespace

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
        // However many records share a memo, the image holds no more memo text than the bound,
        // besides what the records themselves hold (at most 3 bytes of UTF-8 for each byte of
        // a record, and a placeholder of less than 64 bytes for each field).
        vantelo::db::ParadoxMemo memo{"fuzz.mb", bytes};
        const vantelo::db::TableData t = vantelo::db::read_paradox_bytes("fuzz.db", bytes, &memo);
        std::size_t record = 0, text = 0;
        for (const vantelo::db::FieldDef& f : t.fields) record += static_cast<std::size_t>(f.native_size);
        for (const vantelo::db::Record& r : t.records)
            for (const vantelo::db::Value& v : r)
                if (const auto* s = std::get_if<std::string>(&v)) text += s->size();
        if (text > vantelo::db::memo_total_limit + t.records.size() * (3 * record + 64 * t.fields.size())) __builtin_trap();
    } catch (const vantelo::EngineError&) {
    }
    {
        const std::string path = scratch_folder() + "/t.db";
        put(path, bytes);
        put(scratch_folder() + "/t.mb", bytes);
        vantelo::db::TableData from_file, from_bytes;
        const vantelo::db::ParadoxMemo memo{"t.mb", bytes};
        const std::string a = outcome([&] { return vantelo::db::read_paradox(path); }, from_file);
        const std::string b = outcome([&] { return vantelo::db::read_paradox_bytes("t.db", bytes, &memo); }, from_bytes);
        if (a != b) __builtin_trap();
        if (a.empty() && (from_file.records != from_bytes.records || from_file.read_only_reason != from_bytes.read_only_reason))
            __builtin_trap();
    }
    return 0;
}
