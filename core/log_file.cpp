#include "core/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ao07 {
namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
// A line that lies whole in the buffer is then never longer than a line is kept.
static_assert(kBufferSize <= LogFile::kMaxLineLength);

/// CR or LF. Both lie below every printable character, so one comparison settles most bytes.
bool IsLineEnd(char c) {
    return static_cast<unsigned char>(c) <= '\r' && (c == '\r' || c == '\n');
}

/// The first CR or LF from `cursor` on, or `stop`. Sixteen bytes are tested at a time where the
/// processor can (SSE2, which every x86-64 processor has): a line of a log is short, and this
/// scan is the one pass every byte of the log takes.
const char* FindLineEnd(const char* cursor, const char* stop) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    while (stop - cursor >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cursor));
        const int ends =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)));
        if (ends != 0) {
            return cursor + std::countr_zero(static_cast<unsigned>(ends));
        }
        cursor += 16;
    }
#endif
    while (cursor != stop && !IsLineEnd(*cursor)) {
        ++cursor;
    }
    return cursor;
}

/// Reads at most `room` bytes into `into`, going on through signals. Returns how many: 0 at the
/// end of what the file holds, or on failure with `error` set.
std::size_t ReadBlock(int fd, char* into, std::size_t room, std::string& error) {
    ssize_t count = 0;
    do {
        count = ::read(fd, into, room);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        error = std::strerror(errno);
        return 0;
    }
    return static_cast<std::size_t>(count);
}

/// Whether the first `length` bytes of the files open as `a` and `b` are the same.
bool BeginsAlike(int a, int b, std::uint64_t length) {
    std::vector<char> left(kBufferSize);
    std::vector<char> right(kBufferSize);
    for (std::uint64_t at = 0; at < length;) {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, length - at));
        const ssize_t got = ::pread(a, left.data(), want, static_cast<off_t>(at));
        if (got <= 0 ||
            ::pread(b, right.data(), static_cast<std::size_t>(got), static_cast<off_t>(at)) !=
                got ||
            std::memcmp(left.data(), right.data(), static_cast<std::size_t>(got)) != 0) {
            return false;
        }
        at += static_cast<std::uint64_t>(got);
    }
    return true;
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

int OpenLogDescriptor(const std::string& path, LogFiles accepted, std::string& reason) {
    const bool regularOnly = accepted != LogFiles::AnyReadable;
    // Without O_NONBLOCK, opening a named pipe waits until something opens it for writing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        // A socket cannot be opened at all; what it is says more than "No such device".
        struct stat named {};
        reason = regularOnly && ::stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)
                     ? NotAnOrdinaryFile(named.st_mode)
                     : std::strerror(error);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        reason = std::strerror(errno);
        ::close(fd);
        return -1;
    }
    if (S_ISDIR(info.st_mode) || (regularOnly && !S_ISREG(info.st_mode))) {
        ::close(fd);
        reason = NotAnOrdinaryFile(info.st_mode);
        return -1;
    }
    if (S_ISFIFO(info.st_mode)) {
        // A named pipe the caller asked for: opened again the usual way, which waits for its
        // writer, so that reading does not find its end before the writer has come.
        ::close(fd);
        const int waited = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (waited < 0) {
            reason = std::strerror(errno);
        }
        return waited;
    }
    // Reads block as usual from here on.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        reason = std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string LogOpenMessage(std::string_view path, std::string_view reason) {
    std::string message = "The log \"";
    message.append(path).append("\" could not be opened: ").append(reason).append(".");
    return message;
}

std::string LogFile::Open(const std::string& path, LogFiles accepted) {
    Close();
    std::string reason;
    const int fd = OpenLogDescriptor(path, accepted, reason);
    if (fd < 0) {
        return reason;
    }
    Reset(fd, true);
    m_follows = accepted == LogFiles::Followed;
    return {};
}

bool LogFile::Reads(const struct stat& file) const {
    struct stat info {};
    return m_fd >= 0 && ::fstat(m_fd, &info) == 0 && info.st_dev == file.st_dev &&
           info.st_ino == file.st_ino;
}

std::optional<FileIdentity> LogFile::Identity() const {
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{info.st_dev, info.st_ino};
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
    m_pendingLf = false;
    m_exhausted = false;
    m_readError.clear();
    m_follows = false;
    m_skipsCutLine = false;
    m_tailEnd = 0;
    m_readEnd = 0;
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
    if (m_follows) [[unlikely]] {
        return FillFollowed();
    }
    while (!m_exhausted && m_fd >= 0) {
        const std::size_t count = ReadBlock(m_fd, m_buffer.data(), m_buffer.size(), m_readError);
        if (count == 0) {
            m_exhausted = true;
            return false;
        }
        m_end = count;
        // The LF of a CR LF that the previous block ended between.
        m_pos = m_pendingLf && m_buffer[0] == '\n' ? 1 : 0;
        m_pendingLf = false;
        if (m_pos < m_end) {
            return true;
        }
    }
    return false;
}

bool LogFile::FillFollowed() {
    // Everything before m_end has been handed out; what lies behind it waits for its line end.
    while (!m_exhausted && m_fd >= 0) {
        if (m_pendingLf && m_pos < m_tailEnd) {
            m_pos += m_buffer[m_pos] == '\n' ? 1 : 0;
            m_pendingLf = false;
        }
        if (m_skipsCutLine && !SkipRestOfCutLine()) {
            m_pos = m_end = m_tailEnd;
        } else if (m_pos < m_tailEnd) {
            const auto first =
                std::make_reverse_iterator(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_pos));
            const auto lastEnd = std::find_if(
                m_buffer.rbegin() + static_cast<std::ptrdiff_t>(m_buffer.size() - m_tailEnd), first,
                IsLineEnd);
            if (lastEnd != first) {
                // The whole lines go out; an LF that may follow a last CR is seen to above.
                m_end = m_pos + static_cast<std::size_t>(first - lastEnd);
                return true;
            }
            if (m_tailEnd - m_pos >= kMaxLineLength) {
                // Longer than a line is kept: handed out cut now, and its rest passed as it comes.
                m_end = m_tailEnd;
                return true;
            }
        }
        // The start of a line moves to the front of the buffer, which grows while the line
        // does, and what the log has gained is read behind it.
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_tailEnd - m_pos);
        m_tailEnd -= m_pos;
        m_pos = m_end = 0;
        if (m_tailEnd == m_buffer.size()) {
            m_buffer.resize(std::min(2 * m_buffer.size(), kMaxLineLength));
        }
        const std::size_t count =
            ReadBlock(m_fd, m_buffer.data() + m_tailEnd, m_buffer.size() - m_tailEnd, m_readError);
        if (count == 0) {
            m_exhausted = !m_readError.empty();  // the log may yet grow; a failure ends it
            return false;
        }
        m_tailEnd += count;
        m_readEnd += count;
    }
    return false;
}

bool LogFile::SkipRestOfCutLine() {
    const char* start = m_buffer.data() + m_pos;
    const char* stop = m_buffer.data() + m_tailEnd;
    const char* end = std::find_if(start, stop, IsLineEnd);
    if (end == stop) {
        return false;
    }
    m_skipsCutLine = false;
    m_pos = static_cast<std::size_t>(end - m_buffer.data());
    m_end = m_tailEnd;
    SkipTerminator(*end);
    return true;
}

bool LogFile::AtEnd() {
    return m_pos >= m_end && !Fill();
}

bool LogFile::ReadLine(std::string_view& line) {
    // Nearly every line lies whole in the buffer and is handed on where it stands.
    const char* start = m_buffer.data() + m_pos;
    const char* stop = m_buffer.data() + m_end;
    const char* end = m_pos < m_end ? FindLineEnd(start, stop) : stop;
    if (end == stop) {
        return ReadLineAcrossBlocks(line);
    }
    const auto length = static_cast<std::size_t>(end - start);
    line = std::string_view(start, length);  // shorter than the buffer, so never cut
    m_pos += length;
    SkipTerminator(*end);
    return false;
}

void LogFile::SkipTerminator(char terminator) {
    ++m_pos;
    // CR LF is one terminator, even when the block ends between the two. The line in the buffer
    // is already taken: refilling for the LF would overwrite it, so the next fill skips it.
    if (terminator == '\r') {
        if (m_pos < m_end) {
            m_pos += m_buffer[m_pos] == '\n' ? 1 : 0;
        } else {
            m_pendingLf = true;
        }
    }
}

bool LogFile::ReadLineAcrossBlocks(std::string_view& line) {
    // The line runs on past the end of the buffer: it is gathered in m_spill, as far as it is
    // kept, while the blocks after it are read.
    m_spill.clear();
    bool cut = false;
    while (m_pos < m_end || Fill()) {
        const char* start = m_buffer.data() + m_pos;
        const char* stop = m_buffer.data() + m_end;
        const char* end = FindLineEnd(start, stop);
        const auto length = static_cast<std::size_t>(end - start);
        const auto room = kMaxLineLength - std::min(m_spill.size(), kMaxLineLength);
        cut = cut || length > room;
        m_spill.append(start, std::min(length, room));
        m_pos += length;
        if (end != stop) {
            SkipTerminator(*end);
            line = m_spill;
            return cut;
        }
    }
    // A followed log holds no more of the line yet: it goes out as far as it is kept.
    m_skipsCutLine = m_follows;
    line = m_spill;
    return cut || m_follows;
}

bool LogFile::Rewritten(const struct stat& named) const {
    return !Reads(named) || static_cast<std::uint64_t>(named.st_size) < m_readEnd;
}

LogRewrite LogFile::ReadOnIn(const std::string& path) {
    std::string reason;
    const int fd = OpenLogDescriptor(path, LogFiles::RegularOnly, reason);
    if (fd < 0) {
        return LogRewrite::Unreadable;
    }
    const std::uint64_t handedOut = HandedOut();
    if (!BeginsAlike(m_fd, fd, handedOut)) {
        ::close(fd);
        return LogRewrite::OtherBeginning;
    }
    if (::lseek(fd, static_cast<off_t>(handedOut), SEEK_SET) < 0) {
        ::close(fd);
        return LogRewrite::Unreadable;
    }
    // A line whose end had not arrived is read again from the new file, which may have changed
    // it; an LF still owed to a CR handed out is skipped there as it would have been here.
    const bool pendingLf = m_pendingLf;
    const bool skipsCutLine = m_skipsCutLine;
    Close();
    Reset(fd, true);
    m_follows = true;
    m_pendingLf = pendingLf;
    m_skipsCutLine = skipsCutLine;
    m_readEnd = handedOut;
    return LogRewrite::SameBeginning;
}

}  // namespace ao07
