#include "audio/synth/beacon_frames.h"

#include <cctype>
#include <optional>

namespace ao07::audio::synth {
namespace {

constexpr std::size_t kRowLength = 15;

std::string RandomRow(int row, RandomSource& random) {
    std::string text;
    for (int group = 0; group < kGroupsPerRow; ++group) {
        if (group > 0) {
            text += ' ';
        }
        text += static_cast<char>('0' + row);
        text += static_cast<char>('0' + random.Below(10));
        text += static_cast<char>('0' + random.Below(10));
    }
    return text;
}

std::string_view Trimmed(std::string_view line) {
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front()))) {
        line.remove_prefix(1);
    }
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) {
        line.remove_suffix(1);
    }
    return line;
}

/// The row a log line sets, with its non-digit values replaced; nothing when it is no row.
std::optional<std::string> RowOfLine(std::string_view line, RandomSource& random) {
    if (line.size() != kRowLength || line[0] < '1' || line[0] > '0' + kRowsPerFrame) {
        return std::nullopt;
    }
    std::string row = RandomRow(line[0] - '0', random);
    for (std::size_t pos = 0; pos < kRowLength; ++pos) {
        const bool valuePosition = pos % 4 == 1 || pos % 4 == 2;
        if (valuePosition && std::isdigit(static_cast<unsigned char>(line[pos]))) {
            row[pos] = line[pos];
        }
    }
    return row;
}

}  // namespace

std::vector<BeaconFrame> RandomFrames(int count, RandomSource& random) {
    std::vector<BeaconFrame> frames(static_cast<std::size_t>(count));
    for (BeaconFrame& frame : frames) {
        for (int row = 1; row <= kRowsPerFrame; ++row) {
            frame.rows[static_cast<std::size_t>(row - 1)] = RandomRow(row, random);
        }
    }
    return frames;
}

std::vector<BeaconFrame> FramesOfLog(std::string_view logText, RandomSource& random) {
    std::vector<BeaconFrame> frames;
    std::array<bool, kRowsPerFrame> rowSet{};
    auto finishFrame = [&] {
        if (frames.empty()) {
            return;
        }
        for (int row = 1; row <= kRowsPerFrame; ++row) {
            if (!rowSet[static_cast<std::size_t>(row - 1)]) {
                frames.back().rows[static_cast<std::size_t>(row - 1)] = RandomRow(row, random);
            }
        }
    };
    while (!logText.empty()) {
        const std::size_t end = logText.find('\n');
        const std::string_view line = Trimmed(logText.substr(0, end));
        logText.remove_prefix(end == std::string_view::npos ? logText.size() : end + 1);
        if (line == "HI HI") {
            finishFrame();
            frames.emplace_back();
            rowSet = {};
            continue;
        }
        if (frames.empty()) {
            continue;
        }
        if (std::optional<std::string> row = RowOfLine(line, random)) {
            const auto index = static_cast<std::size_t>((*row)[0] - '1');
            frames.back().rows[index] = std::move(*row);
            rowSet[index] = true;
        }
    }
    finishFrame();
    return frames;
}

std::vector<std::string> FrameWords(const BeaconFrame& frame) {
    std::vector<std::string> words = {"HI", "HI"};
    for (const std::string& row : frame.rows) {
        for (int group = 0; group < kGroupsPerRow; ++group) {
            words.push_back(row.substr(static_cast<std::size_t>(4 * group), 3));
        }
    }
    return words;
}

}  // namespace ao07::audio::synth
