// Turning one audio file into what the catalog stores about it: the tag texts and the stream
// figures, with the user's tag preferences deciding which tag wins when a file has several.
#pragma once

#include <string>

#include "catalog_store/records.h"
#include "catalog_store/settings.h"

namespace sonarchive::cataloguing {

// Which tag a file's texts come from.
struct TagPreferences {
    std::int64_t mp3PrimaryTag = 0;  // 0: ID3v2, then ID3v1; other: ID3v1, then ID3v2
    std::int64_t macPrimaryTag = 0;  // 0: APE, ID3v2, ID3v1; 1: ID3v1, APE, ID3v2;
                                     // 2: ID3v2, APE, ID3v1; other: no tag
    bool oggUseId3 = false;          // Ogg files take the ID3v2 tag, not the Vorbis comment

    static TagPreferences From(const catalog::GeneralSettings& settings);
};

// One named tag into the text record: true when the file has that tag. Each fills only the
// fields its tag has and leaves the others as they were.
bool ReadID3v1Tag(const std::string& fileName, catalog::TCommentInfoType& info);
bool ReadID3v2Tag(const std::string& fileName, catalog::TCommentInfoType& info);
bool ReadAPETag(const std::string& fileName, catalog::TCommentInfoType& info);
// True when the Ogg analysis succeeded.
bool ReadOggTag(const std::string& fileName, catalog::TCommentInfoType& info);

// The readers used when adding files: they fill the cleared records and answer whether the
// file is usable as its format.
bool ReadMP3File(const std::string& fileName, const TagPreferences& preferences,
                 catalog::TCommentInfoType& tags, catalog::TEncoderInfoType& stream);
bool ReadWAVFile(const std::string& fileName, catalog::TCommentInfoType& tags,
                 catalog::TEncoderInfoType& stream);
bool ReadOggFile(const std::string& fileName, const TagPreferences& preferences,
                 catalog::TCommentInfoType& tags, catalog::TEncoderInfoType& stream);
bool ReadMonkeyFile(const std::string& fileName, const TagPreferences& preferences,
                    catalog::TCommentInfoType& tags, catalog::TEncoderInfoType& stream);

// The reader for a format code; true without reading for a code that has none.
bool ReadFileOfFormat(const std::string& fileName, int formatCode,
                      const TagPreferences& preferences, catalog::TCommentInfoType& tags,
                      catalog::TEncoderInfoType& stream);

// The re-read of a catalogued file: keeps the record's identity fields and replaces its tag
// and stream fields. ID3v2 wins over ID3v1 whatever the preferences; APE tags are not read.
bool RereadFileRecord(const std::string& fileName, const TagPreferences& preferences,
                      catalog::TMainDataRecComplete& record);

// The stream figures into the columns of a catalog record (a complete or a list record).
template <typename Record>
void CopyStreamInto(const catalog::TEncoderInfoType& stream, Record& r) {
    r.dMPEGVersion = stream.Version;
    r.dMPEGLayer = stream.Layer;
    r.dMPEGBitrate = stream.Bitrate;
    r.dMPEGFrequency = stream.SampleRate;
    r.dChannelMode = stream.ChannelMode;
    r.dMPEGEncoder = stream.EncoderName;
    r.dLength = stream.Duration;
    r.dMPEGFrames = stream.Frames;
    r.dMPEGCRC = stream.CRC == 1;
    r.dMPEGCopyright = stream.Copyright == 1;
    r.dMPEGOriginal = stream.Original == 1;
    r.dMPEGEmphasis = stream.Emphasis;
}

}  // namespace sonarchive::cataloguing
