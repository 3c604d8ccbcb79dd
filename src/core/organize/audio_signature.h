// A file's signature for the content comparison of the duplicate finder: its first 30000 bytes
// of audio, every zero byte read as a blank.
//
// The signature starts where the audio starts (after a leading ID3v2 tag; for Ogg after the
// pages of its header packets), so two copies of a song whose tags differ in size, or which
// carry the same cover picture, are compared by their sound and not by their tags.
#pragma once

#include <cstddef>
#include <string>

namespace sonarchive::organize {

constexpr std::size_t kSignatureLength = 30000;

// Empty when the file cannot be opened; shorter than 30000 bytes when the audio is.
std::string ReadSignature(const std::string& path);

}  // namespace sonarchive::organize
