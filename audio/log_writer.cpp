#include "audio/log_writer.h"

#include "core/output_file.h"

namespace ao07::audio {

LogWriter::LogWriter(OutputFile& file, std::string name, HeardLog log)
    : m_file(file), m_name(std::move(name)), m_log(std::move(log)) {}

std::string LogWriter::Begin() {
    m_lines = m_log.Opening();
    return WriteLines();
}

std::string LogWriter::Write(const HeardLine& heard) {
    m_lines.clear();
    m_log.Take(heard, m_lines);
    return WriteLines();
}

std::string LogWriter::WriteLines() {
    for (const std::string& line : m_lines) {
        if (const std::string error = m_file.WriteLine(line); !error.empty()) {
            return "cannot write the log to \"" + m_name + "\": " + error;
        }
    }
    if (const std::string error = m_file.Flush(); !error.empty()) {
        return "cannot write the log to \"" + m_name + "\": " + error;
    }
    return {};
}

}  // namespace ao07::audio
