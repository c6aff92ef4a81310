#include "cli/decode_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "decoder/main_module.h"

namespace ao07::tool {
namespace {

bool IsOneOf(const struct stat& file, const LogIdentities& logs) {
    return S_ISREG(file.st_mode) &&
           std::find(logs.begin(), logs.end(), std::make_pair(file.st_dev, file.st_ino)) !=
               logs.end();
}

}  // namespace

LogIdentities IdentitiesOf(const std::vector<std::string>& logs) {
    LogIdentities identities;
    for (const std::string& log : logs) {
        struct stat file {};
        const int result = log == "-" ? ::fstat(STDIN_FILENO, &file) : ::stat(log.c_str(), &file);
        if (result == 0 && S_ISREG(file.st_mode)) {
            identities.emplace_back(file.st_dev, file.st_ino);
        }
    }
    return identities;
}

DecodeOutput::DecodeOutput(std::string path)
    : m_path(std::move(path)), m_name(m_path.empty() ? "standard output" : m_path) {}

std::string DecodeOutput::Open(const LogIdentities& logs) {
    struct stat target {};
    const bool exists = m_path.empty() ? ::fstat(STDOUT_FILENO, &target) == 0
                                       : ::stat(m_path.c_str(), &target) == 0;
    // Creating the file empties it: never a log that is being read.
    if (exists && IsOneOf(target, logs)) {
        return kCsvIsTheLog;
    }
    if (m_path.empty()) {
        m_file.Attach(STDOUT_FILENO);
    } else if (std::string error = m_file.Create(m_path); !error.empty()) {
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
