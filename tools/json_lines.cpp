#include "tools/json_lines.h"

#include <array>

#include "core/frame.h"
#include "core/output_file.h"
#include "decoder/channel_table.h"
#include "decoder/frame_checks.h"
#include "tools/json_text.h"

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

}  // namespace

void AppendFrameJson(std::string& line, std::string_view logName, const Frame& frame) {
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
    for (const ChannelInfo& info : ChannelTable()) {
        const ChannelReading& channel = frame.Channel(info.index);
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
    line += "]}\n";
}

std::string JsonLines::Take(OutputFile& out, std::string_view logName, const Frame& frame) {
    m_line.clear();
    AppendFrameJson(m_line, logName, frame);
    return out.WriteRecord(m_line);
}

}  // namespace ao07::tool
