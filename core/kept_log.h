#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ao07 {

class OutputFile;

/// A log being made, kept on disk line by line: each completed line goes to the operating
/// system at once, so that a stop, a crash or a full disk leaves every line completed before
/// it. A change to an earlier line writes the whole log to a new file beside it, which then
/// takes the log's name: at every moment the name holds either the old log or the new one.
class KeptLog {
public:
    KeptLog();
    ~KeptLog();
    KeptLog(const KeptLog&) = delete;
    KeptLog& operator=(const KeptLog&) = delete;

    /// Keeps the log in `path`, which then holds `lines`. Returns "" or the reason, naming the
    /// file; on failure no log is kept.
    std::string Start(const std::string& path, const std::vector<std::string>& lines);

    /// Adds a completed line at the end. Returns "" or the reason, naming the file; the file
    /// then ends as it did before the line.
    std::string Append(std::string_view line);

    /// Makes the log hold `lines` in place of what it held. Returns "" or the reason, naming the
    /// file; the log then holds what it held before.
    std::string Rewrite(const std::vector<std::string>& lines);

    /// Stops keeping the log. Returns "" or the reason it could not be closed cleanly.
    std::string Close();

    /// Whether a log is kept.
    bool IsKept() const { return m_out != nullptr; }

    /// The log's name; "" when none is kept.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::unique_ptr<OutputFile> m_out;
};

}  // namespace ao07
