#pragma once
// Writes a file through a temporary file in the same folder, renamed over the target when
// everything is written and flushed. A failure at any point leaves the target as it was and
// no stray file behind.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace vantelo::db {

void write_file_atomically(const std::string& path, const std::vector<unsigned char>& data);

// The same with the bytes produced in pieces: produce(put) calls put(bytes, size) as often as
// it likes, so a large file needs no buffer of its whole size. An exception from produce leaves
// the target as it was and no stray file behind.
using ByteSink = std::function<void(const unsigned char*, std::size_t)>;
void write_file_atomically_streamed(const std::string& path, const std::function<void(const ByteSink&)>& produce);

// Writes bytes at an offset of an existing file, in place (for a posted record); the file
// must already be at least offset bytes long. Raises EngineError on failure.
void write_in_place(const std::string& path, std::size_t offset, const unsigned char* data, std::size_t size);

bool file_exists(const std::string& path);

}  // namespace vantelo::db
