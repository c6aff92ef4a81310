#include "decoder/channel_text_cache.h"

#include "core/number_text.h"
#include "decoder/channel_equations.h"
#include "decoder/decoded_text.h"

namespace ao07 {

// Neither DecodedText nor IntegerText ever gives "", so "" marks a text not made yet.

const std::string& ChannelTextCache::Text(int channel, std::int16_t raw) {
    if (!IsKept(raw)) {
        m_unkept = DecodedText(ConvertChannel(channel, raw));
        return m_unkept;
    }
    std::string& text = m_texts.at(static_cast<std::size_t>(channel - 1))
                            .at(static_cast<std::size_t>(raw - kLowestKept));
    if (text.empty()) {
        text = DecodedText(ConvertChannel(channel, raw));
    }
    return text;
}

const std::string& ChannelTextCache::RawText(std::int16_t raw) {
    if (!IsKept(raw)) {
        m_unkept = IntegerText(raw);
        return m_unkept;
    }
    std::string& text = m_rawTexts[static_cast<std::size_t>(raw - kLowestKept)];
    if (text.empty()) {
        text = IntegerText(raw);
    }
    return text;
}

}  // namespace ao07
