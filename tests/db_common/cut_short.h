#pragma once
// Reads a table 40 times while another thread keeps cutting its file short and writing it
// again: every read must give the whole table or a clear error, never a crash.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/errors.h"
#include "platform/db/table_data.h"

namespace vantelo::db::test_common {

template <class Reader>
void read_while_cut_short(const std::string& path, const std::vector<unsigned char>& bytes, std::size_t records,
                          Reader read)
{
    auto put_whole = [&] {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    put_whole();
    std::atomic<bool> done{false};
    std::thread other([&] {
        while (!done) {
            ::truncate(path.c_str(), 4096);
            ::truncate(path.c_str(), 0);
            put_whole();
        }
    });
    int whole = 0, refused = 0;
    for (int i = 0; i < 40; ++i) {
        try {
            TableData back = read(path);
            EXPECT_EQ(back.records.size(), records);
            ++whole;
        } catch (const Error&) {
            ++refused;
        }
    }
    done = true;
    other.join();
    EXPECT_EQ(whole + refused, 40);
}

}  // namespace vantelo::db::test_common
