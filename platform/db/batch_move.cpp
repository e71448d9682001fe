#include <filesystem>

#include "platform/core/errors.h"
#include "platform/db/atomic_file.h"
#include "platform/db/byte_reader.h"
#include "platform/db/dataset.h"
#include "platform/db/table_files.h"

namespace vantelo::db {

// Copies every posted record of the source, in order, into a destination created anew from the
// source's fields mapped to the destination's format. An existing destination is replaced,
// unless it is the source's own file, together with the replaced table's index and memo files,
// as one change (FileSetChange): the companions that table does not read go first, then the
// new table is put in place, then the companions it reads (the new table has neither memo
// fields nor a key, so it reads none of them). A kill at any point therefore leaves the old
// table with every file it reads, or the new table beside nothing it would take for its own.
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
        // The records are made one at a time as the new file is written.
        const RecordFeed from = records_of(src);
        Record in;
        const RecordFeed records{src.record_count(), [&](std::size_t row, Record& out) -> const Record& {
                                     const Record& rec = from.read(row, in);
                                     out.resize(t.fields.size());
                                     for (std::size_t i = 0; i < out.size(); ++i)
                                         out[i] = i < rec.size() ? value_for_field(rec[i], t.fields[i]) : Value{};
                                     return out;
                                 }};
        ReplacedCompanions old;
        if (replacing) old = replaced_companions(to.path, to.format, source->resolved_path());
        FileSetChange change;
        for (const std::string& c : old.unread) change.remove(c);
        {
            JoinedWrites joined(change);
            write_table(to, t, records);
        }
        for (const std::string& c : old.read) change.remove(c);
        change.commit();
    } catch (...) {
        if (opened_here) source->close();
        throw;
    }
    if (opened_here) source->close();
}

}  // namespace vantelo::db
