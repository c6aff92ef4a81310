#include "decoder/channel_conversion.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/channel.h"
#include "core/number_text.h"
#include "decoder/channel_equations.h"
#include "decoder/decoded_text.h"
#include "decoder/frame.h"

namespace ao07 {
namespace {

// Out of line, so that the lookups that use the table stay small.
[[gnu::noinline]] ConversionTable MakeRowValueConversions() {
    ConversionTable made;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        for (int raw = kLowestRowValue; raw <= kHighestRowValue; ++raw) {
            Conversion& entry = made[static_cast<std::size_t>(channel - 1)]
                                    [static_cast<std::size_t>(raw - kLowestRowValue)];
            entry.value = ConvertChannel(channel, static_cast<std::int16_t>(raw));
            const std::string text = DecodedText(entry.value);
            if (text.size() > entry.bytes.size()) {
                throw std::length_error("the text " + text + " does not fit the conversion table");
            }
            entry.length = static_cast<std::uint8_t>(text.size());
            std::copy(text.begin(), text.end(), entry.bytes.begin());
        }
    }
    return made;
}

std::array<std::string, kRowValueCount> MakeRowValueTexts() {
    std::array<std::string, kRowValueCount> made;
    for (int raw = kLowestRowValue; raw <= kHighestRowValue; ++raw) {
        made[static_cast<std::size_t>(raw - kLowestRowValue)] = IntegerText(raw);
    }
    return made;
}

const std::array<std::string, kRowValueCount>& RowValueTexts() {
    static const std::array<std::string, kRowValueCount> texts = MakeRowValueTexts();
    return texts;
}

}  // namespace

std::string_view RawValueText(std::int16_t raw) {
    return RowValueTexts().at(static_cast<std::size_t>(raw - kLowestRowValue));
}

const ConversionTable& RowValueConversions() {
    static const ConversionTable table = MakeRowValueConversions();
    return table;
}

void ThrowNotARowValue(int channel, std::int16_t raw) {
    throw ConversionError("raw value " + IntegerText(raw) + " of channel " + IntegerText(channel) +
                          " is none a row can carry");
}

}  // namespace ao07
