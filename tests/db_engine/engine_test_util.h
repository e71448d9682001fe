#pragma once
// Shared pieces of the table engine tests: a scratch folder per test and whole-file reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/errors.h"

namespace vantelo::db::testing_util {

class ScratchDir {
public:
    ScratchDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vantelo-db-XXXXXX").string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        if (!::mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
        dir_ = buf.data();
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    const std::string& dir() const { return dir_; }
    // The names of every file in the folder, sorted.
    std::vector<std::string> files() const
    {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir_)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::string dir_;
};

inline std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The message of the engine error f raises ("" when it raises none).
template <class F>
std::string error_of(F&& f)
{
    try {
        f();
    } catch (const vantelo::Error& e) {
        return e.what();
    }
    return "";
}

}  // namespace vantelo::db::testing_util
