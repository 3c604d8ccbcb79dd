// The in-memory records through which the program reads and writes catalog rows.
#pragma once

#include <cstdint>
#include <string>

namespace sonarchive::catalog {

// One maindata row with every column.
struct TMainDataRecComplete {
    std::int32_t Id = 0;
    std::int32_t dGroupId = 0;
    std::int32_t dFormat = 0;
    std::int32_t dYear = 0;
    std::int32_t dTrack = 0;
    std::int32_t dFileSize = 0;
    std::int32_t dDriveType = 0;
    std::int32_t dMPEGVersion = 0;
    std::int32_t dMPEGLayer = 0;
    std::int32_t dMPEGBitrate = 0;
    std::int32_t dChannelMode = 0;
    std::int32_t dMPEGFrequency = 0;
    std::int32_t dMPEGFrames = 0;
    std::int32_t dMPEGEmphasis = 0;

    std::string dTitle;
    std::string dArtist;
    std::string dAlbum;
    std::string dComment;
    std::string dGenre;
    std::string dEncoder;
    std::string dComposer;
    std::string dCopyright;
    std::string dLanguage;
    std::string dLink;
    std::string dPath;
    std::string dDriveSerialNumber;
    std::string dDriveLabel;
    std::string dDriveLetter;
    std::string dMPEGEncoder;

    bool dMPEGCRC = false;
    bool dMPEGCopyright = false;
    bool dMPEGOriginal = false;

    double dLength = 0;      // seconds
    double dDateAdded = 0;   // days since 1899-12-30
    double dFileDate = 0;    // days since 1899-12-30
};

// The data attached to one row of a result list.
struct TMainDataRec {
    std::int32_t Id = 0;
    std::int32_t dFormat = 0;
    std::int32_t dMPEGVersion = 0;
    std::int32_t dMPEGLayer = 0;
    std::int32_t dMPEGBitrate = 0;
    std::int32_t dChannelMode = 0;
    std::int32_t dMPEGFrequency = 0;
    std::int32_t dMPEGFrames = 0;
    std::int32_t dMPEGEmphasis = 0;
    std::string dMPEGEncoder;
    bool dMPEGCRC = false;
    bool dMPEGCopyright = false;
    bool dMPEGOriginal = false;
    double dLength = 0;
    double dDateAdded = 0;
    double dFileDate = 0;
    std::int32_t CollectionEntryId = 0;  // SubCollD.id (collection lists only)
    std::int32_t DataId = 0;             // maindata.Id of the member (collection lists only)
    double dPosition = 0;                // member position (collection lists only)
    std::int32_t CollectionId = -1;      // the collection the list shows, -1 for other lists
    std::int32_t DuplicateGroup = 0;     // assigned by the duplicate finder
};

// One file to be catalogued, with the identity of the volume it lives on.
struct TMediaFileRec {
    std::string FullPath;           // where the file can be opened now
    std::int32_t FileSizeKB = 0;    // bytes / 1024, fraction dropped
    std::int32_t DriveType = 0;     // drive type code
    std::string DriveSerialNumber;
    std::string DriveLabel;
    std::string DriveLetter;        // the mount point; a blank for network files
};

// The tag texts read from a file.
struct TCommentInfoType {
    std::string Album;
    std::string Artist;
    std::string Comment;
    std::string Composer;
    std::string Copyright;
    std::string Encoder;
    std::string Genre;
    std::string Language;
    std::string Link;
    std::string Title;
    std::string Year;
    std::int32_t Track = 0;
};

// The stream properties read from a file.
struct TEncoderInfoType {
    std::int32_t Layer = 0;
    std::int32_t Version = 0;
    std::int32_t Bitrate = 0;
    std::int32_t SampleRate = 0;
    std::int32_t ChannelMode = 0;
    std::string EncoderName;
    double Duration = 0;
    std::int32_t Frames = 0;
    std::int32_t CRC = 0;
    std::int32_t Copyright = 0;
    std::int32_t Original = 0;
    std::int32_t Emphasis = 0;
};

}  // namespace sonarchive::catalog
