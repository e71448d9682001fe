#pragma once
// Table structures as the structure grids show them, and the statements that create a table
// from one or change a table from an old structure into a new one. Plain texts in, statement
// texts out; nothing here touches a file.
#include <string>
#include <vector>

namespace vantelo::shell {

// One field of a table structure being restructured: a row of the structure grid.
// FieldType is the type name of the grid ("Char", "Integer", "Float", "Boolean", "Date");
// Width is the integer value of the width cell for "Char" rows, else 0. State: 0 not yet
// matched, 2 the name is in both the old and the new structure, 1 a field to add, -1 a field
// to drop.
struct Table_structure_info {
    std::string FieldName;
    std::string FieldType;
    int Width = 0;
    int State = 0;
};

// The type names of the structure grids and of the field-type pop-up, in the pop-up's order.
inline const std::vector<std::string> structure_type_names = {"Integer", "Float", "Char", "Boolean", "Date"};

// The type name a letter key chooses in the type column: B/b "Boolean", C/c "Char", D/d "Date",
// F/f "Float", I/i "Integer"; any other character chooses nothing ("").
std::string type_for_key(char32_t key);

// Whether a grid row is complete enough for another row to follow it: a name and a type, and
// a width when the type is "Char".
bool structure_row_complete(const std::string& name, const std::string& type, const std::string& width);

// The field definition a row of the new-table grid gives: for type "Char" or "char"
// name + " " + type + "(" + width + ")"; for "Float", "Integer", "Date", "Boolean" (also with a
// lower-case initial) name + " " + type; for any other type text, an empty one included, an
// empty item (which the engine then refuses).
std::string create_table_item(const std::string& name, const std::string& type, const std::string& width);

// "Create table " + '"' + file + '"' + " (" + items joined by "," + ")".
std::string create_table_statement(const std::string& file, const std::vector<std::string>& items);

// "alter table " + '"' + table + '"' + " add " + item, and the same with " drop " + name.
std::string alter_add_statement(const std::string& table, const std::string& item);
std::string alter_drop_statement(const std::string& table, const std::string& name);

// What a restructure changes, by field name only (names compared exactly, with case):
// add_items are the definitions of the new structure's fields whose names the old one lacks
// and which have a name and a type, in the new structure's order, each name + " " + type and,
// for "Char", "(" + width + ")"; drop_names are the old fields whose names the new structure
// lacks, in the old order. A field whose name stays is never altered: a changed type or width
// in its row is not applied. States are set on both structures as described above
// (new: 2 or 1; old: 2 or -1).
struct StructureChanges {
    std::vector<std::string> add_items;
    std::vector<std::string> drop_names;
};
StructureChanges structure_changes(std::vector<Table_structure_info>& old_structure,
                                   std::vector<Table_structure_info>& new_structure);

}  // namespace vantelo::shell
