#pragma once
// pxlib as the independent reader of Paradox files in the tests. Its errors are recorded by
// our handler and raised as exceptions only after the C call has returned.
#include <cstdint>
#include <string>
#include <vector>

namespace pxtest {

struct PxField {
    std::string name;     // raw bytes in the file's code page
    int type = 0;         // pxlib's field type code
    int len = 0;
    int decimals = 0;
};

struct PxCell {
    bool null = true;
    std::int64_t l = 0;   // short, long, autoinc, date, time, logical
    double d = 0;         // number, money, timestamp
    std::string s;        // alpha, memo, BCD, bytes (raw bytes)
    std::string text;     // date as yyyy-mm-dd, time as H:i:s, timestamp as Y-m-d H:i:s (pxlib's own)
    bool failed = false;  // pxlib reported an error while reading this value
};

struct PxTable {
    int version = 0;      // 30, 35, 40, 50, 70
    int file_type = 0;
    int num_records = 0;
    int code_page = 0;
    int auto_inc = 0;
    std::string table_name;
    std::vector<PxField> fields;
    std::vector<std::vector<PxCell>> records;
};

// Reads every record; raises std::runtime_error with pxlib's messages when it cannot open.
PxTable px_read(const std::string& path);

}  // namespace pxtest
