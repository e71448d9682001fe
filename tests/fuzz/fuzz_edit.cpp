// Fuzzes the changes to hostile table files: the input's first byte picks the format and the
// changes, the rest is the table file. Each change (a post, an append, a deletion, a batch of
// edits, a field added or dropped, two fields added with their values) either succeeds, and the
// file then reads back exactly as the dataset shows it, or raises our error and leaves the file
// byte for byte as it was; no temporary file stays behind.
#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/errors.h"
#include "platform/db/dataset.h"
#include "tests/fuzz/scratch_folder.h"
#include "platform/db/table_data.h"

using namespace vantelo;
using namespace vantelo::db;

namespace {

const std::string& folder() { return scratch_folder(); }

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> entries()
{
    std::vector<std::string> out;
    if (DIR* d = opendir(folder().c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.' || (std::string(e->d_name) != "." && std::string(e->d_name) != ".."))
                out.push_back(e->d_name);
        closedir(d);
    }
    return out;
}

void clear_folder()
{
    for (const std::string& e : entries()) unlink((folder() + "/" + e).c_str());
}

// The table at path must open after a change, whether the change was made or refused.
TableData expect_opens(const std::string& path)
{
    Dataset back;
    back.set_table_name(path);
    try {
        back.open();
    } catch (const Error&) {
        __builtin_trap();
    }
    return back.data();
}

// The file must read as ds shows its table.
void expect_file_as_shown(const Dataset& ds)
{
    if (!same_table(expect_opens(ds.table_name()), ds.data())) __builtin_trap();
}

// A value for field i of the current record, of its kind.
void set_some_value(Dataset& ds, int i, unsigned seed)
{
    Field f = ds.field(i);
    switch (f.def().type) {
    case FieldType::String: f.set_as_string(seed & 1 ? "x" : ""); break;
    case FieldType::Date: f.set_value(Date{2000 + static_cast<int>(seed % 30), 2, 28}); break;
    case FieldType::Boolean: f.set_value(Value{(seed & 1) != 0}); break;
    default: f.set_as_integer(static_cast<std::int64_t>(seed % 200)); break;
    }
}

// Runs one change; a failure must have left the file as it was.
template <class Change>
bool attempt(const std::string& path, Change change)
{
    const std::string before = contents(path);
    try {
        change();
        return true;
    } catch (const Error&) {
        if (contents(path) != before) __builtin_trap();
        return false;
    }
}

// A batch: a value set in every record, the table written once at the end; with ops & 128
// another program appends a record between the open and the end of the batch. The other
// program's change is never undone: an end that would write is then refused. Otherwise the end
// writes, or raises and leaves the file as it was; either way the dataset then shows the table
// as the file holds it.
void batch_of_edits(Dataset& ds, const std::string& path, unsigned ops)
{
    const std::string before = contents(path);
    try {
        ds.begin_batch();
    } catch (const Error&) {
        if (contents(path) != before) __builtin_trap();
        return;
    }
    const auto fields = static_cast<unsigned>(ds.field_count());
    unsigned posted = 0;
    try {
        for (ds.first(); !ds.eof(); ++posted) {
            ds.edit();
            set_some_value(ds, static_cast<int>((ops + posted) % fields), ops + posted);
            ds.next();   // posts the edit into the image
        }
    } catch (const Error&) {
        ds.cancel();   // a value the file cannot hold: the records before it stay changed
    }
    std::string changed = before;
    if (ops & 128) {
        const bool appended = attempt(path, [&] {
            Dataset other;
            other.set_table_name(path);
            other.open();
            other.append();
            set_some_value(other, 0, ops >> 2);
            other.post();
        });
        if (appended) changed = contents(path);
    }
    bool written = true;
    try {
        ds.end_batch();
    } catch (const Error&) {
        written = false;
    }
    if (ds.in_batch()) __builtin_trap();
    if (changed != before) {
        if (contents(path) != changed) __builtin_trap();   // the other program's record is kept
        if (posted == 0) return;                           // nothing to write, and nothing was
        if (written) __builtin_trap();
    } else if (!written && contents(path) != before) {
        __builtin_trap();
    }
    expect_file_as_shown(ds);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const unsigned ops = data[0];
    clear_folder();
    const std::string path = folder() + ((ops & 1) ? "/t.dbf" : "/t.db");
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    Dataset ds;
    ds.set_table_name(path);
    try {
        ds.open();
    } catch (const Error&) {
        return 0;
    }
    const int fields = ds.field_count();
    if (ds.record_count() > 0 && (ops & 2)) {
        // A post of one value into a record.
        attempt(path, [&] {
            ds.move_to(static_cast<int>((ops >> 4) % static_cast<unsigned>(ds.record_count())));
            ds.edit();
            set_some_value(ds, static_cast<int>(ops % static_cast<unsigned>(fields)), ops);
            ds.post();
        });
        ds.cancel();
        expect_file_as_shown(ds);
    }
    if (ops & 4) {
        attempt(path, [&] {
            ds.append();
            set_some_value(ds, 0, ops >> 3);
            ds.post();
        });
        ds.cancel();
        expect_file_as_shown(ds);
    }
    if (ds.record_count() > 0 && (ops & 8)) {
        attempt(path, [&] { ds.delete_record(); });
        expect_file_as_shown(ds);
    }
    if (ds.record_count() > 0 && (ops & 64)) batch_of_edits(ds, path, ops);
    ds.close();
    if (ops & 16) {
        attempt(path, [&] { execute_statement("alter table \"" + path + "\" add FZ integer"); });
        expect_opens(path);
    }
    if (ops & 32) {
        Dataset now;
        now.set_table_name(path);
        now.open();
        const std::string last = now.field_count() > 0 ? now.field_names().back() : std::string("X");
        now.close();
        attempt(path, [&] { execute_statement("alter table \"" + path + "\" drop " + last); });
        expect_opens(path);
    }
    if (ops & 128) {
        // Two new fields added together with their values, as the result columns are: either
        // both arrive with every value, or the file is as it was.
        Dataset now;
        now.set_table_name(path);
        now.open();
        const TableData as_read = now.image();
        const int old_fields = now.field_count();
        const std::size_t n = static_cast<std::size_t>(now.record_count());
        now.close();
        std::vector<std::vector<Value>> values(2);
        for (std::size_t i = 0; i < n; ++i) {
            // Whole numbers, which both formats hold exactly; now and then one too wide for a
            // dBASE number, which must refuse the whole change.
            const double v = (ops >> 6 & 1) && i == n / 2 ? 1e15 : static_cast<double>((i * 7919 + ops) % 100000) - 500;
            values[0].emplace_back(v);
            values[1].emplace_back(i % 3 == 0 ? Value{} : Value{-v});
        }
        const std::string q = "alter table \"" + path + "\" Add ";
        const bool added = attempt(path, [&] { add_filled_fields({q + "FR1 Float", q + "FR2 Float"}, values, &as_read); });
        expect_opens(path);
        if (added) {
            Dataset back;
            back.set_table_name(path);
            back.open();
            if (back.field_count() != old_fields + 2 || static_cast<std::size_t>(back.record_count()) != n) __builtin_trap();
            for (std::size_t i = 0; i < n; ++i)
                for (int k = 0; k < 2; ++k)
                    if (back.value_at(static_cast<int>(i), old_fields + k) != values[static_cast<std::size_t>(k)][i])
                        __builtin_trap();
        }
    }
    for (const std::string& e : entries())
        if (e.rfind(".vantelo-", 0) == 0) __builtin_trap();   // a temporary file left behind
    return 0;
}
