#pragma once
// A fresh empty folder under the system temp folder for one test, removed with everything in it
// when the object goes.
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace vantelo::test_support {

class TempDir {
public:
    // Under the system temp folder, or under `base` when one is given (e.g. /dev/shm).
    explicit TempDir(const std::string& prefix = "vantelo", const std::string& base = {})
    {
        const std::filesystem::path under = base.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(base);
        std::string tmpl = (under / (prefix + "-XXXXXX")).string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        path_ = tmpl;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string dir() const { return path_.string(); }
    // The path of a file in the folder.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace vantelo::test_support
