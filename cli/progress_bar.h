#pragma once

#include <string>

namespace ao07::cli {

/// A one-line progress bar on standard error, drawn only where a person watches it (standard
/// error is a terminal); it is redrawn only when what it shows changes.
class ProgressBar {
public:
    /// A bar for reading `name`; `wanted` false makes every call do nothing.
    ProgressBar(std::string name, bool wanted);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    /// Shows `fraction` (0..1) of the recording read, and the tone and speed heard (0: none).
    void Show(double fraction, double toneHz, double wordsPerMinute);

    /// Takes the bar off the screen, before a line of the log is shown on the same terminal.
    void Clear();

private:
    void Put(const std::string& text);

    std::string m_name;
    bool m_enabled = false;
    bool m_shown = false;
    std::string m_last;
};

}  // namespace ao07::cli
