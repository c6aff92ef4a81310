#include "cli/decode_output.h"

#include <sys/stat.h>
#include <unistd.h>

namespace ao07::tool {

LogIdentities IdentitiesOf(const std::vector<std::string>& logs) {
    LogIdentities identities;
    for (const std::string& log : logs) {
        struct stat file {};
        const int result = log == "-" ? ::fstat(STDIN_FILENO, &file) : ::stat(log.c_str(), &file);
        if (result == 0 && S_ISREG(file.st_mode)) {
            identities.push_back({file.st_dev, file.st_ino});
        }
    }
    return identities;
}

DecodeOutput::DecodeOutput(std::string path)
    : m_path(std::move(path)), m_name(m_path.empty() ? "standard output" : m_path) {}

std::string DecodeOutput::Open(const LogIdentities& inputs, std::string_view refusal) {
    if (std::string error = m_file.Open(m_path, inputs, refusal); !error.empty()) {
        return error;
    }
    // Nothing is held yet: switching batching on or off cannot fail here.
    (void)m_file.SetBatched(!m_file.IsTerminal());
    m_open = true;
    return {};
}

std::string DecodeOutput::RecordNotWritten(const std::string& reason) const {
    return "The output \"" + m_name + "\" could not be written: " + reason +
           ". Nothing more goes to it; what was written before is kept whole.";
}

std::string DecodeOutput::NotClosed(const std::string& reason) const {
    return "The output \"" + m_name + "\" could not be closed cleanly: " + reason + ".";
}

}  // namespace ao07::tool
