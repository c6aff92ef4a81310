#include "decoder/csv_record.h"

#include <array>

#include "core/number_text.h"
#include "core/text_join.h"
#include "decoder/channel_table.h"
#include "decoder/frame.h"
#include "decoder/run_state.h"

namespace ao07 {
const std::string& CsvHeader() {
    static const std::string header = [] {
        std::string text = "Date,Time,Orbit#";
        for (const ChannelInfo& channel : ChannelTable()) {
            text += ',';
            text += channel.csvField;
        }
        return text;
    }();
    return header;
}

namespace {

// Date, time and orbit: the fields before the channels.
constexpr std::size_t kLeadingFields = 3;

/// The record's fields into `record`: trimmed date and time, orbit, then `channelFields`.
template <std::size_t ChannelFields>
void JoinRecord(std::string_view date, std::string_view time, std::int32_t orbit,
                std::array<std::string_view, kLeadingFields + ChannelFields>& fields,
                std::string& record) {
    IntegerDigits orbitDigits;
    fields[0] = TrimBlanks(date);
    fields[1] = TrimBlanks(time);
    fields[2] = IntegerText(orbit, orbitDigits);
    JoinInto(record, fields, ',');
}

}  // namespace

void AssembleRecord(const RunState& state, std::string& record) {
    std::array<std::string_view, kLeadingFields + kRowCount> fields;
    for (int row = 1; row <= kRowCount; ++row) {
        fields[kLeadingFields + static_cast<std::size_t>(row - 1)] = state.RowCsv[row];
    }
    JoinRecord<kRowCount>(state.DateText, state.TimeText, state.OrbitNumber, fields, record);
}

void AssembleRecordWithGaps(const Frame& frame, std::string& record) {
    std::array<std::string_view, kLeadingFields + kChannelCount> fields;
    for (std::size_t i = 0; i < frame.channels.size(); ++i) {
        const ChannelReading& channel = frame.channels[i];
        fields[kLeadingFields + i] =
            channel.reception == Reception::Copied ? channel.text : std::string_view();
    }
    JoinRecord<kChannelCount>(frame.date, frame.time, frame.orbit, fields, record);
}

}  // namespace ao07
