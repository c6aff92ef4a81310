#include "core/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace ao07 {
namespace {

/// A disk that fills up in the middle of a record has taken part of it: cut that part off
/// again, so that the file ends with the last whole record and not with a piece of the next.
void TakeBackPartialRecord(int fd, std::size_t partial) {
    struct stat info {};
    if (partial == 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return;
    }
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    const auto length = static_cast<off_t>(partial);
    if (end >= length && ::ftruncate(fd, end - length) == 0) {
        ::lseek(fd, end - length, SEEK_SET);
    }
}

/// Writes `bytes`, whole records ending at `recordEnds`, to `fd`. Returns "" or the reason; the
/// records that went out whole then stay and the piece of the next is cut off again.
std::string WriteRecords(int fd, std::string_view bytes,
                         const std::vector<std::size_t>& recordEnds) {
    std::string error;
    std::size_t sent = 0;
    if (fd < 0) {
        error = std::strerror(EBADF);
    }
    while (error.empty() && sent < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + sent, bytes.size() - sent);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            error = std::strerror(errno);
        } else if (written == 0) {
            error = std::strerror(EIO);  // a device that takes nothing would loop for ever
        } else {
            sent += static_cast<std::size_t>(written);  // after a short write, the rest goes next
        }
    }
    if (!error.empty() && fd >= 0) {
        const auto whole = std::upper_bound(recordEnds.begin(), recordEnds.end(), sent);
        const std::size_t kept = whole == recordEnds.begin() ? 0 : *(whole - 1);
        TakeBackPartialRecord(fd, sent - kept);
    }
    return error;
}

}  // namespace

OutputFile::~OutputFile() {
    Close();
}

std::string OutputFile::Open(const std::string& path, std::span<const FileIdentity> logs,
                             std::string_view refusal) {
    struct stat target {};
    const bool exists =
        path.empty() ? ::fstat(STDOUT_FILENO, &target) == 0 : ::stat(path.c_str(), &target) == 0;
    const FileIdentity identity{target.st_dev, target.st_ino};
    if (exists && std::find(logs.begin(), logs.end(), identity) != logs.end()) {
        return std::string(refusal);
    }
    if (path.empty()) {
        Attach(STDOUT_FILENO);
        return {};
    }
    return Create(path);
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

bool OutputFile::IsTerminal() const {
    return m_fd >= 0 && ::isatty(m_fd) == 1;
}

std::string OutputFile::SetBatched(bool batched) {
    m_batched = batched;
    if (batched) {
        m_pending.reserve(kBatchBytes + 4096);
        return {};
    }
    return Flush();
}

std::string OutputFile::WriteLine(std::string_view line) {
    // The line and its CR LF go out together in one write call from one piece of memory: the
    // kernel takes that at a good deal less cost than the same bytes in two parts.
    m_pending.append(line);
    m_pending += "\r\n";
    return EndRecord();
}

std::string OutputFile::WriteRecord(std::string_view record) {
    m_pending.append(record);
    return EndRecord();
}

std::string OutputFile::EndRecord() {
    m_recordEnds.push_back(m_pending.size());
    if (!m_batched) {
        return Flush();
    }
    return m_pending.size() < kBatchBytes ? std::string() : HandOver();
}

std::string OutputFile::HandOver() {
    // The writer takes one block at a time: collecting goes on in the other buffer meanwhile.
    if (std::string error = WaitForWriter(); !error.empty()) {
        // The file ends with the last whole record of the block that failed; none goes after.
        m_pending.clear();
        m_recordEnds.clear();
        return error;
    }
    if (!m_writer.joinable()) {
        try {
            m_writer = std::thread([this] { WriteBlocks(); });
        } catch (const std::system_error&) {
            return Flush();  // no thread to be had: this block is written here and now
        }
    }
    {
        const std::lock_guard lock(m_mutex);
        std::swap(m_inFlight, m_pending);
        std::swap(m_inFlightEnds, m_recordEnds);
        m_blockWaiting = true;
    }
    m_changed.notify_all();
    m_pending.clear();
    m_recordEnds.clear();
    return {};
}

void OutputFile::WriteBlocks() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_blockWaiting || m_stopping; });
        if (!m_blockWaiting) {
            return;
        }
        lock.unlock();
        std::string error = WriteRecords(m_fd, m_inFlight, m_inFlightEnds);
        lock.lock();
        m_writerError = std::move(error);
        m_blockWaiting = false;
        m_changed.notify_all();
    }
}

std::string OutputFile::WaitForWriter() {
    if (!m_writer.joinable()) {
        return {};
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_blockWaiting; });
    // Kept until the file is closed: nothing may follow a block that failed.
    return m_writerError;
}

void OutputFile::StopWriter() {
    if (!m_writer.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_writer.join();
    m_stopping = false;
}

std::string OutputFile::Flush() {
    std::string error = WaitForWriter();
    if (error.empty() && !m_pending.empty()) {
        error = WriteRecords(m_fd, m_pending, m_recordEnds);
    }
    m_pending.clear();
    m_recordEnds.clear();
    return error;
}

std::string OutputFile::Close() {
    std::string error = m_fd >= 0 ? Flush() : WaitForWriter();
    StopWriter();
    m_writerError.clear();
    m_pending.clear();
    m_recordEnds.clear();
    if (m_fd >= 0 && m_owned && ::close(m_fd) != 0 && error.empty()) {
        error = std::strerror(errno);
    }
    m_fd = -1;
    m_owned = false;
    return error;
}

}  // namespace ao07
