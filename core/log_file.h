#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/output_file.h"

struct stat;

namespace ao07 {

/// Which files LogFile::Open takes as a log.
enum class LogFiles {
    AnyReadable,  ///< also pipes and devices, as a command line reads them
    /// Ordinary files only; a named pipe, device, socket or folder is refused with a reason
    /// that says what it is, and opening never waits (a named pipe without a writer would).
    RegularOnly,
    /// An ordinary file, as RegularOnly, that is still being written, read as `tail -f` reads:
    /// AtEnd() at what has been written so far holds only until more arrives, and a line is
    /// handed out only once its end has arrived.
    Followed,
};

/// What LogFile::ReadOnIn found under the name of a followed log that was rewritten.
enum class LogRewrite {
    SameBeginning,   ///< it begins with the lines already read: reading goes on in it
    OtherBeginning,  ///< it begins otherwise: it has to be read again from its first line
    Unreadable,      ///< it cannot be opened (yet)
};

/// Opens the named log for reading without waiting (a named pipe without a writer would make
/// open() wait) and checks with fstat what was opened: a folder is never taken, and with
/// RegularOnly nothing but an ordinary file; a named pipe taken with AnyReadable then waits for
/// its writer. Returns the descriptor, blocking as usual from then on, or -1 with `reason` set
/// to why the log cannot be read.
int OpenLogDescriptor(const std::string& path, LogFiles accepted, std::string& reason);

/// What every front end tells the user when a log cannot be opened for `reason`.
std::string LogOpenMessage(std::string_view path, std::string_view reason);

/// The operator's log, read sequentially one line at a time through a small buffer,
/// so memory does not grow with the log. Bytes are passed on unchanged. CR LF, a lone CR and a
/// lone LF each end a line; a last line without a terminator is still a line, and a terminator
/// at the very end of the log starts no further line.
class LogFile {
public:
    LogFile() = default;
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    /// Opens the named log at its first line. Returns "" or the reason it cannot be read.
    std::string Open(const std::string& path, LogFiles accepted = LogFiles::AnyReadable);

    /// Reads from a descriptor that is already open (standard input); Close leaves it open.
    void Attach(int fd);

    /// The open log's identity as the system knows it; none while no log is open.
    std::optional<FileIdentity> Identity() const;

    /// True when no further characters remain, or when reading failed (see ReadError). For a
    /// followed log: when no whole line has arrived yet; a later call looks again.
    bool AtEnd();

    /// The longest part of a line that is kept: no line of a log comes near it, and a file
    /// without line ends (a wrong file chosen as the log) cannot fill the memory.
    static constexpr std::size_t kMaxLineLength = std::size_t{1} << 20;

    /// The next line without its terminator, cut to its first kMaxLineLength characters (the
    /// rest is read past). Returns true when the line was cut. Call only when AtEnd() is false.
    /// `line` is valid until the next call of ReadLine, AtEnd or Close: a line that lies whole
    /// in the read buffer is not copied at all.
    bool ReadLine(std::string_view& line);

    /// For a followed log: whether its name now stands for another file than the one read, or
    /// for this one made shorter than what was read of it (`named` is what stat says of the
    /// name), as when an editor saves the log.
    bool Rewritten(const struct stat& named) const;

    /// For a followed log that was Rewritten: opens the named file again and, when it begins
    /// with the lines already handed out, reads on in it after them; otherwise the log is left
    /// as it was.
    LogRewrite ReadOnIn(const std::string& path);

    /// Closes the log; closing a log that is not open does nothing.
    void Close();

    /// Whether the log is followed as it grows (opened as LogFiles::Followed).
    bool Follows() const { return m_follows; }

    /// Why the last read failed, or "" if none did since the log was opened.
    const std::string& ReadError() const { return m_readError; }

private:
    /// True when the open log is the file `file` describes, under whatever name.
    bool Reads(const struct stat& file) const;
    bool Fill();
    bool FillFollowed();
    bool SkipRestOfCutLine();
    void Reset(int fd, bool owned);
    bool ReadLineAcrossBlocks(std::string_view& line);
    void SkipTerminator(char terminator);
    std::uint64_t HandedOut() const { return m_readEnd - (m_tailEnd - m_pos); }

    int m_fd = -1;
    bool m_owned = false;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::string m_spill;       ///< a line that runs on into the next block of the buffer
    bool m_pendingLf = false;  ///< the last block ended in a CR: an LF opening the next ends
                               ///< the same line
    bool m_exhausted = false;
    std::string m_readError;

    // A followed log. Its end is not final, and only whole lines lie before m_end: the start
    // of a line whose end has not arrived waits behind it, up to m_tailEnd, until it has.
    bool m_follows = false;
    bool m_skipsCutLine = false;  ///< the rest of a line handed out cut is still to be passed
    std::size_t m_tailEnd = 0;
    std::uint64_t m_readEnd = 0;  ///< how much of the log has been read into the buffer
};

}  // namespace ao07
