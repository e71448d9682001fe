#pragma once
// Runs a piece of work in a child process under a limit on its memory (address space) and its
// time, so that a test can show that a hostile file is handled within bounds: the work's
// answer comes back as text, or how the child ended when it did not answer (killed by the
// time limit, ended by a signal, or ran out of memory).
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <functional>
#include <new>
#include <string>

namespace vantelo::db::test_common {

struct ChildLimits {
    std::size_t address_space = std::size_t{512} << 20;   // bytes (RLIMIT_AS)
    unsigned seconds = 60;                                  // then SIGALRM ends the child
};

struct ChildResult {
    bool answered = false;   // the work returned or raised, and its text came back
    bool raised = false;     // it raised: text is the message
    std::string text;        // the work's result, or the message of what it raised
    std::string ending;      // how the child ended when it did not answer
};

// work runs in the child; what it returns is the result's text. A std::exception it raises
// comes back as its message; running out of memory as "out of memory".
inline ChildResult run_limited(const std::function<std::string()>& work, ChildLimits limits = {})
{
    ChildResult out;
    int fds[2];
    if (::pipe(fds) != 0) {
        out.ending = "no pipe";
        return out;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        out.ending = "no fork";
        return out;
    }
    if (pid == 0) {
        ::close(fds[0]);
#if !defined(__SANITIZE_ADDRESS__)
        // The address sanitizer maps terabytes of shadow memory up front: under it only the
        // time limit holds (the sanitizer build checks the reads, the plain build their bounds).
        struct rlimit as {limits.address_space, limits.address_space};
        ::setrlimit(RLIMIT_AS, &as);
#endif
        ::alarm(limits.seconds);
        std::string text;
        try {
            text = "=" + work();
        } catch (const std::bad_alloc&) {
            text = "!out of memory";
        } catch (const std::exception& e) {
            text = std::string("!") + e.what();
        } catch (...) {
            text = "!unknown exception";
        }
        std::size_t sent = 0;
        while (sent < text.size()) {
            const ssize_t n = ::write(fds[1], text.data() + sent, text.size() - sent);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            sent += static_cast<std::size_t>(n);
        }
        ::close(fds[1]);
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string got;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && !got.empty()) {
        out.answered = true;
        out.raised = got[0] == '!';
        out.text = got.substr(1);
        return out;
    }
    if (WIFSIGNALED(status))
        out.ending = WTERMSIG(status) == SIGALRM ? "time limit" : "signal " + std::to_string(WTERMSIG(status));
    else
        out.ending = "exit " + std::to_string(WEXITSTATUS(status));
    return out;
}

}  // namespace vantelo::db::test_common
