#include <filesystem>

#include "platform/core/errors.h"
#include "platform/db/byte_reader.h"
#include "platform/db/dataset.h"
#include "platform/db/table_files.h"

namespace vantelo::db {

// Copies every posted record of the source, in order, into a destination created anew from the
// source's fields mapped to the destination's format. An existing destination is replaced
// (through a temporary file), unless it is the source's own file; once the new file is in place
// the replaced table's index and memo files go too, so that they are not taken for the copy's.
void BatchMove::execute()
{
    if (!source || !destination) throw EngineError("Batch copy needs a source and a destination");
    if (destination->active()) throw EngineError("Cannot perform this operation on an open dataset");
    bool opened_here = false;
    if (!source->active()) {
        source->open();
        opened_here = true;
    }
    try {
        const TableData& src = source->image();
        ResolvedTable to = resolve_table(destination->table_name(), destination->table_type());
        std::error_code ec;
        const bool replacing = std::filesystem::exists(to.path, ec);
        if (replacing && std::filesystem::equivalent(to.path, source->resolved_path(), ec))
            throw EngineError("Cannot copy a table onto itself: " + shown_name(to.path));

        TableData t;
        t.code_page = 936;
        t.fields = fields_for_format(src.fields, to.format);
        t.records.reserve(src.record_count());
        for (std::size_t r = 0; r < src.record_count(); ++r) {
            const Record rec = src.record(r);
            Record out(t.fields.size());
            for (std::size_t i = 0; i < out.size() && i < rec.size(); ++i) out[i] = value_for_field(rec[i], t.fields[i]);
            t.records.push_back(std::move(out));
        }
        write_table(to, t);
        if (replacing) remove_replaced_companions(to.path, to.format, source->resolved_path());
    } catch (...) {
        if (opened_here) source->close();
        throw;
    }
    if (opened_here) source->close();
}

}  // namespace vantelo::db
