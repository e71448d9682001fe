#include "platform/db/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>
#include <thread>

#include "platform/core/errors.h"
#include "platform/db/byte_reader.h"

namespace vantelo::db {
namespace {

WriteFaultHook& fault_hook()
{
    static WriteFaultHook hook;
    return hook;
}

// Whether the test hook makes this call fail (errno set).
bool faulted(const char* call)
{
    if (!fault_hook()) return false;
    int e = fault_hook()(call);
    if (e == 0) return false;
    errno = e;
    return true;
}

ssize_t sys_write(int fd, const void* p, std::size_t n) { return faulted("write") ? -1 : ::write(fd, p, n); }
ssize_t sys_pwrite(int fd, const void* p, std::size_t n, off_t at)
{
    return faulted("pwrite") ? -1 : ::pwrite(fd, p, n, at);
}
int sys_ftruncate(int fd, off_t n) { return faulted("ftruncate") ? -1 : ::ftruncate(fd, n); }
int sys_fsync(int fd) { return faulted("fsync") ? -1 : ::fsync(fd); }
int sys_fdatasync(int fd) { return faulted("fdatasync") ? -1 : ::fdatasync(fd); }
int sys_fchmod(int fd, mode_t m) { return faulted("fchmod") ? -1 : ::fchmod(fd, m); }
int sys_fchown(int fd, uid_t u, gid_t g) { return faulted("fchown") ? -1 : ::fchown(fd, u, g); }
int sys_rename(const char* a, const char* b) { return faulted("rename") ? -1 : ::rename(a, b); }
// A rename onto a name that must still be free: a file another program made there since the
// change began is never replaced (EEXIST). Where the file system cannot tell, a plain rename.
int sys_rename_new(const char* a, const char* b)
{
    if (faulted("rename")) return -1;
    int r = ::renameat2(AT_FDCWD, a, AT_FDCWD, b, RENAME_NOREPLACE);
    if (r != 0 && (errno == EINVAL || errno == ENOSYS)) r = ::rename(a, b);
    return r;
}
int sys_link(const char* a, const char* b) { return faulted("link") ? -1 : ::link(a, b); }
int sys_unlink(const char* a) { return faulted("unlink") ? -1 : ::unlink(a); }

[[noreturn]] void fail(const std::string& what, const std::string& path, int err)
{
    throw EngineError(what + " " + shown_name(path) + ": " + std::strerror(err));
}

bool write_all(int fd, const unsigned char* p, std::size_t n)
{
    while (n > 0) {
        ssize_t w = sys_write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

bool pwrite_all(int fd, const unsigned char* p, std::size_t n, std::size_t at)
{
    while (n > 0) {
        ssize_t w = sys_pwrite(fd, p, n, static_cast<off_t>(at));
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        at += static_cast<std::size_t>(w);
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

std::string folder_of(const std::string& path)
{
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

constexpr const char* kTempPrefix = ".vantelo-";
constexpr std::size_t kTempPrefixLength = 9;

bool is_our_temporary(const char* name)
{
    if (std::strncmp(name, kTempPrefix, kTempPrefixLength) != 0 || std::strlen(name) != kTempPrefixLength + 6)
        return false;
    for (const char* p = name + kTempPrefixLength; *p; ++p) {
        char c = *p;
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

// A new temporary file in the folder (dirfd open on it), locked as live before anyone
// cleaning the folder can see it: the cleaner holds the folder's lock exclusively. A failure
// raises `what` and the target's name with the reason (a missing folder named as such).
int create_temporary(const std::string& folder, int dirfd, std::string& name, const char* what,
                     const std::string& target)
{
    std::string tmpl = (folder == "/" ? std::string("/") : folder + "/") + kTempPrefix + "XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (dirfd >= 0) ::flock(dirfd, LOCK_SH);
    int fd = ::mkostemp(buf.data(), O_CLOEXEC);
    int err = errno;
    if (fd >= 0) ::flock(fd, LOCK_EX | LOCK_NB);
    if (dirfd >= 0) ::flock(dirfd, LOCK_UN);
    if (fd < 0 && (err == ENOENT || err == ENOTDIR))
        throw EngineError(std::string(what) + " " + shown_name(target) + ": the folder " + shown_name(folder) +
                          " does not exist");
    if (fd < 0) fail(what, target, err);
    name = buf.data();
    return fd;
}

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release()
    {
        int f = fd_;
        fd_ = -1;
        return f;
    }

private:
    int fd_;
};

int open_folder(const std::string& folder) { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

// Writes what produce makes to the temporary file fd and flushes it; false, with err set, when
// a call fails. An exception from produce is passed on.
bool fill_temporary(int fd, const std::function<void(const ByteSink&)>& produce, int& err)
{
    bool ok = true;
    // A large file is handed to the disk while the rest is still being made, so that the
    // flush at the end waits only for its last part (a hint: its failure is not an error, the
    // flush reports any).
    constexpr off_t kStartWriteback = 8 << 20;
    off_t written = 0, handed = 0;
    produce([&](const unsigned char* p, std::size_t n) {
        if (ok && !write_all(fd, p, n)) {
            ok = false;
            err = errno;
        }
        written += static_cast<off_t>(n);
        if (ok && written - handed >= kStartWriteback) {
            ::sync_file_range(fd, handed, written - handed, SYNC_FILE_RANGE_WRITE);
            handed = written;
        }
    });
    if (ok && sys_fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    return ok;
}

// fill_temporary, where a failure (or an exception from produce) closes and removes the
// temporary file tmp and raises, naming target.
void fill_or_discard(int fd, const std::string& tmp, const std::string& target,
                     const std::function<void(const ByteSink&)>& produce)
{
    int err = 0;
    bool ok = false;
    try {
        ok = fill_temporary(fd, produce, err);
    } catch (...) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw;
    }
    if (!ok) {
        ::close(fd);
        ::unlink(tmp.c_str());
        fail("Cannot write file", target, err);
    }
}

// Writes a new file's bytes to the temporary file fd, flushes and closes it, then renames it to
// target and flushes the folder. Any failure removes the temporary file and raises.
void finish_temporary(int fd, const std::string& tmp, const std::string& target, int dirfd,
                      const std::function<void(const ByteSink&)>& produce)
{
    fill_or_discard(fd, tmp, target, produce);
    int err = 0;
    bool ok = true;
    if (::close(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (ok && sys_rename(tmp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        fail("Cannot write file", target, err);
    }
    // The new file is in place; flushing the folder makes the rename survive a power cut. Its
    // failure is not reported as a failed write, since the file has changed.
    if (dirfd >= 0) sys_fsync(dirfd);
}

// A file of several hard links is not replaced: a new file renamed over one of its names would
// separate them.
void refuse_several_links(const struct stat& st, const std::string& given)
{
    if (st.st_nlink > 1)
        throw EngineError(shown_name(given) + " has " + std::to_string(st.st_nlink) +
                          " hard links; replacing it would separate them, so it was left as it is");
}

// A temporary file for the new bytes of the existing file st (named given in messages), with
// its owner and permissions.
int temporary_like(const struct stat& st, const std::string& given, const std::string& folder, int dirfd,
                   std::string& tmp)
{
    int fd = create_temporary(folder, dirfd, tmp, "Cannot write file", given);
    auto give_up = [&](const char* what) {
        int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        throw EngineError(shown_name(given) + ": " + what + " (" + std::strerror(err) + "); it was left as it is");
    };
    struct stat tst;
    if (::fstat(fd, &tst) != 0) give_up("cannot create the new file");
    if ((tst.st_uid != st.st_uid || tst.st_gid != st.st_gid) && sys_fchown(fd, st.st_uid, st.st_gid) != 0)
        give_up("the new file cannot keep the owner of the old one");
    if (sys_fchmod(fd, st.st_mode & 07777) != 0) give_up("the new file cannot keep the permissions of the old one");
    return fd;
}

// A temporary file for a new file at path.
int temporary_for_new(const std::string& path, const std::string& folder, int dirfd, std::string& tmp)
{
    int fd = create_temporary(folder, dirfd, tmp, "Cannot create file", path);
    if (sys_fchmod(fd, 0644) != 0) {
        int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        fail("Cannot set the permissions of", path, err);
    }
    return fd;
}

// A name of the temporaries' pattern in folder that nothing has now.
std::string unused_temporary_name(const std::string& folder)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    for (;;) {
        std::string name = (folder == "/" ? std::string("/") : folder + "/") + kTempPrefix;
        for (int i = 0; i < 6; ++i) name += letters[random() % (sizeof letters - 1)];
        struct stat st;
        if (::lstat(name.c_str(), &st) != 0 && errno == ENOENT) return name;
    }
}

thread_local FileSetChange* joined_change = nullptr;

}  // namespace

void set_write_fault_hook(WriteFaultHook hook) { fault_hook() = std::move(hook); }

void check_file_name(const std::string& name, const std::string& noun)
{
    const auto slash = name.find_last_of('/');
    const std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
    if (file.empty() || file == "." || file == "..")
        throw EngineError("Invalid " + noun + " name (no file name): " + shown_name(name));
    if (has_hidden_character(name))
        throw EngineError("Invalid " + noun + " name (control character): " + shown_name(name));
}

bool file_exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

void remove_stale_temporaries(const std::string& path)
{
    Fd dir(open_folder(folder_of(path)));
    if (dir.get() < 0) return;
    // Where the folder cannot be locked, a live writer cannot be told from a dead one.
    if (::flock(dir.get(), LOCK_EX) != 0) return;
    int listing = ::dup(dir.get());
    if (listing < 0) return;
    DIR* d = ::fdopendir(listing);
    if (!d) {
        ::close(listing);
        return;
    }
    while (dirent* e = ::readdir(d)) {
        if (!is_our_temporary(e->d_name)) continue;
        struct stat st;
        if (::fstatat(dir.get(), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid())
            continue;
        Fd f(::openat(dir.get(), e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (f.get() < 0) continue;
        struct stat fst;
        if (::flock(f.get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(f.get(), &fst) != 0 || fst.st_ino != st.st_ino ||
            fst.st_dev != st.st_dev)
            continue;   // held by a live writer
        ::unlinkat(dir.get(), e->d_name, 0);
    }
    ::closedir(d);
}

void write_file_atomically(const std::string& path, const std::vector<unsigned char>& data, const char* kind)
{
    write_file_atomically_streamed(path, [&](const ByteSink& put) { put(data.data(), data.size()); }, {}, kind);
}

void write_file_atomically_streamed(const std::string& path, const std::function<void(const ByteSink&)>& produce,
                                    const CurrentCheck& check, const char* kind)
{
    if (joined_change) {
        joined_change->write(path, produce, check, kind);
        return;
    }
    FileSetChange change;
    change.write(path, produce, check, kind);
    change.commit();
}

FileChange::FileChange(const std::string& path, const char* kind) : given_(path)
{
    check_file_name(path);
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + seconds(5);
    // The temporaries of a killed writer go before the file is locked: one may be a second link
    // to this very file (an old file kept while a change of several files was made), which
    // would look held by our own lock and then count as a hard link of the file.
    {
        char buf[PATH_MAX];
        if (::realpath(path.c_str(), buf)) remove_stale_temporaries(buf);
    }
    for (;;) {
        char buf[PATH_MAX];
        if (!::realpath(path.c_str(), buf)) fail("Cannot open file for writing", path, errno);
        real_ = buf;
        struct stat st;
        if (::stat(real_.c_str(), &st) != 0) fail("Cannot open file for writing", path, errno);
        if (!S_ISREG(st.st_mode))
            throw EngineError(shown_name(path) + " is not a regular file, so it cannot be written as a " + kind);
        Fd fd(::open(real_.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
        if (fd.get() < 0) fail("Cannot open file for writing", path, errno);
        if (::fstat(fd.get(), &st_) != 0) fail("Cannot open file for writing", path, errno);
        if (!S_ISREG(st_.st_mode))
            throw EngineError(shown_name(path) + " is not a regular file, so it cannot be written as a " + kind);
        // The superuser may write anything; a file without write permission still means "keep".
        if (::geteuid() == 0 && (st_.st_mode & 0222) == 0) fail("Cannot open file for writing", path, EACCES);
        bool locked = false;
        while (!locked) {
            if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
                locked = true;
            } else if (errno == EWOULDBLOCK || errno == EINTR) {
                if (steady_clock::now() > deadline)
                    throw EngineError(shown_name(path) +
                                      " is being written by another program; nothing was written, try again later");
                std::this_thread::sleep_for(milliseconds(20));
            } else {
                break;   // a file system without locks: write as before
            }
        }
        // Another writer may have replaced the file while we waited: lock the new one.
        struct stat now;
        if (locked && (::stat(real_.c_str(), &now) != 0 || now.st_ino != st_.st_ino || now.st_dev != st_.st_dev)) {
            if (steady_clock::now() > deadline)
                throw EngineError(shown_name(path) +
                                  " is being written by another program; nothing was written, try again later");
            continue;
        }
        fd_ = fd.release();
        break;
    }
    original_size_ = st_.st_size;
}

FileChange::~FileChange()
{
    if (!saved_.empty()) undo();
    if (fd_ >= 0) ::close(fd_);
}

const std::vector<unsigned char>& FileChange::bytes(DeclaredSize declared)
{
    if (read_) return bytes_;
    bytes_.resize(declared_part(fd_, static_cast<std::size_t>(original_size_), declared, given_));
    std::size_t used = 0;
    while (used < bytes_.size()) {
        ssize_t n = ::pread(fd_, bytes_.data() + used, bytes_.size() - used, static_cast<off_t>(used));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail("Cannot read file", given_, errno);
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    bytes_.resize(used);
    read_ = true;
    return bytes_;
}

void FileChange::write_at(std::size_t offset, const unsigned char* data, std::size_t size)
{
    Saved s{offset, {}};
    const std::size_t have = static_cast<std::size_t>(original_size_);
    if (offset < have) {
        s.bytes.resize(std::min(size, have - offset));
        std::size_t used = 0;
        while (used < s.bytes.size()) {
            ssize_t n = ::pread(fd_, s.bytes.data() + used, s.bytes.size() - used, static_cast<off_t>(offset + used));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                int err = n < 0 ? errno : EIO;
                undo();
                fail("Cannot read file", given_, err);
            }
            used += static_cast<std::size_t>(n);
        }
    }
    saved_.push_back(std::move(s));
    if (!pwrite_all(fd_, data, size, offset)) {
        int err = errno;
        undo();
        fail("Cannot write file", given_, err);
    }
}

void FileChange::flush()
{
    if (sys_fdatasync(fd_) != 0) {
        int err = errno;
        undo();
        fail("Cannot write file", given_, err);
    }
}

void FileChange::commit()
{
    flush();
    saved_.clear();
}

void FileChange::undo() noexcept
{
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
        pwrite_all(fd_, it->bytes.data(), it->bytes.size(), it->offset);
    struct stat st;
    if (::fstat(fd_, &st) == 0 && st.st_size > original_size_) sys_ftruncate(fd_, original_size_);
    sys_fdatasync(fd_);
    saved_.clear();
}

void FileChange::replace(const std::function<void(const ByteSink&)>& produce)
{
    refuse_several_links(st_, given_);
    const std::string folder = folder_of(real_);
    Fd dir(open_folder(folder));
    std::string tmp;
    int fd = temporary_like(st_, given_, folder, dir.get(), tmp);
    finish_temporary(fd, tmp, real_, dir.get(), produce);
}

struct FileSetChange::Step {
    bool removal = false;
    std::string target;                 // the name the step changes (a write: the real file)
    std::string folder;
    std::unique_ptr<FileChange> lock;   // the existing file, locked; none for a new file
    std::string temp;                   // a write: the new bytes, until renamed over target
    int temp_fd = -1;
    std::string backup;                 // the old file, once the step is done (or about to be)
    int backup_fd = -1;                 // a copy of it, where the folder takes no hard link
    bool done = false;
};

FileSetChange::FileSetChange() = default;

FileSetChange::~FileSetChange()
{
    if (!committed_) discard();
}

namespace {

// The name a file is known by in one change: its device and inode when it exists (a symbolic
// link followed), else its absolute path.
std::string identity_of(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    std::error_code ec;
    return std::filesystem::absolute(path, ec).lexically_normal().string();
}

}  // namespace

void FileSetChange::write(const std::string& path, const std::vector<unsigned char>& data, const char* kind)
{
    write(path, [&](const ByteSink& put) { put(data.data(), data.size()); }, {}, kind);
}

void FileSetChange::write(const std::string& path, const std::function<void(const ByteSink&)>& produce,
                          const CurrentCheck& check, const char* kind)
{
    check_file_name(path);
    check_not_named(path);
    Step s;
    struct stat lst;
    if (::lstat(path.c_str(), &lst) == 0) {
        s.lock = std::make_unique<FileChange>(path, kind);
        refuse_several_links(s.lock->st_, path);
        s.target = s.lock->path();
    } else {
        if (errno != ENOENT) fail("Cannot write file", path, errno);
        s.target = path;
        remove_stale_temporaries(path);
    }
    s.folder = folder_of(s.target);
    if (check) check();
    Fd dir(open_folder(s.folder));
    s.temp_fd = s.lock ? temporary_like(s.lock->st_, path, s.folder, dir.get(), s.temp)
                       : temporary_for_new(path, s.folder, dir.get(), s.temp);
    fill_or_discard(s.temp_fd, s.temp, s.target, produce);
    steps_.push_back(std::move(s));
}

void FileSetChange::remove(const std::string& path)
{
    struct stat lst;
    if (::lstat(path.c_str(), &lst) != 0) {
        if (errno == ENOENT) return;
        fail("Cannot remove file", path, errno);
    }
    check_not_named(path);
    Step s;
    s.removal = true;
    s.lock = std::make_unique<FileChange>(path);
    s.target = path;
    s.folder = folder_of(path);
    steps_.push_back(std::move(s));
}

void FileSetChange::check_not_named(const std::string& path) const
{
    const std::string id = identity_of(path);
    for (const Step& o : steps_)
        if (identity_of(o.target) == id)
            throw EngineError(shown_name(path) + " would be changed twice in one change; nothing was written");
}

namespace {

// Keeps the old file of a write step under a temporary name beside it: a second hard link, or
// where the folder takes none a flushed copy (locked, as a live temporary, by copy_fd). False
// with err set when neither can be made.
bool keep_old_file(const std::string& target, const std::string& folder, const FileChange& lock, int lock_fd,
                   const struct stat& st, std::string& backup, int& copy_fd, int& err)
{
    for (;;) {
        std::string name = unused_temporary_name(folder);
        if (sys_link(target.c_str(), name.c_str()) == 0) {
            backup = name;
            return true;
        }
        if (errno == EEXIST) continue;
        if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK && errno != EXDEV) {
            err = errno;
            return false;
        }
        break;
    }
    Fd dir(open_folder(folder));
    std::string copy;
    int fd = -1;
    try {
        fd = temporary_like(st, lock.path(), folder, dir.get(), copy);
    } catch (const EngineError&) {
        err = errno ? errno : EIO;
        return false;
    }
    bool ok = false;
    try {
        ok = fill_temporary(fd, [&](const ByteSink& put) {
            std::vector<unsigned char> buf(1 << 20);
            for (off_t at = 0;;) {
                ssize_t n = ::pread(lock_fd, buf.data(), buf.size(), at);
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) throw std::system_error(errno, std::generic_category());
                if (n == 0) break;
                put(buf.data(), static_cast<std::size_t>(n));
                at += n;
            }
        }, err);
    } catch (const std::system_error& e) {
        err = e.code().value();
    }
    if (!ok) {
        ::close(fd);
        ::unlink(copy.c_str());
        return false;
    }
    backup = copy;
    copy_fd = fd;
    return true;
}

}  // namespace

void FileSetChange::commit()
{
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        Step& s = steps_[i];
        int err = 0;
        bool ok = true;
        if (s.removal) {
            s.backup = unused_temporary_name(s.folder);
            if (sys_rename(s.target.c_str(), s.backup.c_str()) != 0) {
                ok = false;
                err = errno;
                s.backup.clear();
            }
        } else {
            // The old file is kept while a later step may still fail.
            if (s.lock && i + 1 < steps_.size()) {
                ok = keep_old_file(s.target, s.folder, *s.lock, s.lock->fd_, s.lock->st_, s.backup, s.backup_fd, err);
            }
            if (ok && (s.lock ? sys_rename(s.temp.c_str(), s.target.c_str())
                              : sys_rename_new(s.temp.c_str(), s.target.c_str())) != 0) {
                ok = false;
                err = errno;
            }
        }
        if (!ok) {
            const std::string what = s.removal ? "Cannot remove file" : "Cannot write file";
            const std::string target = s.target;
            undo(i);
            discard();
            committed_ = true;
            fail(what, target, err);
        }
        s.done = true;
        s.temp.clear();
    }
    committed_ = true;
    // Every step is in place. Flushing the folders makes the renames survive a power cut; the
    // old files go. Neither failure is reported, since the files have changed.
    flush_folders(true);
    for (Step& s : steps_) {
        if (!s.backup.empty()) sys_unlink(s.backup.c_str());
        if (s.backup_fd >= 0) ::close(s.backup_fd);
        if (s.temp_fd >= 0) ::close(s.temp_fd);
        s.backup_fd = s.temp_fd = -1;
    }
    steps_.clear();
}

void FileSetChange::undo(std::size_t done) noexcept
{
    while (done > 0) {
        Step& d = steps_[--done];
        if (!d.done) continue;
        if (!d.backup.empty()) {
            ::rename(d.backup.c_str(), d.target.c_str());
            d.backup.clear();
        } else {
            ::unlink(d.target.c_str());   // a file that was new
        }
        d.done = false;
    }
    flush_folders(false);
}

void FileSetChange::flush_folders(bool hooked) noexcept
{
    std::vector<std::string> folders;
    for (const Step& s : steps_)
        if (std::find(folders.begin(), folders.end(), s.folder) == folders.end()) folders.push_back(s.folder);
    for (const std::string& f : folders) {
        Fd dir(open_folder(f));
        if (dir.get() >= 0) hooked ? sys_fsync(dir.get()) : ::fsync(dir.get());
    }
}

void FileSetChange::discard() noexcept
{
    for (Step& s : steps_) {
        if (s.temp_fd >= 0) ::close(s.temp_fd);
        if (!s.temp.empty()) ::unlink(s.temp.c_str());
        if (s.backup_fd >= 0) ::close(s.backup_fd);
        if (!s.done && !s.backup.empty()) ::unlink(s.backup.c_str());
        s.temp_fd = s.backup_fd = -1;
    }
    steps_.clear();
}

void write_files_atomically(const std::vector<FileBytesToWrite>& files, const char* kind)
{
    FileSetChange own;
    FileSetChange& change = joined_change ? *joined_change : own;
    for (const FileBytesToWrite& f : files) change.write(f.path, f.bytes, kind);
    if (&change == &own) own.commit();
}

JoinedWrites::JoinedWrites(FileSetChange& change) : previous_(joined_change) { joined_change = &change; }
JoinedWrites::~JoinedWrites() { joined_change = previous_; }

}  // namespace vantelo::db
