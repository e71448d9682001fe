#pragma once
// Every change this program makes to a file goes through here.
//
// A whole file is written to a hidden temporary file in the same folder (".vantelo-" and six
// letters or digits), flushed, given the mode and owner of the file it replaces and renamed
// over it; the folder is flushed after the rename. A failure at any point leaves the target as
// it was and no stray file behind. Symbolic links are followed, so the file a link points to is
// the one replaced; a file with several hard links is not replaced (that would split them).
//
// An existing file is changed only while this process holds an exclusive advisory lock on it
// (flock), so two copies of the program never interleave their writes to one file. The same
// lock marks a temporary file as live: temporaries of the exact pattern above that nobody holds
// are left over from a writer that was killed, and are removed when a file in their folder is
// next written.
//
// Changes in place are the exception (a posted record): each is one write, remembered so that
// a failure before the change is flushed puts the old bytes back; a change reported as failed
// has not changed the file.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/db/byte_reader.h"

namespace vantelo::db {

using ByteSink = std::function<void(const unsigned char*, std::size_t)>;
// Called while the file about to be replaced is locked, before anything is written (it reads
// the file itself, so that a large file need not be copied into memory first); raises to refuse.
using CurrentCheck = std::function<void()>;

// The rule for the name of every file this program writes (tables, text files, reports): the
// file part is not empty, "." or "..", and the name holds no control character (C0 or C1) and
// no bidirectional control (has_hidden_character), which would hide from the user what the
// file is called. Raises "Invalid <noun> name (no file name): <name>" or "Invalid <noun> name
// (control character): <name>", the name shown as shown_name shows it. Bytes that are not
// UTF-8 (a GBK name) are allowed.
void check_file_name(const std::string& name, const std::string& noun = "file");

// Every writer below checks the name first (check_file_name). `kind` names what the file is
// written as, for the messages ("<path> is not a regular file, so it cannot be written as a
// <kind>"). A failure names its reason: "Cannot create file <path>: the folder <folder> does
// not exist", "...: Permission denied", "Cannot write file <path>: No space left on device".
void write_file_atomically(const std::string& path, const std::vector<unsigned char>& data,
                           const char* kind = "table");

// The same with the bytes produced in pieces: produce(put) calls put(bytes, size) as often as
// it likes, so a large file needs no buffer of its whole size. An exception from produce (or
// from check) leaves the target as it was and no stray file behind.
void write_file_atomically_streamed(const std::string& path, const std::function<void(const ByteSink&)>& produce,
                                    const CurrentCheck& check = {}, const char* kind = "table");

// An existing file opened for a change and locked for as long as the object lives.
class FileChange {
    friend class FileSetChange;
public:
    // Follows symbolic links to the real file; refuses a file that is not a regular file, or
    // that the user may not write ("Cannot open file for writing <path>: Permission denied",
    // also for a file without write permission when running as the superuser); waits a few
    // seconds for another writer's lock, then refuses.
    explicit FileChange(const std::string& path, const char* kind = "table");
    ~FileChange();
    FileChange(const FileChange&) = delete;
    FileChange& operator=(const FileChange&) = delete;

    const std::string& path() const { return real_; }
    // The file's bytes as they are under the lock (read once, bounded by the file's size, and
    // with declared by the part of the file its format declares; see byte_reader.h).
    const std::vector<unsigned char>& bytes(DeclaredSize declared = nullptr);

    // One write in place at offset (the file grows when it ends before offset + size). Until
    // commit() it is undone by a later failure or when the object goes without a commit.
    void write_at(std::size_t offset, const unsigned char* data, std::size_t size);
    // Flushes the writes so far to the disk; a failure undoes them and raises. They can still
    // be undone.
    void flush();
    // Flushes the writes to the disk; a failure undoes them and raises. They stay.
    void commit();

    // Replaces the whole file through a temporary file, as described above.
    void replace(const std::function<void(const ByteSink&)>& produce);

private:
    void undo() noexcept;
    struct Saved {
        std::size_t offset;
        std::vector<unsigned char> bytes;
    };
    std::string given_;
    std::string real_;
    int fd_ = -1;
    struct stat st_ {};
    std::vector<unsigned char> bytes_;
    bool read_ = false;
    std::vector<Saved> saved_;
    off_t original_size_ = 0;
};

// Several files changed as one: each written whole or removed, in the order given, so that a
// failure leaves every one of them as it was and a change that completes leaves every one new.
//
// write() takes the file's lock and makes its checks at once (as write_file_atomically_streamed
// does: a symbolic link is followed, a file with several hard links or without write
// permission is refused, check runs under the lock) and writes the new bytes to a temporary
// file in the target's folder, flushed, at once; remove() takes the lock of a file to be removed
// (refusing what write() refuses). Nothing the user has changes until commit(), which puts the
// steps in place one after the other by renames: a new file renamed over its target (the old
// one kept under a temporary name while a later step may still fail; a file that did not exist
// when write() was called is never put over one that another program made there since: that
// step fails with "File exists"), a removed file renamed
// to a temporary name. A failure at any step renames back every step before it and removes
// every temporary file, and raises; the folders are flushed and the old files' temporary names
// removed after the last step. Without commit() the object, when it goes, removes its
// temporary files and has changed nothing.
//
// A kill: before the first rename nothing has changed; after the last, everything has. Between
// two renames (every new file is by then written and flushed, so the window is the renames
// alone) the steps before the kill are in place and the others are not, and nothing puts the
// set together later: each file is whole, as it was or new, but the set is mixed. For a text
// copy, written as its data file and then its schema, that is the new data file beside the old
// schema (or beside none where there was none). The old files of the steps done, and the files
// removed, stay under hidden temporary names that nobody holds, and go (for good) with the next
// write in their folder, as do the temporaries of the steps not done. The steps are therefore
// put in an order in which every mixed state is safe to read (see BatchMove::execute).
class FileSetChange {
public:
    FileSetChange();
    ~FileSetChange();
    FileSetChange(const FileSetChange&) = delete;
    FileSetChange& operator=(const FileSetChange&) = delete;

    void write(const std::string& path, const std::function<void(const ByteSink&)>& produce,
               const CurrentCheck& check = {}, const char* kind = "table");
    void write(const std::string& path, const std::vector<unsigned char>& data, const char* kind = "table");
    // A file that does not exist is no step. A symbolic link is itself removed.
    void remove(const std::string& path);
    void commit();

private:
    struct Step;
    void undo(std::size_t done) noexcept;
    void discard() noexcept;
    void flush_folders(bool hooked) noexcept;
    void check_not_named(const std::string& path) const;
    std::vector<Step> steps_;
    bool committed_ = false;
};

// While an object of this class lives, the calls of write_file_atomically and
// write_file_atomically_streamed made by this thread become steps of change (written to their
// temporary files at once, put in place by its commit()), so that a writer of one file can
// take part in a change of several.
class JoinedWrites {
public:
    explicit JoinedWrites(FileSetChange& change);
    ~JoinedWrites();
    JoinedWrites(const JoinedWrites&) = delete;
    JoinedWrites& operator=(const JoinedWrites&) = delete;

private:
    FileSetChange* previous_;
};

// Writes each file whole, all as one change: a FileSetChange of its own, or steps of the change
// this thread has joined (JoinedWrites).
struct FileBytesToWrite {
    std::string path;
    std::vector<unsigned char> bytes;
};
void write_files_atomically(const std::vector<FileBytesToWrite>& files, const char* kind = "table");

bool file_exists(const std::string& path);

// Removes the temporaries of a writer that was killed from the folder of path (see above).
void remove_stale_temporaries(const std::string& path);

// For tests: when set, called before every system call that changes a file or flushes it
// (the name of the call: "write", "pwrite", "ftruncate", "fsync", "fdatasync", "fchmod",
// "fchown", "rename", and in a change of several files "link" and "unlink"); a nonzero result
// makes that call fail with it as errno.
using WriteFaultHook = std::function<int(const char* call)>;
void set_write_fault_hook(WriteFaultHook hook);

}  // namespace vantelo::db
