#include "core/channel.h"

namespace ao07 {

std::string ChannelName(int channel) {
    return {static_cast<char>('0' + RowOf(channel)), static_cast<char>('A' + SlotOf(channel) - 1)};
}

}  // namespace ao07
