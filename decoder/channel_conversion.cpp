#include "decoder/channel_conversion.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <set>
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

/// A text made for a raw value outside the table, kept for the rest of the program's life like
/// the table's own texts. Only a caller of ConvertReading other than the step makes such texts.
std::string_view KeptText(std::string text) {
    static std::mutex guard;
    static std::set<std::string, std::less<>> kept;
    const std::lock_guard lock(guard);
    return *kept.insert(std::move(text)).first;
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
    if (raw < kLowestRowValue || raw > kHighestRowValue) {
        return KeptText(IntegerText(raw));
    }
    return RowValueTexts()[static_cast<std::size_t>(raw - kLowestRowValue)];
}

const ConversionTable& RowValueConversions() {
    static const ConversionTable table = MakeRowValueConversions();
    return table;
}

std::string_view ConvertDirectly(int channel, std::int16_t raw, ChannelReading& reading) {
    // Converted before anything is stored: a failure (also for a channel that does not exist)
    // leaves the reading as it was.
    const float value = ConvertChannel(channel, raw);
    reading.text = KeptText(DecodedText(value));
    reading.raw = raw;
    reading.value = value;
    return reading.text;
}

}  // namespace ao07
