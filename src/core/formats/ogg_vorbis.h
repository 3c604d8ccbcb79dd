// Ogg Vorbis files: stream properties (channels, sample rate, bit rates, samples, playing
// time) and the Vorbis comment (title, artist, album, track, date, genre, comment).
//
// Reading touches only the first pages (identification and comment headers) and a bounded
// block at the end of the file (the last page, whose granule position is the number of
// samples). An ID3v2 tag in front of the stream is skipped when reading and kept when writing.
//
// Writing rebuilds the file through a temporary copy: the comment and setup headers are laid
// out again on as many pages as they need, the pages after them are renumbered when their
// number changed, and the audio pages keep their data and granule positions. Comment fields
// this class does not manage stay as they were. A file holding more than one logical stream is
// read from its first Vorbis stream but never written.
#pragma once

#include <cstdint>
#include <string>

#include "formats/vorbis_comment.h"

namespace sonarchive::formats {

class TOggVorbis {
  public:
    void Reset();
    // False when the file cannot be opened, holds no Ogg page where the stream should start,
    // or no Vorbis identification header; LastError() says which.
    bool Read(const std::string& fileName);
    // Writes Title, Artist, Album, Track, Date, Genre and Comment (trimmed) into the file's
    // comment header. On failure the file's bytes are unchanged.
    bool Write(const std::string& fileName);

    // 1 or 2 channels, a sample rate, more than 0.1 seconds and a bit rate.
    bool Valid() const;
    double Duration() const;        // seconds
    std::uint32_t BitRate() const;  // average, kbit/s
    // "Unknown", "Mono", "Stereo" for 0, 1, 2 channels; "Unknown" for any other count.
    static std::string ChannelName(unsigned channelCount);

    const std::string& LastError() const { return lastError_; }

    std::uint64_t FileSize() const { return fileSize_; }
    std::uint8_t ChannelCount() const { return channelCount_; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    std::uint32_t NominalBitRate() const { return nominalBitRate_; }  // kbit/s
    // Samples per channel: the granule position of the stream's last page; 0 when not found.
    std::uint64_t Samples() const { return samples_; }
    std::uint64_t ID3v2Size() const { return id3v2Size_; }
    const std::string& Vendor() const { return vendor_; }

    const std::string& Title() const { return texts_.title; }
    const std::string& Artist() const { return texts_.artist; }
    const std::string& Album() const { return texts_.album; }
    std::uint16_t Track() const { return texts_.track; }  // 0 = none
    const std::string& Date() const { return texts_.date; }
    const std::string& Genre() const { return texts_.genre; }
    const std::string& Comment() const { return texts_.comment; }

    void SetTitle(const std::string& value) { texts_.title = value; }
    void SetArtist(const std::string& value) { texts_.artist = value; }
    void SetAlbum(const std::string& value) { texts_.album = value; }
    void SetTrack(std::uint16_t value) { texts_.track = value; }
    void SetDate(const std::string& value) { texts_.date = value; }
    void SetGenre(const std::string& value) { texts_.genre = value; }
    void SetComment(const std::string& value) { texts_.comment = value; }

  private:
    bool Fail(std::string reason);

    std::uint64_t fileSize_ = 0;
    std::uint8_t channelCount_ = 0;
    std::uint32_t sampleRate_ = 0;
    std::uint32_t nominalBitRate_ = 0;
    std::uint64_t samples_ = 0;
    std::uint64_t id3v2Size_ = 0;
    std::string vendor_;
    VorbisTagTexts texts_;
    std::string lastError_;
};

}  // namespace sonarchive::formats
