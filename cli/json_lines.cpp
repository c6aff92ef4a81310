#include "cli/json_lines.h"

#include <array>
#include <bit>
#include <cstdint>

#include "analysis/frame_checks.h"
#include "cli/json_text.h"
#include "core/output_file.h"
#include "decoder/channel_conversion.h"
#include "decoder/channel_table.h"
#include "decoder/frame.h"

namespace ao07::tool {
namespace {

/// The start of each channel's object up to its raw value, made once: {"id":"1A","raw":
const std::array<std::string, kChannelCount>& ChannelStarts() {
    static const std::array<std::string, kChannelCount> starts = [] {
        std::array<std::string, kChannelCount> texts;
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            texts[static_cast<std::size_t>(channel - 1)] =
                (channel == 1 ? "{\"id\":\"" : ",{\"id\":\"") + ChannelName(channel) +
                "\",\"raw\":";
        }
        return texts;
    }();
    return starts;
}

/// One channel's object: {"id":"1A","raw":81,"value":2389.5,"unit":"mA","text":"2389.500",
/// "reception":"copied"}, with a comma before it for every channel but the first.
void AppendChannelJson(std::string& line, const ChannelInfo& info, const ChannelReading& channel) {
    line += ChannelStarts()[static_cast<std::size_t>(info.index - 1)];
    AppendJsonInteger(line, channel.raw);
    line += ",\"value\":";
    AppendJsonNumber(line, channel.value);
    line += ",\"unit\":";
    AppendJsonString(line, info.valueUnit);
    line += ",\"text\":";
    AppendJsonString(line, channel.text);
    line.append(",\"reception\":\"").append(ReceptionName(channel.reception)).append("\"}");
}

/// The frame's object up to the start of its channels.
void AppendFrameStart(std::string& line, std::string_view logName, const Frame& frame) {
    line += "{\"log\":";
    AppendJsonString(line, logName);
    line += ",\"frame\":";
    AppendJsonInteger(line, frame.number);
    line += ",\"line\":";
    AppendJsonInteger(line, frame.lineNumber);
    line += ",\"date\":";
    AppendJsonString(line, frame.date);
    line += ",\"time\":";
    AppendJsonString(line, frame.time);
    line += ",\"orbit\":";
    AppendJsonInteger(line, frame.orbit);
    line.append(",\"calibration\":\"").append(CalibrationName(CalibrationOf(frame)));
    line += "\",\"channels\":[";
}

constexpr std::string_view kFrameEnd = "]}\n";

}  // namespace

void AppendFrameJson(std::string& line, std::string_view logName, const Frame& frame) {
    AppendFrameStart(line, logName, frame);
    for (const ChannelInfo& info : ChannelTable()) {
        AppendChannelJson(line, info, frame.Channel(info.index));
    }
    line += kFrameEnd;
}

/// Each channel's object, kept once made: a log repeats a few raw values over and over, and the
/// object of a reading seen before is copied rather than made again. An object is used again
/// only for a reading equal in every field it shows, so the output is what AppendChannelJson
/// makes for every reading.
class JsonLines::ChannelObjects {
public:
    void Append(std::string& line, const ChannelInfo& info, const ChannelReading& channel) {
        const int offset = channel.raw - kLowestRowValue;
        if (offset < 0 || offset >= static_cast<int>(kRowValueCount)) {
            AppendChannelJson(line, info, channel);
            return;
        }
        Kept& kept =
            m_kept[static_cast<std::size_t>(info.index - 1)][static_cast<std::size_t>(offset)]
                  [static_cast<std::size_t>(channel.reception)];
        if (!kept.Shows(channel)) {
            kept.raw = channel.raw;
            kept.value = channel.value;
            kept.text = channel.text;
            kept.json.clear();
            AppendChannelJson(kept.json, info, channel);
        }
        line += kept.json;
    }

private:
    /// A channel's object and the reading it shows; its own copy of the text, so that it never
    /// depends on how long the frame's texts live.
    struct Kept {
        std::int16_t raw = 0;
        float value = 0;
        std::string text;
        std::string json;  ///< "" until made

        bool Shows(const ChannelReading& channel) const {
            // The reception is the cache's own index.
            return !json.empty() && raw == channel.raw &&
                   std::bit_cast<std::uint32_t>(value) ==
                       std::bit_cast<std::uint32_t>(channel.value) &&
                   text == channel.text;
        }
    };
    static constexpr std::size_t kReceptions = 3;
    std::array<std::array<std::array<Kept, kReceptions>, kRowValueCount>, kChannelCount> m_kept;
};

JsonLines::JsonLines() : m_channels(std::make_unique<ChannelObjects>()) {}

JsonLines::~JsonLines() = default;

std::string JsonLines::Take(OutputFile& out, std::string_view logName, const Frame& frame) {
    return out.WriteRecordMadeBy([&](std::string& line) {
        AppendFrameStart(line, logName, frame);
        for (const ChannelInfo& info : ChannelTable()) {
            m_channels->Append(line, info, frame.Channel(info.index));
        }
        line += kFrameEnd;
    });
}

}  // namespace ao07::tool
