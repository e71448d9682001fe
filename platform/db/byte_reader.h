#pragma once
// One reader for every byte of a table file: it tracks the offset, checks the end of the data
// on every read and names the file and the offset in its errors. Byte order is explicit.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/errors.h"

namespace vantelo::db {

class ByteReader {
public:
    ByteReader(std::string file_label, const std::vector<unsigned char>& data)
        : label_(std::move(file_label)), data_(data.data()), size_(data.size()) {}
    ByteReader(std::string file_label, const unsigned char* data, std::size_t size)
        : label_(std::move(file_label)), data_(data), size_(size) {}

    std::size_t offset() const { return offset_; }
    std::size_t size() const { return size_; }
    std::size_t remaining() const { return size_ - offset_; }
    void seek(std::size_t off, const char* what = "data");
    void skip(std::size_t n, const char* what = "data");

    std::uint8_t u8(const char* what = "data");
    std::uint16_t u16le(const char* what = "data");
    std::uint32_t u32le(const char* what = "data");
    std::uint16_t u16be(const char* what = "data");
    std::uint32_t u32be(const char* what = "data");
    // n raw bytes from the current offset.
    const unsigned char* bytes(std::size_t n, const char* what = "data");
    // Bytes up to (not including) a NUL, at most max bytes; the NUL is consumed.
    std::string cstring(std::size_t max, const char* what = "data");

    // Raises "<file>: <what>: unexpected end of file at byte N".
    [[noreturn]] void fail_eof(const char* what, std::size_t at) const;
    // Raises "<file>: <message> at byte N".
    [[noreturn]] void fail(const std::string& message, std::size_t at) const;
    [[noreturn]] void fail(const std::string& message) const { fail(message, offset_); }
    const std::string& label() const { return label_; }

private:
    void need(std::size_t n, const char* what) const;
    std::string label_;
    const unsigned char* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

// Little-endian and big-endian helpers on raw buffers.
inline std::uint16_t get_u16le(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t get_u32le(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void put_u16le(unsigned char* p, std::uint16_t v) { p[0] = v & 0xFF; p[1] = v >> 8; }
inline void put_u32le(unsigned char* p, std::uint32_t v)
{
    p[0] = v & 0xFF; p[1] = (v >> 8) & 0xFF; p[2] = (v >> 16) & 0xFF; p[3] = v >> 24;
}

// Reads a whole file into memory, never more than the size it has when opened; a missing or
// unreadable file, or one that is not a regular file (a folder, a FIFO, a device), raises an
// EngineError naming it.
std::vector<unsigned char> read_whole_file(const std::string& path);

// A path or file name as messages show it: control characters (C0 and C1), bidirectional
// controls and bytes that are not valid UTF-8 as hex ("\x01"), and at most 200 characters
// (the rest replaced by "...").
std::string shown_name(std::string_view name);

// Whether a text holds a character that a name must not hide: a control character (C0 or C1)
// or a bidirectional control. Bytes that are not valid UTF-8 (a GBK name) are not such
// characters.
bool has_hidden_character(std::string_view text);

// Whether bytes are valid UTF-8.
bool valid_utf8(std::string_view text);

// The last path component, for messages (as shown_name shows it).
std::string file_label(const std::string& path);

// How much of a table file its format declares, worked out from the file's first bytes: given
// them (the first kDeclaredHead bytes, fewer when the file is shorter) and the file's size, how
// many bytes from the start to read. A reader given it reads no more than that (and never more
// than the file has): what a file holds after what its header declares is not read at all.
constexpr std::size_t kDeclaredHead = 32;
using DeclaredSize = std::size_t (*)(const unsigned char* head, std::size_t n, std::size_t file_size);

// The bytes of the open file fd (of file_size bytes) to read: what declared gives from its
// first bytes, or the whole file without it. Raises as a read of the file does.
std::size_t declared_part(int fd, std::size_t file_size, DeclaredSize declared, const std::string& path);

// The bytes of a table file, copied into memory rather than mapped: a file cut short by another
// program while it is read reads as truncated instead of ending the program, and a change
// another program makes later does not show through into the table as it was read. A large
// file goes into memory of its own mapping, given back whole with the bytes, and is read by a
// few threads side by side. (Huge pages were measured: zeroing them cost more than the faults
// they save.)
// Opens path for reading without ever waiting (a FIFO's open does not wait for its writer):
// the descriptor of a regular file, st its status; else -1, with err the open's errno, or 0
// when the file is not a regular file (a folder, a FIFO, a device). Every reader of the
// program's files opens them this way and words the refusal for the kind of file it reads.
int open_for_reading(const std::string& path, struct stat& st, int& err);

class FileBytes {
public:
    // With declared, only the part of the file its format declares.
    explicit FileBytes(const std::string& path, DeclaredSize declared = nullptr);
    // Bytes already in memory, kept as they are.
    explicit FileBytes(std::vector<unsigned char> bytes) : size_(bytes.size()), copy_(std::move(bytes)) {}
    ~FileBytes() { release(); }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    const unsigned char* data() const { return buf_ ? buf_ : copy_.data(); }
    std::size_t size() const { return size_; }

private:
    void release();
    unsigned char* buf_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
    std::vector<unsigned char> copy_;
};

// A table file read a piece at a time, for a reader that decodes its records as they come
// rather than holding the whole file. Opening refuses what FileBytes refuses, with the same
// messages.
class FileReader {
public:
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    // The size the file had when opened.
    std::size_t size() const { return size_; }
    // Up to n bytes from offset into p; the count read, fewer when the file now ends sooner
    // (cut short by another program).
    std::size_t read(std::size_t offset, unsigned char* p, std::size_t n);

private:
    std::string path_;
    int fd_ = -1;
    std::size_t size_ = 0;
};

}  // namespace vantelo::db
