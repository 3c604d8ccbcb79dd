// File-name formats: a short text with %-tokens from which a file or folder name is made for
// one catalog record ("%0 - %1" gives "Artist - Title"), and the list of formats the user keeps.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalog_store/records.h"
#include "catalog_store/settings.h"

namespace sonarchive::organize {

// The longest format the format editor accepts.
constexpr std::size_t kMaxEditedFormatLength = 200;

struct ExpandedFormat {
    std::string explanation;  // the format in words: "Artist - Title"
    std::string value;        // the name made from the record
};

// Expands every "%0".."%8" into its word and its value; a "%" before anything else, and a
// final "%", is copied. Without a record (or with `explainOnly`) the value stays empty.
// `twoDigitTracks` writes a one-digit track with a leading "0". Nothing is trimmed or checked:
// the values may hold any character.
ExpandedFormat ExpandFileFormat(std::string_view format,
                                const catalog::TMainDataRecComplete* record, bool twoDigitTracks,
                                bool explainOnly);

// The last component of a stored path (after its last "/").
std::string_view LastPathComponent(std::string_view storedPath);
// The folder of a stored path, up to and including its last "/"; empty when it has none.
std::string_view FolderOfPath(std::string_view storedPath);
// The extension of a stored path's last component, from its last "." (dot included); empty
// when the component has no ".".
std::string_view ExtensionOf(std::string_view storedPath);

// The predefined formats as stored: each format followed by ";". Text after the last ";" is
// not a format.
std::vector<std::string> ParsePredefinedFormats(std::string_view stored);
std::string JoinPredefinedFormats(const std::vector<std::string>& formats);

// RENAME_FORMAT_PREDEFINED; a missing value is an empty list.
std::vector<std::string> ReadPredefinedFormats(catalog::Registry& registry);
// Shows "Couldn't write to registry (RENAME_FORMAT_PREDEFINED)." when it cannot be written.
void WritePredefinedFormats(catalog::Registry& registry, const std::vector<std::string>& formats);

}  // namespace sonarchive::organize
