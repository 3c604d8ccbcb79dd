// The temporary playlists through which several files are handed to the audio player at once.
// They live in the user's temporary folder and are removed when the program ends.
#pragma once

#include <string>

namespace sonarchive::collections {

// The folder that holds them: $TMPDIR, else /tmp.
std::string TempPlaylistFolder();

// Deletes every "~sonarchv*.m3u" in the folder and answers how many were deleted. A file that
// cannot be deleted is left alone.
int ClearTempPlaylists(const std::string& folder = TempPlaylistFolder());

}  // namespace sonarchive::collections
