// Batch copies into every target format, checked with an independent reader where one exists.
#include <gtest/gtest.h>

#include <shapefil.h>

#include <fstream>

#include "engine_test_util.h"
#include "platform/db/dataset.h"
#include "platform/db/encoding.h"

using namespace vantelo::db;
using vantelo::db::testing_util::error_of;
using vantelo::db::testing_util::file_bytes;
using vantelo::db::testing_util::ScratchDir;
using vantelo::db::testing_util::q;

namespace {

class BatchCopy : public testing::Test {
protected:
    void SetUp() override
    {
        src_path = dir.path("a.db");
        execute_statement("Create table " + q(src_path) + " (x integer,y float,s Char(12))");
        src.set_table_name(src_path);
        src.open();
        const double ys[] = {0.5, 1e-7, -2.25};
        const char* ss[] = {"甲", "", "乙丙"};
        for (int i = 0; i < 3; ++i) {
            src.append();
            src.field(0).set_as_integer(i + 1);
            src.field(1).set_as_float(ys[i]);
            src.field(2).set_as_string(ss[i]);
            src.post();
        }
    }
    void copy_to(const std::string& name, TableType type)
    {
        dst.close();
        dst.set_table_name(name);
        dst.set_table_type(type);
        move.source = &src;
        move.destination = &dst;
        move.execute();
    }
    ScratchDir dir;
    std::string src_path;
    Dataset src, dst;
    BatchMove move;
};

TEST_F(BatchCopy, FoxProCopyReadByShapelib)
{
    copy_to(dir.path("b"), TableType::FoxPro);
    std::string out = dir.path("b.dbf");
    ASSERT_TRUE(std::filesystem::exists(out));
    std::string bytes = file_bytes(out);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x03);
    EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 0x7A);   // GBK
    DBFHandle h = DBFOpen(out.c_str(), "rb");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(DBFGetRecordCount(h), 3);
    ASSERT_EQ(DBFGetFieldCount(h), 3);
    char name[12];
    int width = 0, decimals = 0;
    DBFGetFieldInfo(h, 1, name, &width, &decimals);
    EXPECT_STREQ(name, "y");
    EXPECT_EQ(width, 20);
    EXPECT_EQ(decimals, 10);
    const double ys[] = {0.5, 1e-7, -2.25};
    const char* ss[] = {"甲", "", "乙丙"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(DBFReadIntegerAttribute(h, i, 0), i + 1);
        EXPECT_DOUBLE_EQ(DBFReadDoubleAttribute(h, i, 1), ys[i]);
        std::string s = DBFReadStringAttribute(h, i, 2);
        while (!s.empty() && s.back() == ' ') s.pop_back();
        EXPECT_EQ(decode(s, 936), ss[i]);
    }
    DBFClose(h);
    EXPECT_FALSE(dst.active());   // the copy is not opened
}

TEST_F(BatchCopy, AsciiCopyIsDelimitedText)
{
    copy_to(dir.path("c"), TableType::Ascii);
    std::string expected = "1,0.5,\"" + encode("甲", 936) + "\"\r\n2,1E-7,\r\n3,-2.25,\"" + encode("乙丙", 936) + "\"\r\n";
    EXPECT_EQ(file_bytes(dir.path("c.txt")), expected);
    EXPECT_TRUE(std::filesystem::exists(dir.path("c.sch")));
}

TEST_F(BatchCopy, ParadoxAndDbaseCopiesReadBack)
{
    for (auto [name, type] : {std::pair{"p", TableType::Paradox}, std::pair{"d", TableType::DBase}}) {
        copy_to(dir.path(name), type);
        Dataset back;
        back.set_table_name(type == TableType::Paradox ? dir.path(std::string(name) + ".db") : dir.path(std::string(name) + ".dbf"));
        back.open();
        ASSERT_EQ(back.record_count(), 3) << name;
        EXPECT_EQ(back.field_names(), (std::vector<std::string>{"x", "y", "s"}));
        back.last();
        EXPECT_EQ(back.field(0).as_integer(), 3);
        EXPECT_EQ(back.field(1).as_float(), -2.25);
        EXPECT_EQ(back.field(2).as_string(), "乙丙");
    }
}

TEST_F(BatchCopy, RefusesTheSourceItselfAndReplacesOtherFiles)
{
    std::string before = file_bytes(src_path);
    for (auto [name, type] : {std::pair{dir.path("a"), TableType::Paradox}, std::pair{dir.path("./a.db"), TableType::Paradox},
                              std::pair{dir.path("a.db"), TableType::Ascii}}) {
        EXPECT_EQ(error_of([&] { copy_to(name, type); }), "Cannot copy a table onto itself: " + name + (type == TableType::Paradox && name == dir.path("a") ? ".db" : ""));
        EXPECT_EQ(file_bytes(src_path), before);
    }
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"a.db"}));
    // An existing other file is replaced.
    execute_statement("Create table " + q(dir.path("old.dbf")) + " (q Char(3))");
    copy_to(dir.path("old.dbf"), TableType::DBase);
    Dataset back;
    back.set_table_name(dir.path("old.dbf"));
    back.open();
    EXPECT_EQ(back.field_names(), (std::vector<std::string>{"x", "y", "s"}));
    EXPECT_EQ(back.record_count(), 3);
    // An open destination is refused.
    dst.set_table_type(TableType::Default);
    dst.set_table_name(dir.path("old.dbf"));
    dst.open();
    EXPECT_EQ(error_of([&] { move.execute(); }), "Cannot perform this operation on an open dataset");
}

// A copy that replaces a table takes the replaced table's index and memo files with it, and
// leaves every other file alone: the source's own companions, files of other tables, files of
// other kinds. Should a copy be killed before it removes them, a stale primary index beside the
// new (unkeyed) table is not taken for its index.
TEST_F(BatchCopy, ReplacingATableRemovesItsCompanionFiles)
{
    auto touch = [&](const std::string& name) { std::ofstream(dir.path(name)) << "stale"; };
    struct Case {
        const char* table;
        TableType type;
        std::vector<std::string> companions;
    };
    const Case cases[] = {
        {"b.db", TableType::Paradox, {"b.PX", "b.mb", "b.X02", "b.y02", "B.XG0", "b.YG1"}},
        {"c.dbf", TableType::DBase, {"c.DBT", "c.fpt"}},
        {"d.dbf", TableType::FoxPro, {"d.FPT"}},
    };
    const std::vector<std::string> others = {"a.PX", "a.MB", "bb.px", "b.txt", "b.val", "b.x2", "c.mdx", "c.dbf.px", "d.ndx"};
    for (const auto& o : others) touch(o);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        copy_to(dir.path(c.table), c.type);
        for (const auto& f : c.companions) touch(f);
        {
            Dataset stale;
            stale.set_table_name(dir.path(c.table));
            stale.open();
            EXPECT_FALSE(stale.read_only());
        }
        copy_to(dir.path(c.table), c.type);
        dst.close();
        for (const auto& f : c.companions) EXPECT_FALSE(std::filesystem::exists(dir.path(f))) << f;
        for (const auto& o : others) EXPECT_TRUE(std::filesystem::exists(dir.path(o))) << o;
        Dataset back;
        back.set_table_name(dir.path(c.table));
        back.open();
        EXPECT_FALSE(back.read_only());
        EXPECT_EQ(back.record_count(), 3);
    }
    // A copy into a new file removes nothing, not even stray files with the new table's name.
    touch("e.px");
    copy_to(dir.path("e.db"), TableType::Paradox);
    EXPECT_TRUE(std::filesystem::exists(dir.path("e.px")));
}

}  // namespace
