// The RIFF/WAVE header of a WAV file: the format chunk's figures and the playing time.
//
// The reader walks the RIFF chunks from the start of the file up to the "data" chunk, reading
// only chunk headers, the format chunk and the first word of a "fact" chunk, so it touches a few
// hundred bytes whatever the size of the file. WAV files carry no tags in the catalog.
#pragma once

#include <cstdint>
#include <string>

namespace sonarchive::formats {

class TWAVfile {
  public:
    void Reset();

    // False when the file could not be opened or read, or its format chunk states impossible
    // figures (no channels or more than 32, a sample rate of 0 or above 1 536 000 Hz, bits per
    // sample above 64 or, for plain samples, 0, more than 30 days); otherwise true, with
    // Valid() telling whether the header was accepted.
    bool Read(const std::string& fileName);

    // The header was read and accepted: "RIFF", "WAVE", a format chunk, one or two channels.
    bool Valid() const { return valid_; }
    std::uint16_t FormatTag() const { return formatTag_; }
    std::uint16_t Channels() const { return channels_; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    std::uint32_t BytesPerSecond() const { return bytesPerSecond_; }
    std::uint16_t BlockAlign() const { return blockAlign_; }
    std::uint16_t BitsPerSample() const { return bitsPerSample_; }
    // The sample count of a "fact" chunk; 0 without one.
    std::uint32_t SampleCount() const { return sampleCount_; }
    // Offset of the first byte of the "data" chunk's sound data.
    std::uint64_t HeaderSize() const { return headerSize_; }
    // The RIFF size field + 8.
    std::uint64_t FileSize() const { return fileSize_; }
    // Bytes of sound data: the "data" chunk's size, bounded by the file.
    std::uint64_t AudioBytes() const { return audioBytes_; }

    double Duration() const;

    // Why the last Read returned false, or why the header was not accepted.
    const std::string& LastError() const { return lastError_; }

    static std::string FormatName(std::uint16_t formatTag);
    static std::string ChannelName(unsigned count);

  private:
    bool IsUncompressed() const;

    bool valid_ = false;
    std::uint16_t formatTag_ = 0;
    // The format of the samples: the format tag, or for WAVE_FORMAT_EXTENSIBLE the first two
    // bytes of the sub-format GUID.
    std::uint16_t sampleFormat_ = 0;
    std::uint16_t channels_ = 0;
    std::uint32_t sampleRate_ = 0;
    std::uint32_t bytesPerSecond_ = 0;
    std::uint16_t blockAlign_ = 0;
    std::uint16_t bitsPerSample_ = 0;
    std::uint32_t sampleCount_ = 0;
    std::uint64_t headerSize_ = 0;
    std::uint64_t fileSize_ = 0;
    std::uint64_t audioBytes_ = 0;
    std::string lastError_;
};

}  // namespace sonarchive::formats
