#include "catalog_store/catalog_writer.h"

#include <sys/stat.h>

#include <charconv>

#include "catalog_store/date_time.h"
#include "catalog_store/sql_text.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::catalog {
namespace {

constexpr std::int64_t kSmallIntLimit = 32000;
constexpr std::int64_t kIntegerLimit = 2000000000;

}  // namespace

std::int64_t CatalogYear(const std::string& year) {
    std::int32_t value = 0;
    const char* begin = year.data();
    const char* end = begin + year.size();
    if (begin != end && *begin == '+') {
        ++begin;  // "+1999" is an integer text too
    }
    const auto [stop, error] = std::from_chars(begin, end, value);
    return error == std::errc() && stop == end ? value : 0;
}

bool WriteCatalogRow(Catalog& catalog, const PathRules& rules, const TMediaFileRec& file,
                     const TCommentInfoType& tags, const TEncoderInfoType& stream,
                     int formatCode, double fileDate) {
    const std::string storedPath = rules.StripDriveLetter(file.FullPath);
    if (text::CodePointCount(storedPath) > kMaxStoredPathLength) {
        return false;
    }
    const double now = NowDateTime();
    TableAppender row(catalog.Engine(), "maindata");
    row.SetText("dTitle", TruncateText(tags.Title, 50));
    row.SetText("dArtist", TruncateText(tags.Artist, 50));
    row.SetInteger("dYear", ClampInt(CatalogYear(tags.Year), kSmallIntLimit));
    row.SetText("dAlbum", TruncateText(tags.Album, 50));
    row.SetInteger("dTrack", ClampInt(tags.Track, kSmallIntLimit));
    row.SetText("dComment", TruncateText(tags.Comment, 250));
    row.SetText("dGenre", TruncateText(tags.Genre, 25));
    row.SetText("dComposer", TruncateText(tags.Composer, 50));
    row.SetText("dEncoder", TruncateText(tags.Encoder, 50));
    row.SetText("dCopyright", TruncateText(tags.Copyright, 50));
    row.SetText("dLanguage", TruncateText(tags.Language, 25));
    row.SetText("dLink", TruncateText(tags.Link, 100));
    row.SetInteger("dMPEGLayer", ClampInt(stream.Layer, kIntegerLimit));
    row.SetInteger("dMPEGVersion", ClampInt(stream.Version, kIntegerLimit));
    row.SetInteger("dMPEGBitrate", ClampInt(stream.Bitrate, kIntegerLimit));
    row.SetInteger("dMPEGFrequency", ClampInt(stream.SampleRate, kIntegerLimit));
    row.SetInteger("dGroupId", 1);
    row.SetText("dPath", storedPath);
    row.SetInteger("dFormat", ClampInt(formatCode, kSmallIntLimit));
    row.SetText("dDriveSerialNumber", TruncateText(file.DriveSerialNumber, 64));
    row.SetText("dDriveLabel", TruncateText(file.DriveLabel, 12));
    row.SetInteger("dFileSize", file.FileSizeKB);
    row.SetText("dDriveLetter", TruncateText(file.DriveLetter, 255));
    row.SetInteger("dDriveType", file.DriveType);
    row.SetInteger("dChannelMode", stream.ChannelMode);
    row.SetDouble("dLength", stream.Duration);
    row.SetInteger("dMPEGFrames", stream.Frames);
    row.SetInteger("dMPEGCRC", ClampInt(stream.CRC, kSmallIntLimit));
    row.SetInteger("dMPEGCopyright", ClampInt(stream.Copyright, kSmallIntLimit));
    row.SetInteger("dMPEGOriginal", ClampInt(stream.Original, kSmallIntLimit));
    row.SetInteger("dMPEGEmphasis", ClampInt(stream.Emphasis, kSmallIntLimit));
    row.SetText("dMPEGEncoder", TruncateText(stream.EncoderName, 15));
    row.SetDateTime("dDateAdded", now);
    row.SetDateTime("dTimeAdded", now);
    row.SetDateTime("dFileDate", fileDate);
    row.Post();
    catalog.Events().Notify(CatalogChange::PickListsStale);
    return true;
}

CatalogInserter::CatalogInserter(Catalog& catalog, const PathRules& rules,
                                 FileRecordReader reader, HostRegistration registerHost)
    : catalog_(catalog),
      rules_(rules),
      reader_(std::move(reader)),
      registerHost_(std::move(registerHost)) {}

bool CatalogInserter::InsertCatalogRow(const TMediaFileRec& file) {
    return WriteRow(file, ReadFile(file));
}

FileReading CatalogInserter::ReadFile(const TMediaFileRec& file) const {
    FileReading reading;
    reading.formatCode = FormatCodeOf(file.FullPath);
    reading.fileDate = FileDateOf(file.FullPath);
    reading.readable = reading.formatCode == kFormatOther ||
                       reader_(file.FullPath, reading.formatCode, reading.tags, reading.stream);
    return reading;
}

bool CatalogInserter::WriteRow(const TMediaFileRec& file, const FileReading& reading) {
    const std::string host = rules_.NetworkHostOf(file.DriveSerialNumber, true);
    if (!host.empty() && registerHost_) {
        registerHost_(host);
    }
    return reading.readable && WriteCatalogRow(catalog_, rules_, file, reading.tags, reading.stream,
                                               reading.formatCode, reading.fileDate);
}

double FileDateOf(const std::string& path) {
    struct stat st {};
    if (::stat(text::PathToSystem(path).c_str(), &st) != 0) {
        return 0;
    }
    return DateTimeFromUnixTime(st.st_mtime);
}

}  // namespace sonarchive::catalog
