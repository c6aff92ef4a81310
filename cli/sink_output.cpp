#include "cli/sink_output.h"

#include "cli/frame_sink.h"

namespace ao07::tool {

SinkOutput::SinkOutput(std::string path, FrameSink& sink)
    : m_output(std::move(path)), m_sink(sink) {}

std::string SinkOutput::Open(const LogIdentities& logs, bool eachRecordAtOnce) {
    std::string error = m_output.Open(logs);
    if (error.empty()) {
        error = m_sink.Begin(m_output.File());
    }
    if (!error.empty()) {
        return "cannot write \"" + m_output.Name() + "\": " + error;
    }
    if (eachRecordAtOnce) {
        if (error = m_output.File().SetBatched(false); !error.empty()) {
            return m_output.RecordNotWritten(error);
        }
    }
    return {};
}

std::string SinkOutput::Take(std::string_view logName, const Frame& frame, bool now) {
    OutputFile& out = m_output.File();
    std::string error = m_sink.Take(out, logName, frame);
    if (error.empty() && now) {
        error = out.Flush();
    }
    if (error.empty()) {
        return {};
    }
    return m_output.RecordNotWritten(error);
}

std::string SinkOutput::Finish() {
    OutputFile& out = m_output.File();
    std::string error = m_sink.Finish(out);
    if (error.empty()) {
        error = out.Flush();
    }
    if (!error.empty()) {
        return m_output.RecordNotWritten(error);
    }
    if (error = out.Close(); !error.empty()) {
        return m_output.NotClosed(error);
    }
    return {};
}

}  // namespace ao07::tool
