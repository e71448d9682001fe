#pragma once
// Helpers shared by the Paradox tests: temporary folders and whole-file reads.
#include "tests/db_common/temp_table_dir.h"

namespace pxtest {

using vantelo::db::test_common::file_bytes;
using TempDir = vantelo::db::test_common::TempTableDir;

}  // namespace pxtest
