#include "platform/db/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/errors.h"

namespace vantelo::db {
namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path, int err)
{
    throw EngineError(what + " " + path + ": " + std::strerror(err));
}

bool write_all(int fd, const unsigned char* p, std::size_t n)
{
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

}  // namespace

bool file_exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

void write_file_atomically(const std::string& path, const std::vector<unsigned char>& data)
{
    write_file_atomically_streamed(path, [&](const ByteSink& put) { put(data.data(), data.size()); });
}

void write_file_atomically_streamed(const std::string& path, const std::function<void(const ByteSink&)>& produce)
{
    std::string dir = ".";
    auto slash = path.find_last_of('/');
    if (slash != std::string::npos) dir = slash == 0 ? "/" : path.substr(0, slash);
    std::string tmpl = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".vantelo-XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) fail("Cannot create file in", dir, errno);
    std::string tmp(name.data());
    // Keep the permissions of a file being replaced.
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
    else ::fchmod(fd, 0644);
    bool ok = true;
    int err = 0;
    try {
        produce([&](const unsigned char* p, std::size_t n) {
            if (ok && !write_all(fd, p, n)) {
                ok = false;
                err = errno;
            }
        });
    } catch (...) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw;
    }
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok || ::rename(tmp.c_str(), path.c_str()) != 0) {
        if (ok) err = errno;
        ::unlink(tmp.c_str());
        fail("Cannot write file", path, err);
    }
}

void write_in_place(const std::string& path, std::size_t offset, const unsigned char* data, std::size_t size)
{
    int fd = ::open(path.c_str(), O_WRONLY);
    if (fd < 0) fail("Cannot open file for writing", path, errno);
    bool ok = ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset) &&
              write_all(fd, data, size);
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) fail("Cannot write file", path, err);
}

}  // namespace vantelo::db
