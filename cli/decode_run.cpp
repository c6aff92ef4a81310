#include "cli/decode_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <ostream>
#include <string>

#include "cli/decode_options.h"
#include "cli/sink_output.h"
#include "decoder/channel_equations.h"
#include "decoder/frame_stream.h"

namespace ao07::tool {
namespace {

/// A log that is not a regular file (a pipe, a terminal) may be typed while it is read: each of
/// its records is written as soon as its frame is read, not held for a batch.
bool ArrivesOverTime(const std::string& log) {
    struct stat file {};
    const int result = log == "-" ? ::fstat(STDIN_FILENO, &file) : ::stat(log.c_str(), &file);
    return result != 0 || !S_ISREG(file.st_mode);
}

class Run {
public:
    Run(const DecodeOptions& options, FrameSink& sink, std::ostream& errors)
        : m_options(options),
          m_errors(errors),
          m_output(options.outputPath, sink),
          m_logs(IdentitiesOf(options.logs)) {}

    int Decode() {
        for (const std::string& log : m_options.logs) {
            if (!DecodeLog(log)) {
                return 1;
            }
        }
        if (m_output.IsOpen()) {
            if (const std::string error = m_output.Finish(); !error.empty()) {
                return Fail(error);
            }
        }
        return m_status;
    }

private:
    /// Decodes one log; false when the run must stop (the output failed).
    bool DecodeLog(const std::string& log) {
        const std::string name = log == "-" ? "standard input" : log;
        FrameStream stream;
        // The log is opened before the output is created, so that a wrong log name never
        // empties an existing output file.
        if (log == "-") {
            stream.Attach(STDIN_FILENO, name);
        } else if (const std::string error = stream.Open(log); !error.empty()) {
            Fail(LogOpenMessage(log, error));
            return true;
        }
        if (!m_output.IsOpen()) {
            if (const std::string error = m_output.Open(m_logs, false); !error.empty()) {
                Fail(error);
                return false;
            }
        }
        stream.OnLineCut([this, &name](std::int64_t, std::string_view message) {
            m_errors << "ao07-decode: " << name << ": " << message << '\n';
        });
        const bool live = ArrivesOverTime(log);
        try {
            while (const Frame* frame = stream.Next()) {
                if (const std::string error = m_output.Take(name, *frame, live); !error.empty()) {
                    Fail(error);
                    return false;
                }
            }
        } catch (const ConversionError& error) {
            Fail(error.what());
            return false;
        }
        if (!stream.ReadError().empty()) {
            Fail(stream.ReadError());
        }
        return true;
    }

    int Fail(const std::string& message) {
        m_errors << "ao07-decode: " << message << '\n';
        m_status = 1;
        return 1;
    }

    const DecodeOptions& m_options;
    std::ostream& m_errors;
    SinkOutput m_output;
    LogIdentities m_logs;
    int m_status = 0;
};

}  // namespace

int DecodeLogs(const DecodeOptions& options, FrameSink& sink, std::ostream& errors) {
    return Run(options, sink, errors).Decode();
}

}  // namespace ao07::tool
