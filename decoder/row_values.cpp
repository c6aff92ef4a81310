#include "decoder/row_values.h"

#include "core/number_text.h"
#include "decoder/channel_conversion.h"
#include "decoder/channel_table.h"
#include "decoder/frame.h"
#include "reader/row_shape.h"
#include "reader/telemetry_reader.h"

namespace ao07 {

std::optional<std::array<RowValue, kSlotCount>> DecodeRowLine(std::string_view line) {
    line = TrimBlanks(line);
    if (line.size() != TelemetryReader::kRowLength || line[0] < '1' || line[0] > '0' + kRowCount) {
        return std::nullopt;
    }
    const int row = line[0] - '0';
    OneBased<bool, kSlotCount> damaged{};
    OneBased<std::int16_t, kSlotCount> raw{};
    TelemetryReader::MarkDamagedChannels(line, damaged);
    TelemetryReader::ExtractRowValues(line, damaged, raw);

    std::array<RowValue, kSlotCount> values{};
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        RowValue& value = values[static_cast<std::size_t>(slot - 1)];
        value.channel = ChannelIndex(row, slot);
        value.reception = TelemetryReader::SlotReception(line, slot);
        value.unit = Channel(value.channel).unit;
        if (value.reception == Reception::Copied) {
            ChannelReading reading;
            value.text = ConvertReading(value.channel, raw[slot], reading);
        }
    }
    return values;
}

}  // namespace ao07
