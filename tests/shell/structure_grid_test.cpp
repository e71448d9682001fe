// The structure grid of the table structure and restructure windows.
#include <QTableWidget>

#include "platform/db/dataset.h"
#include "shell/structure_grid.h"
#include "shell_test_util.h"

namespace vantelo::shell::testing {
namespace {

using StructureGrid = MainWindowTest;

// Creates the table file with the given field list and opens it in t.
void create_and_open(db::Dataset& t, const std::string& file, const std::string& fields)
{
    db::execute_statement("Create table \"" + file + "\" " + fields);
    t.set_table_name(file);
    t.open();
}

QStringList row_texts(QTableWidget& g, int r)
{
    QStringList out;
    for (int c = 0; c < 4; ++c) out << (g.item(r, c) ? g.item(r, c)->text() : QString());
    return out;
}

TEST_F(StructureGrid, OneRowPerFieldWithTypeNamesAndCharWidths)
{
    const std::string file = path("kinds.DB").toStdString();
    db::Dataset t;
    create_and_open(t, file, "(名称 Char(12),人数 integer,比例 float,日期 Date,是否 Boolean)");
    QTableWidget g(1, 4);
    fill_structure_grid(&g, t);
    ASSERT_EQ(g.rowCount(), 5);
    EXPECT_EQ(row_texts(g, 0), (QStringList{"1", "名称", "Char", "12"}));
    EXPECT_EQ(row_texts(g, 1), (QStringList{"2", "人数", "Integer", ""}));
    EXPECT_EQ(row_texts(g, 2), (QStringList{"3", "比例", "Float", ""}));
    EXPECT_EQ(row_texts(g, 3), (QStringList{"4", "日期", "Date", ""}));
    EXPECT_EQ(row_texts(g, 4), (QStringList{"5", "是否", "Boolean", ""}));

    auto s = structure_from_grid(&g);
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[0].FieldName, "名称");
    EXPECT_EQ(s[0].Width, 12);
    EXPECT_EQ(s[1].FieldType, "Integer");
    EXPECT_EQ(s[1].Width, 0);
    EXPECT_EQ(s[4].State, 0);
}

TEST_F(StructureGrid, SingleFieldGivesOneRowNumberedOne)
{
    const std::string file = path("one.DB").toStdString();
    db::Dataset t;
    create_and_open(t, file, "(年龄 integer)");
    QTableWidget g(1, 4);
    fill_structure_grid(&g, t);
    ASSERT_EQ(g.rowCount(), 1);
    EXPECT_EQ(row_texts(g, 0), (QStringList{"1", "年龄", "Integer", ""}));
}

TEST_F(StructureGrid, TypesWithoutANameOfTheirOwnShowAsChar)
{
    EXPECT_EQ(structure_type_name(db::FieldType::Other), "Char");
    EXPECT_TRUE(structure_shows_width(db::FieldType::Other));
    EXPECT_EQ(structure_type_name(db::FieldType::Currency), "Float");
    EXPECT_EQ(structure_type_name(db::FieldType::SmallInt), "Integer");
    EXPECT_EQ(structure_type_name(db::FieldType::LargeInt), "Integer");
    EXPECT_FALSE(structure_shows_width(db::FieldType::Float));
}

TEST_F(StructureGrid, InputTableFromDataPreparation)
{
    prepare(path("p.DB"));
    QTableWidget g(1, 4);
    fill_structure_grid(&g, win->Table1);
    ASSERT_EQ(g.rowCount(), 6);
    EXPECT_EQ(row_texts(g, 0), (QStringList{"1", "年龄", "Integer", ""}));
    EXPECT_EQ(row_texts(g, 1), (QStringList{"2", "男性人口", "Float", ""}));
    EXPECT_EQ(row_texts(g, 5), (QStringList{"6", "年龄别生育率", "Float", ""}));
}

}  // namespace
}  // namespace vantelo::shell::testing
