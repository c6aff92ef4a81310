#include "fuzz/log_steps_check.h"

#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

#include "core/number_text.h"
#include "decoder/csv_record.h"
#include "decoder/frame.h"
#include "decoder/front_panel.h"
#include "decoder/main_module.h"
#include "reader/telemetry_reader.h"

namespace ao07::fuzz {
namespace {

/// A window that shows nothing but checks what it is asked to show.
class CheckingPanel final : public FrontPanel {
public:
    explicit CheckingPanel(std::string& failure) : m_failure(failure) {}

    std::string lastRawLine;
    std::size_t frames = 0;
    std::vector<std::string> records;  // every text shown in txtOutputData after the header
    int endMessages = 0;

    void ShowRawLine(std::string_view line) override {
        if (endMessages > 0) {
            Fail("a line was shown after the end of the log");
        }
        lastRawLine = line;
    }
    void ShowOrbit(std::string_view text) override {
        if (text.empty() || text.find_first_not_of("-0123456789") != std::string_view::npos) {
            Fail("orbit shown as \"" + std::string(text) + "\"");
        }
    }
    void ShowTime(std::string_view) override {}
    void ShowDate(std::string_view) override {}
    void RecordWritten(std::string_view record, bool written) override {
        if (!written) {
            Fail("a record could not be written");
        }
        records.emplace_back(record);
    }
    void ShowRawValue(int channel, std::string_view text) override {
        // Two characters of a row give -9 to 99 and nothing else.
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (channel < 1 || channel > kChannelCount || error != std::errc{} ||
            end != text.data() + text.size() || value < -9 || value > 99) {
            Fail("channel " + std::to_string(channel) + " shows the raw value \"" +
                 std::string(text) + "\"");
        }
    }
    void ShowChannelText(int channel, std::string_view text) override {
        if (channel < 1 || channel > kChannelCount || !IsThreeDecimalText(text)) {
            Fail("channel " + std::to_string(channel) + " shows \"" + std::string(text) + "\"");
        }
    }
    void FrameCompleted(const Frame& frame) override {
        ++frames;
        if (records.empty() || frame.record != records.back()) {
            Fail("frame " + std::to_string(frame.number) + " is not the record just written");
        }
        for (const ChannelReading& channel : frame.channels) {
            // A copied value is two digits.
            if (channel.reception == Reception::Copied && (channel.raw < 0 || channel.raw > 99)) {
                Fail("a copied channel reads " + std::to_string(channel.raw));
            }
        }
    }
    void AutoModeChanged(bool) override { Fail("Auto mode changed although it never ran"); }
    void LogEnded() override { ++endMessages; }
    void ShowError(std::string_view message) override {
        Fail("unexpected error: " + std::string(message));
    }

private:
    static bool IsThreeDecimalText(std::string_view text) {
        if (!text.empty() && text.front() == '-') {
            text.remove_prefix(1);
        }
        const auto point = text.find('.');
        return point != std::string_view::npos && point > 0 && text.size() == point + 4 &&
               text.find_first_not_of("0123456789.") == std::string_view::npos &&
               text.find('.', point + 1) == std::string_view::npos;
    }
    void Fail(const std::string& what) {
        if (m_failure.empty()) {
            m_failure = what;
        }
    }

    std::string& m_failure;
};

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }
    void Reset(int fd = -1) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }

private:
    int m_fd;
};

constexpr std::size_t kMaxPieces = 128;

/// The log as a stream of datagrams: every read of the reader returns one piece.
std::string SendInPieces(std::string_view log, std::size_t piece, Descriptor& reader) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) {
        return "socketpair failed";
    }
    reader.Reset(pair[0]);
    Descriptor writer(pair[1]);
    for (std::size_t at = 0; at < log.size(); at += piece) {
        const std::size_t length = std::min(piece, log.size() - at);
        if (::send(writer.Get(), log.data() + at, length, MSG_NOSIGNAL) !=
            static_cast<ssize_t>(length)) {
            return "the log does not fit the socket";
        }
    }
    return {};
}

std::string ReadAll(int fd) {
    std::string bytes;
    char block[4096];
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(fd, block, sizeof block, at);
        if (got <= 0) {
            return bytes;
        }
        bytes.append(block, static_cast<std::size_t>(got));
        at += got;
    }
}

}  // namespace

std::vector<std::string_view> SplitLogLines(std::string_view log) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < log.size()) {
        const std::size_t end = std::min(log.find_first_of("\r\n", start), log.size());
        lines.push_back(log.substr(start, end - start));
        start = end + 1;
        if (end + 1 < log.size() && log[end] == '\r' && log[end + 1] == '\n') {
            ++start;
        }
    }
    return lines;
}

std::size_t CountRowSixLines(const std::vector<std::string_view>& lines) {
    std::size_t count = 0;
    for (std::string_view line : lines) {
        const std::string_view trimmed = TrimBlanks(line);
        count += trimmed.size() == 15 && trimmed.front() == '6' ? 1 : 0;
    }
    return count;
}

std::string CheckLogSteps(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return {};
    }
    const std::string_view log(reinterpret_cast<const char*>(data) + 1, size - 1);
    // The socket holds a limited number of datagrams; a longer log comes in larger pieces.
    const std::size_t piece =
        std::max(std::size_t{data[0]} + 1, (log.size() + kMaxPieces - 1) / kMaxPieces);

    Descriptor input;
    if (std::string error = SendInPieces(log, piece, input); !error.empty()) {
        return error;
    }
    Descriptor csv(::memfd_create("ao-07.csv", MFD_CLOEXEC));
    if (csv.Get() < 0) {
        return "memfd_create failed";
    }

    std::string failure;
    CheckingPanel panel(failure);
    MainModule module(panel);
    if (std::string error = module.StartCsvOutput("/proc/self/fd/" + std::to_string(csv.Get()));
        !error.empty()) {
        return "CSV header not written: " + error;
    }
    module.OpenLogFromDescriptor(input.Get(), "fuzz log");

    const std::vector<std::string_view> lines = SplitLogLines(log);
    std::size_t steps = 0;
    while (!module.State().AtEndOfFile && failure.empty()) {
        if (++steps > lines.size() + 1) {
            return "more steps than lines: the log never ends";
        }
        module.AdvanceOneLine();
    }
    if (!failure.empty()) {
        return failure;
    }
    if (steps != lines.size() + 1) {
        return "the log ended after " + std::to_string(steps) + " steps, expected " +
               std::to_string(lines.size() + 1);
    }
    if (panel.endMessages != 1) {
        return "end-of-log message shown " + std::to_string(panel.endMessages) + " times";
    }
    if (module.State().CsvEnabled) {
        return "CSV output still on after the end of the log";
    }
    if (!lines.empty() && panel.lastRawLine != TrimBlanks(lines.back())) {
        return "the last line shown is not the log's last line";
    }

    std::string expected = CsvHeader() + "\r\n";
    for (const std::string& record : panel.records) {
        if (record.find_first_of("\r\n") != std::string::npos) {
            return "a record holds a line end";
        }
        expected += record + "\r\n";
    }
    if (panel.records.size() != CountRowSixLines(lines) || panel.frames != panel.records.size()) {
        return std::to_string(panel.records.size()) + " records for " +
               std::to_string(CountRowSixLines(lines)) + " rows 6";
    }
    if (ReadAll(csv.Get()) != expected) {
        return "the CSV file differs from the records shown";
    }
    return {};
}

}  // namespace ao07::fuzz
