#include "formats/channel_name.h"

namespace sonarchive::formats {

std::string ChannelCountName(unsigned count) {
    switch (count) {
        case 0:
            return "Unknown";
        case 1:
            return "Mono";
        case 2:
            return "Stereo";
        default:
            return std::to_string(count) + " channels";
    }
}

}  // namespace sonarchive::formats
