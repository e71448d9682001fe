// Table structures: the statements the new-table and restructure windows build, and what a
// restructure changes.
#include <gtest/gtest.h>

#include "shell/engine/table_structure.h"

namespace vantelo::shell {
namespace {

TEST(TableStructure, LetterKeysChooseTypes)
{
    const struct {
        char32_t key;
        const char* type;
    } cases[] = {{U'B', "Boolean"}, {U'b', "Boolean"}, {U'C', "Char"},    {U'c', "Char"},  {U'D', "Date"},
                 {U'd', "Date"},    {U'F', "Float"},   {U'f', "Float"},   {U'I', "Integer"}, {U'i', "Integer"},
                 {U'x', ""},        {U'5', ""},        {U'E', ""},        {U'字', ""},     {U' ', ""}};
    for (const auto& c : cases) EXPECT_EQ(type_for_key(c.key), c.type) << static_cast<unsigned>(c.key);
}

TEST(TableStructure, RowsCompleteForAnotherRow)
{
    EXPECT_TRUE(structure_row_complete("age", "Integer", ""));
    EXPECT_TRUE(structure_row_complete("name", "Char", "12"));
    EXPECT_FALSE(structure_row_complete("z", "Char", ""));
    EXPECT_FALSE(structure_row_complete("", "Float", ""));
    EXPECT_FALSE(structure_row_complete("a", "", ""));
}

TEST(TableStructure, CreateItemsAndStatement)
{
    const struct {
        const char* name;
        const char* type;
        const char* width;
        const char* item;
    } cases[] = {
        {"age", "Integer", "", "age Integer"},
        {"name", "Char", "12", "name Char(12)"},
        {"name", "char", "3", "name char(3)"},
        {"rate", "Float", "7", "rate Float"},   // a width beside another type is not used
        {"d", "date", "", "d date"},
        {"ok", "Boolean", "", "ok Boolean"},
        {"n", "Char", "", "n Char()"},
        {"x", "", "", ""},                      // no type: an empty item
        {"x", "Text", "", ""},
        {"x", "CHAR", "5", ""},
        {"x", "FLOAT", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(create_table_item(c.name, c.type, c.width), c.item) << c.name << c.type;

    EXPECT_EQ(create_table_statement("T/n1.db", {"age Integer", "name Char(12)", "rate Float"}),
              "Create table \"T/n1.db\" (age Integer,name Char(12),rate Float)");
    EXPECT_EQ(create_table_statement("t", {"a Integer", "", "b Float"}), "Create table \"t\" (a Integer,,b Float)");
    EXPECT_EQ(create_table_statement("t", {""}), "Create table \"t\" ()");
    EXPECT_EQ(alter_add_statement("/d/a.db", "备注 Char(12)"), "alter table \"/d/a.db\" add 备注 Char(12)");
    EXPECT_EQ(alter_drop_statement("/d/a.db", "b"), "alter table \"/d/a.db\" drop b");
}

std::vector<Table_structure_info> single_region()
{
    return {{"年龄", "Integer", 0, 0},   {"男性人口", "Float", 0, 0},   {"女性人口", "Float", 0, 0},
            {"男性死亡率", "Float", 0, 0}, {"女性死亡率", "Float", 0, 0}, {"年龄别生育率", "Float", 0, 0}};
}

std::vector<int> states(const std::vector<Table_structure_info>& s)
{
    std::vector<int> out;
    for (const auto& f : s) out.push_back(f.State);
    return out;
}

TEST(TableStructure, ChangesAddInGridOrderAndDropInOldOrder)
{
    auto old_s = single_region();
    auto new_s = single_region();
    new_s.erase(new_s.begin() + 5);
    new_s.push_back({"备注", "Char", 12, 0});
    new_s.push_back({"权重", "Float", 0, 0});
    StructureChanges c = structure_changes(old_s, new_s);
    EXPECT_EQ(c.add_items, (std::vector<std::string>{"备注 Char(12)", "权重 Float"}));
    EXPECT_EQ(c.drop_names, (std::vector<std::string>{"年龄别生育率"}));
    EXPECT_EQ(states(new_s), (std::vector<int>{2, 2, 2, 2, 2, 1, 1}));
    EXPECT_EQ(states(old_s), (std::vector<int>{2, 2, 2, 2, 2, -1}));

    // Two old fields gone, listed in the old order whatever the grid's order.
    old_s = single_region();
    new_s = {{"女性死亡率", "Float", 0, 0}, {"年龄", "Integer", 0, 0}, {"男性人口", "Float", 0, 0},
             {"年龄别生育率", "Float", 0, 0}};
    c = structure_changes(old_s, new_s);
    EXPECT_TRUE(c.add_items.empty());
    EXPECT_EQ(c.drop_names, (std::vector<std::string>{"女性人口", "男性死亡率"}));
}

TEST(TableStructure, KeptNamesAreNeverAltered)
{
    // Identical: nothing at all.
    auto old_s = single_region();
    auto new_s = single_region();
    StructureChanges c = structure_changes(old_s, new_s);
    EXPECT_TRUE(c.add_items.empty());
    EXPECT_TRUE(c.drop_names.empty());
    // A changed type or width of a kept name is not applied.
    new_s[1].FieldType = "Char";
    new_s[1].Width = 20;
    c = structure_changes(old_s, new_s);
    EXPECT_TRUE(c.add_items.empty());
    EXPECT_TRUE(c.drop_names.empty());
    // A rename adds the new name with the row's type and drops the old one; names compare with case.
    new_s = single_region();
    new_s[2].FieldName = "女性人口2";
    new_s[0].FieldName = "年龄";
    c = structure_changes(old_s, new_s);
    EXPECT_EQ(c.add_items, (std::vector<std::string>{"女性人口2 Float"}));
    EXPECT_EQ(c.drop_names, (std::vector<std::string>{"女性人口"}));
    old_s = {{"a", "Integer", 0, 0}};
    new_s = {{"A", "Integer", 0, 0}};
    c = structure_changes(old_s, new_s);
    EXPECT_EQ(c.add_items, (std::vector<std::string>{"A Integer"}));
    EXPECT_EQ(c.drop_names, (std::vector<std::string>{"a"}));
}

TEST(TableStructure, RowsWithoutNameOrTypeAreNotAdded)
{
    auto old_s = single_region();
    auto new_s = single_region();
    new_s.push_back({"", "Float", 0, 0});
    new_s.push_back({"新", "", 0, 0});
    StructureChanges c = structure_changes(old_s, new_s);
    EXPECT_TRUE(c.add_items.empty());
    EXPECT_TRUE(c.drop_names.empty());
    EXPECT_EQ(new_s[6].State, 1);
    EXPECT_EQ(new_s[7].State, 1);
    // A grid of empty names drops every old field; the engine refuses the last of the drops.
    old_s = {{"a", "Integer", 0, 0}, {"b", "Float", 0, 0}};
    new_s = {{"", "", 0, 0}};
    c = structure_changes(old_s, new_s);
    EXPECT_EQ(c.drop_names, (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace vantelo::shell
