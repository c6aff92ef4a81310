#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace ao07::test {

/// How a child process ended.
struct ProcessEnd {
    bool exited = false;
    int status = -1;        ///< exit status when it exited
    int signal = 0;         ///< the signal that ended it otherwise
    bool timedOut = false;  ///< it was still running at the deadline and was killed
};

struct ChildOptions {
    std::string workDir;  ///< "" keeps the test's own
    std::string stdinPath = "/dev/null";
    /// Used instead of stdinPath when >= 0. Open the other end of a pipe with O_CLOEXEC, or the
    /// child holds it too and never sees the end of its input.
    int stdinFd = -1;
    std::string stdoutPath = "/dev/null";
    std::string stderrPath = "/dev/null";
    rlim_t fileSizeLimit = RLIM_INFINITY;  ///< RLIMIT_FSIZE: files stop growing here
};

/// A program started with fork and exec, killed if it is still running when destroyed, so
/// that a hanging program never outlives the test.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const ChildOptions& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return m_pid; }
    bool Running();
    void Signal(int signal) const;
    /// Waits until the child ends; kills it with SIGKILL at the deadline.
    ProcessEnd Wait(std::chrono::milliseconds timeout);

private:
    pid_t m_pid = -1;
    bool m_reaped = false;
    ProcessEnd m_end;
};

/// While it lives, a write to a pipe whose reader has died fails with EPIPE instead of killing
/// the test with SIGPIPE.
class SigpipeIgnored {
public:
    SigpipeIgnored();
    ~SigpipeIgnored();
    SigpipeIgnored(const SigpipeIgnored&) = delete;
    SigpipeIgnored& operator=(const SigpipeIgnored&) = delete;

private:
    void (*m_oldHandler)(int);
};

/// Polls `ready` every few milliseconds until it holds or `timeout` has passed.
bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds timeout);

}  // namespace ao07::test
