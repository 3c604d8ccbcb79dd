// A corpus of tagged audio files for the benchmarks: a small pool encoded once with lame,
// oggenc and sox, copied N times with varied tags.
#pragma once

#include <string>

namespace sonarchive::benchmarks {

// Makes `count` files below `folder` (Artist/Album/NN Title.ext), unless a corpus of that size
// is already there. Returns false with a message on standard error when an encoder is
// missing or fails.
bool MakeCorpus(const std::string& folder, int count);

// Makes `count` MP3 files below `folder` (Artist/NNNN Title.mp3), each with an ID3v2.3 tag
// that has padding, every fourth with a 30 KB picture; kept when such a corpus is there.
bool MakeMp3Corpus(const std::string& folder, int count);

}  // namespace sonarchive::benchmarks
