#include "core/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ao07 {
namespace {

/// A disk that fills up in the middle of a line has taken part of it: cut that part off again,
/// so that the file ends with the last whole record and not with a piece of the next.
void TakeBackPartialLine(int fd, std::size_t sent) {
    struct stat info {};
    if (sent == 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return;
    }
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    const auto length = static_cast<off_t>(sent);
    if (end >= length && ::ftruncate(fd, end - length) == 0) {
        ::lseek(fd, end - length, SEEK_SET);
    }
}

}  // namespace

OutputFile::~OutputFile() {
    Close();
}

std::string OutputFile::Create(const std::string& path) {
    Close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return std::strerror(errno);
    }
    m_fd = fd;
    m_owned = true;
    return {};
}

void OutputFile::Attach(int fd) {
    Close();
    m_fd = fd;
    m_owned = false;
}

std::string OutputFile::WriteLine(std::string_view line) {
    if (m_fd < 0) {
        return std::strerror(EBADF);
    }
    // The line and its CR LF go out together in one write call from one piece of memory: the
    // kernel takes that at a good deal less cost than the same bytes in two parts.
    m_pending.assign(line);
    m_pending += "\r\n";
    std::size_t sent = 0;  // bytes of this line that went out
    while (sent < m_pending.size()) {
        const ssize_t written = ::write(m_fd, m_pending.data() + sent, m_pending.size() - sent);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            TakeBackPartialLine(m_fd, sent);
            return std::strerror(error);
        }
        if (written == 0) {
            TakeBackPartialLine(m_fd, sent);
            return std::strerror(EIO);  // a device that takes nothing would loop for ever
        }
        sent += static_cast<std::size_t>(written);  // after a short write, the rest goes next
    }
    return {};
}

std::string OutputFile::Close() {
    std::string error;
    if (m_fd >= 0 && m_owned && ::close(m_fd) != 0) {
        error = std::strerror(errno);
    }
    m_fd = -1;
    m_owned = false;
    return error;
}

}  // namespace ao07
