// libFuzzer target for the statement parser: any text either parses into a statement that
// holds together or raises EngineError; it never crashes and never reads outside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/core/errors.h"
#include "platform/db/sql.h"

namespace {

bool clean_name(const std::string& s)
{
    if (s.empty()) return false;
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F || c == ' ' || c == ',' || c == '(' || c == ')' || c == '"') return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        vantelo::db::SqlStatement st = vantelo::db::parse_statement(text);
        if (st.path.empty() || st.path.find('"') != std::string::npos) std::abort();
        for (unsigned char c : st.path)
            if (c < 0x20 || c == 0x7F) std::abort();
        using Kind = vantelo::db::SqlStatement::Kind;
        if (st.kind == Kind::Drop) {
            if (!st.items.empty() || !clean_name(st.drop_name)) std::abort();
        } else {
            if (st.items.empty() || (st.kind == Kind::Add && st.items.size() != 1)) std::abort();
            for (const auto& it : st.items)
                if (!clean_name(it.name) || it.size < 0) std::abort();
        }
    } catch (const vantelo::EngineError&) {
    }
    return 0;
}
