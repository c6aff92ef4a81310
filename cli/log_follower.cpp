#include "cli/log_follower.h"

#include <sys/stat.h>

#include <csignal>
#include <memory>
#include <ostream>
#include <string>

#include "cli/decode_options.h"
#include "cli/sink_output.h"
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

// A long log read at once asks this often whether the run is to end, so that it still ends
// promptly without asking after every frame.
constexpr int kFramesBetweenLooks = 1024;

class Follower {
public:
    Follower(const DecodeOptions& options, FrameSink& sink, std::ostream& errors)
        : m_path(options.logs.front()),
          m_errors(errors),
          m_output(options.outputPath, sink),
          m_logs(IdentitiesOf(options.logs)) {}

    int Run() {
        if (std::string error = OpenLog(); !error.empty()) {
            Say(LogOpenMessage(m_path, error));
            return 1;
        }
        if (const std::string error = m_output.Open(m_logs, true); !error.empty()) {
            Say(error);
            return 1;
        }
        // The signals that end the run are taken only where the follower waits, so that they
        // never interrupt a record.
        sigset_t ending;
        sigemptyset(&ending);
        sigaddset(&ending, SIGINT);
        sigaddset(&ending, SIGTERM);
        sigprocmask(SIG_BLOCK, &ending, nullptr);
        std::signal(SIGPIPE, SIG_IGN);

        const timespec poll{0, kPollNanoseconds};
        for (;;) {
            if (const std::string failure = DecodeWhatArrived(); !failure.empty()) {
                Say(failure);
                return 1;
            }
            if (sigtimedwait(&ending, nullptr, &poll) >= 0) {
                break;
            }
            LookAtTheName();
        }
        if (const std::string error = m_output.Finish(); !error.empty()) {
            Say(error);
            return 1;
        }
        return 0;
    }

private:
    /// A decoder of its own for the log under its name, read from its first line.
    std::string OpenLog() {
        auto stream = std::make_unique<FrameStream>();
        if (std::string error = stream->Open(m_path, LogFiles::Followed); !error.empty()) {
            return error;
        }
        stream->OnLineCut([this](std::int64_t, std::string_view message) {
            Say(m_path + ": " + std::string(message));
        });
        m_stream = std::move(stream);
        return {};
    }

    /// Writes the record of each frame whose lines have arrived since the last look. Returns ""
    /// or why the run stops.
    std::string DecodeWhatArrived() {
        try {
            int frames = 0;
            while (const Frame* frame = m_stream->Next()) {
                if (std::string error = m_output.Take(m_path, *frame, true); !error.empty()) {
                    return error;
                }
                if (++frames % kFramesBetweenLooks == 0 && EndRequested()) {
                    return {};
                }
            }
        } catch (const ConversionError& error) {
            return error.what();
        }
        return m_stream->ReadError();
    }

    /// A signal that ends the run is waiting.
    static bool EndRequested() {
        sigset_t pending;
        sigemptyset(&pending);
        return ::sigpending(&pending) == 0 &&
               (sigismember(&pending, SIGINT) == 1 || sigismember(&pending, SIGTERM) == 1);
    }

    /// Reads on in the file now under the log's name when an editor replaced or shortened it,
    /// or decodes it again from its first line if it no longer begins with what was decoded.
    void LookAtTheName() {
        struct stat named {};
        if (::stat(m_path.c_str(), &named) != 0) {
            if (!m_saidGone) {
                Say(m_path + ": the log is gone; waiting for it to come back under its name");
                m_saidGone = true;
            }
            return;
        }
        if (!m_stream->Log().Rewritten(named)) {
            return;
        }
        m_saidGone = false;
        if (m_stream->Log().ReadOnIn(m_path) != LogRewrite::OtherBeginning) {
            return;  // read on, or looked at again at the next poll
        }
        std::unique_ptr<FrameStream> decoded = std::move(m_stream);
        if (!OpenLog().empty()) {
            m_stream = std::move(decoded);
            return;
        }
        Say(m_path +
            ": the log no longer begins with the lines already decoded; decoding it "
            "again from its first line");
    }

    void Say(const std::string& message) {
        m_errors << ("ao07-decode: " + message + "\n") << std::flush;
    }

    std::string m_path;
    std::ostream& m_errors;
    SinkOutput m_output;
    LogIdentities m_logs;
    std::unique_ptr<FrameStream> m_stream;
    bool m_saidGone = false;
};

}  // namespace

int FollowLog(const DecodeOptions& options, FrameSink& sink, std::ostream& errors) {
    return Follower(options, sink, errors).Run();
}

}  // namespace ao07::tool
