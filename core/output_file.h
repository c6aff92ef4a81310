#pragma once

#include <string>
#include <string_view>

namespace ao07 {

/// The CSV output, written one line at a time. Each line goes to the operating
/// system with its CR LF as soon as it is written, so a crash of the program loses no record.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    /// Creates the named file, emptying an existing one. Returns "" or the reason it failed.
    std::string Create(const std::string& path);

    /// Writes to a descriptor that is already open (standard output); Close leaves it open.
    void Attach(int fd);

    /// Writes `line` followed by CR LF. Returns "" or the reason the write failed; a file then
    /// ends as it did before the line, without a piece of it.
    std::string WriteLine(std::string_view line);

    /// Closes the file; closing a file that is not open does nothing. Returns "" or the reason
    /// the file could not be closed cleanly.
    std::string Close();

private:
    int m_fd = -1;
    bool m_owned = false;
    std::string m_pending;  ///< the line being written, with its CR LF; reused for the next line
};

}  // namespace ao07
