// One playlist file being edited: its entries, the rules by which paths are added, reordering,
// shuffling, removing and finding. Nothing here saves by itself: the caller saves after each
// change and tells the user when that fails.
#pragma once

#include <cstddef>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "collections/playlist.h"
#include "interaction/interaction.h"

namespace sonarchive::collections {

// The extensions the "Add files..." dialog offers, upper-cased with their dot.
extern const std::vector<std::string> kPlaylistFileExtensions;
// The extensions of playlists, whose entries can be extracted into another playlist.
bool IsPlaylistFileName(std::string_view path);

// "There was a problem writing to the file (FILE) "
std::string WriteProblem(const std::string& file);
// "Couldn't open file (FILE)"
std::string CouldNotOpen(const std::string& file);

// Whether a playlist among the added paths has its entries extracted.
enum class ExtractChoice { Ask, Always, Never };

class PlaylistDocument {
public:
    explicit PlaylistDocument(std::string file);

    const std::string& File() const { return file_; }
    const std::vector<PlaylistEntry>& Entries() const { return entries_; }

    // Reads the file; false when it cannot be read.
    bool Open();
    // Makes the file with no entries (just "#EXTM3U"); 0 or the errno.
    int Create();
    // Writes the entries in the encoding the file was read in; 0 or the errno.
    int Save() const;

    // Adds paths at the end, each by its extension: audio files the program catalogues with
    // their info line, other audio files the dialog offers without one, playlists after asking
    // whether to extract their entries (Yes) or to add the playlist itself (No), unless the
    // choice is made beforehand; anything else, and any path holding a line break, is ignored.
    // Answers how many entries were added.
    std::size_t AddPaths(const std::vector<std::string>& paths, Interaction& user,
                         ExtractChoice extract = ExtractChoice::Ask);

    // Copies of entries of another playlist, inserted before `index` (at the end when it is
    // past the last entry).
    void InsertEntries(const std::vector<PlaylistEntry>& copies, std::size_t index);
    // The selected entries (by index) move, keeping their order, to where the entry at
    // `target` stands (to the end when `target` is past the last entry). Answers the index
    // of the first moved entry afterwards.
    std::size_t MoveEntries(const std::vector<std::size_t>& selected, std::size_t target);
    void RemoveEntries(const std::vector<std::size_t>& selected);
    // Every arrangement equally likely.
    void Randomize(std::mt19937& random);

    // Where an entry's file is: a relative path is taken from the playlist's folder.
    std::string ResolvedPath(std::size_t index) const;
    std::string ResolvedPath(const std::string& entryPath) const;

    // The first entry from `from` on whose path holds the text, ignoring case.
    std::optional<std::size_t> FindFrom(const std::string& text, std::size_t from) const;

private:
    void AddExtracted(const std::string& playlist, Interaction& user);

    std::string file_;
    std::vector<PlaylistEntry> entries_;
    PlaylistEncoding encoding_ = PlaylistEncoding::Utf8;
};

}  // namespace sonarchive::collections
