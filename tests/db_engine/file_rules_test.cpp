// What may be opened and written as a table: a read-only file is never replaced, a link leads to
// the table it names, only regular files are opened, and a table name must name a file; messages
// show names safely.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/db/dataset.h"
#include "platform/db/table_files.h"
#include "tests/db_engine/engine_test_util.h"

namespace vantelo::db {
namespace {

using testing_util::error_of;
using testing_util::q;
using testing_util::ScratchDir;
namespace fs = std::filesystem;

std::string make_table(const std::string& path)
{
    testing_util::create_age_table(path, 3);
    return path;
}

mode_t mode_of(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

int field_count(const std::string& path)
{
    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    return ds.field_count();
}

// Every change to a table file without write permission is refused with the permission
// message, and the file keeps its bytes and mode (also for the superuser).
TEST(FileRules, AReadOnlyTableIsNeverChanged)
{
    for (const char* name : {"t.db", "t.dbf"}) {
        SCOPED_TRACE(name);
        ScratchDir dir;
        const std::string path = make_table(dir.path(name));
        ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
        const std::string bytes = testing_util::file_bytes(path);
        const std::string refused = "Cannot open file for writing " + path + ": Permission denied";
        EXPECT_EQ(error_of([&] { execute_statement("alter table " + q(path) + " add X integer"); }), refused);
        EXPECT_EQ(error_of([&] { execute_statement("alter table " + q(path) + " drop POP"); }), refused);
        Dataset ds;
        ds.set_table_name(path);
        ds.open();
        EXPECT_EQ(error_of([&] { ds.delete_record(); }), refused);
        ds.edit();
        ds.field(0).set_as_integer(7);
        EXPECT_EQ(error_of([&] { ds.post(); }), refused);
        ds.cancel();
        ds.close();
        // A copy onto it.
        const std::string source = make_table(dir.path(std::string("src") + fs::path(name).extension().string()));
        Dataset src, dst;
        src.set_table_name(source);
        dst.set_table_name(path);
        BatchMove move;
        move.source = &src;
        move.destination = &dst;
        EXPECT_EQ(error_of([&] { move.execute(); }), refused);
        EXPECT_EQ(testing_util::file_bytes(path), bytes);
        EXPECT_EQ(mode_of(path), 0444u);
    }
}

// A rewrite keeps the table's permission bits.
TEST(FileRules, ARewriteKeepsThePermissionBits)
{
    ScratchDir dir;
    const std::string path = make_table(dir.path("t.db"));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    execute_statement("alter table " + q(path) + " add X integer");
    EXPECT_EQ(mode_of(path), 0640u);
    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    ds.append();
    ds.field(0).set_as_integer(9);
    ds.post();   // an append rewrites a Paradox table
    EXPECT_EQ(mode_of(path), 0640u);
    // And its owner, where the process may set it (as the superuser).
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), 1234, 5678), 0);
        execute_statement("alter table " + q(path) + " drop X");
        struct stat st;
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
    }
}

// A symbolic link: the table it points to is changed and the link stays a link. A table with a
// second hard link is not replaced (that would split the two names), but posts in place reach
// both names.
TEST(FileRules, LinksLeadToTheTable)
{
    ScratchDir dir;
    fs::create_directory(dir.path("data"));
    const std::string real = make_table(dir.path("data/real.db"));
    const std::string link = dir.path("link.db");
    fs::create_symlink("data/real.db", link);
    execute_statement("alter table " + q(link) + " add X integer");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(field_count(real), 3);
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"data", "link.db"}));

    const std::string hard = dir.path("hard.db");
    fs::create_hard_link(real, hard);
    const std::string bytes = testing_util::file_bytes(real);
    EXPECT_EQ(error_of([&] { execute_statement("alter table " + q(hard) + " drop X"); }),
              hard + " has 2 hard links; replacing it would separate them, so it was left as it is");
    EXPECT_EQ(testing_util::file_bytes(real), bytes);
    Dataset ds;
    ds.set_table_name(hard);
    ds.open();
    ds.edit();
    ds.field(0).set_as_integer(77);
    ds.post();
    EXPECT_EQ(fs::hard_link_count(real), 2u);
    EXPECT_EQ(testing_util::file_bytes(real), testing_util::file_bytes(hard));
}

// Only regular files open as tables: a FIFO is refused at once instead of waiting for a
// writer, a link to /dev/zero instead of reading without end, a folder as what it is.
TEST(FileRules, OnlyRegularFilesOpen)
{
    ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.path("fifo.db").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir.path("zero.dbf"));
    fs::create_directory(dir.path("folder.db"));
    for (const char* name : {"fifo.db", "zero.dbf", "folder.db"}) {
        const std::string path = dir.path(name);
        Dataset ds;
        ds.set_table_name(path);
        EXPECT_EQ(error_of([&] { ds.open(); }), path + " is not a regular file, so it cannot be opened as a table");
        EXPECT_NE(error_of([&] { execute_statement("alter table " + q(path) + " add X integer"); }), "");
    }
    EXPECT_TRUE(fs::is_fifo(dir.path("fifo.db")));
}

// A table name must name a file; control characters, C1 controls and bidirectional controls are
// refused; a name too long says so; messages quote at most 200 characters and show bytes that
// are not text as hex.
TEST(FileRules, TableNamesAndHowMessagesShowThem)
{
    ScratchDir dir;
    struct Case {
        std::string name;
        std::string message;
    };
    const std::string d = dir.dir();
    const Case cases[] = {
        {d + "/", "Invalid table name (no file name): " + d + "/"},
        {d + "/.", "Invalid table name (no file name): " + d + "/."},
        {d + "/..", "Invalid table name (no file name): " + d + "/.."},
        {d + "/a\x01.db", "Invalid table name (control character): " + d + "/a\\x01.db"},
        {d + "/a\xC2\x85.db", "Invalid table name (control character): " + d + "/a\\xC2\\x85.db"},
        {d + "/evil\xE2\x80\xAE" "bd.db", "Invalid table name (control character): " + d + "/evil\\xE2\\x80\\xAEbd.db"},
        {d + "/\xFF\xFE.db", "Table does not exist: " + d + "/\\xFF\\xFE.db"},
    };
    for (const Case& c : cases) {
        Dataset ds;
        ds.set_table_name(c.name);
        EXPECT_EQ(error_of([&] { ds.open(); }), c.message);
        if (c.message.rfind("Invalid", 0) == 0) {
            ds.field_defs().push_back(FieldDefinition{"A", FieldType::Integer, 0, false});
            EXPECT_EQ(error_of([&] { ds.create_table(); }), c.message);
        }
    }
    // A file name longer than the file system allows.
    const std::string long_name = d + "/" + std::string(300, 'x') + ".db";
    Dataset ds;
    ds.set_table_name(long_name);
    const std::string shown = (d + "/" + std::string(300, 'x')).substr(0, 200) + "...";
    EXPECT_EQ(error_of([&] { ds.open(); }), "File name too long: " + shown);
    EXPECT_EQ(dir.entries(), 0u);   // nothing created, no hidden ".db"
}

}  // namespace
}  // namespace vantelo::db
