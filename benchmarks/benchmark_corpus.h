// A corpus of tagged audio files for the benchmarks: a small pool encoded once with lame,
// oggenc and sox, copied N times with varied tags.
#pragma once

#include <string>

namespace sonarchive::benchmarks {

// Makes `count` files below `folder` (Artist/Album/NN Title.ext), unless a corpus of that size
// is already there. Returns false with a message on standard error when an encoder is
// missing or fails.
bool MakeCorpus(const std::string& folder, int count);

}  // namespace sonarchive::benchmarks
