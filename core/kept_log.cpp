#include "core/kept_log.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/output_file.h"

namespace ao07 {
namespace {

std::string Reason(const std::string& path, int error) {
    return "\"" + path + "\": " + std::strerror(error);
}

/// A new empty file beside `path`, for a log written whole; "" when none could be made.
std::string MakeNeighbour(const std::string& path, std::string& reason) {
    std::string name = path + ".XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        reason = Reason(name, errno);
        return {};
    }
    // A log written again keeps the permissions it had, not the private ones of a new file.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    ::close(fd);
    return name;
}

}  // namespace

KeptLog::KeptLog() = default;

KeptLog::~KeptLog() {
    Close();
}

std::string KeptLog::Start(const std::string& path, const std::vector<std::string>& lines) {
    Close();
    m_path = path;
    std::string error = Rewrite(lines);
    if (!error.empty()) {
        m_path.clear();
    }
    return error;
}

std::string KeptLog::Append(std::string_view line) {
    if (!m_out) {
        return "No log is kept.";
    }
    std::string error = m_out->WriteLine(line);
    if (!error.empty()) {
        error = "\"" + m_path + "\": " + error;
    }
    return error;
}

std::string KeptLog::Rewrite(const std::vector<std::string>& lines) {
    if (m_path.empty()) {
        return "No log is kept.";
    }
    std::string error;
    const std::string neighbour = MakeNeighbour(m_path, error);
    if (neighbour.empty()) {
        return error;
    }
    auto out = std::make_unique<OutputFile>();
    error = out->Create(neighbour);
    for (auto line = lines.begin(); error.empty() && line != lines.end(); ++line) {
        error = out->WriteLine(*line);
    }
    if (!error.empty()) {
        error = "\"" + m_path + "\": " + error;
    }
    if (error.empty() && std::rename(neighbour.c_str(), m_path.c_str()) != 0) {
        error = Reason(m_path, errno);
    }
    if (!error.empty()) {
        out->Close();
        std::remove(neighbour.c_str());
        return error;
    }
    // The open file followed its rename: later lines are added to the log under its name.
    if (m_out) {
        m_out->Close();
    }
    m_out = std::move(out);
    return {};
}

std::string KeptLog::Close() {
    if (!m_out) {
        return {};
    }
    std::string error = m_out->Close();
    if (!error.empty()) {
        error = "\"" + m_path + "\": " + error;
    }
    m_out.reset();
    m_path.clear();
    return error;
}

}  // namespace ao07
