#include "cli/channel_stats.h"

#include <algorithm>
#include <vector>

#include "cli/json_text.h"
#include "core/number_text.h"
#include "core/output_file.h"
#include "core/windows1252.h"
#include "decoder/channel_table.h"
#include "decoder/decoded_text.h"
#include "decoder/frame.h"

namespace ao07::tool {
namespace {

/// Characters (not bytes) of UTF-8 text: what a terminal's columns hold.
std::size_t Width(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Utf8(std::string_view windows1252) {
    std::string text;
    AppendUtf8(text, windows1252);
    return text;
}

}  // namespace

std::string ChannelStats::Take(OutputFile&, std::string_view, const Frame& frame) {
    ++m_frames;
    for (std::size_t i = 0; i < m_tallies.size(); ++i) {
        m_tallies[i].Take(frame.channels[i].reception, frame.channels[i].value);
    }
    return {};
}

std::string ChannelStats::Finish(OutputFile& out) {
    return out.WriteRecord(m_json ? JsonObjects() : Table());
}

std::string ChannelStats::Table() const {
    // Every cell first, then each column as wide as its widest cell.
    std::vector<std::array<std::string, 11>> rows;
    rows.push_back({"channel", "caption", "unit", "frames", "copied", "not copied", "missing",
                    "minimum", "maximum", "mean", "last"});
    for (const ChannelInfo& info : ChannelTable()) {
        const ChannelTally& tally = m_tallies[static_cast<std::size_t>(info.index - 1)];
        const bool any = tally.copied > 0;
        rows.push_back(
            {ChannelName(info.index), Utf8(CaptionName(info)), Utf8(info.valueUnit),
             IntegerText(m_frames), IntegerText(tally.copied), IntegerText(tally.notCopied),
             IntegerText(tally.missing), any ? DecodedText(tally.minimum) : "-",
             any ? DecodedText(tally.maximum) : "-", any ? DecodedText(tally.Mean()) : "-",
             any ? DecodedText(tally.last) : "-"});
    }
    std::array<std::size_t, 11> widths{};
    for (const auto& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], Width(row[column]));
        }
    }
    // Names to the left, numbers to the right.
    std::string table;
    for (const auto& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            const std::string padding(widths[column] - Width(row[column]), ' ');
            if (column > 0) {
                table += "  ";
            }
            const bool left = column < 3;
            table += left ? row[column] + padding : padding + row[column];
        }
        while (!table.empty() && table.back() == ' ') {
            table.pop_back();
        }
        table += '\n';
    }
    return table;
}

std::string ChannelStats::JsonObjects() const {
    std::string json;
    for (const ChannelInfo& info : ChannelTable()) {
        const ChannelTally& tally = m_tallies[static_cast<std::size_t>(info.index - 1)];
        const bool any = tally.copied > 0;
        json.append("{\"id\":\"").append(ChannelName(info.index)).append("\",\"caption\":");
        AppendJsonString(json, CaptionName(info));
        json += ",\"unit\":";
        AppendJsonString(json, info.valueUnit);
        json.append(",\"frames\":").append(IntegerText(m_frames));
        json.append(",\"copied\":").append(IntegerText(tally.copied));
        json.append(",\"not_copied\":").append(IntegerText(tally.notCopied));
        json.append(",\"missing\":").append(IntegerText(tally.missing));
        // The value at full precision, and beside it its text as every other output gives it.
        const auto number = [&](std::string_view name, float value) {
            json.append(",\"").append(name).append("\":");
            if (any) {
                AppendJsonNumber(json, value);
            } else {
                json += "null";
            }
            json.append(",\"").append(name).append("_text\":");
            if (any) {
                AppendJsonString(json, DecodedText(value));
            } else {
                json += "null";
            }
        };
        number("minimum", tally.minimum);
        number("maximum", tally.maximum);
        number("mean", tally.Mean());
        number("last", tally.last);
        json += "}\n";
    }
    return json;
}

}  // namespace ao07::tool
