#include "platform/db/byte_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantelo::db {

void ByteReader::need(std::size_t n, const char* what) const
{
    if (n > size_ - offset_) fail_eof(what, size_);
}

void ByteReader::seek(std::size_t off, const char* what)
{
    if (off > size_) fail_eof(what, size_);
    offset_ = off;
}

void ByteReader::skip(std::size_t n, const char* what)
{
    need(n, what);
    offset_ += n;
}

std::uint8_t ByteReader::u8(const char* what)
{
    need(1, what);
    return data_[offset_++];
}

std::uint16_t ByteReader::u16le(const char* what)
{
    need(2, what);
    auto v = get_u16le(data_ + offset_);
    offset_ += 2;
    return v;
}

std::uint32_t ByteReader::u32le(const char* what)
{
    need(4, what);
    auto v = get_u32le(data_ + offset_);
    offset_ += 4;
    return v;
}

std::uint16_t ByteReader::u16be(const char* what)
{
    need(2, what);
    auto v = static_cast<std::uint16_t>((data_[offset_] << 8) | data_[offset_ + 1]);
    offset_ += 2;
    return v;
}

std::uint32_t ByteReader::u32be(const char* what)
{
    need(4, what);
    const unsigned char* p = data_ + offset_;
    auto v = (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
             (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
    offset_ += 4;
    return v;
}

const unsigned char* ByteReader::bytes(std::size_t n, const char* what)
{
    need(n, what);
    const unsigned char* p = data_ + offset_;
    offset_ += n;
    return p;
}

std::string ByteReader::cstring(std::size_t max, const char* what)
{
    std::string s;
    for (std::size_t i = 0; i < max; ++i) {
        unsigned char c = u8(what);
        if (c == 0) return s;
        s.push_back(static_cast<char>(c));
    }
    return s;
}

void ByteReader::fail_eof(const char* what, std::size_t at) const
{
    throw EngineError(label_ + ": " + what + ": unexpected end of file at byte " + std::to_string(at));
}

void ByteReader::fail(const std::string& message, std::size_t at) const
{
    throw EngineError(label_ + ": " + message + " at byte " + std::to_string(at));
}

std::string file_label(const std::string& path)
{
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<unsigned char> read_whole_file(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        int err = errno;
        if (err == ENOENT) throw EngineError("Table does not exist: " + path);
        throw EngineError("Cannot open file " + path + ": " + std::strerror(err));
    }
    // One read into a buffer of the file's size; a file that grows meanwhile is read on.
    std::vector<unsigned char> data;
    struct stat st;
    if (::fstat(::fileno(f), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t used = 0;
    while (used < data.size()) {
        std::size_t n = std::fread(data.data() + used, 1, data.size() - used, f);
        if (n == 0) break;
        used += n;
    }
    data.resize(used);
    unsigned char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    bool bad = std::ferror(f);
    std::fclose(f);
    if (bad) throw EngineError("Cannot read file " + path);
    return data;
}

FileBytes::FileBytes(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= (1 << 20)) {
        std::size_t want = static_cast<std::size_t>(st.st_size);
        void* p = ::mmap(nullptr, want, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p != MAP_FAILED) {
            ::madvise(p, want, MADV_HUGEPAGE);
            buf_ = static_cast<unsigned char*>(p);
            capacity_ = want;
            bool failed = false;
            while (size_ < want) {
                ssize_t n = ::read(fd, buf_ + size_, want - size_);
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) failed = true;
                if (n <= 0) break;
                size_ += static_cast<std::size_t>(n);
            }
            unsigned char probe;
            ssize_t more = failed ? 0 : ::read(fd, &probe, 1);
            ::close(fd);
            if (failed) {
                release();
                throw EngineError("Cannot read file " + path);
            }
            if (more == 0) return;
            release();  // it grew meanwhile: read it the ordinary way
            fd = -1;
        }
    }
    if (fd >= 0) ::close(fd);
    copy_ = read_whole_file(path);  // raises the usual "does not exist" or "cannot open"
    size_ = copy_.size();
}

void FileBytes::release()
{
    if (buf_) ::munmap(buf_, capacity_);
    buf_ = nullptr;
    size_ = 0;
}

}  // namespace vantelo::db
