#include "robustness/child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>
#include <thread>

namespace ao07::test {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(2);

/// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void StartChild(char* const argv[], const ChildOptions& options) {
    const int in =
        options.stdinFd >= 0 ? options.stdinFd : ::open(options.stdinPath.c_str(), O_RDONLY);
    const int out = ::open(options.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(options.stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || ::dup2(in, STDIN_FILENO) < 0 ||
        ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(err, STDERR_FILENO) < 0) {
        ::_exit(127);
    }
    if (!options.workDir.empty() && ::chdir(options.workDir.c_str()) != 0) {
        ::_exit(127);
    }
    if (options.fileSizeLimit != RLIM_INFINITY) {
        // Past the limit a write fails with EFBIG, as on a full disk, once SIGXFSZ is ignored.
        const rlimit limit{options.fileSizeLimit, options.fileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
    }
    ::signal(SIGPIPE, SIG_DFL);
    ::execv(argv[0], argv);
    ::_exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const ChildOptions& options) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (m_pid == 0) {
        StartChild(args.data(), options);
    }
}

ChildProcess::~ChildProcess() {
    if (!m_reaped) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

bool ChildProcess::Running() {
    if (m_reaped) {
        return false;
    }
    int raw = 0;
    if (::waitpid(m_pid, &raw, WNOHANG) != m_pid) {
        return true;
    }
    m_reaped = true;
    m_end.exited = WIFEXITED(raw);
    m_end.status = m_end.exited ? WEXITSTATUS(raw) : -1;
    m_end.signal = WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
    return false;
}

void ChildProcess::Signal(int signal) const {
    if (!m_reaped) {
        ::kill(m_pid, signal);
    }
}

ProcessEnd ChildProcess::Wait(std::chrono::milliseconds timeout) {
    if (!WaitUntil([this] { return !Running(); }, timeout)) {
        Signal(SIGKILL);
        while (Running()) {
            std::this_thread::sleep_for(kPollInterval);
        }
        m_end.timedOut = true;
    }
    return m_end;
}

SigpipeIgnored::SigpipeIgnored() : m_oldHandler(std::signal(SIGPIPE, SIG_IGN)) {}

SigpipeIgnored::~SigpipeIgnored() {
    std::signal(SIGPIPE, m_oldHandler);
}

bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

}  // namespace ao07::test
