// M3U playlists: the files that live outside the catalog, as the program reads and writes them.
//
// A file is "#EXTM3U" and then, for every entry, its "#EXTINF" info line when it has one and
// its path, each line ending in CR LF. Paths are file names, so they travel as the bytes the
// system knows the file by, whatever the encoding of the file's texts. The texts (info lines)
// are UTF-8 where they are valid UTF-8 and ISO-8859-1 otherwise; a file with ISO-8859-1 texts
// is written back in ISO-8859-1 unless a text gained a character ISO-8859-1 lacks, which makes
// it UTF-8. A byte-order mark is skipped and kept. New files are UTF-8.
#pragma once

#include <string>
#include <vector>

namespace sonarchive::collections {

struct PlaylistEntry {
    std::string path;      // program form, as added or read: absolute or relative
    std::string infoLine;  // a whole "#EXTINF:..." line, or empty

    bool operator==(const PlaylistEntry&) const = default;
};

enum class PlaylistEncoding { Utf8, Utf8WithMark, Latin1 };

// Files larger than this are no playlists this program reads.
constexpr std::size_t kMaxPlaylistBytes = 64u << 20;

// Appends the entries of the file. Every line is trimmed of blanks and control characters; a
// line beginning "#EXTINF" becomes the info line of the next entry, other "#" lines and empty
// ones are skipped, any other line is an entry. False (nothing appended) when the file cannot
// be read.
bool ReadPlaylist(const std::string& file, std::vector<PlaylistEntry>& entries,
                  PlaylistEncoding* encoding = nullptr);

// Creates or replaces the file with the entries; the old file stays whole when the write
// fails. Answers 0 or the errno.
int WritePlaylist(const std::vector<PlaylistEntry>& entries, const std::string& file,
                  PlaylistEncoding encoding = PlaylistEncoding::Utf8);

// "#EXTINF:" + whole seconds + "," + artist + " - " + title, for an MPEG audio file the stream
// analysis finds valid; artist and title from its ID3v2 tag when it has one, else from its
// ID3v1 tag, else empty. Empty for every other file.
std::string ExtInfLine(const std::string& path);

// The info line of a length and two texts; control characters in the texts become blanks.
std::string InfoLineOf(double seconds, const std::string& artist, const std::string& title);

}  // namespace sonarchive::collections
