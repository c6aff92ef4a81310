#include "decoder/csv_record.h"

#include "core/frame.h"
#include "core/number_text.h"
#include "core/run_state.h"
#include "decoder/channel_table.h"

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

/// Date, time and orbit: the fields before the channels.
void AssembleRecordStart(std::string_view date, std::string_view time, std::int32_t orbit,
                         std::string& record) {
    record.assign(TrimBlanks(date));
    record += ',';
    record += TrimBlanks(time);
    record += ',';
    record += IntegerText(orbit);
}

}  // namespace

void AssembleRecord(const RunState& state, std::string& record) {
    AssembleRecordStart(state.DateText, state.TimeText, state.OrbitNumber, record);
    for (const std::string& fragment : state.RowCsv) {
        record += ',';
        record += fragment;
    }
}

void AssembleRecordWithGaps(const Frame& frame, std::string& record) {
    AssembleRecordStart(frame.date, frame.time, frame.orbit, record);
    for (const ChannelReading& channel : frame.channels) {
        record += ',';
        if (channel.reception == Reception::Copied) {
            record += channel.text;
        }
    }
}

}  // namespace ao07
