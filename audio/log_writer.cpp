#include "audio/log_writer.h"

#include "core/output_file.h"

namespace ao07::audio {

LogWriter::LogWriter(OutputFile& file, HeardLog log) : m_file(file), m_log(std::move(log)) {}

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
        if (std::string error = m_file.WriteLine(line); !error.empty()) {
            return error;
        }
    }
    // A log being made is followed by other programs while it grows: no line waits in memory.
    return m_file.Flush();
}

}  // namespace ao07::audio
