#include "formats/channel_name.h"

namespace sonarchive::formats {

std::string ChannelCountName(unsigned count) {
    switch (count) {
        case 1:
            return "Mono";
        case 2:
            return "Stereo";
        default:
            return "Unknown";
    }
}

}  // namespace sonarchive::formats
