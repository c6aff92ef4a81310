#include "tools/json_lines.h"

#include "core/frame.h"
#include "core/number_text.h"
#include "core/output_file.h"
#include "decoder/channel_table.h"
#include "decoder/frame_checks.h"
#include "tools/json_text.h"

namespace ao07::tool {
namespace {

const char* CalibrationName(Calibration calibration) {
    switch (calibration) {
        case Calibration::Good:
            return "good";
        case Calibration::Doubtful:
            return "doubtful";
        case Calibration::Unknown:
            break;
    }
    return "unknown";
}

const char* ReceptionName(Reception reception) {
    switch (reception) {
        case Reception::Copied:
            return "copied";
        case Reception::NotCopied:
            return "not copied";
        case Reception::Missing:
            break;
    }
    return "missing";
}

}  // namespace

void AppendFrameJson(std::string& line, std::string_view logName, const Frame& frame) {
    line += "{\"log\":";
    AppendJsonString(line, logName);
    line.append(",\"frame\":").append(IntegerText(frame.number));
    line.append(",\"line\":").append(IntegerText(frame.lineNumber));
    line += ",\"date\":";
    AppendJsonString(line, frame.date);
    line += ",\"time\":";
    AppendJsonString(line, frame.time);
    line.append(",\"orbit\":").append(IntegerText(frame.orbit));
    line.append(",\"calibration\":\"").append(CalibrationName(CalibrationOf(frame)));
    line += "\",\"channels\":[";
    for (const ChannelInfo& info : ChannelTable()) {
        const ChannelReading& channel = frame.Channel(info.index);
        line += info.index == 1 ? "{\"id\":\"" : ",{\"id\":\"";
        line.append(ChannelName(info.index)).append("\",\"raw\":").append(IntegerText(channel.raw));
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
