#include "collections/playlist.h"

#include <cmath>
#include <optional>

#include "catalog_store/sql_text.h"
#include "collections/file_replacement.h"
#include "formats/file_access.h"
#include "formats/mpeg_audio.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::collections {
namespace {

constexpr std::string_view kHeader = "#EXTM3U";
constexpr std::string_view kInfoPrefix = "#EXTINF";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

std::optional<std::string> ReadFileBytes(const std::string& file) {
    formats::InputFile input(file);
    if (!input.IsOpen() || input.Size() > kMaxPlaylistBytes) {
        return std::nullopt;
    }
    return input.ReadAt(0, static_cast<std::size_t>(input.Size()));
}

template <typename OnLine>
void ForEachLine(std::string_view bytes, OnLine&& onLine) {
    std::size_t start = 0;
    while (start <= bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        onLine(bytes.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
}

// A text line that is valid UTF-8 is taken as UTF-8 even in a file that is not (one whose
// ISO-8859-1 texts gained a character ISO-8859-1 lacks was written back as UTF-8, while its
// paths kept their bytes); any other is ISO-8859-1 and makes the file's encoding ISO-8859-1.
std::string TextOfLine(std::string_view line, PlaylistEncoding& encoding) {
    if (text::IsValidUtf8(line)) {
        return std::string(line);
    }
    encoding = PlaylistEncoding::Latin1;
    return text::Latin1ToUtf8(line);
}

std::string ControlCharactersAsBlanks(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return text;
}

bool AllLatin1(const std::vector<PlaylistEntry>& entries) {
    for (const auto& entry : entries) {
        if (!text::IsLatin1Representable(entry.infoLine)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool ReadPlaylist(const std::string& file, std::vector<PlaylistEntry>& entries,
                  PlaylistEncoding* encoding) {
    const std::optional<std::string> read = ReadFileBytes(file);
    if (!read) {
        return false;
    }
    std::string_view bytes = *read;
    PlaylistEncoding found = PlaylistEncoding::Utf8;
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
        found = PlaylistEncoding::Utf8WithMark;
    }
    std::string pendingInfo;
    ForEachLine(bytes, [&](std::string_view raw) {
        const std::string line = text::TrimControlAndBlank(raw);
        if (line.empty()) {
            return;
        }
        if (line.starts_with(kInfoPrefix)) {
            pendingInfo = TextOfLine(line, found);
        } else if (line[0] != '#') {
            entries.push_back({text::PathFromSystem(line), std::move(pendingInfo)});
            pendingInfo.clear();
        }
    });
    if (encoding != nullptr) {
        *encoding = found;
    }
    return true;
}

int WritePlaylist(const std::vector<PlaylistEntry>& entries, const std::string& file,
                  PlaylistEncoding encoding) {
    const bool latin1 = encoding == PlaylistEncoding::Latin1 && AllLatin1(entries);
    std::string content;
    if (encoding == PlaylistEncoding::Utf8WithMark) {
        content.append(kByteOrderMark);
    }
    content.append(kHeader).append(kLineEnd);
    for (const auto& entry : entries) {
        if (!entry.infoLine.empty()) {
            content.append(latin1 ? text::Utf8ToLatin1(entry.infoLine) : entry.infoLine)
                .append(kLineEnd);
        }
        content.append(text::PathToSystem(entry.path)).append(kLineEnd);
    }
    return ReplaceFileContent(file, content);
}

std::string InfoLineOf(double seconds, const std::string& artist, const std::string& title) {
    return std::string(kInfoPrefix) + ":" + std::to_string(static_cast<std::int64_t>(seconds)) +
           "," + ControlCharactersAsBlanks(artist) + " - " + ControlCharactersAsBlanks(title);
}

std::string ExtInfLine(const std::string& path) {
    // Only MP3 files are analysed: a frame sync found by chance inside an Ogg or Monkey's
    // Audio stream would give such a file a length it does not have.
    if (catalog::FormatCodeOf(path) != catalog::kFormatMp3) {
        return {};
    }
    formats::TMPEGaudio mpeg;
    if (!mpeg.Read(path) || !mpeg.Valid()) {
        return {};
    }
    const double seconds = std::floor(mpeg.Duration());
    if (mpeg.ID3v2().Exists()) {
        return InfoLineOf(seconds, mpeg.ID3v2().Artist(), mpeg.ID3v2().Title());
    }
    if (mpeg.ID3v1().Exists()) {
        return InfoLineOf(seconds, mpeg.ID3v1().Artist(), mpeg.ID3v1().Title());
    }
    return InfoLineOf(seconds, "", "");
}

}  // namespace sonarchive::collections
