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
#include "platform/db/dataset.h"
#include "tests/db_common/temp_table_dir.h"

namespace vantelo::db::testing_util {

using ScratchDir = test_common::TempTableDir;

// The whole file as a string of bytes.
inline std::string file_bytes(const std::string& path) { return test_common::file_text(path); }

// A path between double quotation marks, as the statements take it.
inline std::string q(const std::string& path) { return "\"" + path + "\""; }

// Creates the table at path (its extension names the format) with the fields AGE integer and
// POP float, and appends n records through a dataset: AGE i, POP 100 + i.
inline void create_age_table(const std::string& path, int n)
{
    execute_statement("Create table \"" + path + "\" (AGE integer, POP float)");
    Dataset ds;
    ds.set_table_name(path);
    ds.open();
    for (int i = 0; i < n; ++i) {
        ds.append();
        ds.field(0).set_as_integer(i);
        ds.field(1).set_as_float(100 + i);
        ds.post();
    }
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
