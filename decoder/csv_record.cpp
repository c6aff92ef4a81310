#include "decoder/csv_record.h"

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

void AssembleRecord(const RunState& state, std::string& record) {
    record.assign(TrimBlanks(state.DateText));
    record += ',';
    record += TrimBlanks(state.TimeText);
    record += ',';
    record += IntegerText(state.OrbitNumber);
    for (const std::string& fragment : state.RowCsv) {
        record += ',';
        record += fragment;
    }
}

}  // namespace ao07
