// The name of a channel count as the technical panels show it.
#pragma once

#include <string>

namespace sonarchive::formats {

// 1 "Mono", 2 "Stereo", any other count "Unknown".
std::string ChannelCountName(unsigned count);

}  // namespace sonarchive::formats
