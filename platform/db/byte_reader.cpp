#include "platform/db/byte_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>

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

namespace {

// The length of the UTF-8 sequence at p (at most n bytes) and its code point; 0 when the bytes
// there are not valid UTF-8.
std::size_t utf8_sequence(const unsigned char* p, std::size_t n, char32_t& cp)
{
    unsigned char c = p[0];
    std::size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || len > n) return 0;
    cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    static const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

int open_for_reading(const std::string& path, struct stat& st, int& err)
{
    err = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

namespace {

bool hidden_character(char32_t cp)
{
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || (cp >= 0x202A && cp <= 0x202E) ||
           (cp >= 0x2066 && cp <= 0x2069) || cp == 0x200E || cp == 0x200F || cp == 0x061C;
}

// Opens an existing regular table file for reading (open_for_reading), with the table's messages.
int open_regular(const std::string& path, struct stat& st)
{
    int err = 0;
    const int fd = open_for_reading(path, st, err);
    if (fd >= 0) return fd;
    if (err == 0) throw EngineError(shown_name(path) + " is not a regular file, so it cannot be opened as a table");
    if (err == ENOENT) throw EngineError("Table does not exist: " + shown_name(path));
    if (err == ENAMETOOLONG) throw EngineError("File name too long: " + shown_name(path));
    throw EngineError("Cannot open file " + shown_name(path) + ": " + std::strerror(err));
}

// Reads up to size bytes from offset of fd into p; returns the count read (less when the file
// was cut short meanwhile) or raises.
std::size_t read_at(int fd, std::size_t offset, unsigned char* p, std::size_t size, const std::string& path)
{
    std::size_t used = 0;
    while (used < size) {
        ssize_t n = ::pread(fd, p + used, size - used, static_cast<off_t>(offset + used));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            throw EngineError("Cannot read file " + shown_name(path) + ": " + std::strerror(err));
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    return used;
}

// The same from the start of the file, closing fd when it raises.
std::size_t read_up_to(int fd, unsigned char* p, std::size_t size, const std::string& path)
{
    try {
        return read_at(fd, 0, p, size, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
}

}  // namespace

std::string shown_name(std::string_view name)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    std::size_t chars = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(name.data());
    std::size_t i = 0;
    while (i < name.size()) {
        if (chars == 200) {
            out += "...";
            break;
        }
        char32_t cp = 0;
        std::size_t len = utf8_sequence(p + i, name.size() - i, cp);
        if (len == 0 || hidden_character(cp)) {
            for (std::size_t k = 0; k < (len == 0 ? 1 : len); ++k) {
                out += "\\x";
                out += digits[p[i + k] >> 4];
                out += digits[p[i + k] & 15];
            }
            i += len == 0 ? 1 : len;
        } else {
            out.append(name.substr(i, len));
            i += len;
        }
        ++chars;
    }
    return out;
}

namespace {

// Whether pred(len, cp) holds for a character of the text: len its length and cp its code point,
// len 0 for a byte that starts no valid UTF-8 sequence (then the next byte is looked at).
template <class Pred>
bool any_character(std::string_view text, Pred pred)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = utf8_sequence(p + i, text.size() - i, cp);
        if (pred(len, cp)) return true;
        i += len == 0 ? 1 : len;
    }
    return false;
}

}  // namespace

bool has_hidden_character(std::string_view text)
{
    return any_character(text, [](std::size_t len, char32_t cp) { return len != 0 && hidden_character(cp); });
}

bool valid_utf8(std::string_view text)
{
    return !any_character(text, [](std::size_t len, char32_t) { return len == 0; });
}

std::string file_label(const std::string& path)
{
    auto slash = path.find_last_of('/');
    return shown_name(slash == std::string::npos ? path : path.substr(slash + 1));
}

std::vector<unsigned char> read_whole_file(const std::string& path)
{
    struct stat st;
    int fd = open_regular(path, st);
    std::vector<unsigned char> data(static_cast<std::size_t>(st.st_size));
    data.resize(read_up_to(fd, data.data(), data.size(), path));
    ::close(fd);
    return data;
}

namespace {

// Reads the first `want` bytes of fd into p, a large file by up to four threads each taking a
// stretch of it: the copying and the first touch of the memory then go on side by side. Returns
// how many bytes were read from the start without a gap (fewer when the file was cut short
// meanwhile, as a single read finds it); raises the first read error.
std::size_t read_in_parallel(int fd, unsigned char* p, std::size_t want, const std::string& path)
{
    constexpr std::size_t kPerThread = std::size_t{8} << 20;
    const std::size_t hardware = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t parts = std::min<std::size_t>({4, hardware, want / kPerThread});
    if (parts < 2) return read_at(fd, 0, p, want, path);
    const std::size_t stretch = (want / parts + 4095) / 4096 * 4096;
    auto from = [&](std::size_t i) { return std::min(want, i * stretch); };
    auto length = [&](std::size_t i) { return std::min(want, from(i) + stretch) - from(i); };
    std::vector<std::size_t> got(parts, 0);
    std::vector<std::exception_ptr> failed(parts);
    std::vector<std::thread> threads;
    auto part = [&](std::size_t i) {
        try {
            got[i] = read_at(fd, from(i), p + from(i), length(i), path);
        } catch (...) {
            failed[i] = std::current_exception();
        }
    };
    try {
        for (std::size_t i = 1; i < parts; ++i) threads.emplace_back(part, i);
    } catch (const std::system_error&) {
        // No thread to spare: this thread reads what was not given out.
        for (std::size_t i = threads.size() + 1; i < parts; ++i) part(i);
    }
    part(0);
    for (std::thread& t : threads) t.join();
    for (const std::exception_ptr& e : failed)
        if (e) std::rethrow_exception(e);
    std::size_t size = 0;
    for (std::size_t i = 0; i < parts; ++i) {
        size = from(i) + got[i];
        if (got[i] < length(i)) break;
    }
    return size;
}

}  // namespace

std::size_t declared_part(int fd, std::size_t file_size, DeclaredSize declared, const std::string& path)
{
    if (!declared) return file_size;
    unsigned char head[kDeclaredHead];
    const std::size_t n = read_at(fd, 0, head, std::min(file_size, sizeof head), path);
    return std::min(file_size, declared(head, n, file_size));
}

FileBytes::FileBytes(const std::string& path, DeclaredSize declared)
{
    struct stat st;
    int fd = open_regular(path, st);
    std::size_t want;
    try {
        want = declared_part(fd, static_cast<std::size_t>(st.st_size), declared, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (want >= (1 << 20)) {
        void* p = ::mmap(nullptr, want, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p != MAP_FAILED) {
            buf_ = static_cast<unsigned char*>(p);
            capacity_ = want;
            try {
                size_ = read_in_parallel(fd, buf_, want, path);
            } catch (...) {
                ::close(fd);
                release();
                throw;
            }
            ::close(fd);
            return;
        }
    }
    copy_.resize(want);
    copy_.resize(read_up_to(fd, copy_.data(), want, path));
    ::close(fd);
    size_ = copy_.size();
}

FileReader::FileReader(const std::string& path) : path_(path)
{
    struct stat st;
    fd_ = open_regular(path, st);
    size_ = static_cast<std::size_t>(st.st_size);
}

FileReader::~FileReader() { ::close(fd_); }

std::size_t FileReader::read(std::size_t offset, unsigned char* p, std::size_t n)
{
    return read_at(fd_, offset, p, n, path_);
}

void FileBytes::release()
{
    if (buf_) ::munmap(buf_, capacity_);
    buf_ = nullptr;
    size_ = 0;
}

}  // namespace vantelo::db
