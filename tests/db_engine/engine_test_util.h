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
#include "tests/db_common/temp_table_dir.h"

namespace vantelo::db::testing_util {

using ScratchDir = test_common::TempTableDir;

// The whole file as a string of bytes.
inline std::string file_bytes(const std::string& path) { return test_common::file_text(path); }

// A path between double quotation marks, as the statements take it.
inline std::string q(const std::string& path) { return "\"" + path + "\""; }

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
