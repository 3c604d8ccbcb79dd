#include "cataloguing/record_builder.h"

#include <array>
#include <functional>

#include "catalog_store/catalog_writer.h"
#include "catalog_store/sql_text.h"
#include "formats/ape_tag.h"
#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "formats/monkey.h"
#include "formats/mpeg_audio.h"
#include "formats/ogg_vorbis.h"
#include "formats/wav_file.h"

namespace sonarchive::cataloguing {
namespace {

using catalog::TCommentInfoType;
using catalog::TEncoderInfoType;
using catalog::TMainDataRecComplete;

// The fields every tag kind but the Vorbis comment has.
template <typename Tag>
void FillShared(const Tag& tag, TCommentInfoType& info) {
    info.Title = tag.Title();
    info.Artist = tag.Artist();
    info.Album = tag.Album();
    info.Year = tag.Year();
    info.Comment = tag.Comment();
    info.Track = tag.Track();
}

void FillFrom(const formats::TID3v1& tag, TCommentInfoType& info) {
    FillShared(tag, info);
    info.Genre = tag.GenreName();
}

void FillFrom(const formats::TID3v2& tag, TCommentInfoType& info) {
    FillShared(tag, info);
    info.Genre = tag.Genre();
    info.Composer = tag.Composer();
    info.Encoder = tag.Encoder();
    info.Copyright = tag.Copyright();
    info.Language = tag.Language();
    info.Link = tag.Link();
}

void FillFrom(const formats::TAPEtag& tag, TCommentInfoType& info) {
    FillShared(tag, info);
    info.Genre = tag.Genre();
    info.Copyright = tag.Copyright();
}

// The comment's DATE is never taken as the year: it may hold a whole date or anything else.
void FillFrom(const formats::TOggVorbis& ogg, TCommentInfoType& info) {
    info.Title = ogg.Title();
    info.Artist = ogg.Artist();
    info.Album = ogg.Album();
    info.Comment = ogg.Comment();
    info.Track = ogg.Track();
    info.Genre = ogg.Genre();
}

// Reads a tag into a fresh object and fills the record from it when it exists.
template <typename Tag>
bool ReadTag(const std::string& fileName, TCommentInfoType& info) {
    Tag tag;
    if (!tag.Read(fileName) || !tag.Exists()) {
        return false;
    }
    FillFrom(tag, info);
    return true;
}

// Tags an analysis object has already read: the first one that exists wins.
template <typename Tag>
std::function<bool(TCommentInfoType&)> Existing(const Tag& tag) {
    return [&tag](TCommentInfoType& info) {
        if (!tag.Exists()) {
            return false;
        }
        FillFrom(tag, info);
        return true;
    };
}

void FirstExisting(std::initializer_list<std::function<bool(TCommentInfoType&)>> chain,
                   TCommentInfoType& info) {
    for (const auto& tryTag : chain) {
        if (tryTag(info)) {
            return;
        }
    }
}

void FillStream(const formats::TMPEGaudio& mpeg, TEncoderInfoType& stream) {
    stream.Layer = mpeg.LayerID();
    stream.Version = mpeg.VersionID();
    stream.Bitrate = mpeg.BitRate();
    stream.SampleRate = static_cast<std::int32_t>(mpeg.SampleRate());
    stream.ChannelMode = mpeg.ChannelModeID();
    stream.EncoderName = mpeg.Encoder();
    stream.Duration = mpeg.Duration();
    stream.Frames = static_cast<std::int32_t>(mpeg.Frames());
    stream.CRC = mpeg.Frame().ProtectionBit ? 1 : 0;
    stream.Copyright = mpeg.Frame().CopyrightBit ? 1 : 0;
    stream.Original = mpeg.Frame().OriginalBit ? 1 : 0;
    stream.Emphasis = mpeg.EmphasisID();
}

void FillStream(const formats::TWAVfile& wav, TEncoderInfoType& stream) {
    stream.Layer = wav.BlockAlign();
    stream.Version = wav.FormatTag();
    stream.Bitrate = wav.BitsPerSample();
    stream.SampleRate = static_cast<std::int32_t>(wav.SampleRate());
    stream.ChannelMode = wav.Channels();
    stream.Duration = wav.Duration();
    stream.Frames = static_cast<std::int32_t>(wav.BytesPerSecond());
}

void FillStream(const formats::TOggVorbis& ogg, TEncoderInfoType& stream) {
    stream.Bitrate = static_cast<std::int32_t>(ogg.BitRate());
    stream.SampleRate = static_cast<std::int32_t>(ogg.SampleRate());
    stream.ChannelMode = ogg.ChannelCount();
    stream.Duration = ogg.Duration();
}

void FillStream(const formats::TMonkey& monkey, TEncoderInfoType& stream) {
    const formats::MonkeyHeader& header = monkey.Header();
    stream.Layer = static_cast<std::int32_t>(header.PeakLevel);
    stream.Version = header.Version;
    stream.Bitrate = monkey.BitsPerSample();
    stream.SampleRate = static_cast<std::int32_t>(header.SampleRate);
    stream.ChannelMode = header.Channels;
    stream.EncoderName = std::to_string(header.FinalFrameBlocks);
    stream.Duration = monkey.Duration();
    stream.Frames = static_cast<std::int32_t>(header.TotalFrames);
    stream.Emphasis = header.FormatFlags;
}

template <typename Analysis>
bool Analyse(Analysis& analysis, const std::string& fileName) {
    return analysis.Read(fileName) && analysis.Valid();
}

void ClearTagAndStreamFields(TMainDataRecComplete& r) {
    r.dTitle.clear();
    r.dArtist.clear();
    r.dAlbum.clear();
    r.dComment.clear();
    r.dGenre.clear();
    r.dEncoder.clear();
    r.dComposer.clear();
    r.dCopyright.clear();
    r.dLanguage.clear();
    r.dLink.clear();
    r.dYear = 0;
    r.dTrack = 0;
    r.dMPEGVersion = r.dMPEGLayer = r.dMPEGBitrate = r.dChannelMode = 0;
    r.dMPEGFrequency = r.dMPEGFrames = r.dMPEGEmphasis = 0;
    r.dMPEGEncoder.clear();
    r.dMPEGCRC = r.dMPEGCopyright = r.dMPEGOriginal = false;
    r.dLength = 0;
}

void CopyInto(const TCommentInfoType& tags, TMainDataRecComplete& r) {
    r.dTitle = tags.Title;
    r.dArtist = tags.Artist;
    r.dAlbum = tags.Album;
    r.dComment = tags.Comment;
    r.dGenre = tags.Genre;
    r.dEncoder = tags.Encoder;
    r.dComposer = tags.Composer;
    r.dCopyright = tags.Copyright;
    r.dLanguage = tags.Language;
    r.dLink = tags.Link;
    r.dYear = static_cast<std::int32_t>(catalog::CatalogYear(tags.Year));
    r.dTrack = tags.Track;
}

// The stream of a re-read file; false when the file is not usable as its format.
bool RereadStream(const std::string& fileName, int formatCode, const TagPreferences& preferences,
                  TCommentInfoType& tags, TEncoderInfoType& stream) {
    switch (formatCode) {
        case catalog::kFormatMp3: {
            formats::TMPEGaudio mpeg;
            if (!Analyse(mpeg, fileName)) {
                return false;
            }
            FillStream(mpeg, stream);
            return true;
        }
        case catalog::kFormatOgg: {
            formats::TOggVorbis ogg;
            if (!Analyse(ogg, fileName)) {
                return false;
            }
            FillStream(ogg, stream);
            stream.EncoderName = "N/A";
            if (!preferences.oggUseId3) {
                FillFrom(ogg, tags);
            }
            return true;
        }
        case catalog::kFormatWav:
            return ReadWAVFile(fileName, tags, stream);
        case catalog::kFormatMonkey: {
            formats::TMonkey monkey;
            if (!Analyse(monkey, fileName)) {
                return false;
            }
            FillStream(monkey, stream);
            return true;
        }
        default:
            return true;
    }
}

}  // namespace

TagPreferences TagPreferences::From(const catalog::GeneralSettings& settings) {
    return {settings.Mp3PrimaryTag, settings.MacPrimaryTag, settings.OggUseId3};
}

bool ReadID3v1Tag(const std::string& fileName, TCommentInfoType& info) {
    return ReadTag<formats::TID3v1>(fileName, info);
}

bool ReadID3v2Tag(const std::string& fileName, TCommentInfoType& info) {
    return ReadTag<formats::TID3v2>(fileName, info);
}

bool ReadAPETag(const std::string& fileName, TCommentInfoType& info) {
    return ReadTag<formats::TAPEtag>(fileName, info);
}

bool ReadOggTag(const std::string& fileName, TCommentInfoType& info) {
    formats::TOggVorbis ogg;
    if (!ogg.Read(fileName)) {
        return false;
    }
    FillFrom(ogg, info);
    return true;
}

bool ReadMP3File(const std::string& fileName, const TagPreferences& preferences,
                 TCommentInfoType& tags, TEncoderInfoType& stream) {
    formats::TMPEGaudio mpeg;
    if (!Analyse(mpeg, fileName)) {
        return false;
    }
    FillStream(mpeg, stream);
    // The analysis has read both tags already; the winner is taken from it.
    if (preferences.mp3PrimaryTag == 0) {
        FirstExisting({Existing(mpeg.ID3v2()), Existing(mpeg.ID3v1())}, tags);
    } else {
        FirstExisting({Existing(mpeg.ID3v1()), Existing(mpeg.ID3v2())}, tags);
    }
    return true;
}

bool ReadWAVFile(const std::string& fileName, TCommentInfoType&, TEncoderInfoType& stream) {
    formats::TWAVfile wav;
    if (!Analyse(wav, fileName)) {
        return false;
    }
    FillStream(wav, stream);
    return true;
}

bool ReadOggFile(const std::string& fileName, const TagPreferences& preferences,
                 TCommentInfoType& tags, TEncoderInfoType& stream) {
    formats::TOggVorbis ogg;
    if (!Analyse(ogg, fileName)) {
        return false;
    }
    FillStream(ogg, stream);
    if (preferences.oggUseId3) {
        ReadID3v2Tag(fileName, tags);
    } else {
        FillFrom(ogg, tags);
    }
    return true;
}

bool ReadMonkeyFile(const std::string& fileName, const TagPreferences& preferences,
                    TCommentInfoType& tags, TEncoderInfoType& stream) {
    formats::TMonkey monkey;
    if (!Analyse(monkey, fileName)) {
        return false;
    }
    FillStream(monkey, stream);
    const auto ape = Existing(monkey.APEtag());
    const auto v2 = Existing(monkey.ID3v2());
    const auto v1 = Existing(monkey.ID3v1());
    switch (preferences.macPrimaryTag) {
        case 0:
            FirstExisting({ape, v2, v1}, tags);
            break;
        case 1:
            FirstExisting({v1, ape, v2}, tags);
            break;
        case 2:
            FirstExisting({v2, ape, v1}, tags);
            break;
        default:
            break;  // the user chose to read no tag
    }
    return true;
}

bool ReadFileOfFormat(const std::string& fileName, int formatCode,
                      const TagPreferences& preferences, TCommentInfoType& tags,
                      TEncoderInfoType& stream) {
    switch (formatCode) {
        case catalog::kFormatMp3:
            return ReadMP3File(fileName, preferences, tags, stream);
        case catalog::kFormatWav:
            return ReadWAVFile(fileName, tags, stream);
        case catalog::kFormatOgg:
            return ReadOggFile(fileName, preferences, tags, stream);
        case catalog::kFormatMonkey:
            return ReadMonkeyFile(fileName, preferences, tags, stream);
        default:
            return true;
    }
}

bool RereadFileRecord(const std::string& fileName, const TagPreferences& preferences,
                      TMainDataRecComplete& record) {
    ClearTagAndStreamFields(record);
    TCommentInfoType tags;
    TEncoderInfoType stream;
    const int formatCode = catalog::FormatCodeOf(fileName);
    if (!RereadStream(fileName, formatCode, preferences, tags, stream)) {
        return false;
    }
    const bool tagsFromComment = formatCode == catalog::kFormatOgg && !preferences.oggUseId3;
    if (!tagsFromComment && !ReadID3v2Tag(fileName, tags)) {
        ReadID3v1Tag(fileName, tags);
    }
    CopyInto(tags, record);
    CopyStreamInto(stream, record);
    return true;
}

}  // namespace sonarchive::cataloguing
