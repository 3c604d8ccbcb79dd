#include "organize/file_format.h"

#include <array>

namespace sonarchive::organize {
namespace {

constexpr std::array<std::string_view, 9> kTokenWords = {
    "Artist", "Title", "Album", "Track", "Genre", "Comment", "Filename", "Year", "Composer"};

constexpr const char* kPredefinedValue = "RENAME_FORMAT_PREDEFINED";

std::string TrackText(std::int32_t track, bool twoDigits) {
    std::string text = std::to_string(track);
    return twoDigits && text.size() == 1 ? "0" + text : text;
}

// The file name without its extension: "Mr. Jones.mp3" gives "Mr. Jones".
std::string_view BareFileName(std::string_view storedPath) {
    const std::string_view name = LastPathComponent(storedPath);
    return name.substr(0, name.size() - ExtensionOf(storedPath).size());
}

std::string TokenValue(int token, const catalog::TMainDataRecComplete& r, bool twoDigitTracks) {
    switch (token) {
        case 0:
            return r.dArtist;
        case 1:
            return r.dTitle;
        case 2:
            return r.dAlbum;
        case 3:
            return TrackText(r.dTrack, twoDigitTracks);
        case 4:
            return r.dGenre;
        case 5:
            return r.dComment;
        case 6:
            return std::string(BareFileName(r.dPath));
        case 7:
            return std::to_string(r.dYear);
        default:
            return r.dComposer;
    }
}

}  // namespace

ExpandedFormat ExpandFileFormat(std::string_view format,
                                const catalog::TMainDataRecComplete* record, bool twoDigitTracks,
                                bool explainOnly) {
    ExpandedFormat out;
    const bool withValue = !explainOnly && record != nullptr;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        const bool token =
            c == '%' && i + 1 < format.size() && format[i + 1] >= '0' && format[i + 1] <= '8';
        if (!token) {
            out.explanation += c;
            if (withValue) {
                out.value += c;
            }
            continue;
        }
        const int index = format[++i] - '0';
        out.explanation += kTokenWords[static_cast<std::size_t>(index)];
        if (withValue) {
            out.value += TokenValue(index, *record, twoDigitTracks);
        }
    }
    return out;
}

std::string_view LastPathComponent(std::string_view storedPath) {
    const auto slash = storedPath.rfind('/');
    return slash == std::string_view::npos ? storedPath : storedPath.substr(slash + 1);
}

std::string_view FolderOfPath(std::string_view storedPath) {
    const auto slash = storedPath.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : storedPath.substr(0, slash + 1);
}

std::string_view ExtensionOf(std::string_view storedPath) {
    const std::string_view name = LastPathComponent(storedPath);
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::vector<std::string> ParsePredefinedFormats(std::string_view stored) {
    std::vector<std::string> formats;
    for (auto end = stored.find(';'); end != std::string_view::npos; end = stored.find(';')) {
        formats.emplace_back(stored.substr(0, end));
        stored.remove_prefix(end + 1);
    }
    return formats;
}

std::string JoinPredefinedFormats(const std::vector<std::string>& formats) {
    std::string stored;
    for (const auto& format : formats) {
        stored += format + ";";
    }
    return stored;
}

std::vector<std::string> ReadPredefinedFormats(catalog::Registry& registry) {
    return ParsePredefinedFormats(registry.ReadRegString(kPredefinedValue));
}

void WritePredefinedFormats(catalog::Registry& registry, const std::vector<std::string>& formats) {
    registry.WriteRegString(kPredefinedValue, JoinPredefinedFormats(formats));
}

}  // namespace sonarchive::organize
