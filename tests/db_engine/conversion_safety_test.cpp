// A copy of a table into another format (as 数据管理 > 格式转换 makes it) killed or failing at
// each of its writing calls, from a Paradox and from a dBASE table, into each format, onto an
// existing table with companion files and onto a new name. After every trial each file of the
// folder is whole, as before or as after the copy, and the files agree: a table as before has
// every companion file it reads, a table as after has none of the replaced table's files that
// it would read; a text copy and its schema are on the same side except for a kill between
// their two renames. A copy reported failed has changed nothing, one reported done is complete,
// and the same copy made again completes and leaves no temporary file.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/db/atomic_file.h"
#include "platform/db/dataset.h"
#include "platform/db/table_files.h"
#include "tests/db_common/file_change_trials.h"
#include "tests/db_engine/engine_test_util.h"

namespace vantelo::db {
namespace {

using test_common::folder_files;
using test_common::Trial;
using testing_util::q;
using testing_util::ScratchDir;
namespace fs = std::filesystem;

using HookGuard = test_common::HookReset;

std::string fixture(const std::string& name) { return std::string(VANTELO_FIXTURES_DIR) + "/" + name; }

// A source table of three records with a text, an integer and a real field.
void make_source(const std::string& path)
{
    execute_statement("Create table " + q(path) + " (NAME Char(8), AGE integer, POP float)");
    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    const char* names[] = {"甲", "乙丙", "x"};
    for (int i = 0; i < 3; ++i) {
        ds.append();
        ds.field(0).set_as_string(names[i]);
        ds.field(1).set_as_integer(i * 10);
        ds.field(2).set_as_float(0.5 + i);
        ds.post();
    }
}

// What a target is before the copy: its files (copied or made) and which of them are the
// replaced table's companions, split by whether that table reads them.
struct Target {
    const char* name;
    TableType type;
    std::string file;                          // the copy's file
    std::function<void(const ScratchDir&)> make;   // empty: a new name
    std::set<std::string> companions_read;     // kept until the new table is in place
    std::set<std::string> companions_unread;   // may go first
};

void copy_fixture(const ScratchDir& dir, const std::string& from, const std::string& to)
{
    fs::copy_file(fixture(from), dir.path(to));
    fs::permissions(dir.path(to), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

void put(const ScratchDir& dir, const std::string& name, const std::string& bytes)
{
    write_file_atomically(dir.path(name), std::vector<unsigned char>(bytes.begin(), bytes.end()));
}

// A table of one integer field and one record, as this program writes it.
void make_plain_paradox(const std::string& path)
{
    TableData t;
    t.fields = fields_for_format({test_common::field("Q", FieldType::Integer)}, TableFormat::Paradox);
    t.records = {{std::int64_t{7}}};
    write_table(ResolvedTable{path, TableFormat::Paradox}, t);
}

std::vector<Target> targets()
{
    return {
        {"ASCII onto a text copy", TableType::Ascii, "out.txt",
         [](const ScratchDir& d) {
             put(d, "out.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n");
             put(d, "out.sch", "[out]\r\nFILETYPE=VARYING\r\nField1=n,LONGINT,11,00,00\r\n");
         },
         {}, {}},
        {"ASCII, new name", TableType::Ascii, "new.txt", {}, {}, {}},
        // A text copy given the name of a Paradox table: the table's files go with it.
        {"ASCII onto a Paradox table's name", TableType::Ascii, "out.db",
         [](const ScratchDir& d) {
             make_plain_paradox(d.path("out.db"));
             put(d, "out.PX", "stale index");
             put(d, "out.MB", "stale memo");
         },
         {}, {"out.PX", "out.MB"}},
        // A dBASE table with memo fields in its FoxPro memo file (and a stray dBASE one).
        {"dBASE onto a memo table", TableType::DBase, "out.dbf",
         [](const ScratchDir& d) {
             copy_fixture(d, "dbase/memotest.dbf", "out.dbf");
             copy_fixture(d, "dbase/memotest.FPT", "out.FPT");
             put(d, "out.dbt", "stale");
         },
         {"out.FPT", "out.dbt"}, {}},
        {"dBASE, new name", TableType::DBase, "new.dbf", {}, {}, {}},
        {"FoxPro onto a memo table", TableType::FoxPro, "out.dbf",
         [](const ScratchDir& d) {
             copy_fixture(d, "dbase/memotest.dbf", "out.dbf");
             copy_fixture(d, "dbase/memotest.FPT", "out.FPT");
         },
         {"out.FPT"}, {}},
        {"FoxPro, new name", TableType::FoxPro, "new.dbf", {}, {}, {}},
        // A keyed Paradox table with memo fields: its index and memo files are read.
        {"Paradox onto a keyed memo table", TableType::Paradox, "out.db",
         [](const ScratchDir& d) {
             copy_fixture(d, "paradox/memo.db", "out.db");
             copy_fixture(d, "paradox/memo.mb", "out.mb");
             put(d, "out.PX", "index");
             put(d, "out.X02", "secondary index");
         },
         {"out.mb", "out.PX", "out.X02"}, {}},
        // A plain table beside the index and memo files of a table it once replaced.
        {"Paradox onto a plain table", TableType::Paradox, "out.db",
         [](const ScratchDir& d) {
             make_plain_paradox(d.path("out.db"));
             put(d, "out.PX", "stale index");
             put(d, "out.MB", "stale memo");
             put(d, "out.YG0", "stale");
         },
         {}, {"out.PX", "out.MB", "out.YG0"}},
        {"Paradox, new name", TableType::Paradox, "new.db", {}, {}, {}},
    };
}

// The copy as the conversion command makes it.
void convert(const std::string& source, const std::string& target, TableType type)
{
    Dataset src, dst;
    src.set_table_name(source);
    src.open();
    dst.set_table_name(target);
    dst.set_table_type(type);
    BatchMove move;
    move.source = &src;
    move.destination = &dst;
    move.execute();
}

using test_common::Side;

TEST(ConversionSafety, KilledOrFailingAtAnyWriteEveryFileIsBeforeOrAfter)
{
    HookGuard guard;
    std::map<std::string, std::pair<int, int>> trials;
    for (const char* source_name : {"src.db", "src.dbf"}) {
        for (const Target& target : targets()) {
            SCOPED_TRACE(std::string(source_name) + " -> " + target.name);
            ScratchDir dir;
            make_source(dir.path(source_name));
            if (target.make) target.make(dir);
            const auto before = folder_files(dir.dir());
            auto reset = [&] { test_common::restore_folder(dir.dir(), before); };
            auto run = [&] { convert(dir.path(source_name), dir.path(target.file), target.type); };
            reset();
            run();
            const auto after = folder_files(dir.dir());
            ASSERT_NE(after, before);
            const bool ascii = target.type == TableType::Ascii;
            const std::string schema = fs::path(target.file).replace_extension(".sch").string();
            std::vector<std::string> calls;

            auto judge = [&](const Trial& t) {
                const auto now = folder_files(dir.dir());
                if (test_common::judge_reported(t, before, after, now)) return;
                // Killed: each file whole, as before or as after.
                auto side = test_common::file_sides(before, after, now);
                const Side table = side[target.file];
                if (!ascii && now.count(target.file)) {
                    // The table opens as the one its bytes are.
                    TableData read;
                    EXPECT_NO_THROW(read = read_table(resolve_table(dir.path(target.file), target.type)));
                }
                if (table == Side::Before) {
                    for (const std::string& c : target.companions_read) EXPECT_NE(side[c], Side::After) << c << " gone beside the old table";
                } else if (table == Side::After) {
                    for (const std::string& c : target.companions_unread) EXPECT_NE(side[c], Side::Before) << c << " beside the new table";
                    for (const auto& [n, s] : side) {
                        if (!target.companions_read.count(n) && n != schema) {
                            EXPECT_NE(s, Side::Before) << n;
                        }
                    }
                }
                if (ascii && side[target.file] != Side::Both && side[schema] != Side::Both && side[target.file] != side[schema]) {
                    // Only between the two renames (after those of the companions that go first).
                    const int text_rename = static_cast<int>(target.companions_unread.size()) + 1;
                    const auto [first, second] = test_common::rename_calls(calls, text_rename, text_rename + 1);
                    EXPECT_TRUE(t.call > first && t.call <= second) << "text and schema apart after a kill at call " << t.call;
                }
            };
            // The next write is the same copy again, as a user would retry it.
            auto next_write = [&] { EXPECT_NO_THROW(run()); };
            const auto counts = test_common::run_write_trials(dir.dir(), reset, run, judge, next_write, &calls);
            trials[std::string(source_name) + " -> " + target.name] = {counts.kill_trials, counts.error_trials};
            EXPECT_GT(counts.kill_trials, 0);
        }
    }
    for (const auto& [what, n] : trials) std::printf("  %-42s %d kills, %d errors\n", what.c_str(), n.first, n.second);
}

}  // namespace
}  // namespace vantelo::db
