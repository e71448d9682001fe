#pragma once
// What the table engine tests share: a scratch folder removed with its object, whole-file
// reads and a short way to name a field.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/db/table_data.h"
#include "tests/common/temp_dir.h"

namespace vantelo::db::test_common {

// A fresh empty folder under the system temp folder, removed with everything in it.
class TempTableDir {
public:
    TempTableDir() : temp_("vantelo-db"), dir_(temp_.dir()) {}
    // The same under another folder (one in memory, /dev/shm, where flushing costs nothing).
    explicit TempTableDir(const std::string& base) : temp_("vantelo-db", base), dir_(temp_.dir()) {}

    const std::string& dir() const { return dir_; }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    // The names of every file in the folder, sorted.
    std::vector<std::string> files() const
    {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir_)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    std::size_t entries() const { return files().size(); }

private:
    vantelo::test_support::TempDir temp_;
    std::string dir_;
};

// The whole content of a file ("" / empty when it cannot be read).
inline std::string file_text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<unsigned char> file_bytes(const std::string& path)
{
    std::string s = file_text(path);
    return std::vector<unsigned char>(s.begin(), s.end());
}

inline FieldDef field(const std::string& name, FieldType type, int size = 0)
{
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    return f;
}

}  // namespace vantelo::db::test_common
