#include "core/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace ao07 {
namespace {
constexpr std::size_t kBufferSize = 64 * 1024;

/// CR or LF. Both lie below every printable character, so one comparison settles most bytes.
bool IsLineEnd(char c) {
    return static_cast<unsigned char>(c) <= '\r' && (c == '\r' || c == '\n');
}

/// Why a file of this kind is no log, for a front end that reads ordinary files only.
std::string NotAnOrdinaryFile(mode_t mode) {
    if (S_ISDIR(mode)) {
        return std::strerror(EISDIR);
    }
    const char* kind = S_ISFIFO(mode)   ? "a named pipe"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "a special file";
    return std::string("It is ") + kind + ", not an ordinary file";
}
}  // namespace

LogFile::~LogFile() {
    Close();
}

std::string LogFile::Open(const std::string& path, LogFiles accepted) {
    Close();
    const bool regularOnly = accepted == LogFiles::RegularOnly;
    // Without O_NONBLOCK, opening a named pipe waits until something opens it for writing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (regularOnly ? O_NONBLOCK : 0));
    if (fd < 0) {
        const int error = errno;
        // A socket cannot be opened at all; what it is says more than "No such device".
        struct stat named {};
        if (regularOnly && ::stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
            return NotAnOrdinaryFile(named.st_mode);
        }
        return std::strerror(error);
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 &&
        (S_ISDIR(info.st_mode) || (regularOnly && !S_ISREG(info.st_mode)))) {
        ::close(fd);
        return NotAnOrdinaryFile(info.st_mode);
    }
    // Reads of the ordinary file block as usual from here on.
    if (regularOnly) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
            const int error = errno;
            ::close(fd);
            return std::strerror(error);
        }
    }
    Reset(fd, true);
    return {};
}

bool LogFile::Reads(const struct stat& file) const {
    struct stat info {};
    return m_fd >= 0 && ::fstat(m_fd, &info) == 0 && info.st_dev == file.st_dev &&
           info.st_ino == file.st_ino;
}

void LogFile::Attach(int fd) {
    Close();
    Reset(fd, false);
}

void LogFile::Reset(int fd, bool owned) {
    m_fd = fd;
    m_owned = owned;
    m_buffer.resize(kBufferSize);
    m_pos = m_end = 0;
    m_exhausted = false;
    m_readError.clear();
}

void LogFile::Close() {
    if (m_fd >= 0 && m_owned) {
        ::close(m_fd);
    }
    m_fd = -1;
    m_owned = false;
    m_pos = m_end = 0;
    m_exhausted = true;
}

bool LogFile::Fill() {
    if (m_exhausted || m_fd < 0) {
        return false;
    }
    ssize_t count = 0;
    do {
        count = ::read(m_fd, m_buffer.data(), m_buffer.size());
    } while (count < 0 && errno == EINTR);
    if (count <= 0) {
        if (count < 0) {
            m_readError = std::strerror(errno);
        }
        m_exhausted = true;
        return false;
    }
    m_pos = 0;
    m_end = static_cast<std::size_t>(count);
    return true;
}

bool LogFile::AtEnd() {
    return m_pos >= m_end && !Fill();
}

bool LogFile::ReadLine(std::string& line) {
    line.clear();
    bool cut = false;
    while (m_pos < m_end || Fill()) {
        const char* start = m_buffer.data() + m_pos;
        const char* stop = m_buffer.data() + m_end;
        const char* cursor = start;
        while (cursor != stop && !IsLineEnd(*cursor)) {
            ++cursor;
        }
        const auto room = kMaxLineLength - std::min(line.size(), kMaxLineLength);
        const auto length = static_cast<std::size_t>(cursor - start);
        cut = cut || length > room;
        line.append(start, std::min(length, room));
        m_pos += static_cast<std::size_t>(cursor - start);
        if (cursor == stop) {
            continue;  // the line goes on in the next block
        }
        const char terminator = *cursor;
        ++m_pos;
        // CR LF is one terminator, even when the block ends between the two.
        if (terminator == '\r' && (m_pos < m_end || Fill()) && m_buffer[m_pos] == '\n') {
            ++m_pos;
        }
        return cut;
    }
    return cut;
}

}  // namespace ao07
