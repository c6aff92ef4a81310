#include "cli/group_report.h"

#include "cli/json_text.h"

namespace ao07::cli {

std::string GroupReportLine(const std::string& recording, const audio::HeardGroup& group) {
    using tool::AppendJsonNumber;
    std::string json = "{\"recording\":";
    tool::AppendJsonString(json, recording);
    json += ",\"start\":";
    AppendJsonNumber(json, group.startSeconds);
    json += ",\"text\":";
    tool::AppendJsonString(json, group.text);
    json += ",\"confidence\":[";
    for (std::size_t i = 0; i < group.confidence.size(); ++i) {
        json += i == 0 ? "" : ",";
        AppendJsonNumber(json, group.confidence[i]);
    }
    json += "],\"tone_hz\":";
    AppendJsonNumber(json, group.signal.toneHz);
    json += ",\"wpm\":";
    AppendJsonNumber(json, group.signal.wordsPerMinute);
    json += ",\"snr_db\":";
    AppendJsonNumber(json, group.signal.snrDb);
    json += "}\n";
    return json;
}

}  // namespace ao07::cli
