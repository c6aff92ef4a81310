#include "cli/log_follower.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

#include "cli/decode_options.h"
#include "cli/decode_output.h"
#include "cli/frame_sink.h"
#include "core/log_file.h"
#include "decoder/channel_equations.h"
#include "decoder/frame_stream.h"

namespace ao07::tool {
namespace {

// The log is looked at again this often. Polling rather than inotify: it sees a log on a
// network share changed by another machine, and a log deleted and created again under its
// name, with the same few lines of code; ten looks a second cost nothing and keep a typed
// line's record within a tenth of a second.
constexpr long kPollNanoseconds = 100'000'000;

// A line longer than this is passed on before its end arrives; the reader cuts it anyway.
constexpr std::size_t kLongestHeldLine = 2 * 1024 * 1024;

/// FNV-1a over the bytes decoded so far: tells whether a replaced log begins with them without
/// keeping them.
std::uint64_t Hash(std::uint64_t hash, const char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ static_cast<unsigned char>(bytes[i])) * 0x100000001b3ULL;
    }
    return hash;
}
constexpr std::uint64_t kHashStart = 0xcbf29ce484222325ULL;

/// Where the complete lines of `bytes` end: after the last LF, or after the last CR that is
/// followed by another byte (a CR at the very end may be the first half of CR LF).
std::size_t CompleteLinesEnd(const std::string& bytes) {
    for (std::size_t i = bytes.size(); i > 0; --i) {
        const char c = bytes[i - 1];
        if (c == '\n' || (c == '\r' && i < bytes.size())) {
            return i;
        }
    }
    return 0;
}

bool WriteAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

class Follower {
public:
    Follower(const DecodeOptions& options, FrameSink& sink, std::ostream& errors)
        : m_path(options.logs.front()),
          m_sink(sink),
          m_errors(errors),
          m_output(options.outputPath),
          m_logs(IdentitiesOf(options.logs)) {}

    int Run() {
        if (std::string error = OpenLog(); !error.empty()) {
            Say(LogOpenMessage(m_path, error));
            return 1;
        }
        std::string error = m_output.Open(m_logs);
        if (error.empty()) {
            error = m_sink.Begin(m_output.File());
        }
        if (!error.empty()) {
            Say("cannot write \"" + m_output.Name() + "\": " + error);
            return 1;
        }
        if (error = m_output.File().SetBatched(false); !error.empty()) {
            Say(m_output.RecordNotWritten(error));
            return 1;
        }
        // The signals that end the run are taken only where the follower waits, so that they
        // never interrupt a record.
        sigset_t ending;
        sigemptyset(&ending);
        sigaddset(&ending, SIGINT);
        sigaddset(&ending, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &ending, nullptr);
        std::signal(SIGPIPE, SIG_IGN);

        StartDecoding();
        const timespec poll{0, kPollNanoseconds};
        while (Failure().empty()) {
            ReadWhatArrived();
            if (sigtimedwait(&ending, nullptr, &poll) >= 0) {
                break;
            }
            LookAtTheName();
        }
        StopDecoding();
        if (!Failure().empty()) {
            Say(Failure());
            return 1;
        }
        if (error = m_sink.Finish(m_output.File()); error.empty()) {
            error = m_output.File().Flush();
        }
        if (!error.empty()) {
            Say(m_output.RecordNotWritten(error));
            return 1;
        }
        if (error = m_output.File().Close(); !error.empty()) {
            Say(m_output.NotClosed(error));
            return 1;
        }
        return 0;
    }

    ~Follower() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }

private:
    std::string OpenLog() {
        // Only an ordinary file can be followed: its length tells what has arrived.
        std::string reason;
        const int fd = OpenLogDescriptor(m_path, LogFiles::RegularOnly, reason);
        if (fd < 0) {
            return reason;
        }
        struct stat file {};
        if (::fstat(fd, &file) != 0) {
            reason = std::strerror(errno);
            ::close(fd);
            return reason;
        }
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
        m_identity = {file.st_dev, file.st_ino};
        return {};
    }

    /// Passes the complete lines that arrived since the last look to the decoder.
    void ReadWhatArrived() {
        char buffer[64 * 1024];
        for (;;) {
            const off_t at = static_cast<off_t>(m_decoded + m_held.size());
            const ssize_t got = ::pread(m_fd, buffer, sizeof buffer, at);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0 || EndRequested()) {
                return;
            }
            m_held.append(buffer, static_cast<std::size_t>(got));
            const std::size_t end =
                m_held.size() > kLongestHeldLine ? m_held.size() : CompleteLinesEnd(m_held);
            if (end > 0) {
                m_hash = Hash(m_hash, m_held.data(), end);
                m_decoded += end;
                if (!WriteAll(m_pipe, m_held.data(), end)) {
                    return;  // the decoder stopped: its failure says why
                }
                m_held.erase(0, end);
            }
        }
    }

    /// A signal that ends the run is waiting: a long log read at once still ends promptly.
    static bool EndRequested() {
        sigset_t pending;
        sigemptyset(&pending);
        return ::sigpending(&pending) == 0 &&
               (sigismember(&pending, SIGINT) == 1 || sigismember(&pending, SIGTERM) == 1);
    }

    /// Opens the log again when its name now means another file or the file became shorter.
    void LookAtTheName() {
        struct stat named {};
        if (::stat(m_path.c_str(), &named) != 0) {
            if (!m_saidGone) {
                Say(m_path + ": the log is gone; waiting for it to come back under its name");
                m_saidGone = true;
            }
            return;
        }
        struct stat open {};
        const bool replaced = std::make_pair(named.st_dev, named.st_ino) != m_identity;
        const bool shortened = ::fstat(m_fd, &open) == 0 &&
                               static_cast<std::uint64_t>(open.st_size) < m_decoded + m_held.size();
        if (!replaced && !shortened) {
            return;
        }
        m_saidGone = false;
        if (!OpenLog().empty()) {
            return;  // looked at again at the next poll
        }
        m_held.clear();
        if (BeginsWithWhatWasDecoded()) {
            return;
        }
        Say(m_path +
            ": the log no longer begins with the lines already decoded; decoding it "
            "again from its first line");
        StopDecoding();
        m_decoded = 0;
        m_hash = kHashStart;
        StartDecoding();
    }

    bool BeginsWithWhatWasDecoded() const {
        std::uint64_t hash = kHashStart;
        char buffer[64 * 1024];
        for (std::uint64_t at = 0; at < m_decoded;) {
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, m_decoded - at));
            const ssize_t got = ::pread(m_fd, buffer, want, static_cast<off_t>(at));
            if (got <= 0) {
                return false;
            }
            hash = Hash(hash, buffer, static_cast<std::size_t>(got));
            at += static_cast<std::uint64_t>(got);
        }
        return hash == m_hash;
    }

    /// A decoder of its own for the lines passed on from now: the same step as for a log read
    /// from a pipe, where each record goes out as soon as its row 6 is read.
    void StartDecoding() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            Fail(std::string("cannot decode: ") + std::strerror(errno));
            return;
        }
        m_pipe = ends[1];
        m_decoder = std::thread([this, in = ends[0]] { Decode(in); });
    }

    /// Ends the decoder's log at the last line passed on and waits until its records are out.
    void StopDecoding() {
        if (m_pipe >= 0) {
            ::close(m_pipe);
            m_pipe = -1;
        }
        if (m_decoder.joinable()) {
            m_decoder.join();
        }
    }

    void Decode(int in) {
        FrameStream stream;
        stream.Attach(in, m_path);
        stream.OnLineCut([this](std::int64_t, std::string_view message) {
            Say(m_path + ": " + std::string(message));
        });
        try {
            while (const Frame* frame = stream.Next()) {
                std::string error = m_sink.Take(m_output.File(), m_path, *frame);
                if (error.empty()) {
                    error = m_output.File().Flush();
                }
                if (!error.empty()) {
                    Fail(m_output.RecordNotWritten(error));
                    break;
                }
            }
        } catch (const ConversionError& error) {
            Fail(error.what());
        }
        ::close(in);  // a follower still writing learns that nobody reads
    }

    void Say(const std::string& message) {
        const std::lock_guard lock(m_mutex);
        m_errors << ("ao07-decode: " + message + "\n") << std::flush;
    }

    void Fail(const std::string& message) {
        const std::lock_guard lock(m_mutex);
        if (m_failure.empty()) {
            m_failure = message;
        }
    }

    std::string Failure() {
        const std::lock_guard lock(m_mutex);
        return m_failure;
    }

    std::string m_path;
    FrameSink& m_sink;
    std::ostream& m_errors;
    DecodeOutput m_output;
    LogIdentities m_logs;

    int m_fd = -1;
    std::pair<dev_t, ino_t> m_identity{};
    std::uint64_t m_decoded = 0;        ///< bytes of the log passed on to the decoder
    std::uint64_t m_hash = kHashStart;  ///< of those bytes
    std::string m_held;                 ///< bytes read after them: a line whose end has not arrived
    bool m_saidGone = false;

    int m_pipe = -1;
    std::thread m_decoder;
    std::mutex m_mutex;
    std::string m_failure;
};

}  // namespace

int FollowLog(const DecodeOptions& options, FrameSink& sink, std::ostream& errors) {
    return Follower(options, sink, errors).Run();
}

}  // namespace ao07::tool
