#include "cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace ao07::cli {
namespace {

constexpr int kBarCells = 30;
// Room for the name in an 80-column terminal beside the bar, the percentage and the estimates.
constexpr std::size_t kNameWidth = 20;

std::string ShortName(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    if (base.size() > kNameWidth) {
        base = base.substr(0, kNameWidth - 3) + "...";
    }
    return base;
}

}  // namespace

ProgressBar::ProgressBar(std::string name, bool wanted)
    : m_name(ShortName(name)), m_enabled(wanted && ::isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() {
    Clear();
}

void ProgressBar::Show(double fraction, double toneHz, double wordsPerMinute) {
    if (!m_enabled) {
        return;
    }
    const double part = std::clamp(fraction, 0.0, 1.0);
    const int filled = static_cast<int>(part * kBarCells);
    std::string text = m_name + " [" + std::string(static_cast<std::size_t>(filled), '#') +
                       std::string(static_cast<std::size_t>(kBarCells - filled), '.') + "] " +
                       std::to_string(static_cast<int>(part * 100)) + "%";
    if (toneHz > 0) {
        text += "  " + std::to_string(static_cast<int>(std::lround(toneHz))) + " Hz";
    }
    if (wordsPerMinute > 0) {
        text += "  " + std::to_string(static_cast<int>(std::lround(wordsPerMinute))) + " wpm";
    }
    if (m_shown && text == m_last) {
        return;
    }
    m_last = text;
    m_shown = true;
    Put("\r\033[K" + text);
}

void ProgressBar::Clear() {
    if (m_enabled && m_shown) {
        m_shown = false;
        Put("\r\033[K");
    }
}

void ProgressBar::Put(const std::string& text) {
    // The bar is only a view of the run: a terminal that takes none of it changes nothing in
    // the log, so its writes are not checked.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
}

}  // namespace ao07::cli
