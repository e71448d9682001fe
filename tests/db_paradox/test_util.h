#pragma once
// Helpers shared by the Paradox tests: temporary folders and whole-file reads.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

namespace pxtest {

inline std::vector<unsigned char> file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh folder under the system temp folder, removed with the object.
class TempDir {
public:
    TempDir()
    {
        auto base = std::filesystem::temp_directory_path();
        for (int i = 0;; ++i) {
            path_ = base / ("vantelo_px_" + std::to_string(::getpid()) + "_" + std::to_string(i));
            if (std::filesystem::create_directory(path_)) break;
        }
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

private:
    std::filesystem::path path_;
};

}  // namespace pxtest
