#include "shell/engine/table_structure.h"

#include <algorithm>

namespace vantelo::shell {

std::string type_for_key(char32_t key)
{
    switch (key) {
    case U'B':
    case U'b': return "Boolean";
    case U'C':
    case U'c': return "Char";
    case U'D':
    case U'd': return "Date";
    case U'F':
    case U'f': return "Float";
    case U'I':
    case U'i': return "Integer";
    default: return {};
    }
}

bool structure_row_complete(const std::string& name, const std::string& type, const std::string& width)
{
    if (name.empty() || type.empty()) return false;
    return type != "Char" || !width.empty();
}

std::string create_table_item(const std::string& name, const std::string& type, const std::string& width)
{
    if (type == "Char" || type == "char") return name + " " + type + "(" + width + ")";
    static const char* const plain[] = {"Float", "float", "Integer", "integer", "Date", "date", "Boolean", "boolean"};
    for (const char* t : plain)
        if (type == t) return name + " " + type;
    return {};
}

std::string create_table_statement(const std::string& file, const std::vector<std::string>& items)
{
    std::string s = "Create table \"" + file + "\" (";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) s += ',';
        s += items[i];
    }
    return s + ")";
}

std::string alter_add_statement(const std::string& table, const std::string& item)
{
    return "alter table \"" + table + "\" add " + item;
}

std::string alter_drop_statement(const std::string& table, const std::string& name)
{
    return "alter table \"" + table + "\" drop " + name;
}

namespace {
bool has_name(const std::vector<Table_structure_info>& s, const std::string& name)
{
    return std::any_of(s.begin(), s.end(), [&](const Table_structure_info& f) { return f.FieldName == name; });
}
}  // namespace

StructureChanges structure_changes(std::vector<Table_structure_info>& old_structure,
                                   std::vector<Table_structure_info>& new_structure)
{
    StructureChanges out;
    for (auto& f : new_structure) {
        f.State = has_name(old_structure, f.FieldName) ? 2 : 1;
        if (f.State == 1 && !f.FieldName.empty() && !f.FieldType.empty()) {
            std::string item = f.FieldName + " " + f.FieldType;
            if (f.FieldType == "Char") item += "(" + std::to_string(f.Width) + ")";
            out.add_items.push_back(item);
        }
    }
    for (auto& f : old_structure) {
        f.State = has_name(new_structure, f.FieldName) ? 2 : -1;
        if (f.State == -1) out.drop_names.push_back(f.FieldName);
    }
    return out;
}

}  // namespace vantelo::shell
