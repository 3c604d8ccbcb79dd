// The name of a channel count as the technical panels show it.
#pragma once

#include <string>

namespace sonarchive::formats {

// 0 "Unknown", 1 "Mono", 2 "Stereo"; larger counts as "<n> channels".
std::string ChannelCountName(unsigned count);

}  // namespace sonarchive::formats
