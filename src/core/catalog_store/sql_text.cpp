#include "catalog_store/sql_text.h"

#include <langinfo.h>

#include <cstdio>

#include "catalog_store/date_time.h"
#include "text/text.h"

namespace sonarchive::catalog {
namespace {

struct DriveTypeName {
    int code;
    std::string_view name;
};

constexpr std::array<DriveTypeName, 7> kDriveTypeNames{{
    {0, "No Type Information"},
    {1, "Root Directory does not exist"},
    {2, "Removable"},
    {3, "Fixed"},
    {4, "Remote"},
    {5, "CDROM"},
    {6, "RamDisk"},
}};

std::string TwoDigits(std::int64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%02lld", static_cast<long long>(value));
    return buffer;
}

// The character the user's locale puts between hours and minutes: the first character of the
// time format that is neither a conversion nor a letter.
std::string LocaleTimeSeparator() {
    const std::string_view format = nl_langinfo(T_FMT);
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%') {
            ++i;
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(format[i])) && format[i] != ' ') {
            return std::string(1, format[i]);
        }
    }
    return ":";
}

}  // namespace

std::string SqlQuote(std::string_view text) {
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    std::string quoted;
    quoted.reserve(text.size() + 2);
    for (const char c : text) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    return quoted;
}

std::string IdListAll(const IdList& ids) {
    if (ids.empty()) {
        return {};
    }
    std::string list = "(";
    for (const auto id : ids) {
        if (list.size() > 1) {
            list += ',';
        }
        list += std::to_string(id);
    }
    return list + ")";
}

std::string IdListBatch(IdList& ids) {
    const std::size_t count = std::min(ids.size(), kIdBatchSize);
    const IdList batch(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(count));
    ids.erase(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(count));
    return IdListAll(batch);
}

int FormatCodeOf(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    const auto slash = fileName.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return kFormatOther;
    }
    const std::string extension = text::UpperCase(fileName.substr(dot));
    if (extension == ".MP3") {
        return kFormatMp3;
    }
    if (extension == ".WAV") {
        return kFormatWav;
    }
    if (extension == ".OGG") {
        return kFormatOgg;
    }
    if (extension == ".APE" || extension == ".MAC") {
        return kFormatMonkey;
    }
    return kFormatOther;
}

int DriveTypeCodeOf(std::string_view driveTypeName) {
    for (const auto& entry : kDriveTypeNames) {
        if (entry.name == driveTypeName) {
            return entry.code;
        }
    }
    return 255;
}

std::string DriveTypeNameOf(int code) {
    for (const auto& entry : kDriveTypeNames) {
        if (entry.code == code) {
            return std::string(entry.name);
        }
    }
    return {};
}

std::string SqlDateText(int year, int month, int day) {
    if (year >= 0 && year < 50) {
        year += 2000;
    } else if (year >= 50 && year < 100) {
        year += 1900;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return buffer;
}

std::string SqlDateText(double daysSince1899) {
    const CivilDateTime civil = CivilFromDateTime(daysSince1899);
    return SqlDateText(civil.year, civil.month, civil.day);
}

std::int64_t ClampInt(std::int64_t value, std::int64_t limit) {
    return value < -limit ? -limit : (value > limit ? limit : value);
}

std::string TruncateText(std::string_view text, std::size_t width) {
    return text::CutCodePoints(text, width);
}

std::string MinutesSeconds(std::int64_t seconds) {
    return TwoDigits(seconds / 60) + ":" + TwoDigits(seconds % 60);
}

std::string MinutesSecondsLocal(std::int64_t seconds) {
    return std::to_string(seconds / 60) + LocaleTimeSeparator() + TwoDigits(seconds % 60);
}

std::string HoursMinutesSeconds(std::int64_t seconds) {
    const std::string separator = LocaleTimeSeparator();
    return std::to_string(seconds / 3600) + separator + TwoDigits(seconds / 60 % 60) +
           separator + TwoDigits(seconds % 60);
}

const std::array<CatalogField, 20> CatalogFields{{
    {"dAlbum", "Album", 'C'},
    {"dArtist", "Artist", 'C'},
    {"dmpegbitrate", "Bit rate", 'I'},
    {"dComment", "Comment", 'C'},
    {"dComposer", "Composer", 'C'},
    {"dCopyright", "Copyright", 'C'},
    {"dDateAdded", "Date Added", 'D'},
    {"dEncoder", "Encoder", 'C'},
    {"dpath", "Filename", 'C'},
    {"dFileDate", "File date", 'D'},
    {"dGenre", "Genre", 'C'},
    {"dLanguage", "Language", 'C'},
    {"dLength", "Length (seconds)", 'I'},
    {"dLink", "Link", 'C'},
    {"dmpegfrequency", "Sample rate (hz)", 'I'},
    {"dDriveSerialNumber", "Serialno (media)", 'C'},
    {"dTitle", "Title", 'C'},
    {"dDriveLabel", "Volume label", 'C'},
    {"dTrack", "Track", 'I'},
    {"dYear", "Year", 'I'},
}};

const std::string_view kStandardSelectColumns =
    "select Id, dDateAdded, dFileDate, dArtist, dTitle, dAlbum, dComposer, dYear, dTrack, "
    "dComment, dGenre, dEncoder, dCopyright, dLanguage, dLink, dFileSize, dDriveLabel, "
    "dDriveSerialnumber, dPath, dFormat, dDriveLetter, dDriveType, dmpegversion, dmpeglayer, "
    "dlength, dMPEGFrames, dmpegcrc, dmpegcopyright, dmpegoriginal, dmpegemphasis, "
    "dchannelmode, dmpegfrequency, dmpegbitrate, dmpegencoder";

std::string StandardSelectWhere(std::string_view condition) {
    return std::string(kStandardSelectColumns) + " from maindata where " + std::string(condition);
}

std::string StandardSelectById(std::int64_t id) {
    return StandardSelectWhere("id=" + std::to_string(id));
}

std::string StandardSelectSinceId(std::int64_t id) {
    return StandardSelectWhere("id > " + std::to_string(id) + " order by id");
}

std::string StandardSelectIdIn(std::string_view idList) {
    return StandardSelectWhere("id in " + std::string(idList));
}

std::string StandardSelectAll() {
    return std::string(kStandardSelectColumns) + " from maindata order by id";
}

}  // namespace sonarchive::catalog
