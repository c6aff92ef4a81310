#include "decoder/channel_text_cache.h"

#include "decoder/channel_equations.h"
#include "decoder/decoded_text.h"

namespace ao07 {

const std::string& ChannelTextCache::Text(int channel, std::int16_t raw) {
    if (raw < kLowestKept || raw > kHighestKept) {
        m_unkept = DecodedText(ConvertChannel(channel, raw));
        return m_unkept;
    }
    std::string& text = m_texts.at(static_cast<std::size_t>(channel - 1))
                            .at(static_cast<std::size_t>(raw - kLowestKept));
    if (text.empty()) {  // DecodedText never gives "", so "" means not made yet
        text = DecodedText(ConvertChannel(channel, raw));
    }
    return text;
}

}  // namespace ao07
