// Writing edited texts into a file's tag: every field the tag type holds, or one selected
// field. Every check is made before the file is opened for writing, so a write that is refused
// leaves the file as it was, byte for byte and with its modification time.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "catalog_store/records.h"

namespace sonarchive::tags {

struct TagWriteResult {
    bool written = false;
    std::string reason;  // why not, when not written

    explicit operator bool() const { return written; }
};

// Writes `values` into the file's tag of `tagType`. An empty selector writes every field the
// tag type holds; a selector ("DTITLE" ... "DLINK") writes that field alone and is refused
// when the tag type does not hold it. With `readFirst` the file's tag is read first, so the
// fields not written keep what the file holds (a file without such a tag gets a new one).
//
// Per tag type: ID3v1 cuts its texts to 30 characters (the year to 4) and takes a genre only
// by its name in the genre table; a name it cannot find keeps the old genre byte when every
// field is written, and refuses the write when the genre alone is. The Vorbis comment keeps
// the date it holds. A track number beyond the tag type's range (ID3v1 and APE 0 to 255,
// ID3v2 and the Vorbis comment 0 to 65535) refuses the write.
//
// `fileName` is in the program's form (see text/path_bytes.h).
TagWriteResult WriteTag(const std::string& fileName, int tagType,
                        const catalog::TCommentInfoType& values, std::string_view selector,
                        bool readFirst);

// WriteTag of one selected field, reading first, into a file that may lack the tag: a tag that
// is not there yet starts from `seedWhenMissing` (what the file showed so far), so that the new
// tag differs from it in the selected field only.
TagWriteResult WriteTagField(const std::string& fileName, int tagType,
                             const catalog::TCommentInfoType& values, std::string_view selector,
                             const std::function<catalog::TCommentInfoType()>& seedWhenMissing);

}  // namespace sonarchive::tags
