// The single-file tag editor without its window: which tag a file's edits go to, which fields
// and which import and remove commands the tag type allows, the file's tags, loading,
// updating and removing. The desktop editor and the command-line "tag" verbs share it.
#pragma once

#include <string>

#include "catalog_store/records.h"
#include "cataloguing/record_builder.h"
#include "tags/tag_types.h"
#include "tags/tag_write.h"

namespace sonarchive::tags {

// Which tags a file carries. For an Ogg file its Vorbis comment always counts as present.
struct TagPresence {
    bool id3v1 = false;
    bool id3v2 = false;
    bool ape = false;
    bool ogg = false;

    bool Has(int tagType) const;
};

// A command of the import or remove menu for one tag type.
struct TagCommand {
    bool visible = false;
    bool enabled = false;  // the tag is there

    bool Available() const { return visible && enabled; }
};

class TagEditorSession {
public:
    // The tag type follows the file name's extension and the preferences: .MP3, .OGG, .APE
    // and .MAC in any letter case; any other extension has none. `path` is in the program's
    // form.
    TagEditorSession(std::string path, const cataloguing::TagPreferences& preferences);

    const std::string& Path() const { return path_; }
    // 2, 11 or 13; kFormatOther for any other extension.
    int FormatCode() const { return format_; }
    // The tag edits are written into; kTagNone when the preferences name none.
    int TagType() const { return tagType_; }
    // The label of the edited tag: "Id3v2", "Ogg tag", "Id3v1", "Ape 1.0"; "N/A" for none.
    std::string TagTypeLabel() const;

    bool FileExists() const;
    // Whether the edited tag type lets the field be changed: the year not in the Vorbis
    // comment, composer, encoder, language and link only in ID3v2, copyright only in ID3v2
    // and APE.
    bool Editable(TagField field) const;
    // ID3v1 holds a genre only by its place in the genre table.
    bool GenreListOnly() const { return tagType_ == kTagId3v1; }

    // Looks for the file's tags again: ID3v1 and ID3v2 in MP3 files, APE too in Monkey's
    // Audio files, ID3v2 in Ogg files (whose Vorbis comment counts as present).
    void DetectTags();
    const TagPresence& Presence() const { return presence_; }
    TagCommand ImportCommand(int tagType) const;
    TagCommand RemoveCommand(int tagType) const;

    // The fields of a tag as the record builder reads them; empty fields when it is not there.
    catalog::TCommentInfoType Load(int tagType) const;
    catalog::TCommentInfoType LoadEdited() const { return Load(tagType_); }

    // Writes every field of the edited tag type, reading the tag first, and remembers the
    // tag type as written when that worked.
    TagWriteResult Update(const catalog::TCommentInfoType& values);
    // The tag type last written by Update; kTagNone until one worked.
    int LastWritten() const { return lastWritten_; }

    // Strips an ID3v1, ID3v2 or APE tag, then looks for the file's tags again. The question
    // before it is the caller's.
    bool Remove(int tagType);
    // Why the last Remove failed.
    const std::string& RemoveError() const { return removeError_; }

private:
    std::string path_;
    int format_;
    int tagType_;
    int lastWritten_ = kTagNone;
    TagPresence presence_;
    std::string removeError_;
};

}  // namespace sonarchive::tags
